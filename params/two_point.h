// Conversion parameters from two common points A and B known in both grids,
// and the check of parameters already present against them.
#pragma once

#include <string>

#include "base/expected.h"
#include "params/conversion_params.h"

namespace torvane {

// Shown when the offsets estimated from A and from B differ by more than 10 mm.
inline constexpr const char* kOffsetsDisagreeMessage =
    "偏移量Dx、Dy(过渡坐标)较差>10 mm 请检查两套坐标成果";
inline constexpr double kOffsetToleranceMm = 10.0;

// Coordinates in metres: s = survey grid, c = construction grid.
struct TwoPoints {
  double xs_a = 0, ys_a = 0, xs_b = 0, ys_b = 0;
  double xc_a = 0, yc_a = 0, xc_b = 0, yc_b = 0;
};

// The parameters present in the boxes: offsets in metres, angle in ddd.mmss.
struct PresentParams {
  double x_offset = 0, y_offset = 0, angle_dms = 0;
};

struct TwoPointSolution {
  std::string x_offset_text;      // as written into the X offset box, e.g. "1000.000161"
  std::string y_offset_text;      // e.g. "2000.000161"
  std::string angle_text;         // ddd.mmss, e.g. "45."
  bool offsets_disagree = false;  // the 10 mm warning applies
  ParamState present_state = ParamState::kNotComputed;
  // Only when present_state is kSet: the derived parameters minus those
  // present, the offsets as written (metres), the angle as the rotation box
  // reads it (decimal degrees); and the twelve-line report of them, lines
  // joined by CR LF, which shows the offsets' differences without sign.
  double x_offset_gap = 0, y_offset_gap = 0;
  double angle_gap = 0;
  std::string check_report;
};

// A and B at the same place in a grid give no bearing there, and so no rotation.
enum class SamePlace {
  kBearingZero,  // that bearing counts as 0: the window's parameter button has always done so
  kReject,       // an error naming the grid and quoting the place
};

// Works out everything the parameter button needs; coordinates in metres,
// the present angle in ddd.mmss. Rejects: arithmetic that leaves the range
// of doubles; a present or derived angle whose whole degrees exceed
// 2147483647; with SamePlace::kReject, A and B at the same place in the
// survey grid, the construction grid or both, e.g. "A and B are both at
// 1050,2000 in the survey grid: the rotation cannot be determined".
Expected<TwoPointSolution> SolveTwoPoints(const TwoPoints& points, const PresentParams& present,
                                          SamePlace same_place = SamePlace::kBearingZero);

}  // namespace torvane
