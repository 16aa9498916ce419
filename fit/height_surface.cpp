#include "fit/height_surface.h"

namespace torvane {

std::size_t TermCount(HeightModel model) {
  switch (model) {
    case HeightModel::kNone:
      return 0;
    case HeightModel::kOffset:
      return 1;
    case HeightModel::kPlane:
      return 3;
    case HeightModel::kQuadric:
      return 6;
  }
  return 0;
}

double HeightDifference(const HeightSurface& surface, PlanePoint survey) {
  const double u = (survey.x - surface.centroid.x) / kHeightLength;
  const double v = (survey.y - surface.centroid.y) / kHeightLength;
  const std::array<double, 6>& a = surface.terms;
  switch (surface.model) {
    case HeightModel::kNone:
      return 0;
    case HeightModel::kOffset:
      return a[0];
    case HeightModel::kPlane:
      return a[0] + a[1] * u + a[2] * v;
    case HeightModel::kQuadric:
      return a[0] + a[1] * u + a[2] * v + a[3] * u * u + a[4] * u * v + a[5] * v * v;
  }
  return 0;
}

}  // namespace torvane
