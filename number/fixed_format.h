// The result table's numbers, formatted fast and exactly: the same text as
// FormatPattern, without its general machinery for the common values.
#pragma once

#include <cstddef>
#include <string_view>

#include "number/short_decimal.h"

namespace torvane {

// A pattern of "#" placeholders, a full stop and `decimals` "0"
// placeholders, such as "#######.00000" (decimals 5), at most
// kMaxFixedDecimals of them.
struct FixedPattern {
  std::string_view text;
  int decimals;
};
inline constexpr int kMaxFixedDecimals = 12;

// The most characters one number written below takes: a double has at most
// 309 integer digits, then sign, point and decimals.
inline constexpr std::size_t kMaxFixedText = 312 + kMaxFixedDecimals;

// The writers below may use the kMaxFixedText bytes from `out` as
// scratch, whatever the length of what they write: `room_end` is where the
// caller's room ends, at least kMaxFixedText bytes on.

// Writes FormatPattern(value, pattern.text) at `out` (the 15-digit text of
// value rounded at the pattern's decimals, ties away from zero) and returns
// its end; value in any unit. Values of magnitude from 1 to 1e10 are rounded
// with integer arithmetic on the exact binary value; those within a unit of
// the 15th digit of halfway between two shown values, and all others, take
// the general path.
char* WriteRound15Fixed(char* out, const char* room_end, double value, const FixedPattern& pattern);

// Writes FormatPattern(ParseDecimal(text), pattern.text) at `out` and
// returns its end. A plain decimal with fewer than 15 - decimals integer
// digits and no more decimals than the pattern shows is copied digit by
// digit; other numbers take the general path. Returns nullptr, writing
// nothing, for a text that ParseDecimal rejects (not a number, or too
// large).
char* WriteDecimalFixed(char* out, const char* room_end, std::string_view text,
                        const FixedPattern& pattern);

// WriteDecimalFixed for a text (blanks removed) already read into
// `digits`: nullptr, writing nothing, when it has more decimals than the
// pattern shows or 15 - decimals integer digits or more (then
// WriteDecimalFixed decides).
char* WriteShortDecimalFixed(char* out, const char* room_end, const ShortDecimal& digits,
                             std::string_view text, const FixedPattern& pattern);

}  // namespace torvane
