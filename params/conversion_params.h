// The conversion parameters: X offset and Y offset (metres, the survey
// coordinates of the construction grid's origin), the rotation and, for the
// four-parameter conversion, the scale.
#pragma once

#include <string_view>

#include "base/expected.h"

namespace torvane {

// How a set of parameters stands: all three zero (not computed), all three
// non-zero (set) or anything in between (incomplete).
enum class ParamState { kNotComputed, kSet, kIncomplete };
ParamState StateOf(double x_offset, double y_offset, double rotation);

// Parameters ready for converting points: offsets in metres, theta in
// radians (positive turns the construction axes from +X towards +Y), scale
// k a positive ratio: a construction distance of d metres is k·d metres in
// the survey grid.
inline constexpr double kUnitScale = 1.0;
struct RunParams {
  double x_offset = 0;
  double y_offset = 0;
  double theta = 0;
  double scale = kUnitScale;
};

// From numbers: the rotation in ddd.mmss notation, the scale a ratio.
// Rejects what DmsToDegrees rejects, and a scale that is not a finite
// number greater than 0, e.g. "the scale must be greater than 0, not -1".
Expected<RunParams> RunParamsFromValues(double x_offset, double y_offset, double angle_dms,
                                        double scale = kUnitScale);

// From the texts of the three parameter boxes, read by the leading-number rule.
// Rejects: a text whose number is too large, an angle DmsToDegrees rejects.
Expected<RunParams> RunParamsFromTexts(std::string_view x_offset, std::string_view y_offset,
                                       std::string_view angle_dms);

}  // namespace torvane
