#include "params/conversion_params.h"

#include <cmath>

#include "number/number_text.h"
#include "number/round_trip.h"
#include "params/dms.h"

namespace torvane {

ParamState StateOf(double x_offset, double y_offset, double rotation) {
  if (x_offset == 0 && y_offset == 0 && rotation == 0) return ParamState::kNotComputed;
  if (x_offset != 0 && y_offset != 0 && rotation != 0) return ParamState::kSet;
  return ParamState::kIncomplete;
}

Expected<RunParams> RunParamsFromValues(double x_offset, double y_offset, double angle_dms,
                                        double scale) {
  auto degrees = DmsToDegrees(angle_dms);
  if (!degrees) return Fail(degrees.error());
  if (!(scale > 0) || !std::isfinite(scale)) {
    return Fail("the scale must be greater than 0, not " + RoundTripText(scale));
  }
  return RunParams{x_offset, y_offset, DegreesToRadians(*degrees), scale};
}

Expected<RunParams> RunParamsFromTexts(std::string_view x_offset, std::string_view y_offset,
                                       std::string_view angle_dms) {
  auto x0 = LeadingNumber(x_offset);
  if (!x0) return Fail("X offset: " + x0.error());
  auto y0 = LeadingNumber(y_offset);
  if (!y0) return Fail("Y offset: " + y0.error());
  auto angle = LeadingNumber(angle_dms);
  if (!angle) return Fail("rotation: " + angle.error());
  return RunParamsFromValues(*x0, *y0, *angle);
}

}  // namespace torvane
