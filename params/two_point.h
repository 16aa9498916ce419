// Conversion parameters from two common points A and B known in both grids,
// and the check of parameters already present against them, as numbers,
// and the texts the parameter button writes into the boxes.
#pragma once

#include "base/expected.h"
#include "params/conversion_params.h"
#include "params/param_texts.h"

namespace torvane {

// Beyond this many millimetres the offsets estimated from A and from B disagree.
inline constexpr double kOffsetToleranceMm = 10.0;

// Coordinates in metres: s = survey grid, c = construction grid.
struct TwoPoints {
  double xs_a = 0, ys_a = 0, xs_b = 0, ys_b = 0;
  double xc_a = 0, yc_a = 0, xc_b = 0, yc_b = 0;
};

// The parameters present in the boxes: offsets in metres, angle in ddd.mmss.
struct PresentParams {
  double x_offset = 0, y_offset = 0, angle_dms = 0;
};

struct TwoPointSolution {
  // The derived parameters: the offsets in metres, each the mean of the
  // estimates from A and from B; theta in radians, the survey bearing of
  // A to B minus the construction one to 15 significant digits, so within
  // (-2π′, 2π′).
  double x_offset = 0, y_offset = 0;
  double theta = 0;
  // The estimate from A minus that from B, millimetres, and whether either
  // differs by more than kOffsetToleranceMm (the 10 mm warning applies).
  double x_disagreement_mm = 0, y_disagreement_mm = 0;
  bool offsets_disagree = false;
  ParamState present_state = ParamState::kNotComputed;
  // Only when present_state is kSet: the parameters present, their angle
  // also in decimal degrees; and the derived parameters minus them, the
  // offsets as their boxes show them (metres, OffsetShown), the angle as
  // the rotation box reads it (decimal degrees, BoxDegrees).
  PresentParams present;
  double present_degrees = 0;
  double x_offset_gap = 0, y_offset_gap = 0;
  double angle_gap = 0;
};

// A and B at the same place in a grid give no bearing there, and so no rotation.
enum class SamePlace {
  kBearingZero,  // that bearing counts as 0: the window's parameter button has always done so
  kReject,       // an error naming the grid and quoting the place
};

// Works out everything the parameter button needs; coordinates in metres,
// the present angle in ddd.mmss. Rejects: arithmetic that leaves the range
// of doubles (kOverflow); a present angle that DmsToDegrees rejects (whole
// degrees beyond 2147483647); with SamePlace::kReject, A and B at the same
// place in the survey grid, the construction grid or both, e.g. "A and B
// are both at 1050,2000 in the survey grid: the rotation cannot be
// determined".
Expected<TwoPointSolution> SolveTwoPoints(const TwoPoints& points, const PresentParams& present,
                                          SamePlace same_place = SamePlace::kBearingZero);

// The derived parameters as the X offset, Y offset and rotation boxes show
// them (MakeParamTexts), e.g. "1000.000161", "2000.000161", "45.".
ParamTexts TwoPointBoxTexts(const TwoPointSolution& solution);

}  // namespace torvane
