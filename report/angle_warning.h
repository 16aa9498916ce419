// The warning for a ddd.mmss angle whose minutes or seconds are 60 or more,
// as when decimal degrees are typed (30.6 for 30°36′).
#pragma once

#include <string>

namespace torvane {

// "angle 30.6000 has 60 minutes: read as 31°00′00″; ddd.mmss was expected":
// the angle as typed, with the four decimals of ddd.mmss at least, what is
// 60 or more, and the angle as the conversion reads it. Empty when the
// minutes and the seconds are both below 60. Needs an angle DmsToDegrees
// accepts.
std::string DmsBeyond60Warning(double angle_dms);

}  // namespace torvane
