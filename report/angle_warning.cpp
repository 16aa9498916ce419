#include "report/angle_warning.h"

#include "number/number_text.h"
#include "params/constants.h"
#include "params/dms.h"

namespace torvane {

std::string DmsBeyond60Warning(double angle_dms) {
  constexpr auto kSixty = static_cast<int>(kMinutesPerDegree);
  const DmsDigits typed = DmsDigitsOf(angle_dms);
  if (typed.minutes < kSixty && typed.seconds < kSixty) return {};
  const DmsDigits read = CarryDms(typed);
  const std::string sign = typed.negative ? "-" : "";
  const std::string decimals = typed.decimals.empty() ? "" : "." + typed.decimals;
  std::string has;
  if (typed.minutes >= kSixty) has = std::to_string(typed.minutes) + " minutes";
  if (typed.seconds >= kSixty) {
    if (!has.empty()) has += " and ";
    has += std::to_string(typed.seconds) + decimals + " seconds";
  }
  // The angle as typed, with the four decimals of ddd.mmss at least.
  return "angle " + sign + typed.degrees + "." + ZeroPadded(typed.minutes, 2) +
         ZeroPadded(typed.seconds, 2) + typed.decimals + " has " + has + ": read as " + sign +
         read.degrees + "°" + ZeroPadded(read.minutes, 2) + "′" + ZeroPadded(read.seconds, 2) +
         (read.decimals.empty() ? "" : "." + read.decimals) + "″; ddd.mmss was expected";
}

}  // namespace torvane
