#include "fit/blunder_test.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <vector>

#include "fit/f_quantile.h"
#include "fit/rigid_fit.h"
#include "params/overflow.h"

namespace torvane {
namespace {

constexpr std::size_t kRigidParameters = 3;
constexpr std::size_t kSimilarityParameters = 4;
constexpr double kPointCoordinates = 2;  // a point's share of the test: F(2, ·)

// A point and what it adds to the sums of the fit, about the centroids.
struct Share {
  PlanePoint a, b;  // survey and construction, about their centroids
};

// The fit of all points turns b into k·R(theta)·b; the residual a − k·R·b.
PlanePoint Residual(const Share& p, double cos_t, double sin_t, double scale) {
  return {p.a.x - scale * (cos_t * p.b.x - sin_t * p.b.y),
          p.a.y - scale * (sin_t * p.b.x + cos_t * p.b.y)};
}

}  // namespace

Expected<BlunderTest> TestBlunders(std::span<const CommonPoint> fitted, FitModel model) {
  const std::size_t n = fitted.size();
  assert(n >= kBlunderTestFrom);
  const bool similarity = model == FitModel::kSimilarity;
  const CentroidSums sums = SumAboutCentroids(fitted);
  if (!AllFinite({sums.dot, sums.cross, sums.spread}) || !(sums.spread > 0)) {
    return Fail(kOverflow);
  }
  std::vector<Share> shares;
  shares.reserve(n);
  for (const CommonPoint& p : fitted) {
    shares.push_back(
        {{(p.survey.x - sums.survey_origin.x) - sums.survey_mean.x,
          (p.survey.y - sums.survey_origin.y) - sums.survey_mean.y},
         {(p.construction.x - sums.construction_origin.x) - sums.construction_mean.x,
          (p.construction.y - sums.construction_origin.y) - sums.construction_mean.y}});
  }

  // The least-squares fit of all points, and its sum of squares.
  const double theta = std::atan2(sums.cross, sums.dot);
  const double cos_t = std::cos(theta), sin_t = std::sin(theta);
  const double scale = similarity ? std::hypot(sums.dot, sums.cross) / sums.spread : 1.0;
  double sum_of_squares = 0;
  std::vector<PlanePoint> residuals;
  residuals.reserve(n);
  for (const Share& p : shares) {
    residuals.push_back(Residual(p, cos_t, sin_t, scale));
    sum_of_squares +=
        residuals.back().x * residuals.back().x + residuals.back().y * residuals.back().y;
  }
  if (!std::isfinite(sum_of_squares)) return Fail(kOverflow);

  BlunderTest test;
  test.freedom = 2 * (n - 1) - (similarity ? kSimilarityParameters : kRigidParameters);
  const double count = static_cast<double>(n);
  test.point_level = kBlunderTestLevel / count;
  auto critical =
      FQuantile(kPointCoordinates, static_cast<double>(test.freedom), 1 - test.point_level);
  if (!critical) return Fail(critical.error());
  test.critical = *critical;

  // Without point i the centroids move by −(its offset)/(n − 1), and each
  // sum about them loses n/(n − 1) times its share.
  const double share = count / (count - 1);
  for (std::size_t i = 0; i < n; ++i) {
    const Share& p = shares[i];
    const double b2 = p.b.x * p.b.x + p.b.y * p.b.y;
    // The point's block of I − H: similarity (1 − h)·I with h = 1/n + |b|²/S;
    // rigid (1 − 1/n)·I − v·vᵀ/S with v = R'(theta)·b. Either way its
    // smaller eigenvalue is 1 − 1/n − |b|²/S.
    const double least = (1 - 1 / count) - b2 / sums.spread;
    const double dot = sums.dot - share * (p.a.x * p.b.x + p.a.y * p.b.y);
    const double cross = sums.cross - share * (p.b.x * p.a.y - p.b.y * p.a.x);
    const double spread = sums.spread - share * b2;
    if (!(least >= kLeverageOne) || (dot == 0 && cross == 0) || !(spread > 0)) {
      test.points.push_back(std::nullopt);
      continue;
    }
    const double theta_out = std::atan2(cross, dot);
    const double scale_out = similarity ? std::hypot(dot, cross) / spread : 1.0;
    // About the centroids of the others the point lies n/(n − 1) times as
    // far out in both grids.
    const PlanePoint r = Residual(p, std::cos(theta_out), std::sin(theta_out), scale_out);
    LeftOutPoint out;
    out.misses.dx = share * r.x;
    out.misses.dy = share * r.y;
    out.misses.length = std::hypot(out.misses.dx, out.misses.dy);

    // The others' sum of squares, exactly: all points' at the others' fit
    // (the minimum plus what turning by Δ and scaling by k′ instead adds),
    // less the point's share about the others' centroid, |m|²·(n − 1)/n.
    const double half_turn = std::sin((theta_out - theta) / 2);
    const double moved = similarity ? sums.spread * ((scale_out - scale) * (scale_out - scale) +
                                                     4 * scale_out * scale * half_turn * half_turn)
                                    : 4 * std::hypot(sums.dot, sums.cross) * half_turn * half_turn;
    const double others =
        std::max(0.0, (sum_of_squares + moved) - out.misses.length * out.misses.length / share);
    const double sigma =
        std::max(std::sqrt(others / static_cast<double>(test.freedom)), kLeastSigma);
    // 1 − h of each coordinate, as StandardizedResidual has it: no smaller
    // than `least`.
    double free_x = 1 - (1 / count + b2 / sums.spread), free_y = free_x;
    if (!similarity) {
      const double vx = -sin_t * p.b.x - cos_t * p.b.y;
      const double vy = cos_t * p.b.x - sin_t * p.b.y;
      free_x = 1 - (1 / count + vx * vx / sums.spread);
      free_y = 1 - (1 / count + vy * vy / sums.spread);
    }
    out.tx = residuals[i].x / (sigma * std::sqrt(free_x));
    out.ty = residuals[i].y / (sigma * std::sqrt(free_y));
    // The extra sum of squares the point brings, per coordinate, over the
    // others' variance: the mean-shift test of the point.
    out.f = std::max(0.0, sum_of_squares - others) / (kPointCoordinates * sigma * sigma);
    if (!AllFinite({out.misses.length, out.tx, out.ty, out.f})) return Fail(kOverflow);
    out.blunder = out.f > test.critical;
    if (out.blunder) test.blunders.push_back(i);
    if (!test.largest || out.f > test.points[*test.largest]->f) test.largest = i;
    test.points.push_back(out);
  }
  return test;
}

}  // namespace torvane
