// Runs of decimal digits ("3456789" of "3456789.123") read eight bytes at
// a time: the short decimals of point files and commands, and the mantissa
// and exponent lengths of the general number rules, read their digits here.
#pragma once

#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "number/words.h"

namespace torvane {

namespace digit_run_detail {

// '9' + 1 + 0x46 = 0x80: a byte above '9' gets its high bit from adding it.
inline constexpr std::uint64_t kAboveNine = kEachByte * 0x46;

// Sets the high bit of the bytes of `word` that are not digits, at least of
// the first: a byte below '0' turns it on less '0', one above '9' plus 0x46.
// Borrows and carries only reach bytes after such a byte. The subtraction
// is the one that gives the digits' values, so the two share it. (The
// eight-digit test of simdjson's is_made_of_eight_digits_fast.)
inline std::uint64_t NonDigits(std::uint64_t word) {
  return ((word - kZeros) | (word + kAboveNine)) & kByteHighBits;
}

// The value of the first `count` (0 to 8) digits of `word`, whose first
// byte is the most significant digit: the digits are moved to the top, as
// if written with leading zeros, then combined in pairs, fours and eights.
// (The eight-digit parse of simdjson and fast_float, from Lemire's "Faster
// integer parsing".)
inline std::uint64_t DigitsValue(std::uint64_t word, std::size_t count) {
  assert(count <= kWordBytes);
  // Two half shifts, so that a count of 0 moves every digit out.
  const auto half = static_cast<unsigned>(4 * (kWordBytes - count));
  std::uint64_t v = ((word - kZeros) << half) << half;
  v = v * 10 + (v >> 8);
  return (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
          (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
         32;
}

}  // namespace digit_run_detail

// A run of decimal digits: how many, and the value of the first
// kUint64Digits (19) or fewer (unspecified when there are more).
struct DigitRunValue {
  std::size_t count = 0;
  std::uint64_t value = 0;
};

// What a reader's `last` means.
enum class ReadTo {
  // The text is [first, last): no byte at or after `last` is read.
  kLast,
  // A byte that cannot belong to the number comes before `last`, and from
  // any position up to it eight bytes are readable before `last` (a line
  // in its reader's buffer, ended by a line end and followed by slack): the
  // words are read without a bound check, as the stop byte ends the run.
  kStopByte,
};

// DigitRun for a run of eight digits or more; either meaning of `last`.
DigitRunValue LongDigitRun(const char* first, const char* last);

// The decimal digits at `first`, all of them counted, up to the first byte
// that is not a digit or up to `last` as kReadTo says. Reads a word at a
// time, and only bytes before `last`. (The result comes back in registers:
// no value of it passes through memory on the way to the next field.)
template <ReadTo kReadTo = ReadTo::kLast>
inline DigitRunValue DigitRun(const char* first, const char* last) {
  std::uint64_t word;
  if constexpr (kReadTo == ReadTo::kStopByte) {
    assert(last - first >= static_cast<std::ptrdiff_t>(kWordBytes));
    word = LoadWord(first);
  } else {
    word = LoadWordBefore(first, last);
  }
  const std::uint64_t not_digit = digit_run_detail::NonDigits(word);
  if (not_digit == 0) return LongDigitRun(first, last);
  // Unsigned before the division, which is then one shift.
  const std::size_t count = static_cast<unsigned>(std::countr_zero(not_digit)) / 8;
  return {count, digit_run_detail::DigitsValue(word, count)};
}

}  // namespace torvane
