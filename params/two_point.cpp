#include "params/two_point.h"

#include <cmath>
#include <string>
#include <utility>

#include "number/number_text.h"
#include "number/round_trip.h"
#include "params/bearing.h"
#include "params/constants.h"
#include "params/dms.h"
#include "params/overflow.h"
#include "params/param_texts.h"

namespace torvane {
namespace {

std::string PlaceText(double x, double y) { return RoundTripText(x) + ',' + RoundTripText(y); }

// The error for A and B at one place in the survey grid, the construction
// grid or both; empty when they are apart in both.
std::string SamePlaceError(const TwoPoints& pts, bool survey, bool construction) {
  std::string where;
  if (survey) where = "both at " + PlaceText(pts.xs_a, pts.ys_a) + " in the survey grid";
  if (survey && construction) where += " and ";
  if (construction) {
    where += "both at " + PlaceText(pts.xc_a, pts.yc_a) + " in the construction grid";
  }
  if (where.empty()) return where;
  return "A and B are " + where + ": the rotation cannot be determined";
}

}  // namespace

Expected<TwoPointSolution> SolveTwoPoints(const TwoPoints& pts, const PresentParams& present,
                                          SamePlace same_place) {
  // A minus B in both grids.
  const double dxs = pts.xs_a - pts.xs_b;
  const double dys = pts.ys_a - pts.ys_b;
  const double dxc = pts.xc_a - pts.xc_b;
  const double dyc = pts.yc_a - pts.yc_b;
  if (!AllFinite({dxs, dys, dxc, dyc})) return Fail(kOverflow);
  if (same_place == SamePlace::kReject) {
    std::string error = SamePlaceError(pts, dxs == 0 && dys == 0, dxc == 0 && dyc == 0);
    if (!error.empty()) return Fail(std::move(error));
  }

  const double bearing_s = Bearing(dxs, dys).value_or(0.0);
  const double bearing_c = Bearing(dxc, dyc).value_or(0.0);
  const double theta = Round15(bearing_s - bearing_c);

  // The construction-to-survey formulas solved for the offsets, once from
  // each point, evaluated left to right.
  const double x0_a = pts.xs_a - std::cos(theta) * pts.xc_a + std::sin(theta) * pts.yc_a;
  const double y0_a = pts.ys_a - std::sin(theta) * pts.xc_a - std::cos(theta) * pts.yc_a;
  const double x0_b = pts.xs_b - std::cos(theta) * pts.xc_b + std::sin(theta) * pts.yc_b;
  const double y0_b = pts.ys_b - std::sin(theta) * pts.xc_b - std::cos(theta) * pts.yc_b;
  const double x_gap_mm = (x0_a - x0_b) * kMillimetresPerMetre;
  const double y_gap_mm = (y0_a - y0_b) * kMillimetresPerMetre;
  const double x_offset = x0_a / 2 + x0_b / 2;  // each halved first: no overflow in the sum
  const double y_offset = y0_a / 2 + y0_b / 2;
  if (!AllFinite({x0_a, y0_a, x0_b, y0_b, x_gap_mm, y_gap_mm, x_offset, y_offset})) {
    return Fail(kOverflow);
  }

  TwoPointSolution solution;
  solution.x_offset = x_offset;
  solution.y_offset = y_offset;
  solution.theta = theta;
  solution.x_disagreement_mm = x_gap_mm;
  solution.y_disagreement_mm = y_gap_mm;
  solution.offsets_disagree =
      std::fabs(x_gap_mm) > kOffsetToleranceMm || std::fabs(y_gap_mm) > kOffsetToleranceMm;

  solution.present_state = StateOf(present.x_offset, present.y_offset, present.angle_dms);
  if (solution.present_state != ParamState::kSet) return solution;

  // Check mode: the derived parameters, as the boxes would show them,
  // against those present.
  auto entered = DmsToDegrees(present.angle_dms);
  if (!entered) return Fail(entered.error());
  solution.present = present;
  solution.present_degrees = *entered;
  solution.x_offset_gap = OffsetShown(x_offset) - present.x_offset;
  solution.y_offset_gap = OffsetShown(y_offset) - present.y_offset;
  solution.angle_gap = BoxDegrees(theta) - *entered;
  return solution;
}

ParamTexts TwoPointBoxTexts(const TwoPointSolution& solution) {
  // theta is finite and within two turns, which FormatDmsNumber always writes.
  return MakeParamTexts(solution.x_offset, solution.y_offset, solution.theta).value();
}

}  // namespace torvane
