// H0, the elevation of a site's ±0.000, as runs take it from its text.
#pragma once

#include <string>
#include <string_view>

#include "base/expected.h"

namespace torvane {

enum class HeightOffsetError {
  kNotANumber,       // not a decimal number in full (ParseDecimal), nor "."
  kTooManyDecimals,  // a digit past the kMaxExactDecimals-th decimal
};

// The text RunRequest::height_offset takes for H0 typed as `text`, metres:
// the text without the blanks around it, or "0" for any text that reads 0
// ("." as the windows write zero, "-0", "1e-999"), which shifts by nothing.
// Rejects a text that is not a number and one whose exact decimal sum with
// a height cannot be made (HeightOffsetError).
Expected<std::string, HeightOffsetError> HeightOffsetText(std::string_view text);

}  // namespace torvane
