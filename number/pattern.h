// Number formatting with "#" and "0" placeholders, as shown in the window and
// written to result files.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// Formats value (any unit) with a pattern of digit placeholders, an optional
// full stop and decimal placeholders: "#########.######", "00.000", "##0".
// The value is rounded once to as many decimals as the pattern has after the
// point (an exact tie rounds away from zero). Before the point "0" always
// prints a digit and "#" only a significant one (a value below 1 prints
// nothing there); after the point trailing "#" zeros are dropped. The point
// is printed whenever the pattern has one. The integer part is printed in
// full; a value that rounds to non-zero negative gets a leading minus sign.
// Infinity and NaN print as "inf", "-inf" and "nan".
std::string FormatPattern(double value, std::string_view pattern);

}  // namespace torvane
