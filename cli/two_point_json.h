// The two-point solve as JSON, for scripts: torvane-cli solve --format=json
// without --points.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "fit/common_point.h"
#include "fit/fit_report.h"

namespace torvane::cli {

// Parameters given with --check, and how those derived from A and B differ.
struct ParamsCheck {
  double x_offset = 0, y_offset = 0;          // metres, as given
  double degrees = 0;                         // the given angle, decimal degrees
  double x_offset_gap = 0, y_offset_gap = 0;  // metres: derived as written minus given
  double angle_gap = 0;                       // decimal degrees: derived minus given
};

// One JSON object, ended by "\n": FitReportJson's members for `points`, A
// and B (line 0: no line member), without a limit; then, with a check,
//   check: x0_m, y0_m, angle_dms, angle_degrees (the parameters given),
//     x_offset_difference_mm, y_offset_difference_mm (three decimals, with
//     their sign: the check report shows them without),
//     angle_difference_dms, angle_difference_degrees
// Numbers not in millimetres are written in full.
std::string TwoPointJson(const FitReport& report, std::span<const CommonPoint> points,
                         const std::optional<ParamsCheck>& check);

}  // namespace torvane::cli
