#include <charconv>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "number/number_text.h"
#include "params/dms.h"

namespace torvane::cli {
namespace {

// A run of decimal digits as a number; 0 for none.
std::uint64_t DigitsValue(std::string_view digits) {
  std::uint64_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

}  // namespace

void WarnOfDmsBeyond60(double angle_dms) {
  const DmsDigits parts = DmsDigitsOf(angle_dms);
  if (parts.minutes < 60 && parts.seconds < 60) return;

  // Seconds in steps of their last typed decimal, carried into the minutes
  // and the minutes into the degrees; whole numbers all the way, so the
  // carried angle shows the typed digits exactly.
  std::uint64_t step = 1;
  for (std::size_t i = 0; i < parts.decimals.size(); ++i) step *= 10;
  std::uint64_t second_steps = parts.seconds * step + DigitsValue(parts.decimals);
  const std::uint64_t all_minutes = parts.minutes + second_steps / (60 * step);
  second_steps %= 60 * step;
  const std::uint64_t degrees = DigitsValue(parts.degrees) + all_minutes / 60;

  const std::string sign = parts.negative ? "-" : "";
  const std::string decimals = parts.decimals.empty() ? "" : "." + parts.decimals;
  std::string has;
  if (parts.minutes >= 60) has = std::to_string(parts.minutes) + " minutes";
  if (parts.seconds >= 60) {
    if (!has.empty()) has += " and ";
    has += std::to_string(parts.seconds) + decimals + " seconds";
  }
  std::string read_as = sign + std::to_string(degrees) + "°" + ZeroPadded(all_minutes % 60, 2) +
                        "′" + ZeroPadded(second_steps / step, 2);
  if (step > 1) read_as += "." + ZeroPadded(second_steps % step, parts.decimals.size());
  read_as += "″";
  // The angle as typed, with the four decimals of ddd.mmss at least.
  std::cerr << "torvane-cli: angle " << sign << parts.degrees << '.' << ZeroPadded(parts.minutes, 2)
            << ZeroPadded(parts.seconds, 2) << parts.decimals << " has " << has << ": read as "
            << read_as << "; ddd.mmss was expected\n";
}

}  // namespace torvane::cli
