#include "number/pattern.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

namespace torvane {
namespace {

struct Pattern {
  std::size_t min_integer_digits = 0;  // "0" placeholders before the point
  bool has_point = false;
  std::size_t decimals = 0;      // placeholders after the point
  std::size_t min_decimals = 0;  // "0" placeholders after the point
};

Pattern ParsePattern(std::string_view pattern) {
  Pattern p;
  const std::size_t point = pattern.find('.');
  const std::string_view integer = pattern.substr(0, point);
  for (char c : integer) p.min_integer_digits += c == '0';
  if (point != std::string_view::npos) {
    p.has_point = true;
    const std::string_view fraction = pattern.substr(point + 1);
    p.decimals = fraction.size();
    for (char c : fraction) p.min_decimals += c == '0';
  }
  return p;
}

// Number of binary digits after the point in the exact value of |v|: the
// exact decimal expansion of a double has just as many decimals.
int BinaryFractionDigits(double v) {
  if (v == 0) return 0;
  int exponent = 0;
  const double mantissa = std::frexp(std::fabs(v), &exponent);            // in [0.5, 1)
  auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 64 - 11));  // 53 bits
  int trailing = 0;
  while ((bits & 1) == 0) {
    bits >>= 1;
    ++trailing;
  }
  const int digits = (64 - 11) - exponent - trailing;
  return digits > 0 ? digits : 0;
}

}  // namespace

std::string FormatPattern(double value, std::string_view pattern) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const Pattern p = ParsePattern(pattern);

  // A value exactly halfway between two printable values has exactly one
  // more decimal than the pattern shows; to_chars would round it to even,
  // a surveyor rounds it away from zero (2.5 -> 3), so step past the tie.
  double magnitude = std::fabs(value);
  if (BinaryFractionDigits(magnitude) == static_cast<int>(p.decimals) + 1) {
    magnitude = std::nextafter(magnitude, std::numeric_limits<double>::infinity());
  }

  // %.Nf of a double needs at most 309 integer digits plus the decimals.
  std::vector<char> buffer(320 + p.decimals);
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                 std::chars_format::fixed, static_cast<int>(p.decimals));
  (void)ec;
  std::string_view digits(buffer.data(), end - buffer.data());
  const std::size_t point = digits.find('.');
  std::string_view integer = digits.substr(0, point);
  std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : digits.substr(point + 1);

  const bool all_zero = digits.find_first_not_of("0.") == std::string_view::npos;
  if (integer == "0") integer = {};
  while (fraction.size() > p.min_decimals && fraction.back() == '0') fraction.remove_suffix(1);

  std::string text;
  if (value < 0 && !all_zero) text.push_back('-');
  if (integer.size() < p.min_integer_digits)
    text.append(p.min_integer_digits - integer.size(), '0');
  text.append(integer);
  if (p.has_point) {
    text.push_back('.');
    text.append(fraction);
  }
  return text;
}

}  // namespace torvane
