#include "fit/similarity_fit.h"

#include <cmath>

#include "fit/rigid_fit.h"
#include "params/overflow.h"

namespace torvane {
Expected<RunParams> FitSimilarity(std::span<const CommonPoint> points) {
  // The rigid fit checks the points and gives theta, which both fits share.
  auto rigid = FitRigid(points);
  if (!rigid) return Fail(rigid.error());

  const CentroidSums sums = SumAboutCentroids(points);
  // spread > 0: FitRigid rejects construction points all at one place.
  const double scale = std::hypot(sums.dot, sums.cross) / sums.spread;
  if (!std::isfinite(scale) || !(scale > 0)) return Fail(kOverflow);

  const double theta = rigid->theta;
  const PlanePoint offsets = OffsetsBetweenCentroids(sums, theta, scale);
  const double x0 = offsets.x, y0 = offsets.y;
  if (!std::isfinite(x0) || !std::isfinite(y0)) return Fail(kOverflow);
  return RunParams{x0, y0, theta, scale};
}

}  // namespace torvane
