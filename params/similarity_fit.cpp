#include "params/similarity_fit.h"

#include <cmath>

#include "params/rigid_fit.h"

namespace torvane {
namespace {

constexpr const char* kOverflow = "the coordinates are too large to compute with";

}  // namespace

Expected<SimilarityFit> FitSimilarity(std::span<const CommonPoint> points) {
  // The rigid fit checks the points and gives theta, which both fits share.
  auto rigid = FitRigid(points);
  if (!rigid) return Fail(rigid.error());

  // Relative to the first point, as FitRigid sums them.
  const std::size_t n = points.size();
  const PlanePoint s0 = points.front().survey;
  const PlanePoint c0 = points.front().construction;
  double sum_sx = 0, sum_sy = 0, sum_cx = 0, sum_cy = 0;
  for (const CommonPoint& p : points) {
    sum_sx += p.survey.x - s0.x;
    sum_sy += p.survey.y - s0.y;
    sum_cx += p.construction.x - c0.x;
    sum_cy += p.construction.y - c0.y;
  }
  const double count = static_cast<double>(n);
  const double mean_sx = sum_sx / count;
  const double mean_sy = sum_sy / count;
  const double mean_cx = sum_cx / count;
  const double mean_cy = sum_cy / count;

  double dot = 0, cross = 0, spread = 0;
  for (const CommonPoint& p : points) {
    const double ax = (p.survey.x - s0.x) - mean_sx;
    const double ay = (p.survey.y - s0.y) - mean_sy;
    const double bx = (p.construction.x - c0.x) - mean_cx;
    const double by = (p.construction.y - c0.y) - mean_cy;
    dot += ax * bx + ay * by;
    cross += bx * ay - by * ax;
    spread += bx * bx + by * by;
  }
  // spread > 0: FitRigid rejects construction points all at one place.
  const double scale = std::hypot(dot, cross) / spread;
  if (!std::isfinite(scale) || !(scale > 0)) return Fail(kOverflow);

  const double theta = rigid->theta;
  const double cos_t = std::cos(theta);
  const double sin_t = std::sin(theta);
  const double sx = s0.x + mean_sx;
  const double sy = s0.y + mean_sy;
  const double cx = c0.x + mean_cx;
  const double cy = c0.y + mean_cy;
  const double x0 = sx - scale * (cos_t * cx - sin_t * cy);
  const double y0 = sy - scale * (sin_t * cx + cos_t * cy);
  if (!std::isfinite(x0) || !std::isfinite(y0)) return Fail(kOverflow);
  return SimilarityFit{x0, y0, theta, scale};
}

}  // namespace torvane
