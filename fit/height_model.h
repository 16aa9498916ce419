// How the heights of the two grids differ across a site. The difference
// modelled is d(X, Y) = Hs − Hc, metres, as a function of a point's survey
// X and Y: a construction height is the survey height less d there. A
// height H0 typed by hand ("construction height = survey height − H0") is
// the offset model with d = H0.
#pragma once

#include "base/named_choice.h"

namespace torvane {

enum class HeightModel {
  kNone,     // heights pass through unchanged
  kOffset,   // d = a0: one constant, the mean difference
  kPlane,    // d = a0 + a1·u + a2·v: an inclined plane
  kQuadric,  // d = a0 + a1·u + a2·v + a3·u² + a4·u·v + a5·v²
};

// The models as options and project files name them.
inline constexpr NamedChoice<HeightModel> kHeightModelNames[] = {
    {"none", HeightModel::kNone},
    {"offset", HeightModel::kOffset},
    {"plane", HeightModel::kPlane},
    {"quadric", HeightModel::kQuadric}};

}  // namespace torvane
