// The three conversion parameters: X offset and Y offset (metres, the survey
// coordinates of the construction grid's origin) and the rotation.
#pragma once

#include <string_view>

#include "params/expected.h"

namespace torvane {

// How a set of parameters stands: all three zero (not computed), all three
// non-zero (set) or anything in between (incomplete).
enum class ParamState { kNotComputed, kSet, kIncomplete };
ParamState StateOf(double x_offset, double y_offset, double rotation);

// Parameters ready for converting points: offsets in metres, theta in
// radians (positive turns the construction axes from +X towards +Y).
struct RunParams {
  double x_offset = 0;
  double y_offset = 0;
  double theta = 0;
};

// From numbers: the rotation in ddd.mmss notation.
// Rejects what DmsToDegrees rejects.
Expected<RunParams> RunParamsFromValues(double x_offset, double y_offset, double angle_dms);

// From the texts of the three parameter boxes, read by the leading-number rule.
// Rejects: a text whose number is too large, an angle DmsToDegrees rejects.
Expected<RunParams> RunParamsFromTexts(std::string_view x_offset, std::string_view y_offset,
                                       std::string_view angle_dms);

}  // namespace torvane
