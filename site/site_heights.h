// The heights of a site's solve: the height model chosen for it, fitted to
// the fit points that have a height in both grids and checked at the check
// points that have both, as `torvane-cli solve --points --height-model`
// fits the same points.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "fit/common_point.h"
#include "fit/height_fit.h"
#include "fit/height_model.h"
#include "site/site_points.h"

namespace torvane {

// The height model a site asks for: one of the models, or the one the
// points support (kAuto, HeightFits::recommended).
enum class HeightChoice { kNone, kOffset, kPlane, kQuadric, kAuto };

struct SiteHeights {
  HeightChoice choice = HeightChoice::kNone;
  // The fit and check points with a height in both grids, in row order,
  // each with its 0-based row.
  std::vector<CommonPoint> fitted, check;
  std::vector<std::size_t> fitted_rows, check_rows;
  // The fit and check rows that take no part in the height fit: without a
  // height in both grids (a height that cannot be read is none), by row.
  std::vector<std::size_t> rows_without;
  HeightFits fits;  // fitted unless the choice is kNone
  // The model applied: the one chosen, or for kAuto the recommended one;
  // kNone where none is chosen, or where it cannot be fitted (failure).
  HeightModel model = HeightModel::kNone;
  // Metres from each check point to the fit points' hull, 0 inside.
  std::vector<double> check_outside;
  // Why the chosen model is not fitted, a Chinese sentence without its
  // full stop; empty when fitted or when none is chosen.
  std::string failure;
};

// The model `choice` names; none for kAuto, as MakeHeightSection takes it.
HeightModel ChosenModel(HeightChoice choice);

// The heights of `points` under `choice`. Fits nothing for kNone. Rejects,
// in failure, quoting the counts: no fit point with both heights, and a
// model the points cannot fix (too few, on one line, on one conic, too
// large to compute with).
SiteHeights SolveHeights(const SitePoints& points, HeightChoice choice);

// The solution of the model applied; null where none is.
const HeightSolution* AppliedHeights(const SiteHeights& heights);

}  // namespace torvane
