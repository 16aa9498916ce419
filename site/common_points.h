// Common-point files: one control point a line, "name, Xs, Ys, Xc, Yc" (its
// survey X and Y, then its construction X and Y, in metres), comma
// separated, no header, unless a layout says otherwise. They are read as
// point files are: UTF-8 or GBK, blank lines skipped, line ends CR LF, LF or
// CR, fields after the last one named ignored, fields quoted as CSV quotes
// them read as their text.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "batch/point_layout.h"
#include "batch/run_error.h"
#include "batch/text_encoding.h"
#include "fit/common_point.h"
#include "os/file_fingerprint.h"

namespace torvane {

// kHs and kHc, the survey and construction heights in metres, are optional:
// a layout without them gives points without heights.
enum class CommonField { kName, kXs, kYs, kXc, kYc, kSkip, kHs, kHc };

struct CommonPointLayout {
  std::vector<CommonField> fields{CommonField::kName, CommonField::kXs, CommonField::kYs,
                                  CommonField::kXc, CommonField::kYc};
  FieldDelimiter delimiter = FieldDelimiter::kComma;
  std::size_t skip_lines = 0;            // lines at the start that are not points
  std::optional<TextEncoding> encoding;  // kUtf8 or kGbk; none: decided by the bytes
};

// The field kinds of a list such as "name,-,xs,ys,xc,yc": items name, xs,
// ys, xc, yc, hs, hc, and "-" or "skip" for a field to ignore; case and blanks
// around an item do not matter. Rejects, quoting the list: an empty item,
// an unknown one, one given twice, and a list without one of the five.
Expected<std::vector<CommonField>, std::string> ParseCommonColumns(std::string_view list);

// A point's coordinates as its line writes them: Xs, Ys, Xc, Yc, Hs, Hc,
// each without the blanks around it; a height empty where there is none.
using CoordinateTexts = std::array<std::string, 6>;

// Splits one line (without its line end) into a common point by `layout`'s
// fields (which name all five, as ParseCommonColumns's do) and delimiter;
// the name is kept in the line's own encoding. Returns
// no value for a blank line (empty or only blanks). Rejects: fewer fields
// than the layout names up to its last coordinate (kNotACommonPoint; in a
// layout other than the usual one, field: those columns, limit: their
// count); a coordinate that is not a decimal number in full (the error's
// field is "Xs", "Ys", "Xc" or "Yc"), a height that is neither blank nor
// a decimal number ("Hs", "Hc"); a height field blank or past the line's
// end gives no height. The error's path is empty. With
// `texts`, a point's coordinate texts are put there.
Expected<std::optional<CommonPoint>, RunError> ParseCommonPointLine(
    std::string_view line, std::size_t line_number, const CommonPointLayout& layout = {},
    CoordinateTexts* texts = nullptr);

// Every common point of the file at `path` ("-" for standard input), in the
// file's order, names in UTF-8 (decoded when the file is GBK), after the
// lines the layout skips. Rejects what PointFileReader::Open and NextLine
// reject, what ParseCommonPointLine rejects (a first point line with no
// number in Xs nor in Ys as kHeaderLine), and a name used twice
// (kDuplicateName, at the second use); quoted texts in UTF-8. A file
// without points is not rejected here: it gives no points. With `texts`,
// each point's coordinate texts are put there, in the points' order. With
// `fingerprint`, the size and SHA-256 of the bytes read for the points (the
// one reading, standard input's included) are put there; a system without
// SHA-256 is then rejected (kCannotRead).
Expected<std::vector<CommonPoint>, RunError> ReadCommonPoints(
    const std::string& path, const CommonPointLayout& layout = {},
    std::vector<CoordinateTexts>* texts = nullptr, FileFingerprint* fingerprint = nullptr);

}  // namespace torvane
