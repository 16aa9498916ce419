// A converted X or Y as the CSV and JSON results write it, with as many
// decimals as asked for.
#pragma once

#include <string>
#include <string_view>

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

}  // namespace torvane
