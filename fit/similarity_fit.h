// The similarity transformation, translation, rotation and one scale, that
// best carries the construction coordinates of common points onto their
// survey coordinates, by least squares in closed form: the four-parameter
// conversion.
#pragma once

#include <span>

#include "base/expected.h"
#include "fit/common_point.h"
#include "params/conversion_params.h"

namespace torvane {

// Minimises the sum over all points of |survey - (X0 + k·R(theta)·construction)|².
// About the centroids, a survey and b construction: k·cos theta = sum(a·b) / S
// and k·sin theta = sum(b×a) / S with S = sum(|b|²); theta is the rigid
// fit's, and X0, Y0 carry one centroid onto the other.
// Rejects what FitRigid rejects.
Expected<RunParams> FitSimilarity(std::span<const CommonPoint> points);

}  // namespace torvane
