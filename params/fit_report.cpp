#include "params/fit_report.h"

#include <cmath>
#include <numbers>
#include <optional>
#include <string_view>
#include <utility>

#include "params/constants.h"
#include "params/dms.h"
#include "params/number_text.h"
#include "params/pattern.h"
#include "params/rigid_fit.h"
#include "params/transform.h"
#include "params/two_point.h"
#include "params/worst_pairs.h"

namespace torvane {
namespace {

constexpr std::string_view kMillimetrePattern = "0.000";
constexpr const char* kOverflow = "the coordinates are too large to compute with";

// The ddd.mmss text of the opposite turn: DmsToDegrees and DegreesToRadians
// are odd functions, so "-" in front (or taken away) turns back exactly.
std::string Opposite(const std::string& angle) {
  if (angle.starts_with('-')) return angle.substr(1);
  if (angle == ".") return angle;
  return "-" + angle;
}

PointResidual ResidualOf(const Transform& transform, const CommonPoint& point) {
  const PlanePoint converted = transform.Inverse(point.construction);
  PointResidual r;
  r.dx = point.survey.x - converted.x;
  r.dy = point.survey.y - converted.y;
  r.length = std::hypot(r.dx, r.dy);
  return r;
}

}  // namespace

Expected<FitReport> ReportFit(std::span<const CommonPoint> fitted,
                              std::span<const CommonPoint> excluded) {
  auto fit = FitRigid(fitted);
  if (!fit) return Fail(fit.error());

  FitReport report;
  if (fitted.size() == 2) {
    // Two points are the two-point method's case: its texts, and its warning.
    const CommonPoint& a = fitted[0];
    const CommonPoint& b = fitted[1];
    auto two = SolveTwoPoints({a.survey.x, a.survey.y, b.survey.x, b.survey.y, a.construction.x,
                               a.construction.y, b.construction.x, b.construction.y},
                              {}, SamePlace::kReject);
    if (!two) return Fail(two.error());
    report.texts = {two->x_offset_text, two->y_offset_text, two->angle_text};
    report.offsets_disagree = two->offsets_disagree;
  } else {
    auto texts = MakeParamTexts(fit->x_offset, fit->y_offset, fit->theta);
    if (!texts) return Fail(texts.error());
    report.texts = *texts;
  }

  auto params =
      RunParamsFromTexts(report.texts.x_offset, report.texts.y_offset, report.texts.angle);
  if (!params) return Fail(params.error());
  report.params = *params;
  auto angle = LeadingNumber(report.texts.angle);
  if (!angle) return Fail(angle.error());
  auto box_degrees = DmsToDegrees(*angle);
  if (!box_degrees) return Fail(box_degrees.error());
  report.box_degrees = *box_degrees;
  report.degrees = report.params.theta / std::numbers::pi * kDegreesPerHalfTurn;  // divide first

  const Transform transform(report.params);
  const PlanePoint origin = transform.Forward({0, 0});
  if (!std::isfinite(origin.x) || !std::isfinite(origin.y)) return Fail(kOverflow);
  report.inverse = {OffsetText(origin.x), OffsetText(origin.y), Opposite(report.texts.angle)};

  double sum_of_squares = 0;
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    const PointResidual r = ResidualOf(transform, fitted[i]);
    if (!std::isfinite(r.length)) return Fail(kOverflow);
    sum_of_squares += r.dx * r.dx + r.dy * r.dy;
    if (i == 0 || r.length > report.residuals[report.largest].length) report.largest = i;
    report.residuals.push_back(r);
  }
  report.rms = std::sqrt(sum_of_squares / static_cast<double>(fitted.size()));
  if (!std::isfinite(report.rms)) return Fail(kOverflow);
  for (const CommonPoint& point : excluded) {
    const PointResidual r = ResidualOf(transform, point);
    if (!std::isfinite(r.length)) return Fail(kOverflow);
    report.excluded_residuals.push_back(r);
  }

  const std::size_t n = fitted.size();
  report.pair_count = n * (n - 1) / 2;
  if (n <= kAllPairsUpTo) {
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) {
        report.pairs.push_back(CheckPair(fitted, i, j));
        if (!std::isfinite(report.pairs.back().difference)) return Fail(kOverflow);
      }
    }
    return report;
  }
  if (!SpanFits(fitted, &CommonPoint::survey) || !SpanFits(fitted, &CommonPoint::construction)) {
    return Fail(kOverflow);
  }
  auto worst = WorstPairsOf(fitted, fit->theta);
  if (!worst) return Fail(kOverflow);
  report.pairs = std::move(*worst);
  return report;
}

std::string MillimetreText(double metres) {
  return FormatPattern(metres * kMillimetresPerMetre, kMillimetrePattern);
}

std::vector<std::size_t> ResidualsAbove(const FitReport& report, double limit_mm) {
  std::vector<std::size_t> above;
  for (std::size_t i = 0; i < report.residuals.size(); ++i) {
    auto shown = LeadingNumber(MillimetreText(report.residuals[i].length));
    if (shown && *shown > limit_mm) above.push_back(i);
  }
  return above;
}

}  // namespace torvane
