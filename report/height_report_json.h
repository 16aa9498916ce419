// The height section of torvane-cli solve --points' JSON report.
#pragma once

#include <string>

#include "report/height_section.h"

namespace torvane {

// One JSON object, the value of the report's "heights" member:
//   model (its name), automatic (chosen as recommended), recommended,
//   reason (auto's, only when automatic)
//   centroid_x_m, centroid_y_m, length_m (kHeightLength): u, v are the
//     survey X, Y about the centroid over length_m
//   terms: [a0 ... ] in metres, in full (as the conversion uses them)
//   shown: [{name, value, unit}] as the text report shows them
//   points: [{name, line, dh_mm, h, w, left_out {misses_mm, t, f, blunder}}]
//     fit points (line left out for 0; w null where there is none;
//     left_out null where the point cannot be checked, left out entirely
//     under p + 2 points), then check points {name, line, role: "check",
//     dh_mm, outside_m}
//   fitted (count), without_heights (plane fit points not in it),
//   redundancy, rms_mm, enough_points
//   check_points {names, rms_mm}: only with check points
//   blunder_test {level, point_level, freedom, critical, blunders (names)}
//     or null under p + 2 points
//   plane_against_offset, quadric_against_plane: {f, added, freedom,
//     quantile, significant} or null when not made
//   outside_coverage: names of the check points beyond kCoverageMargin
// Millimetres have three decimals; statistics as in the text report.
std::string HeightReportJson(const HeightSection& section);

}  // namespace torvane
