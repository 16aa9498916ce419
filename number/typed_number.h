// Numbers as people type them into the workbench's cells: an input method
// in full-width mode gives "１２３．４５" and "－", a spreadsheet's cell
// formatted with thousands separators is copied as "3,380,000.123". Both
// are read here into the plain decimal text that ParseDecimal reads
// exactly. Point files are not read this way: programs write them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace torvane {

// `text` (UTF-8) with each full-width digit and sign, and the characters an
// input method gives for the number's other keys, replaced by their ASCII
// character: ０-９ → 0-9, ＋ → +, － → -, ． and 。 → ., ， → ",", ｅ Ｅ → e E,
// the ideographic space U+3000 → space. Every other character, and any byte
// that is not part of one of these, is kept as it is.
std::string FullWidthToAscii(std::string_view text);

// What a typed coordinate cell is read as: none when ParseDecimal reads it
// as it stands (it is kept as typed) or when it is no number either way
// (kept as typed too: the table marks it, quoting it). Otherwise the plain
// decimal text it stands for, blanks around it removed: the cell after
// FullWidthToAscii when ParseDecimal reads that, or else, when it is a
// number grouped in thousands - an optional sign, 1 to 3 digits, one or
// more groups of a comma and exactly 3 digits, an optional full stop with
// digits after it, no exponent - the same without its commas.
// "１２３．４５" gives "123.45", "3,380,000.123" gives "3380000.123";
// "12,34", "1,2345" and "1,234e3" give none.
std::optional<std::string> TypedNumberText(std::string_view cell);

}  // namespace torvane
