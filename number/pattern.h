// Number formatting with "#" and "0" placeholders, as shown in the window and
// written to result files.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// Formats value (any unit) with a pattern of digit placeholders, an optional
// full stop and decimal placeholders: "#########.######", "00.000", "##0".
// The value is rounded as a spreadsheet's ROUND shows it: its decimal text
// of 15 significant digits (SignificantDigits15) is rounded at the pattern's
// last decimal, a 5 or more after it rounding away from zero, and the carry
// goes on to the left: 1.005 (1.00499999999999989... in binary) with "0.00"
// is "1.01", 9.99995 with "0.0000" is "10.0000". Integer digits beyond the
// fifteenth print as zeros. Before the point "0" always prints a digit and
// "#" only a significant one (a value below 1 prints nothing there); after
// the point trailing "#" zeros are dropped. The point is printed whenever
// the pattern has one. The integer part is printed in full; a value shown as
// non-zero negative gets a leading minus sign. Infinity and NaN print as
// "inf", "-inf" and "nan".
std::string FormatPattern(double value, std::string_view pattern);

}  // namespace torvane
