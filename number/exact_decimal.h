// Sums of number texts worked out exactly in decimal, digit by digit, so
// that "1215.101" - "1200" is 15.101 and never the 15.100999... of doubles.
#pragma once

#include <string>
#include <string_view>

#include "base/expected.h"
#include "number/number_text.h"

namespace torvane {

// The finest decimal place an exact sum keeps: a digit below 10^-400 lies
// beyond the smallest double (about 4.9e-324), and no measure has one.
inline constexpr int kMaxExactDecimals = 400;

// a + b, or a - b when `subtract`, of two texts that ParseDecimal reads
// (blanks around them, signs and exponents allowed), exact: the shortest
// plain decimal text of the result, without an exponent, a plus sign, or
// zeros that change nothing ("15.101", "-0.5", "1200", "0"; never "-0").
// A text that ParseDecimal reads as 0 counts as 0, so that 1e-999, below
// the smallest double, adds nothing as it does to a double. Rejects, with
// the error of the first text at fault: a text ParseDecimal rejects
// (kNotANumber, kTooLarge), and one that is not 0 with a digit below the
// kMaxExactDecimals-th decimal (kNotANumber).
Expected<std::string, DecimalError> ExactDecimalSum(std::string_view a, std::string_view b,
                                                    bool subtract);

}  // namespace torvane
