// Common-point files: one control point a line, "name, Xs, Ys, Xc, Yc" (its
// survey X and Y, then its construction X and Y, in metres), comma
// separated, no header. They are read as point files are: UTF-8 or GBK,
// blank lines skipped, line ends CR LF, LF or CR, fields after Yc ignored.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "batch/run_error.h"
#include "fit/common_point.h"

namespace torvane {

// Splits one line (without its line end) into a common point; the name is
// kept in the line's own encoding, without the blanks around it. Returns no
// value for a blank line (empty or only blanks). Rejects: fewer than five
// fields; a coordinate that is not a decimal number in full (the error's
// field is "Xs", "Ys", "Xc" or "Yc"). The error's path is empty.
Expected<std::optional<CommonPoint>, RunError> ParseCommonPointLine(std::string_view line,
                                                                    std::size_t line_number);

// Every common point of the file at `path` ("-" for standard input), in the
// file's order, names in UTF-8 (decoded when the file is GBK). Rejects what
// PointFileReader::Open and NextLine reject, what ParseCommonPointLine
// rejects, and a name used twice (kDuplicateName, at the second use). A file
// without points is not rejected here: it gives no points.
Expected<std::vector<CommonPoint>, RunError> ReadCommonPoints(const std::string& path);

}  // namespace torvane
