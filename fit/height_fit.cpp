#include "fit/height_fit.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cmath>

#include "fit/blunder_test.h"
#include "fit/f_quantile.h"
#include "fit/fit_model.h"

namespace torvane {
namespace {

constexpr std::size_t kMostTerms = 6;
using Row = std::array<double, kMostTerms>;

// The design's row of a point: 1, u, v, u², u·v, v², as many as `terms`.
Row DesignRow(PlanePoint survey, PlanePoint centroid) {
  const double u = (survey.x - centroid.x) / kHeightLength;
  const double v = (survey.y - centroid.y) / kHeightLength;
  return {1, u, v, u * u, u * v, v * v};
}

double Difference(const CommonPoint& p) { return *p.survey_h - *p.construction_h; }

[[maybe_unused]] bool HasHeights(const CommonPoint& p) {
  return p.survey_h.has_value() && p.construction_h.has_value();
}

}  // namespace

Expected<HeightSolution, HeightShortfall> FitHeightModel(std::span<const CommonPoint> fitted,
                                                         std::span<const CommonPoint> check,
                                                         HeightModel model) {
  assert(model != HeightModel::kNone);
  assert(std::all_of(fitted.begin(), fitted.end(), HasHeights));
  assert(std::all_of(check.begin(), check.end(), HasHeights));
  const std::size_t n = fitted.size();
  const std::size_t p = TermCount(model);
  if (n < p || n == 0) return Fail(HeightShortfall::kTooFewPoints);

  HeightSolution s;
  s.surface.model = model;
  // The centroid about the first point, so that large coordinates lose
  // nothing in the sums.
  double sx = 0, sy = 0;
  for (const CommonPoint& q : fitted) {
    sx += q.survey.x - fitted[0].survey.x;
    sy += q.survey.y - fitted[0].survey.y;
  }
  const double count = static_cast<double>(n);
  s.surface.centroid = {fitted[0].survey.x + sx / count, fitted[0].survey.y + sy / count};

  // Householder QR of the design, column by column, applied to d as well.
  std::vector<Row> a(n);
  std::vector<double> d(n);
  for (std::size_t i = 0; i < n; ++i) {
    a[i] = DesignRow(fitted[i].survey, s.surface.centroid);
    d[i] = Difference(fitted[i]);
  }
  std::vector<double> v(n);
  for (std::size_t k = 0; k < p; ++k) {
    double column = 0;  // the original column's length
    for (std::size_t i = 0; i < n; ++i) column += a[i][k] * a[i][k];
    double below = 0;  // what is left of it past the columns before
    for (std::size_t i = k; i < n; ++i) below += a[i][k] * a[i][k];
    if (!std::isfinite(column) || !std::isfinite(below)) return Fail(HeightShortfall::kOverflow);
    if (!(std::sqrt(below) > kSpreadTolerance * std::sqrt(column))) {
      return Fail(p == 3 ? HeightShortfall::kCollinear : HeightShortfall::kPoorlySpread);
    }
    const double alpha = a[k][k] > 0 ? -std::sqrt(below) : std::sqrt(below);
    for (std::size_t i = k; i < n; ++i) v[i] = a[i][k];
    v[k] -= alpha;
    double vv = 0;
    for (std::size_t i = k; i < n; ++i) vv += v[i] * v[i];
    for (std::size_t j = k; j < p; ++j) {
      double dot = 0;
      for (std::size_t i = k; i < n; ++i) dot += v[i] * a[i][j];
      const double factor = 2 * dot / vv;
      for (std::size_t i = k; i < n; ++i) a[i][j] -= factor * v[i];
    }
    double dot = 0;
    for (std::size_t i = k; i < n; ++i) dot += v[i] * d[i];
    const double factor = 2 * dot / vv;
    for (std::size_t i = k; i < n; ++i) d[i] -= factor * v[i];
  }
  // R·terms = Qᵀd, by back substitution.
  for (std::size_t k = p; k-- > 0;) {
    double sum = d[k];
    for (std::size_t j = k + 1; j < p; ++j) sum -= a[k][j] * s.surface.terms[j];
    s.surface.terms[k] = sum / a[k][k];
  }

  // Residuals from the terms themselves, and the leverage: h = |R⁻ᵀ·row|².
  s.redundancy = n - p;
  s.residuals.reserve(n);
  s.leverage.reserve(n);
  for (const CommonPoint& q : fitted) {
    s.residuals.push_back(Difference(q) - HeightDifference(s.surface, q.survey));
    s.sum_of_squares += s.residuals.back() * s.residuals.back();
    const Row row = DesignRow(q.survey, s.surface.centroid);
    Row w{};
    double h = 0;
    for (std::size_t k = 0; k < p; ++k) {
      double sum = row[k];
      for (std::size_t j = 0; j < k; ++j) sum -= a[j][k] * w[j];
      w[k] = sum / a[k][k];
      h += w[k] * w[k];
    }
    s.leverage.push_back(h);
  }
  if (!std::isfinite(s.sum_of_squares)) return Fail(HeightShortfall::kOverflow);
  s.enough_points = count > kPointsPerTerm * static_cast<double>(p);

  if (s.redundancy > 0) {
    s.rms = std::sqrt(s.sum_of_squares / static_cast<double>(s.redundancy));
    const double sigma = std::max(s.rms, kLeastSigma);
    for (std::size_t i = 0; i < n; ++i) {
      const double free = 1 - s.leverage[i];
      s.standardized.push_back(
          free < kLeverageOne ? std::nullopt
                              : std::optional<double>(s.residuals[i] / (sigma * std::sqrt(free))));
    }
  } else {
    s.standardized.assign(n, std::nullopt);
  }

  if (n >= p + 2) {
    HeightBlunderTest test;
    test.freedom = n - p - 1;
    test.point_level = kBlunderTestLevel / count;
    auto critical = FQuantile(1, static_cast<double>(test.freedom), 1 - test.point_level);
    if (!critical) return Fail(HeightShortfall::kOverflow);
    test.critical = *critical;
    for (std::size_t i = 0; i < n; ++i) {
      const double free = 1 - s.leverage[i];
      if (free < kLeverageOne) {
        test.points.push_back(std::nullopt);
        continue;
      }
      const double e = s.residuals[i];
      HeightLeftOut out;
      out.misses = e / free;
      const double others = std::max(0.0, s.sum_of_squares - e * e / free);
      const double sigma =
          std::max(std::sqrt(others / static_cast<double>(test.freedom)), kLeastSigma);
      out.t = e / (sigma * std::sqrt(free));
      out.f = out.t * out.t;
      out.blunder = out.f > test.critical;
      if (out.blunder) test.blunders.push_back(i);
      if (!test.largest || out.f > test.points[*test.largest]->f) test.largest = i;
      test.points.push_back(out);
    }
    s.blunder_test = std::move(test);
  }

  double check_sum = 0;
  for (const CommonPoint& q : check) {
    s.check_misclosures.push_back(Difference(q) - HeightDifference(s.surface, q.survey));
    check_sum += s.check_misclosures.back() * s.check_misclosures.back();
  }
  if (!check.empty()) s.check_rms = std::sqrt(check_sum / static_cast<double>(check.size()));
  if (!std::isfinite(s.check_rms)) return Fail(HeightShortfall::kOverflow);
  return s;
}

namespace {

// The fuller model `full` against `simpler`, where both are fitted and the
// fuller one has redundancy.
std::optional<HeightFTest> TestAgainst(const Expected<HeightSolution, HeightShortfall>& simpler,
                                       const Expected<HeightSolution, HeightShortfall>& full) {
  if (!simpler || !full || full->redundancy == 0) return std::nullopt;
  HeightFTest test;
  test.added = simpler->redundancy - full->redundancy;
  test.freedom = full->redundancy;
  const double variance =
      std::max(full->sum_of_squares / static_cast<double>(test.freedom), kLeastSigma * kLeastSigma);
  test.f = std::max(0.0, simpler->sum_of_squares - full->sum_of_squares) /
           static_cast<double>(test.added) / variance;
  auto quantile = FQuantile(static_cast<double>(test.added), static_cast<double>(test.freedom),
                            1 - kHeightTestLevel);
  if (!quantile) return std::nullopt;
  test.quantile = *quantile;
  test.significant = test.f > test.quantile;
  return test;
}

}  // namespace

HeightFits FitHeights(std::span<const CommonPoint> fitted, std::span<const CommonPoint> check) {
  HeightFits fits;
  fits.count = fitted.size();
  fits.offset = FitHeightModel(fitted, check, HeightModel::kOffset);
  fits.plane = FitHeightModel(fitted, check, HeightModel::kPlane);
  fits.quadric = FitHeightModel(fitted, check, HeightModel::kQuadric);
  fits.plane_against_offset = TestAgainst(fits.offset, fits.plane);
  fits.quadric_against_plane = TestAgainst(fits.plane, fits.quadric);
  if (fits.quadric && fits.quadric->enough_points && fits.quadric_against_plane &&
      fits.quadric_against_plane->significant) {
    fits.recommended = HeightModel::kQuadric;
  } else if (fits.plane && fits.plane->enough_points && fits.plane_against_offset &&
             fits.plane_against_offset->significant) {
    fits.recommended = HeightModel::kPlane;
  } else if (fits.offset) {
    fits.recommended = HeightModel::kOffset;
  }
  return fits;
}

const Expected<HeightSolution, HeightShortfall>* SolutionOf(const HeightFits& fits,
                                                            HeightModel model) {
  switch (model) {
    case HeightModel::kOffset:
      return &fits.offset;
    case HeightModel::kPlane:
      return &fits.plane;
    case HeightModel::kQuadric:
      return &fits.quadric;
    case HeightModel::kNone:
      break;
  }
  return nullptr;
}

}  // namespace torvane
