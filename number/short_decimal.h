// The common case of a coordinate or height field: a plain decimal with
// few digits ("3456789.123", "-0.5", "1215"), read without from_chars.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace torvane {

// Powers of ten that a 64-bit integer holds, 10^0 to 10^19.
inline constexpr std::uint64_t kPow10[] = {1ULL,
                                           10ULL,
                                           100ULL,
                                           1000ULL,
                                           10000ULL,
                                           100000ULL,
                                           1000000ULL,
                                           10000000ULL,
                                           100000000ULL,
                                           1000000000ULL,
                                           10000000000ULL,
                                           100000000000ULL,
                                           1000000000000ULL,
                                           10000000000000ULL,
                                           100000000000000ULL,
                                           1000000000000000ULL,
                                           10000000000000000ULL,
                                           100000000000000000ULL,
                                           1000000000000000000ULL,
                                           10000000000000000000ULL};

// 10^0 to 10^22 are exact doubles.
inline constexpr double kExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr int kMaxExactPow10 = 22;

// The most digits a ShortDecimal holds: 10^19 - 1 fits in 64 bits.
inline constexpr int kShortDecimalDigits = 19;

namespace short_decimal_detail {

static_assert(std::endian::native == std::endian::little, "digits are read as words");

inline constexpr std::uint64_t kExactIntegerLimit = 1ULL << 53;

inline constexpr std::uint64_t kZeros = 0x3030303030303030ULL;  // "00000000"
inline constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
inline constexpr std::uint64_t kAboveNine = 0x4646464646464646ULL;  // '9' + 1 + 0x46 = 0x80

// Sets the high bit of the bytes of `word` that are not digits, at least of
// the first: a byte below '0' turns it on less '0', one above '9' plus 0x46.
// Borrows and carries only reach bytes after such a byte. The subtraction
// is the one that gives the digits' values, so the two share it.
inline std::uint64_t NonDigits(std::uint64_t word) {
  return ((word - kZeros) | (word + kAboveNine)) & kHighBits;
}

// The value of the first `count` (0 to 8) digits of `word`, whose first
// byte is the most significant digit: the digits are moved to the top, as
// if written with leading zeros, then combined in pairs, fours and eights.
inline std::uint64_t DigitsValue(std::uint64_t word, std::size_t count) {
  // Two half shifts, so that a count of 0 moves every digit out.
  const auto half = static_cast<unsigned>(4 * (8 - count));
  std::uint64_t v = ((word - kZeros) << half) << half;
  v = v * 10 + (v >> 8);
  return (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
          (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
         32;
}

}  // namespace short_decimal_detail

// The value digits · 10^-decimals, negative when `negative`.
struct ShortDecimal {
  std::uint64_t digits = 0;
  int decimals = 0;
  bool negative = false;
};

// The number of decimal digits at the start of [first, last), and in
// *value their value (modulo 2^64 when there are more than 19). Reads the
// first eight bytes as one word where there are eight.
inline std::size_t LeadingDigits(const char* first, const char* last, std::uint64_t* value) {
  if (last - first >= 8) {
    std::uint64_t word;
    std::memcpy(&word, first, sizeof word);
    const std::uint64_t not_digit = short_decimal_detail::NonDigits(word);
    if (not_digit != 0) {
      const auto run = static_cast<unsigned>(std::countr_zero(not_digit)) / 8;
      *value = short_decimal_detail::DigitsValue(word, run);
      return run;
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

// A run of decimal digits: how many, and the value of the first 19 or
// fewer (unspecified when there are more).
struct DigitRunValue {
  std::size_t count = 0;
  std::uint64_t value = 0;
};

// DigitRun for a run of eight digits or more.
DigitRunValue LongDigitRun(const char* first);

// The decimal digits at `first`, counting at most 24. A non-digit must
// follow the run, and the 8 bytes from any position up to that non-digit
// must be readable: the run is read a word at a time with no bound of its
// own, as the line end stops it. (The result comes back in registers: no
// value of it passes through memory on the way to the next field.)
inline DigitRunValue DigitRun(const char* first) {
  std::uint64_t word;
  std::memcpy(&word, first, sizeof word);
  const std::uint64_t not_digit = short_decimal_detail::NonDigits(word);
  if (not_digit == 0) return LongDigitRun(first);
  const auto run = static_cast<unsigned>(std::countr_zero(not_digit)) / 8;
  return {run, short_decimal_detail::DigitsValue(word, run)};
}

// Reads a text that is exactly an optional sign, digits with at most one
// full stop, at least one digit, and at most 19 digits in all. Rejects
// (no value) everything else, blanks and exponents included: the caller
// then takes the general path.
std::optional<ShortDecimal> ScanShortDecimal(std::string_view text);

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
