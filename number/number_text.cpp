#include "number/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <system_error>

#include "number/digit_run.h"
#include "number/short_decimal.h"

namespace torvane {
namespace {

// Enough for "-d.ddddddddddddddde-308".
constexpr std::size_t kNumberBufferSize = 32;
constexpr std::int64_t kHugeExponent = std::int64_t{1} << 40;

// Reads the number of a text that is only sign, mantissa and exponent, as
// from_chars does, but tells an underflow (which reads as signed zero) from
// an overflow (which is an error).
Expected<double> ReadPlainNumber(std::string_view number, std::string_view quoted) {
  const char* first = number.data();
  const char* last = number.data() + number.size();
  bool negative = false;
  if (first != last && (*first == '+' || *first == '-')) {
    negative = *first == '-';
    ++first;
  }
  double value = 0;
  auto [end, ec] = std::from_chars(first, last, value);
  if (ec == std::errc::result_out_of_range) {
    // Decimal exponent of the leading significant digit decides the side.
    std::int64_t digits_before_point = 0, zeros_after_point = 0, exponent = 0;
    bool seen_point = false, seen_significant = false;
    const char* p = first;
    for (; p != last && *p != 'e' && *p != 'E'; ++p) {
      if (*p == '.') {
        seen_point = true;
      } else if (!seen_significant && *p == '0') {
        if (seen_point) ++zeros_after_point;
      } else {
        seen_significant = true;
        if (!seen_point) ++digits_before_point;
      }
    }
    if (p != last) {
      auto [e_end, e_ec] = std::from_chars(p + (p[1] == '+' ? 2 : 1), last, exponent);
      if (e_ec == std::errc::result_out_of_range)
        exponent = p[1] == '-' ? -kHugeExponent : kHugeExponent;
      (void)e_end;
      // Beyond any digit count a text can have; keeps the sum below in range.
      exponent = std::clamp(exponent, -kHugeExponent, kHugeExponent);
    }
    const std::int64_t magnitude =
        digits_before_point > 0 ? digits_before_point + exponent : exponent - zeros_after_point;
    if (magnitude > 0) return Fail("number \"" + std::string(quoted) + "\" is too large");
    return negative ? -0.0 : 0.0;
  }
  if (ec != std::errc() || end != last) {
    return Fail("\"" + std::string(quoted) + "\" is not a number");
  }
  return negative ? -value : value;
}

// The number of digits at the start of `s`.
std::size_t DigitsAtStart(std::string_view s) {
  return DigitRun(s.data(), s.data() + s.size()).count;
}

// Length of the longest prefix of `s` that is digits, at most one point, and
// at least one digit; 0 when there is none.
std::size_t MantissaLength(std::string_view s) {
  std::size_t length = DigitsAtStart(s);
  std::size_t digits = length;
  if (length < s.size() && s[length] == '.') {
    const std::size_t fraction = DigitsAtStart(s.substr(length + 1));
    digits += fraction;
    length += 1 + fraction;
  }
  return digits > 0 ? length : 0;
}

// Length of an exponent at the start of `s` ("e-12"), 0 when there is none.
std::size_t ExponentLength(std::string_view s, bool accept_d) {
  if (s.empty()) return 0;
  const char c = s[0];
  if (!(c == 'e' || c == 'E' || (accept_d && (c == 'd' || c == 'D')))) return 0;
  std::size_t digits_start = 1;
  if (digits_start < s.size() && (s[digits_start] == '+' || s[digits_start] == '-')) {
    ++digits_start;
  }
  const std::size_t digits = DigitsAtStart(s.substr(digits_start));
  return digits > 0 ? digits_start + digits : 0;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  std::size_t first = 0, last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

Expected<double> LeadingNumber(std::string_view text) {
  std::string packed;
  packed.reserve(text.size());
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') packed.push_back(c);
  }
  std::string_view s = packed;
  std::size_t sign = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
  const std::size_t mantissa = MantissaLength(s.substr(sign));
  if (mantissa == 0) return 0.0;
  const std::size_t exponent = ExponentLength(s.substr(sign + mantissa), true);
  std::string number(s.substr(0, sign + mantissa + exponent));
  if (exponent > 0) number[sign + mantissa] = 'e';  // the D exponent of old Fortran listings
  auto value = ReadPlainNumber(number, text);
  if (!value) return Fail(value.error());
  return *value;
}

Expected<double, DecimalError> ParseDecimal(std::string_view text) {
  const std::string_view s = TrimBlanks(text);
  if (auto plain = ScanShortDecimal(s)) {
    if (auto value = ExactDoubleOf(*plain)) return *value;
  }
  const std::size_t sign = (!s.empty() && (s[0] == '+' || s[0] == '-')) ? 1 : 0;
  const std::size_t mantissa = MantissaLength(s.substr(sign));
  const std::size_t exponent = mantissa > 0 ? ExponentLength(s.substr(sign + mantissa), false) : 0;
  if (mantissa == 0 || sign + mantissa + exponent != s.size()) {
    return Fail(DecimalError::kNotANumber);
  }
  auto value = ReadPlainNumber(s, s);
  if (!value) return Fail(DecimalError::kTooLarge);
  return *value;
}

double Round15(double value) {
  if (!std::isfinite(value)) return value;
  std::array<char, kNumberBufferSize> buffer;
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::general, kSignificantDigits);
  double rounded = value;
  std::from_chars(buffer.data(), end, rounded);
  (void)ec;
  return rounded;
}

Digits15 SignificantDigits15(double value) {
  // "d.dddddddddddddde±x": the first digit, the point, 14 digits, the exponent.
  std::array<char, kNumberBufferSize> buffer;
  auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                 std::chars_format::scientific, kSignificantDigits - 1);
  (void)ec;
  Digits15 d;
  d.digits[0] = buffer[0];
  std::copy(buffer.data() + 2, buffer.data() + 1 + kSignificantDigits, d.digits.begin() + 1);
  const char* e = buffer.data() + 2 + kSignificantDigits;  // past the 'e'
  d.exponent = 0;
  std::from_chars(e + (*e == '+'), end, d.exponent);
  return d;
}

std::string PlainDecimal15(double magnitude) {
  if (!std::isfinite(magnitude)) return std::isnan(magnitude) ? "nan" : "inf";
  if (magnitude == 0) return "0";
  const Digits15 d = SignificantDigits15(magnitude);
  std::string digits(d.digits.begin(), d.digits.end());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  const int exponent = d.exponent;
  std::string text;
  if (exponent < 0) {
    text = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
    text = digits + std::string(exponent + 1 - digits.size(), '0');
  } else {
    text = digits.substr(0, exponent + 1) + "." + digits.substr(exponent + 1);
  }
  return text;
}

std::string ZeroPadded(std::uint64_t value, std::size_t width) {
  char buffer[24];  // the 20 digits of 2^64 - 1 fit
  char* end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  std::string text(buffer, static_cast<std::size_t>(end - buffer));
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

Expected<double, DecimalError> ParseParameterText(std::string_view text) {
  if (TrimBlanks(text) == kZeroText) return 0.0;
  return ParseDecimal(text);
}

}  // namespace torvane
