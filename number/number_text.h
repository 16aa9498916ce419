// Reading numbers from text and writing them back, without the locale:
// the decimal separator is always the full stop.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/expected.h"

namespace torvane {

// The leading-number rule used for every input box: blanks, tabs and line
// feeds are ignored wherever they stand ("1 000.5" reads 1000.5); then an
// optional sign, digits with at most one full stop and an optional exponent
// (E or D, optional sign, digits) are read up to the first character that
// does not fit. Text without a leading number ("", "abc", ",5") reads 0.
// Rejects: a number too large for a double (the error quotes the text).
Expected<double> LeadingNumber(std::string_view text);

// Strict reading of a coordinate field or a command-line value: the whole
// text, apart from blanks (spaces, tabs) around it, must be a decimal number:
// optional sign, digits with an optional full stop, optional exponent E/e.
// Rejects: anything else ("755.5m", "", "III12", "inf", "nan", "0x10"), and
// numbers too large for a double; the error says which.
enum class DecimalError { kNotANumber, kTooLarge };
Expected<double, DecimalError> ParseDecimal(std::string_view text);

// The significant decimal digits kept of every computed value before it is
// shown: as many as a double always carries through text and back.
inline constexpr int kSignificantDigits = 15;

// The value rounded to 15 significant decimal digits: the shortest text with
// at most 15 significant digits, read back. Infinities and NaN pass through.
double Round15(double value);

// The decimal text of |value| to 15 significant digits, as std::to_chars
// writes it in scientific form with 14 decimals (the exact binary value
// rounded to the nearest): `digits` are the 15 digits, the first of them at
// the place of 10^exponent. 1234.5 gives "123450000000000" and 3, 0.0021
// gives "210000000000000" and -3, 0 gives fifteen zeros and 0. Needs a
// finite value.
struct Digits15 {
  std::array<char, kSignificantDigits> digits;
  int exponent;
};
Digits15 SignificantDigits15(double value);

// The shortest decimal text of |value| with at most 15 significant digits,
// written without an exponent ("30.152", "0.0003", "720"). Needs a finite
// value; NaN or infinity give "nan"/"inf". It is not std::to_chars: that
// writes either an exponent form ("3e-04") or, with a fixed precision, the
// exact binary expansion of the double; the angles and messages need the 15
// significant digits without an exponent.
std::string PlainDecimal15(double magnitude);

// The decimal digits of `value` with zeros in front up to `width` digits:
// (7, 2) gives "07"; a value of more digits is written whole.
std::string ZeroPadded(std::uint64_t value, std::size_t width);

// The text the windows (and `solve`) write for a value of zero.
inline constexpr std::string_view kZeroText = ".";

// A parameter's text as the boxes' texts and the command line's options
// are read: kZeroText (blanks around it allowed) is 0, anything else a
// decimal number in full. Rejects what ParseDecimal rejects.
Expected<double, DecimalError> ParseParameterText(std::string_view text);

// Blanks for the point-file and command-line rules: space and tab.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }
std::string_view TrimBlanks(std::string_view text);

}  // namespace torvane
