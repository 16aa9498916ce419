// A HATCH's rule: its groups read in the order they are written, for the
// same codes mean other things in its boundary paths, pattern lines and
// seed points.
#pragma once

#include "drawing/dxf_values.h"

namespace torvane {

// Converts the HATCH that `c` holds: the boundary paths' points and edges
// (lines, arcs, ellipses, splines) in its plane, its elevation's height,
// the pattern's angle and spacing, its lines' base points (moved, so that
// the pattern stays where it was on the boundary) and offsets (turned and
// scaled), the seed points and the gradient's angle.
bool ConvertHatch(EntityConverter& c);

}  // namespace torvane
