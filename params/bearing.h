// Bearing of a coordinate difference, measured from +X towards +Y.
#pragma once

#include <optional>

namespace torvane {

// Radians in [0, 2π′) for the difference (dx, dy) in metres, using the
// program's pi and its quadrant rules; no value when dx and dy are both 0.
std::optional<double> Bearing(double dx, double dy);

}  // namespace torvane
