// Angles in the surveyor's ddd.mmss notation: 12.3456 is 12°34′56″,
// 12.345678 is 12°34′56.78″, 0.3 is 0°30′; a leading minus makes the whole
// angle negative. Minutes and seconds are not validated (12.7 is 12°70′).
#pragma once

#include <string>

#include "base/expected.h"

namespace torvane {

// The parts of a ddd.mmss value as DmsToDegrees reads them, from its digits
// as written (its shortest text with at most 15 significant digits): 30.152
// is 30 degrees, 15 minutes and 20 seconds; a single minute digit is tens of
// minutes (0.3 is 30 minutes). Not validated: 30.6 has 60 minutes. Needs a
// finite value.
struct DmsDigits {
  bool negative = false;
  std::string degrees;   // the whole degrees' digits: "30"
  int minutes = 0;       // 0 to 99
  int seconds = 0;       // whole seconds, 0 to 99
  std::string decimals;  // the seconds' decimal digits as written, "" for none
};
DmsDigits DmsDigitsOf(double dms);

// The same angle with seconds of 60 or more carried into the minutes and
// minutes of 60 or more into the degrees, as DmsToDegrees reads them: 30.6
// gives 31 degrees, 0 minutes. Whole numbers of the seconds' last written
// decimal all the way, so the carried angle keeps the written digits
// exactly (decimals unchanged); degrees are not reduced modulo 360. Needs
// degrees of at most 18 digits.
DmsDigits CarryDms(const DmsDigits& digits);

// ddd.mmss value -> decimal degrees. Degrees, minutes and seconds are taken
// from the digits of the value as written (its shortest text with at most 15
// significant digits); whole degrees are reduced modulo 360 keeping the sign.
// Rejects: non-finite values and whole degrees beyond 2147483647.
Expected<double> DmsToDegrees(double dms);

// Decimal degrees -> radians: the 15-digit rounding of degrees, divided by
// 180 first, then multiplied by the program's pi (3.1415926535).
double DegreesToRadians(double degrees);

// Decimal degrees -> ddd.mmss text as written into the rotation box, with at
// most eight decimals (seconds to 0.0001″): 45.5 gives "45.3", -90 gives
// "-90.", 0.5 gives ".3", 0 gives ".". Whole degrees are reduced modulo 360.
// Rejects: non-finite values and whole degrees beyond 2147483647.
Expected<std::string> FormatDmsNumber(double degrees);

// Decimal degrees -> "45°30′00.000″" (seconds to 0.001″, carried into
// minutes and degrees; "-0°30′00.000″" below one degree). Non-finite values
// give "nan°" / "inf°".
std::string FormatDmsSymbols(double degrees);

}  // namespace torvane
