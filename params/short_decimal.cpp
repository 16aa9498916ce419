#include "params/short_decimal.h"

namespace torvane {

std::size_t LongDigitRun(const char* first, std::uint64_t* value) {
  using short_decimal_detail::DigitsValue;
  using short_decimal_detail::NonDigits;
  std::uint64_t word;
  std::memcpy(&word, first, sizeof word);
  std::uint64_t v = DigitsValue(word, 8);
  std::size_t count = 8;
  // At most 11 digits more count; a third full word makes more than 19.
  for (int words = 2; words > 0; --words) {
    std::memcpy(&word, first + count, sizeof word);
    const std::uint64_t not_digit = NonDigits(word);
    const auto run = static_cast<std::size_t>(not_digit == 0 ? 8 : std::countr_zero(not_digit) / 8);
    if (count + run <= static_cast<std::size_t>(kShortDecimalDigits)) {
      v = v * kPow10[run] + DigitsValue(word, run);
    }
    count += run;
    if (run < 8) break;
  }
  *value = v;
  return count;
}

std::optional<ShortDecimal> ScanShortDecimal(std::string_view text) {
  ShortDecimal d;
  const char* p = text.data();
  const char* const last = p + text.size();
  if (p != last && (*p == '-' || *p == '+')) d.negative = *p++ == '-';
  const std::size_t integer = LeadingDigits(p, last, &d.digits);
  p += integer;
  std::size_t fraction = 0;
  if (p != last && *p == '.') {
    ++p;
    std::uint64_t decimals;
    fraction = LeadingDigits(p, last, &decimals);
    p += fraction;
    if (integer + fraction > static_cast<std::size_t>(kShortDecimalDigits)) return std::nullopt;
    d.digits = d.digits * kPow10[fraction] + decimals;
    d.decimals = static_cast<int>(fraction);
  }
  if (p != last || integer + fraction == 0 ||
      integer + fraction > static_cast<std::size_t>(kShortDecimalDigits)) {
    return std::nullopt;
  }
  return d;
}

}  // namespace torvane
