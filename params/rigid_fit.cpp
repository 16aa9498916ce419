#include "params/rigid_fit.h"

#include <cmath>
#include <initializer_list>
#include <string>

namespace torvane {
namespace {

constexpr const char* kOverflow = "the coordinates are too large to compute with";

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

// Whether every point has the same coordinates in the grid `grid` names.
bool AllAtOnePlace(std::span<const CommonPoint> points, PlanePoint CommonPoint::*grid) {
  const PlanePoint first = points.front().*grid;
  for (const CommonPoint& p : points) {
    if ((p.*grid).x != first.x || (p.*grid).y != first.y) return false;
  }
  return true;
}

std::string AtOnePlace(std::size_t count, const char* grid) {
  return "all " + std::to_string(count) + " common points are at one place in the " + grid +
         " grid: the rotation cannot be determined";
}

}  // namespace

Expected<RigidFit> FitRigid(std::span<const CommonPoint> points) {
  const std::size_t n = points.size();
  if (n == 0) return Fail("no common points: at least two are needed");
  if (n == 1) return Fail("only one common point: at least two are needed");
  if (AllAtOnePlace(points, &CommonPoint::survey)) return Fail(AtOnePlace(n, "survey"));
  if (AllAtOnePlace(points, &CommonPoint::construction)) {
    return Fail(AtOnePlace(n, "construction"));
  }

  // Coordinates are taken relative to the first point, so that the sums stay
  // small where a grid's coordinates are large (Gauss-Krüger northings,
  // eastings with the zone number in front).
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

  // About the centroids, a survey and b construction: theta maximises
  // sum(a · R(theta)b) = cos theta · sum(a · b) + sin theta · sum(b × a).
  double dot = 0, cross = 0;
  for (const CommonPoint& p : points) {
    const double ax = (p.survey.x - s0.x) - mean_sx;
    const double ay = (p.survey.y - s0.y) - mean_sy;
    const double bx = (p.construction.x - c0.x) - mean_cx;
    const double by = (p.construction.y - c0.y) - mean_cy;
    dot += ax * bx + ay * by;
    cross += bx * ay - by * ax;
  }
  if (!AllFinite({sum_sx, sum_sy, sum_cx, sum_cy, dot, cross})) return Fail(kOverflow);
  if (dot == 0 && cross == 0) {
    return Fail(
        "every rotation fits the common points equally well: is one grid the mirror image of "
        "the other?");
  }
  const double theta = std::atan2(cross, dot);

  // The construction centroid carried onto the survey centroid, in the
  // order of Transform::Inverse: X0 = Xs - (cos·Xc - sin·Yc).
  const double cos_t = std::cos(theta);
  const double sin_t = std::sin(theta);
  const double sx = s0.x + mean_sx;
  const double sy = s0.y + mean_sy;
  const double cx = c0.x + mean_cx;
  const double cy = c0.y + mean_cy;
  const double x0 = sx - (cos_t * cx - sin_t * cy);
  const double y0 = sy - (sin_t * cx + cos_t * cy);
  if (!AllFinite({x0, y0})) return Fail(kOverflow);
  return RigidFit{x0, y0, theta};
}

}  // namespace torvane
