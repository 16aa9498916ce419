// The common case of a coordinate or height field: a plain decimal with
// few digits ("3456789.123", "-0.5", "1215"), read without from_chars.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "number/digit_run.h"
#include "number/powers_of_ten.h"

namespace torvane {

// The value digits · 10^-decimals, negative when `negative`; digits has at
// most kUint64Digits (19) decimal digits.
struct ShortDecimal {
  std::uint64_t digits = 0;
  int decimals = 0;
  bool negative = false;
};

// Reads from `p` an optional sign, then digits with at most one full stop,
// at least one digit and at most kUint64Digits in all, into *d, and
// returns the end of what it read; nullptr, with *d unspecified, when there
// is no digit or there are more. Reads only bytes before `last`, which
// kReadTo gives the meaning of (see DigitRun), up to the first byte that
// cannot belong to the number.
template <ReadTo kReadTo = ReadTo::kLast>
inline const char* ReadShortDecimal(const char* p, const char* last, ShortDecimal* d) {
  constexpr bool kBounded = kReadTo == ReadTo::kLast;
  // A branch, not arithmetic: predicted, it keeps the sign's byte off the
  // chain of loads that walks a line.
  d->negative = false;
  if ((!kBounded || p != last) && (*p == '-' || *p == '+')) d->negative = *p++ == '-';
  const DigitRunValue integer = DigitRun<kReadTo>(p, last);
  p += integer.count;
  std::size_t digits = integer.count;
  std::uint64_t value = integer.value;
  d->decimals = 0;
  if ((!kBounded || p != last) && *p == '.') {
    const DigitRunValue fraction = DigitRun<kReadTo>(++p, last);
    p += fraction.count;
    digits += fraction.count;
    if (digits > static_cast<std::size_t>(kUint64Digits)) return nullptr;
    value = value * kPow10[fraction.count] + fraction.value;
    d->decimals = static_cast<int>(fraction.count);
  }
  // No digit at all, or too many.
  if (digits - 1 >= static_cast<std::size_t>(kUint64Digits)) return nullptr;
  d->digits = value;
  return p;
}

// Reads a text that is exactly what ReadShortDecimal reads. Rejects (no
// value) everything else, blanks and exponents included: the caller then
// takes the general path.
std::optional<ShortDecimal> ScanShortDecimal(std::string_view text);

namespace short_decimal_detail {
inline constexpr std::uint64_t kExactIntegerLimit = 1ULL << 53;
}  // namespace short_decimal_detail

// The double nearest to the decimal when that is a single correctly rounded
// division (digits below 2^53, at most 22 decimals: both operands exact), as
// from_chars would give; no value otherwise.
inline std::optional<double> ExactDoubleOf(const ShortDecimal& decimal) {
  if (decimal.digits > short_decimal_detail::kExactIntegerLimit ||
      decimal.decimals > kMaxExactPow10) {
    return std::nullopt;
  }
  // Through a signed integer, which converts in one instruction.
  const double magnitude = static_cast<double>(static_cast<std::int64_t>(decimal.digits)) /
                           kExactPow10[decimal.decimals];
  return decimal.negative ? -magnitude : magnitude;
}

}  // namespace torvane
