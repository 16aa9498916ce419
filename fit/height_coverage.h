// Where a fitted height model is known: the convex hull of its fit points'
// survey X and Y, and a margin beyond it. Outside, the model is an
// extrapolation (GB 50026 asks that a fitted height model not be used
// there); a height is still converted, but the point is named.
#pragma once

#include <span>
#include <vector>

#include "params/transform.h"

namespace torvane {

// Metres beyond the hull still counted as covered: a point set out on the
// hull's edge, measured a little outside, is not an extrapolation.
inline constexpr double kCoverageMargin = 1.0;

class HeightCoverage {
 public:
  // The hull of `fitted` (survey X, Y, metres), made once in O(n log n)
  // by Andrew's monotone chain. One point gives a point, points on one
  // line a segment; none gives no coverage at all.
  explicit HeightCoverage(std::span<const PlanePoint> fitted);

  // Metres from `survey` to the hull, 0 on or inside it; infinity without
  // fit points. O(hull vertices).
  double DistanceOutside(PlanePoint survey) const;

  // Whether `survey` lies within kCoverageMargin of the hull.
  bool Covers(PlanePoint survey) const { return DistanceOutside(survey) <= kCoverageMargin; }

  // The hull's vertices counterclockwise (X north, Y east: turning from +X
  // towards +Y), no three in line, absolute metres.
  std::vector<PlanePoint> Vertices() const;

 private:
  PlanePoint origin_;             // the lowest point, that sums lose nothing
  std::vector<PlanePoint> hull_;  // about origin_
};

}  // namespace torvane
