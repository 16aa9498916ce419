#include "params/dms.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "number/number_text.h"
#include "number/pattern.h"
#include "params/constants.h"

namespace torvane {
namespace {

// Whole degrees are reduced modulo 360 as 32-bit integers.
constexpr double kMaxWholeDegrees = 2147483647.0;
constexpr double kSymbolsStepsPerSecond = 1000.0;  // "00.000″"
constexpr double kNumberStepsPerSecond = 10000.0;  // eight decimals of ddd.mmss

std::string OutOfRange(double degrees) {
  return "angle " + PlainDecimal15(degrees) + "° has more whole degrees than 2147483647";
}

// A decimal-degree value split into whole degrees, minutes and seconds after
// rounding to steps of 1 / steps_per_second seconds (1000 for 0.001″): the
// 15-digit value of |degrees|·3600·steps_per_second rounded half away from
// zero, as FormatPattern rounds. Seconds never show as 60. Needs a finite
// value and steps_per_second > 0.
struct DegreeSplit {
  bool negative = false;  // the rounded angle is below zero
  double degrees = 0;     // whole degrees, >= 0
  int minutes = 0;        // 0..59
  double seconds = 0;     // multiple of the step, 0 <= seconds < 60
};

DegreeSplit SplitDegrees(double degrees, double steps_per_second) {
  const double a = std::fabs(degrees);
  // Round once, in steps of the shown seconds, then split: the seconds never
  // reach 60 and the minutes never reach 60. The steps are rounded as
  // FormatPattern rounds, the 15-digit value half away from zero: Round15
  // gives k + 0.5 exactly when the 15-digit text is k + 0.5, and a double on
  // the text's side of it otherwise (two 15-digit values lie more than an
  // ulp apart), so std::round of it rounds the text.
  const double steps = std::round(Round15(a * kSecondsPerDegree * steps_per_second));
  const double per_degree = kSecondsPerDegree * steps_per_second;
  const double per_minute = kSecondsPerMinute * steps_per_second;
  DegreeSplit split;
  split.negative = degrees < 0 && steps > 0;
  split.degrees = std::floor(steps / per_degree);
  const double rest = steps - split.degrees * per_degree;
  split.minutes = static_cast<int>(std::floor(rest / per_minute));
  split.seconds = (rest - split.minutes * per_minute) / steps_per_second;
  return split;
}

}  // namespace

DmsDigits DmsDigitsOf(double dms) {
  const std::string text = PlainDecimal15(dms);
  const std::size_t point = text.find('.');
  const std::string_view fraction =
      point == std::string::npos ? std::string_view() : std::string_view(text).substr(point + 1);
  DmsDigits parts;
  parts.negative = dms < 0;
  parts.degrees = text.substr(0, point);
  // Two digits each; a single minute digit is tens of minutes.
  std::string minutes(fraction.substr(0, 2)),
      seconds(fraction.substr(std::min<std::size_t>(2, fraction.size()), 2));
  minutes.resize(2, '0');
  seconds.resize(2, '0');
  std::from_chars(minutes.data(), minutes.data() + minutes.size(), parts.minutes);
  std::from_chars(seconds.data(), seconds.data() + seconds.size(), parts.seconds);
  if (fraction.size() > 4) parts.decimals = fraction.substr(4);
  return parts;
}

DmsDigits CarryDms(const DmsDigits& digits) {
  constexpr auto kSeconds = static_cast<std::uint64_t>(kSecondsPerMinute);
  constexpr auto kMinutes = static_cast<std::uint64_t>(kMinutesPerDegree);
  assert(digits.degrees.size() <= 18);
  std::uint64_t step = 1;  // steps of the last written decimal in a second
  for (std::size_t i = 0; i < digits.decimals.size(); ++i) step *= 10;
  std::uint64_t fraction = 0;
  std::from_chars(digits.decimals.data(), digits.decimals.data() + digits.decimals.size(),
                  fraction);
  std::uint64_t degrees = 0;
  std::from_chars(digits.degrees.data(), digits.degrees.data() + digits.degrees.size(), degrees);
  const std::uint64_t second_steps = digits.seconds * step + fraction;
  const std::uint64_t minutes = digits.minutes + second_steps / (kSeconds * step);
  DmsDigits carried = digits;
  carried.degrees = std::to_string(degrees + minutes / kMinutes);
  carried.minutes = static_cast<int>(minutes % kMinutes);
  carried.seconds = static_cast<int>(second_steps % (kSeconds * step) / step);
  if (step > 1) carried.decimals = ZeroPadded(second_steps % step, digits.decimals.size());
  return carried;
}

Expected<double> DmsToDegrees(double dms) {
  if (!std::isfinite(dms)) return Fail("angle is not a finite number");
  // The digits as the user wrote them: "30.152" is 30°, 15′ and 20″.
  const DmsDigits parts = DmsDigitsOf(dms);
  double degrees = 0;
  std::from_chars(parts.degrees.data(), parts.degrees.data() + parts.degrees.size(), degrees);
  if (degrees > kMaxWholeDegrees) return Fail(OutOfRange(dms));
  // Seconds with their decimal fraction, read as one decimal number.
  std::string seconds_text = ZeroPadded(parts.seconds, 2);
  if (!parts.decimals.empty()) seconds_text.append(".").append(parts.decimals);
  double seconds = 0;
  std::from_chars(seconds_text.data(), seconds_text.data() + seconds_text.size(), seconds);
  const double minutes = parts.minutes;

  const double r = (std::fmod(degrees, kDegreesPerTurn) + minutes / kMinutesPerDegree) +
                   seconds / kSecondsPerDegree;
  return dms < 0 ? -1 * r : r;
}

double DegreesToRadians(double degrees) {
  return Round15(degrees) / kDegreesPerHalfTurn * kPiPrime;  // divide first
}

Expected<std::string> FormatDmsNumber(double degrees) {
  if (!std::isfinite(degrees)) return Fail("angle is not a finite number");
  const DegreeSplit split = SplitDegrees(degrees, kNumberStepsPerSecond);
  if (split.degrees > kMaxWholeDegrees) return Fail(OutOfRange(degrees));
  const auto whole = static_cast<std::uint64_t>(std::fmod(split.degrees, kDegreesPerTurn));
  const auto second_steps =
      static_cast<std::uint64_t>(std::llround(split.seconds * kNumberStepsPerSecond));

  // ddd.MMSSssss with trailing zeros dropped and no zero before the point.
  std::string fraction = ZeroPadded(split.minutes, 2) + ZeroPadded(second_steps, 6);
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  std::string text;
  if (split.negative && (whole != 0 || !fraction.empty())) text.push_back('-');
  if (whole != 0) text += ZeroPadded(whole, 1);
  text += '.';
  text += fraction;
  return text;
}

std::string FormatDmsSymbols(double degrees) {
  if (!std::isfinite(degrees)) return FormatPattern(degrees, "##0") + "°";
  const DegreeSplit split = SplitDegrees(degrees, kSymbolsStepsPerSecond);
  std::string text = split.negative ? "-" : "";
  text += FormatPattern(split.degrees, "##0");
  text += "°";
  text += FormatPattern(split.minutes, "00");
  text += "′";
  text += FormatPattern(split.seconds, "00.000");
  text += "″";
  return text;
}

}  // namespace torvane
