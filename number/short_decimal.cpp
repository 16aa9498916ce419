#include "number/short_decimal.h"

namespace torvane {

DigitRunValue LongDigitRun(const char* first) {
  using short_decimal_detail::DigitsValue;
  using short_decimal_detail::NonDigits;
  std::uint64_t word;
  std::memcpy(&word, first, sizeof word);
  DigitRunValue run{8, DigitsValue(word, 8)};
  // At most 11 digits more count; a third full word makes more than 19.
  for (int words = 2; words > 0; --words) {
    std::memcpy(&word, first + run.count, sizeof word);
    const std::uint64_t not_digit = NonDigits(word);
    const unsigned more =
        not_digit == 0 ? 8 : static_cast<unsigned>(std::countr_zero(not_digit)) / 8;
    if (run.count + more <= static_cast<std::size_t>(kShortDecimalDigits)) {
      run.value = run.value * kPow10[more] + DigitsValue(word, more);
    }
    run.count += more;
    if (more < 8) break;
  }
  return run;
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
