// The result as CSV: one line a point, in the columns the point file was
// read by, with the converted X and Y, so that the result reads back as a
// point file of the same layout (separated by commas).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "batch/point_file.h"
#include "batch/point_layout.h"
#include "params/transform.h"

namespace torvane {

// The most decimals X and Y may be written with: 15 significant digits
// hold no more at a coordinate of a metre.
inline constexpr int kMaxResultDecimals = 12;

// The FormatPattern pattern of a coordinate with `decimals` decimals (0 to
// kMaxResultDecimals), with a zero before the point: "0.00000" for 5, "0"
// for 0.
std::string CoordinatePattern(int decimals);

// A converted X or Y (metres) as CSV and JSON write it: its 15-digit text
// rounded at the pattern's decimals (FormatPattern), as in the table, with a
// zero before the point ("-0.00085", not "-.00085"). Needs a finite value.
std::string CoordinateText(double metres, std::string_view pattern);

// Appends the line of `point`, converted to `converted`, to `out`: for
// each of `columns`, the name, the code and H as their texts, X and Y as
// CoordinateText, and nothing for a skipped field; separated by commas,
// ended by CR LF as the table is. A text holding a comma or a double quote
// is written in double quotes, its quotes doubled, as CSV has it.
void AppendCsvLine(std::string& out, const PointRecord& point, PlanePoint converted,
                   const std::vector<PointField>& columns, std::string_view pattern);

}  // namespace torvane
