// A fitted height model as it is applied: the difference d(X, Y) = Hs − Hc
// between the two grids' heights at a point's survey X and Y.
#pragma once

#include <array>
#include <cstddef>

#include "fit/height_model.h"
#include "params/transform.h"

namespace torvane {

// The length, metres, the survey X and Y are measured in about the fit
// points' centroid: u = (X − X̄)/kHeightLength, v = (Y − Ȳ)/kHeightLength.
// A kilometre keeps the terms of sites from a few metres to tens of
// kilometres within a few powers of ten of each other, and reads directly:
// a1 and a2 in metres per kilometre (1 m/km = 100 mm per 100 m), a3 to a5
// in metres per square kilometre.
inline constexpr double kHeightLength = 1000.0;

struct HeightSurface {
  HeightModel model = HeightModel::kNone;
  PlanePoint centroid;            // survey X̄, Ȳ of the fit points, metres
  std::array<double, 6> terms{};  // a0 ... a5 as HeightModel names them; unused ones 0
};

// The number of terms of `model`: 0, 1, 3 or 6.
std::size_t TermCount(HeightModel model);

// d(X, Y) in metres at the survey X, Y of `survey` (metres); 0 for kNone.
// Finite terms and coordinates give a finite d unless it overflows.
double HeightDifference(const HeightSurface& surface, PlanePoint survey);

// The plane's slope a1 or a2 (metres per kilometre) in millimetres per 100 m.
inline double MillimetresPer100m(double metres_per_km) { return metres_per_km * 100; }

}  // namespace torvane
