// Point files in UTF-16 with a byte-order mark, as a spreadsheet saves
// "Unicode text" (Excel's 文本文件 on Chinese Windows: UTF-16 LE, tab
// separated, CR LF): read as the same text in UTF-8, and results written
// back in the file's own UTF-16.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "batch/run_error.h"
#include "batch/text_encoding.h"
#include "os/file_fingerprint.h"

namespace torvane {

// kUtf16Le when `start`, a file's first bytes, begins with FF FE, kUtf16Be
// with FE FF; none otherwise.
std::optional<TextEncoding> Utf16ByBom(std::string_view start);

// The UTF-8 text `utf8` appended to *out in UTF-16 of `order` (kUtf16Le or
// kUtf16Be), a character beyond U+FFFF as a surrogate pair, each byte that
// is not part of well-formed UTF-8 as U+FFFD. Gives the bytes of `utf8`
// taken: all but a character cut off at its end, for the next call to
// finish.
std::size_t AppendUtf16(std::string_view utf8, TextEncoding order, std::string* out);

// The text of `from`, read from its start to its end in UTF-16 of `order`
// (its first two bytes the byte-order mark, which is not kept), written in
// UTF-8 into an anonymous temporary file, given positioned at its start
// (the caller closes it); line ends are kept as they are. Every byte read
// is added to `fingerprint`. A line longer than kMaxLineBytes in UTF-8 ends
// the copy there, as the reader refuses that line. Rejects, naming `path`:
// as kBadEncoding (field "UTF-16", field_text the line with U+FFFD for what
// is not text, detail kUtf16Unpaired or kUtf16OddLength, the line's
// number), a surrogate without its pair and a file that ends in half a
// character; as kCannotRead, a failed read and a temporary file that cannot
// be made or written.
Expected<std::FILE*, RunError> Utf16AsUtf8File(std::FILE* from, TextEncoding order,
                                               const std::string& path,
                                               RunningFingerprint* fingerprint);

}  // namespace torvane
