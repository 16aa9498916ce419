// The rigid motion, translation and rotation with the scale held at 1, that
// best carries the construction coordinates of common points onto their
// survey coordinates, by least squares in closed form.
#pragma once

#include <span>

#include "base/expected.h"
#include "fit/common_point.h"
#include "params/conversion_params.h"

namespace torvane {

// Both fits give the parameters as the conversion takes them (RunParams):
// X0, Y0 the survey coordinates of the construction grid's origin (metres);
// theta turning from survey +X towards +Y (radians of the full pi, in
// (-pi, pi]); the scale k (> 0) the ratio of survey to construction
// distances, 1 for the rigid motion. A construction point c lies at survey
// X0 + k·R(theta)·c, as Transform::Inverse computes it.

// What both fits are made of. Coordinates are taken relative to the first
// point, so that the sums stay small where a grid's coordinates are large
// (Gauss-Krüger northings, eastings with the zone number in front); about
// the centroids, with a a survey and b a construction point, the sums of
// a·b, b×a and |b|², in square metres. Needs at least one point.
struct CentroidSums {
  PlanePoint survey_origin, construction_origin;  // the first point, metres
  PlanePoint survey_mean, construction_mean;      // the centroids relative to it
  double dot = 0, cross = 0, spread = 0;
};
CentroidSums SumAboutCentroids(std::span<const CommonPoint> points);

// X0 and Y0, metres, that carry the construction centroid onto the survey
// centroid once turned by theta (radians) and scaled by k, in the order of
// Transform::Inverse: X0 = Xs - k·(cos·Xc - sin·Yc).
PlanePoint OffsetsBetweenCentroids(const CentroidSums& sums, double theta, double scale);

// Minimises the sum over all points of |survey - (X0 + R(theta)·construction)|²,
// the scale held at 1.
// theta comes from the points about their centroids, as atan2 of the summed
// cross and dot products; X0, Y0 then carry one centroid onto the other.
// Rejects: fewer than two points; all points at one place in the survey grid
// or in the construction grid; points for which every rotation fits equally
// well (both sums zero, as when one grid is the other's mirror image); and
// arithmetic beyond the range of doubles.
Expected<RunParams> FitRigid(std::span<const CommonPoint> points);

}  // namespace torvane
