// What a report says of the heights: the models fitted to the common points
// that have a height in both grids, the one applied and why, and the check
// points' place against the fit points' coverage.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/expected.h"
#include "fit/common_point.h"
#include "fit/height_fit.h"
#include "fit/height_model.h"

namespace torvane {

struct HeightSection {
  HeightFits fits;
  HeightModel model = HeightModel::kNone;  // the model applied, never kNone here
  bool automatic = false;                  // chosen as fits.recommended
  std::vector<CommonPoint> fitted;         // the height fit points, in their order
  std::vector<CommonPoint> check;          // the height check points, in their order
  // Metres from each check point to the fit points' hull (0 inside).
  std::vector<double> check_outside;
  // Of the plane fit's points, how many have no height in both grids and
  // so are not in the height fit.
  std::size_t fit_points_without_heights = 0;
};

// The section for `model` (kNone: the recommended one, `automatic`), fitted
// from `fitted` (the plane fit's points; those without both heights are
// left out and counted) and checked at `check` (each with both heights).
// Rejects, quoting the model: no fit point with both heights, and a model
// the points cannot fix ("the height model plane cannot be fitted: the 3
// fit points with a height in both grids lie on one line").
Expected<HeightSection> MakeHeightSection(std::span<const CommonPoint> fitted,
                                          std::span<const CommonPoint> check,
                                          std::optional<HeightModel> model);

// The solution of the model applied.
const HeightSolution& AppliedSolution(const HeightSection& section);

// The model's name as options spell it: "plane".
std::string HeightModelName(HeightModel model);

}  // namespace torvane
