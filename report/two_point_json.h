// The two-point solve as JSON, for scripts: torvane-cli solve --format=json
// without --points.
#pragma once

#include <span>
#include <string>

#include "fit/common_point.h"
#include "fit/fit_report.h"
#include "params/two_point.h"

namespace torvane {

// One JSON object, ended by "\n": FitReportJson's members for `points`, A
// and B (line 0: no line member), without a limit; then, with `check`, the
// two-point solution checked against the parameters given with --check
// (present_state kSet),
//   check: x0_m, y0_m, angle_dms, angle_degrees (the parameters given),
//     x_offset_difference_mm, y_offset_difference_mm (three decimals, with
//     their sign: the check report shows them without),
//     angle_difference_dms, angle_difference_degrees
// Numbers not in millimetres are written in full.
std::string TwoPointJson(const FitReport& report, std::span<const CommonPoint> points,
                         const TwoPointSolution* check);

}  // namespace torvane
