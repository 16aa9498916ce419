#include "batch/height_offset.h"

#include "number/exact_decimal.h"
#include "number/number_text.h"

namespace torvane {

Expected<std::string, HeightOffsetError> HeightOffsetText(std::string_view text) {
  const std::string_view trimmed = TrimBlanks(text);
  auto value = ParseParameterText(trimmed);
  if (!value) return Fail(HeightOffsetError::kNotANumber);
  if (*value == 0) return std::string("0");
  if (!ExactDecimalSum("0", trimmed, false)) return Fail(HeightOffsetError::kTooManyDecimals);
  return std::string(trimmed);
}

}  // namespace torvane
