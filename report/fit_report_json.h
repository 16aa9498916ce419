// The common-point report as JSON, for scripts: torvane-cli solve --points
// --format=json, and the two-point solve's, which has the same members.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fit/common_point.h"
#include "fit/fit_report.h"

namespace torvane {

// One JSON object, ended by "\n":
//   parameters: x_offset, y_offset, angle (the box texts), x0_m, y0_m,
//     theta_radians (the values the conversion uses), angle_dms,
//     angle_degrees (the box's angle), turn_degrees (theta in degrees of the
//     full pi), proj (the PROJ pipeline)
//   similarity (the similarity fit only): scale (text), k, ppm,
//     inverse_scale (text) and, from three points, ppm_standard_error,
//     rigid_rms_mm, f (null when infinite), f_quantile, f_freedom, significant
//   inverse: x_offset, y_offset, angle (texts)
//   offsets_disagree: the two-point method's 10 mm warning (two points only)
//   points: [{name, line, fitted, dx_mm, dy_mm, length_mm}], fitted ones first,
//     then the check points, then the excluded ones; line, the point's line
//     in its file, is left out for a line of 0 (a point not read from a
//     file); the similarity fit's fitted points add wx, wy, the standardized
//     residuals (null where there is none), from four; from four fit
//     points, every fitted point adds left_out {dx_mm, dy_mm, length_mm,
//     tx, ty, f, blunder}, what it misses by when the others are fitted
//     without it and its test (null where the others cannot check it);
//     a check point is
//     {name, line, fitted: false, role: "check", dx_mm, dy_mm, length_mm}
//   fitted, excluded (names), rms_mm, largest {name, length_mm}
//   check_points {names, rms_mm, largest {name, length_mm}}: only with
//     check points, so that without them nothing else changes
//   largest_standardized {name, w, beyond_3}: from four points, whenever
//     the text report names it (some point has a standardized residual)
//   blunder_test {level, point_level, freedom, critical, blunders (names)}:
//     the points left out in turn, tested by F(2, freedom) at point_level
//     each (level over the number of fit points); null under four fit
//     points, where no blunder can be found
//   pairs: [{from, to, survey_m, construction_m, difference_mm, scale}]
//     (scale null for a survey distance of 0), in the order of report.pairs;
//     when those are not all the pairs, then pairs_partial: true and
//     pair_count, the number of pairs of fitted points in all
//   with a limit: max_residual_mm and above_max_residual (names)
// Millimetres have three decimals, distances four, scales nine, as in the
// text report; x0_m, y0_m and the angles are written in full.
// `fitted`, `excluded` and `check` are the points `report` was made from.
std::string FitReportJson(const FitReport& report, std::span<const CommonPoint> fitted,
                          std::span<const CommonPoint> excluded, std::span<const CommonPoint> check,
                          std::optional<double> max_residual_mm);

// The members of FitReportJson's object, each written "\"key\": value", in
// its order: for a report with members of its own after them.
std::vector<std::string> FitReportMembers(const FitReport& report,
                                          std::span<const CommonPoint> fitted,
                                          std::span<const CommonPoint> excluded,
                                          std::span<const CommonPoint> check,
                                          std::optional<double> max_residual_mm);

}  // namespace torvane
