#include "fit/rigid_fit.h"

#include <cmath>
#include <string>

#include "params/conversion_params.h"
#include "params/overflow.h"

namespace torvane {
namespace {

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

CentroidSums SumAboutCentroids(std::span<const CommonPoint> points) {
  CentroidSums sums;
  const PlanePoint s0 = sums.survey_origin = points.front().survey;
  const PlanePoint c0 = sums.construction_origin = points.front().construction;
  double sum_sx = 0, sum_sy = 0, sum_cx = 0, sum_cy = 0;
  for (const CommonPoint& p : points) {
    sum_sx += p.survey.x - s0.x;
    sum_sy += p.survey.y - s0.y;
    sum_cx += p.construction.x - c0.x;
    sum_cy += p.construction.y - c0.y;
  }
  const double count = static_cast<double>(points.size());
  sums.survey_mean = {sum_sx / count, sum_sy / count};
  sums.construction_mean = {sum_cx / count, sum_cy / count};
  for (const CommonPoint& p : points) {
    const double ax = (p.survey.x - s0.x) - sums.survey_mean.x;
    const double ay = (p.survey.y - s0.y) - sums.survey_mean.y;
    const double bx = (p.construction.x - c0.x) - sums.construction_mean.x;
    const double by = (p.construction.y - c0.y) - sums.construction_mean.y;
    sums.dot += ax * bx + ay * by;
    sums.cross += bx * ay - by * ax;
    sums.spread += bx * bx + by * by;
  }
  return sums;
}

PlanePoint OffsetsBetweenCentroids(const CentroidSums& sums, double theta, double scale) {
  const double cos_t = std::cos(theta);
  const double sin_t = std::sin(theta);
  const double sx = sums.survey_origin.x + sums.survey_mean.x;
  const double sy = sums.survey_origin.y + sums.survey_mean.y;
  const double cx = sums.construction_origin.x + sums.construction_mean.x;
  const double cy = sums.construction_origin.y + sums.construction_mean.y;
  // A scale of exactly 1 changes no digit of the rigid offsets.
  return {sx - scale * (cos_t * cx - sin_t * cy), sy - scale * (sin_t * cx + cos_t * cy)};
}

Expected<RunParams> FitRigid(std::span<const CommonPoint> points) {
  const std::size_t n = points.size();
  if (n == 0) return Fail("no common points: at least two are needed");
  if (n == 1) return Fail("only one common point: at least two are needed");
  if (AllAtOnePlace(points, &CommonPoint::survey)) return Fail(AtOnePlace(n, "survey"));
  if (AllAtOnePlace(points, &CommonPoint::construction)) {
    return Fail(AtOnePlace(n, "construction"));
  }

  // theta maximises sum(a · R(theta)b) = cos theta · sum(a · b) + sin theta · sum(b × a).
  const CentroidSums sums = SumAboutCentroids(points);
  const double dot = sums.dot, cross = sums.cross;
  if (!AllFinite({sums.survey_mean.x, sums.survey_mean.y, sums.construction_mean.x,
                  sums.construction_mean.y, dot, cross})) {
    return Fail(kOverflow);
  }
  if (dot == 0 && cross == 0) {
    return Fail(
        "every rotation fits the common points equally well: is one grid the mirror image of "
        "the other?");
  }
  const double theta = std::atan2(cross, dot);

  const PlanePoint offsets = OffsetsBetweenCentroids(sums, theta, kUnitScale);
  const double x0 = offsets.x, y0 = offsets.y;
  if (!AllFinite({x0, y0})) return Fail(kOverflow);
  return RunParams{x0, y0, theta, kUnitScale};
}

}  // namespace torvane
