#include "fit/height_coverage.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace torvane {
namespace {

double Cross(PlanePoint o, PlanePoint a, PlanePoint b) {
  return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Metres from p to the segment a–b.
double ToSegment(PlanePoint p, PlanePoint a, PlanePoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

HeightCoverage::HeightCoverage(std::span<const PlanePoint> fitted) {
  if (fitted.empty()) return;
  std::vector<PlanePoint> points(fitted.begin(), fitted.end());
  auto less = [](PlanePoint a, PlanePoint b) { return a.x < b.x || (a.x == b.x && a.y < b.y); };
  std::sort(points.begin(), points.end(), less);
  points.erase(std::unique(points.begin(), points.end(),
                           [](PlanePoint a, PlanePoint b) { return a.x == b.x && a.y == b.y; }),
               points.end());
  origin_ = points.front();
  for (PlanePoint& p : points) p = {p.x - origin_.x, p.y - origin_.y};
  if (points.size() < 3) {
    hull_ = points;
    return;
  }
  // Lower then upper chain; a turn that is not strictly counterclockwise
  // drops the middle point.
  std::vector<PlanePoint> hull(2 * points.size());
  std::size_t k = 0;
  for (const PlanePoint& p : points) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], p) <= 0) --k;
    hull[k++] = p;
  }
  for (std::size_t i = points.size() - 1, lower = k + 1; i-- > 0;) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  hull.resize(k - 1);  // the last is the first again
  hull_ = std::move(hull);
}

double HeightCoverage::DistanceOutside(PlanePoint survey) const {
  if (hull_.empty()) return std::numeric_limits<double>::infinity();
  const PlanePoint p{survey.x - origin_.x, survey.y - origin_.y};
  if (hull_.size() == 1) return std::hypot(p.x - hull_[0].x, p.y - hull_[0].y);
  if (hull_.size() == 2) return ToSegment(p, hull_[0], hull_[1]);
  bool inside = true;
  double nearest = std::numeric_limits<double>::infinity();
  for (std::size_t i = 0; i < hull_.size(); ++i) {
    const PlanePoint a = hull_[i], b = hull_[(i + 1) % hull_.size()];
    if (Cross(a, b, p) < 0) inside = false;
    nearest = std::min(nearest, ToSegment(p, a, b));
  }
  return inside ? 0 : nearest;
}

std::vector<PlanePoint> HeightCoverage::Vertices() const {
  std::vector<PlanePoint> vertices;
  for (const PlanePoint& p : hull_) vertices.push_back({p.x + origin_.x, p.y + origin_.y});
  return vertices;
}

}  // namespace torvane
