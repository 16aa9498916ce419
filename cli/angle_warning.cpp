#include <charconv>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "params/dms.h"
#include "params/number_text.h"

namespace torvane::cli {
namespace {

// The warning shows the angle with at least this many decimals: ddd.mmss.
constexpr std::size_t kDmsDecimals = 4;

// A run of decimal digits as a number; 0 for none.
std::uint64_t DigitsValue(std::string_view digits) {
  std::uint64_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

std::string ZeroPadded(std::uint64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

}  // namespace

void WarnOfDmsBeyond60(double angle_dms) {
  // The digits as DmsToDegrees reads them: ddd.MMSSsss..., minutes and
  // seconds two digits each, a single minute digit being tens of minutes.
  const std::string text = PlainDecimal15(angle_dms);
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return;
  std::string fraction = text.substr(point + 1);
  if (fraction.size() < kDmsDecimals) fraction.resize(kDmsDecimals, '0');
  const std::string_view digits = fraction;
  const std::uint64_t minutes = DigitsValue(digits.substr(0, 2));
  const std::uint64_t seconds = DigitsValue(digits.substr(2, 2));
  if (minutes < 60 && seconds < 60) return;

  // Seconds in steps of their last typed decimal, carried into the minutes
  // and the minutes into the degrees; whole numbers all the way, so the
  // carried angle shows the typed digits exactly.
  const std::string_view decimals = digits.substr(4);
  std::uint64_t step = 1;
  for (std::size_t i = 0; i < decimals.size(); ++i) step *= 10;
  std::uint64_t second_steps = seconds * step + DigitsValue(decimals);
  const std::uint64_t all_minutes = minutes + second_steps / (60 * step);
  second_steps %= 60 * step;
  const std::uint64_t degrees = DigitsValue(text.substr(0, point)) + all_minutes / 60;

  const std::string sign = angle_dms < 0 ? "-" : "";
  std::string has;
  if (minutes >= 60) has = std::to_string(minutes) + " minutes";
  if (seconds >= 60) {
    if (!has.empty()) has += " and ";
    has += std::to_string(seconds) + (decimals.empty() ? "" : "." + std::string(decimals));
    has += " seconds";
  }
  std::string read_as = sign + std::to_string(degrees) + "°" + ZeroPadded(all_minutes % 60, 2) +
                        "′" + ZeroPadded(second_steps / step, 2);
  if (!decimals.empty()) read_as += "." + ZeroPadded(second_steps % step, decimals.size());
  read_as += "″";
  std::cerr << "torvane-cli: angle " << sign << text.substr(0, point) << '.' << fraction << " has "
            << has << ": read as " << read_as << "; ddd.mmss was expected\n";
}

}  // namespace torvane::cli
