#include "params/short_decimal.h"

#include <bit>
#include <cstring>

namespace torvane {
namespace {

constexpr std::uint64_t kExactIntegerLimit = 1ULL << 53;
// 10^0 to 10^22 are exact doubles.
constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPow10 = 22;

constexpr std::uint64_t kZeros = 0x3030303030303030ULL;  // "00000000"
constexpr std::uint64_t kHighNibbles = 0xF0F0F0F0F0F0F0F0ULL;
constexpr std::uint64_t kSixes = 0x0606060606060606ULL;

// The value of the first `count` (1 to 8) digits of `word`, whose first byte
// is the most significant digit: the digits are moved to the top, as if
// written with leading zeros, then combined in pairs, fours and eights.
std::uint64_t DigitsValue(std::uint64_t word, std::size_t count) {
  std::uint64_t v = (word - kZeros) << (8 * (8 - count));
  v = v * 10 + (v >> 8);
  v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
       (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
      32;
  return v;
}

}  // namespace

std::size_t LeadingDigits(const char* first, const char* last, std::uint64_t* value) {
  if (last - first >= 8) {
    std::uint64_t word;
    std::memcpy(&word, first, sizeof word);
    // A byte is a digit when its high nibble is 3 both as it is and with 6
    // added (0x30 to 0x39). A carry out of a byte above 0xF9 only disturbs
    // the bytes after that non-digit, which are not looked at.
    const std::uint64_t not_digit =
        ((word & kHighNibbles) ^ kZeros) | (((word + kSixes) & kHighNibbles) ^ kZeros);
    if (not_digit != 0) {
      const auto count = static_cast<std::size_t>(std::countr_zero(not_digit) / 8);
      *value = count == 0 ? 0 : DigitsValue(word, count);
      return count;
    }
  }
  std::uint64_t v = 0;
  const char* p = first;
  for (; p != last && static_cast<unsigned char>(*p - '0') < 10; ++p) {
    v = v * 10 + static_cast<unsigned>(*p - '0');
  }
  *value = v;
  return static_cast<std::size_t>(p - first);
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

std::optional<double> ExactDoubleOf(const ShortDecimal& decimal) {
  if (decimal.digits > kExactIntegerLimit || decimal.decimals > kMaxExactPow10) {
    return std::nullopt;
  }
  const double magnitude = static_cast<double>(decimal.digits) / kExactPow10[decimal.decimals];
  return decimal.negative ? -magnitude : magnitude;
}

}  // namespace torvane
