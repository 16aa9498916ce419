#include "fit/fit_report.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>
#include <string_view>
#include <utility>

#include "fit/f_quantile.h"
#include "fit/report_patterns.h"
#include "fit/rigid_fit.h"
#include "fit/similarity_fit.h"
#include "fit/worst_pairs.h"
#include "number/number_text.h"
#include "number/pattern.h"
#include "number/round_trip.h"
#include "params/constants.h"
#include "params/dms.h"
#include "params/millimetre_text.h"
#include "params/overflow.h"
#include "params/transform.h"
#include "params/two_point.h"

namespace torvane {
namespace {

constexpr double kPartsPerMillion = 1e6;
constexpr std::size_t kRigidParameters = 3;
constexpr std::size_t kSimilarityParameters = 4;

// The scale is written to at least this many decimals, and to more where
// the fit points lie so far from their centroid that its rounding (half a
// unit of the last decimal, times that distance) would move one of them by
// more than kScaleRoundingLimit: ten decimals beyond 1 km, eleven beyond
// 10 km. The offsets' own rounding adds at most as much again, so the
// written parameters reproduce two points to the printed 0.001 mm.
constexpr int kScaleDecimals = 9;
constexpr int kMostScaleDecimals = 15;
constexpr double kScaleRoundingLimit = 0.0005 / kMillimetresPerMetre;  // metres

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

double SumOfSquares(const Transform& transform, std::span<const CommonPoint> points) {
  double sum = 0;
  for (const CommonPoint& point : points) {
    const PointResidual r = ResidualOf(transform, point);
    sum += r.dx * r.dx + r.dy * r.dy;
  }
  return sum;
}

// The texts of a fit whose angle theta (radians) is written first: the
// offsets carry the construction centroid of `points` onto their survey
// centroid, turned by the angle as the conversion reads its text back and
// scaled by `scale`, the scale as written. Rejects what FormatDmsNumber
// rejects and offsets beyond the range of doubles.
Expected<ParamTexts> TextsWithWrittenAngle(std::span<const CommonPoint> points, double theta,
                                           double scale) {
  auto angle = FormatDmsNumber(BoxDegrees(theta));
  if (!angle) return Fail(angle.error());
  auto turn = RunParamsFromTexts("0", "0", *angle);
  if (!turn) return Fail(turn.error());
  const PlanePoint offsets = OffsetsBetweenCentroids(SumAboutCentroids(points), turn->theta, scale);
  if (!AllFinite({offsets.x, offsets.y})) return Fail(kOverflow);
  return ParamTexts{OffsetText(offsets.x), OffsetText(offsets.y), *angle};
}

// The rigid fit of three points or more as ReportFit writes and reads back
// its parameters.
Expected<RunParams> RigidParams(std::span<const CommonPoint> points, double theta) {
  auto texts = TextsWithWrittenAngle(points, theta, kUnitScale);
  if (!texts) return Fail(texts.error());
  return RunParamsFromTexts(texts->x_offset, texts->y_offset, texts->angle);
}

// The similarity fit's inverse offsets: the survey grid's centroid carried
// onto the construction grid's, turned by `opposite_theta` (radians, the
// written angle's opposite as read back) and scaled by the written inverse
// scale.
PlanePoint InverseOffsets(std::span<const CommonPoint> points, double opposite_theta,
                          double inverse_scale) {
  CentroidSums sums = SumAboutCentroids(points);
  std::swap(sums.survey_origin, sums.construction_origin);
  std::swap(sums.survey_mean, sums.construction_mean);
  return OffsetsBetweenCentroids(sums, opposite_theta, inverse_scale);
}

// The construction coordinates about their centroid, taken relative to the
// first point as the fits take them.
std::vector<PlanePoint> AboutCentroid(std::span<const CommonPoint> points) {
  const PlanePoint c0 = points.front().construction;
  double sum_x = 0, sum_y = 0;
  for (const CommonPoint& p : points) {
    sum_x += p.construction.x - c0.x;
    sum_y += p.construction.y - c0.y;
  }
  const double count = static_cast<double>(points.size());
  const double mean_x = sum_x / count;
  const double mean_y = sum_y / count;
  std::vector<PlanePoint> about;
  for (const CommonPoint& p : points) {
    about.push_back({(p.construction.x - c0.x) - mean_x, (p.construction.y - c0.y) - mean_y});
  }
  return about;
}

double SpreadOf(const std::vector<PlanePoint>& about) {
  double spread = 0;
  for (const PlanePoint& b : about) spread += b.x * b.x + b.y * b.y;
  return spread;
}

// The pattern that writes the scale of a fit of `points` (kScaleDecimals
// to kMostScaleDecimals decimals).
std::string ScalePattern(std::span<const CommonPoint> points) {
  double farthest = 0;  // metres of the construction grid from its centroid
  for (const PlanePoint& b : AboutCentroid(points))
    farthest = std::max(farthest, std::hypot(b.x, b.y));
  int decimals = kScaleDecimals;
  while (decimals < kMostScaleDecimals &&
         0.5 * std::pow(10.0, -decimals) * farthest > kScaleRoundingLimit) {
    ++decimals;
  }
  return "0." + std::string(static_cast<std::size_t>(decimals), '0');
}

std::optional<double> Standardized(double residual, double sigma, double leverage) {
  if (!(leverage < 1 - kLeverageOne)) return std::nullopt;
  if (sigma == 0) return 0.0;
  return residual / (sigma * std::sqrt(1 - leverage));
}

// The steps of ReportFit, in its order. Each fills its part of `report`
// from the fitted points, from what the steps before it filled in and from
// the rigid fit's angle `rigid_theta` (radians); rejects what ReportFit
// says for that part.

// The parameters as written (texts, params, ppm, degrees), then the inverse's.
Expected<void> ReportParameters(std::span<const CommonPoint> fitted, double rigid_theta,
                                FitReport& report) {
  double scale = kUnitScale;
  std::string scale_pattern;
  if (report.model == FitModel::kSimilarity) {
    // The exact four parameters for two points: no 10 mm warning there.
    auto similar = FitSimilarity(fitted);
    if (!similar) return Fail(similar.error());
    scale_pattern = ScalePattern(fitted);
    report.scale_text = FormatPattern(similar->scale, scale_pattern);
    auto written = LeadingNumber(report.scale_text);
    if (!written) return Fail(written.error());
    if (!(*written > 0)) {
      return Fail("the fitted scale " + RoundTripText(similar->scale) +
                  " is 0 to nine decimals: are the construction coordinates in metres?");
    }
    scale = *written;
    auto texts = TextsWithWrittenAngle(fitted, similar->theta, scale);
    if (!texts) return Fail(texts.error());
    report.texts = *texts;
  } else if (fitted.size() == 2) {
    // Two points are the two-point method's case: its texts, and its warning.
    const CommonPoint& a = fitted[0];
    const CommonPoint& b = fitted[1];
    auto two = SolveTwoPoints({a.survey.x, a.survey.y, b.survey.x, b.survey.y, a.construction.x,
                               a.construction.y, b.construction.x, b.construction.y},
                              {}, SamePlace::kReject);
    if (!two) return Fail(two.error());
    report.texts = TwoPointBoxTexts(*two);
    report.offsets_disagree = two->offsets_disagree;
  } else {
    auto texts = TextsWithWrittenAngle(fitted, rigid_theta, kUnitScale);
    if (!texts) return Fail(texts.error());
    report.texts = *texts;
  }

  auto params =
      RunParamsFromTexts(report.texts.x_offset, report.texts.y_offset, report.texts.angle);
  if (!params) return Fail(params.error());
  report.params = *params;
  report.params.scale = scale;
  report.ppm = (scale - 1) * kPartsPerMillion;
  auto angle = LeadingNumber(report.texts.angle);
  if (!angle) return Fail(angle.error());
  auto box_degrees = DmsToDegrees(*angle);
  if (!box_degrees) return Fail(box_degrees.error());
  report.box_degrees = *box_degrees;
  report.degrees = report.params.theta / std::numbers::pi * kDegreesPerHalfTurn;  // divide first

  PlanePoint origin = Transform(report.params).Forward({0, 0});
  if (report.model == FitModel::kSimilarity) {
    // 1/k written to the scale's decimals is not 1/k: at a million metres the
    // inverse of the forward offsets would miss by millimetres.
    report.inverse_scale_text = FormatPattern(1 / scale, scale_pattern);
    auto inverse_scale = LeadingNumber(report.inverse_scale_text);
    if (!inverse_scale) return Fail(inverse_scale.error());
    origin = InverseOffsets(fitted, -report.params.theta, *inverse_scale);
  }
  if (!std::isfinite(origin.x) || !std::isfinite(origin.y)) return Fail(kOverflow);
  report.inverse = {OffsetText(origin.x), OffsetText(origin.y), Opposite(report.texts.angle)};
  return {};
}

// The residuals of `points` under `transform`, into *residuals (empty
// before), the first of the largest at *largest; returns their sum of
// squares (square metres). Rejects a residual beyond the range of doubles.
Expected<double> ResidualsOf(const Transform& transform, std::span<const CommonPoint> points,
                             std::vector<PointResidual>* residuals, std::size_t* largest) {
  double sum_of_squares = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const PointResidual r = ResidualOf(transform, points[i]);
    if (!std::isfinite(r.length)) return Fail(kOverflow);
    sum_of_squares += r.dx * r.dx + r.dy * r.dy;
    if (i == 0 || r.length > (*residuals)[*largest].length) *largest = i;
    residuals->push_back(r);
  }
  return sum_of_squares;
}

// The root mean square of `count` residuals whose squares sum to
// `sum_of_squares`, metres. Rejects a result beyond the range of doubles.
Expected<double> RmsOf(double sum_of_squares, std::size_t count) {
  const double rms = std::sqrt(sum_of_squares / static_cast<double>(count));
  if (!std::isfinite(rms)) return Fail(kOverflow);
  return rms;
}

// Every point's residual under report.params, the RMS and the largest;
// returns the fitted points' sum of squares (square metres).
Expected<double> ReportResiduals(std::span<const CommonPoint> fitted,
                                 std::span<const CommonPoint> excluded, FitReport& report) {
  const Transform transform(report.params);
  auto sum_of_squares = ResidualsOf(transform, fitted, &report.residuals, &report.largest);
  if (!sum_of_squares) return Fail(sum_of_squares.error());
  auto rms = RmsOf(*sum_of_squares, fitted.size());
  if (!rms) return Fail(rms.error());
  report.rms = *rms;
  std::size_t largest_excluded = 0;  // not reported
  auto excluded_squares =
      ResidualsOf(transform, excluded, &report.excluded_residuals, &largest_excluded);
  if (!excluded_squares) return Fail(excluded_squares.error());
  return *sum_of_squares;
}

// Every check point's residual under report.params, their RMS and the largest.
Expected<void> ReportCheckPoints(std::span<const CommonPoint> check, FitReport& report) {
  if (check.empty()) return {};
  auto sum_of_squares =
      ResidualsOf(Transform(report.params), check, &report.check_residuals, &report.check_largest);
  if (!sum_of_squares) return Fail(sum_of_squares.error());
  auto rms = RmsOf(*sum_of_squares, check.size());
  if (!rms) return Fail(rms.error());
  report.check_rms = *rms;
  return {};
}

// The standardized residuals and the most standardized point, from
// kBlunderTestFrom points; `about` the construction coordinates about
// their centroid and `spread` the sum of their squares.
void ReportStandardized(const std::vector<PlanePoint>& about, double spread, double sum_of_squares,
                        FitReport& report) {
  const std::size_t n = about.size();
  // Beyond the range of doubles the similarity fit has failed already; the
  // rigid report goes without standardized residuals, as it always went.
  if (n < kBlunderTestFrom || !std::isfinite(spread)) return;
  const std::size_t parameters =
      report.model == FitModel::kSimilarity ? kSimilarityParameters : kRigidParameters;
  const double sigma = std::sqrt(sum_of_squares / static_cast<double>(2 * n - parameters));
  const double count = static_cast<double>(n);
  const double cos_t = std::cos(report.params.theta);
  const double sin_t = std::sin(report.params.theta);
  for (std::size_t i = 0; i < n; ++i) {
    const PlanePoint b = about[i];
    double hx = 0, hy = 0;
    if (report.model == FitModel::kSimilarity) {
      hx = 1 / count + (b.x * b.x + b.y * b.y) / spread;
      hy = hx;
    } else {
      // v = d(R(theta)·b)/d(theta), the turn's column of the design.
      const double vx = -sin_t * b.x - cos_t * b.y;
      const double vy = cos_t * b.x - sin_t * b.y;
      hx = 1 / count + vx * vx / spread;
      hy = 1 / count + vy * vy / spread;
    }
    const StandardizedResidual w{Standardized(report.residuals[i].dx, sigma, hx),
                                 Standardized(report.residuals[i].dy, sigma, hy)};
    report.standardized.push_back(w);
    if ((w.wx || w.wy) &&
        (!report.most_standardized ||
         LargerOf(w) > LargerOf(report.standardized[*report.most_standardized]))) {
      report.most_standardized = i;
    }
  }
}

// The similarity fit's F test against the rigid fit, from three points.
Expected<void> ReportScaleTest(std::span<const CommonPoint> fitted, double rigid_theta,
                               double spread, double sum_of_squares, FitReport& report) {
  const std::size_t n = fitted.size();
  if (report.model != FitModel::kSimilarity || n < 3) return {};
  auto rigid = RigidParams(fitted, rigid_theta);
  if (!rigid) return Fail(rigid.error());
  const double rigid_squares = SumOfSquares(Transform(*rigid), fitted);
  if (!std::isfinite(rigid_squares)) return Fail(kOverflow);
  ScaleTest test;
  test.freedom = 2 * n - kSimilarityParameters;
  const double freedom = static_cast<double>(test.freedom);
  test.ppm_error = std::sqrt(sum_of_squares / freedom) / std::sqrt(spread) * kPartsPerMillion;
  test.rigid_rms = std::sqrt(rigid_squares / static_cast<double>(n));
  if (sum_of_squares > 0) {
    test.f = std::max(0.0, (rigid_squares - sum_of_squares) / (sum_of_squares / freedom));
  } else {
    test.f = rigid_squares > 0 ? std::numeric_limits<double>::infinity() : 0;
  }
  auto quantile = FQuantile(1, freedom, kScaleTestLevel);
  if (!quantile) return Fail(quantile.error());
  test.quantile = *quantile;
  test.significant = test.f > test.quantile;
  report.scale_test = test;
  return {};
}

// The distance check: every pair up to kAllPairsUpTo points, else the worst.
Expected<void> ReportPairs(std::span<const CommonPoint> fitted, double rigid_theta,
                           FitReport& report) {
  const std::size_t n = fitted.size();
  report.pair_count = n * (n - 1) / 2;
  if (n <= kAllPairsUpTo) {
    for (std::size_t i = 0; i < n; ++i) {
      for (std::size_t j = i + 1; j < n; ++j) {
        report.pairs.push_back(CheckPair(fitted, i, j));
        if (!std::isfinite(report.pairs.back().difference)) return Fail(kOverflow);
      }
    }
    return {};
  }
  if (!SpanFits(fitted, &CommonPoint::survey) || !SpanFits(fitted, &CommonPoint::construction)) {
    return Fail(kOverflow);
  }
  auto worst = WorstPairsOf(fitted, rigid_theta);
  if (!worst) return Fail(kOverflow);
  report.pairs = std::move(*worst);
  return {};
}

}  // namespace

