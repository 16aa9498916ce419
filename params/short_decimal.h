// The common case of a coordinate or height field: a plain decimal with
// few digits ("3456789.123", "-0.5", "1215"), read without from_chars.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The most digits a ShortDecimal holds: 10^19 - 1 fits in 64 bits.
inline constexpr int kShortDecimalDigits = 19;

// The value digits · 10^-decimals, negative when `negative`.
struct ShortDecimal {
  std::uint64_t digits = 0;
  int decimals = 0;
  bool negative = false;
};

// The number of decimal digits at the start of [first, last), and in
// *value their value (modulo 2^64 when there are more than 19). Reads eight
// bytes at a time where eight are there to read.
std::size_t LeadingDigits(const char* first, const char* last, std::uint64_t* value);

// Reads a text that is exactly an optional sign, digits with at most one
// full stop, at least one digit, and at most 19 digits in all. Rejects
// (no value) everything else, blanks and exponents included: the caller
// then takes the general path.
std::optional<ShortDecimal> ScanShortDecimal(std::string_view text);

// The double nearest to the decimal when that is a single correctly rounded
// division (digits below 2^53, at most 22 decimals: both operands exact), as
// from_chars would give; no value otherwise.
std::optional<double> ExactDoubleOf(const ShortDecimal& decimal);

}  // namespace torvane
