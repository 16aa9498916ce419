#include "number/pattern.h"

#include <cmath>
#include <cstddef>
#include <string>

#include "number/number_text.h"

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

}  // namespace

std::string FormatPattern(double value, std::string_view pattern) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const Pattern p = ParsePattern(pattern);
  const Digits15 d = SignificantDigits15(value);

  // The digit of the 15-digit text at the place of 10^place; the places
  // beyond the fifteenth digit are zeros.
  const auto digit_at = [&d](long long place) {
    const long long index = d.exponent - place;
    return index >= 0 && index < kSignificantDigits ? d.digits[index] : '0';
  };
  const long long decimals = static_cast<long long>(p.decimals);
  std::size_t integer_digits = d.exponent >= 0 ? static_cast<std::size_t>(d.exponent) + 1 : 0;
  std::string shown;
  shown.reserve(integer_digits + p.decimals + 1);
  for (long long place = static_cast<long long>(integer_digits) - 1; place >= -decimals; --place) {
    shown.push_back(digit_at(place));
  }
  // Half away from zero on the decimal text: the first digit dropped
  // decides, 5 and over (a tie included) rounds the magnitude up.
  if (digit_at(-decimals - 1) >= '5') {
    std::size_t i = shown.size();
    while (i > 0 && shown[i - 1] == '9') shown[--i] = '0';
    if (i == 0) {
      shown.insert(shown.begin(), '1');  // 9.99995 -> 10.0000
      ++integer_digits;
    } else {
      ++shown[i - 1];
    }
  }

  const std::string_view all(shown);
  std::string_view integer = all.substr(0, integer_digits);
  std::string_view fraction = all.substr(integer_digits);
  const bool all_zero = all.find_first_not_of('0') == std::string_view::npos;
  while (!integer.empty() && integer.front() == '0') integer.remove_prefix(1);
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