double LargerOf(const StandardizedResidual& w) {
  return std::max(w.wx ? std::fabs(*w.wx) : 0.0, w.wy ? std::fabs(*w.wy) : 0.0);
}

Expected<FitReport> ReportFit(std::span<const CommonPoint> fitted,
                              std::span<const CommonPoint> excluded,
                              std::span<const CommonPoint> check, FitModel model) {
  auto fit = FitRigid(fitted);
  if (!fit) return Fail(fit.error());
  FitReport report;
  report.model = model;
  if (auto done = ReportParameters(fitted, fit->theta, report); !done) return Fail(done.error());
  auto sum_of_squares = ReportResiduals(fitted, excluded, report);
  if (!sum_of_squares) return Fail(sum_of_squares.error());
  if (auto done = ReportCheckPoints(check, report); !done) return Fail(done.error());
  const std::vector<PlanePoint> about = AboutCentroid(fitted);
  const double spread = SpreadOf(about);
  ReportStandardized(about, spread, *sum_of_squares, report);
  if (fitted.size() >= kBlunderTestFrom && std::isfinite(spread)) {
    auto blunders = TestBlunders(fitted, model);
    if (!blunders) return Fail(blunders.error());
    report.blunder_test = std::move(*blunders);
  }
  if (auto done = ReportScaleTest(fitted, fit->theta, spread, *sum_of_squares, report); !done) {
    return Fail(done.error());
  }
  if (auto done = ReportPairs(fitted, fit->theta, report); !done) return Fail(done.error());
  return report;
}

std::vector<std::size_t> ResidualsAbove(const FitReport& report, double limit_mm) {
  std::vector<std::size_t> above;
  for (std::size_t i = 0; i < report.residuals.size(); ++i) {
    if (ShownMillimetres(report.residuals[i].length) > limit_mm) above.push_back(i);
  }
  return above;
}

std::size_t WorstFitPoint(const FitReport& report) {
  return report.most_standardized ? *report.most_standardized : report.largest;
}

}  // namespace torvane
