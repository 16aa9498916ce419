// What a least-squares fit of common points gives: the rigid motion and the
// similarity transformation alike.
#pragma once

#include "params/conversion_params.h"

namespace torvane {

// In the conversion's terms: X0, Y0 are the survey coordinates of the
// construction grid's origin (metres); theta turns from survey +X towards +Y
// (radians of the full pi, in (-pi, pi]); the scale is the ratio k (> 0) of
// survey to construction distances, 1 for the rigid motion. A construction
// point c lies at survey X0 + k·R(theta)·c, as Transform::Inverse computes it.
struct FittedParams {
  double x_offset = 0;
  double y_offset = 0;
  double theta = 0;
  double scale = kUnitScale;
};

}  // namespace torvane
