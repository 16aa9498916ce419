#include "params/short_decimal.h"

namespace torvane {

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
