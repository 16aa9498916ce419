#include "params/two_point.h"
#include "params/constants.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

#include "number/number_text.h"
#include "number/pattern.h"
#include "number/round_trip.h"
#include "params/bearing.h"
#include "params/dms.h"
#include "params/param_texts.h"

namespace torvane {
namespace {

constexpr std::string_view kMillimetrePattern = "0.000";
constexpr const char* kLineBreak = "\r\n";

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

constexpr const char* kOverflow = "the coordinates are too large to compute with";

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
  solution.offsets_disagree =
      std::fabs(x_gap_mm) > kOffsetToleranceMm || std::fabs(y_gap_mm) > kOffsetToleranceMm;
  auto texts = MakeParamTexts(x_offset, y_offset, theta);
  if (!texts) return Fail(texts.error());
  solution.x_offset_text = texts->x_offset;
  solution.y_offset_text = texts->y_offset;
  solution.angle_text = texts->angle;
  const double degrees = BoxDegrees(theta);

  solution.present_state = StateOf(present.x_offset, present.y_offset, present.angle_dms);
  if (solution.present_state != ParamState::kSet) return solution;

  // Check mode: the derived parameters against those present.
  const double x_written = LeadingNumber(solution.x_offset_text).value();
  const double y_written = LeadingNumber(solution.y_offset_text).value();
  solution.x_offset_gap = x_written - present.x_offset;
  solution.y_offset_gap = y_written - present.y_offset;
  const double dx_mm = std::fabs(solution.x_offset_gap) * kMillimetresPerMetre;
  const double dy_mm = std::fabs(solution.y_offset_gap) * kMillimetresPerMetre;
  auto entered = DmsToDegrees(present.angle_dms);
  if (!entered) return Fail(entered.error());
  solution.angle_gap = degrees - *entered;

  std::string& r = solution.check_report;
  r += "坐标计算的转化参数为:";
  r += kLineBreak;
  r += kLineBreak;
  r += "   X偏移量为: " + solution.x_offset_text + kLineBreak;
  r += "   Y偏移量为: " + solution.y_offset_text + kLineBreak;
  r += "   坐标旋转角为:" + FormatDmsSymbols(degrees) + kLineBreak;
  r += kLineBreak;
  r += kLineBreak;
  r += "转化参数差异量为:";
  r += kLineBreak;
  r += kLineBreak;
  r += "   X偏移量差异为: ±" + FormatPattern(dx_mm, kMillimetrePattern) + " mm" + kLineBreak;
  r += "   Y偏移量差异为: ±" + FormatPattern(dy_mm, kMillimetrePattern) + " mm" + kLineBreak;
  r += "   旋转角差异量为:" + FormatDmsSymbols(solution.angle_gap);
  return solution;
}

}  // namespace torvane
