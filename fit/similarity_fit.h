// The similarity transformation, translation, rotation and one scale, that
// best carries the construction coordinates of common points onto their
// survey coordinates, by least squares in closed form: the four-parameter
// conversion.
#pragma once

#include <span>

#include "base/expected.h"
#include "fit/common_point.h"

namespace torvane {

// X0, Y0 in metres and theta in radians as in RigidFit; scale the ratio k
// (> 0) of survey to construction distances, so that a construction point c
// lies at survey X0 + k·R(theta)·c.
struct SimilarityFit {
  double x_offset = 0;
  double y_offset = 0;
  double theta = 0;
  double scale = 1;
};

// Minimises the sum over all points of |survey - (X0 + k·R(theta)·construction)|².
// About the centroids, a survey and b construction: k·cos theta = sum(a·b) / S
// and k·sin theta = sum(b×a) / S with S = sum(|b|²); theta is the rigid
// fit's, and X0, Y0 carry one centroid onto the other.
// Rejects what FitRigid rejects.
Expected<SimilarityFit> FitSimilarity(std::span<const CommonPoint> points);

}  // namespace torvane
