#include "params/transform.h"

#include <cmath>

namespace torvane {

Transform::Transform(const RunParams& params)
    : x0_(params.x_offset),
      y0_(params.y_offset),
      cos_(std::cos(params.theta)),
      sin_(std::sin(params.theta)),
      scale_(params.scale) {}

PlanePoint Transform::Forward(PlanePoint survey) const {
  const double p = cos_ * (survey.x - x0_);
  const double q = sin_ * (survey.y - y0_);
  const double r = cos_ * (survey.y - y0_);
  const double s = sin_ * (survey.x - x0_);
  return {(p + q) / scale_, (r - s) / scale_};
}

PlanePoint Transform::Inverse(PlanePoint construction) const {
  const double xc = scale_ * construction.x;
  const double yc = scale_ * construction.y;
  const double t = x0_ + cos_ * xc;
  const double u = y0_ + sin_ * xc;
  return {t - sin_ * yc, u + cos_ * yc};
}

PlanePoint Transform::Apply(Direction direction, PlanePoint point) const {
  return direction == Direction::kSurveyToConstruction ? Forward(point) : Inverse(point);
}

}  // namespace torvane
