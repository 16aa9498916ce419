// The common-point report as torvane-cli solve --points prints it.
#pragma once

#include <span>
#include <string>

#include "fit/common_point.h"
#include "fit/fit_report.h"

namespace torvane {

// First the three parameter texts on one line, as the two-point solve
// prints them (the similarity fit's scale a fourth), then the rotation, for
// the similarity fit the scale in ppm and its standard error, the inverse
// parameters, the residual of every point (the check points after the
// fitted ones, marked "check", then the excluded ones, marked "excluded";
// for the similarity fit of four points or more the fitted ones also
// standardized), the RMS and the largest, with check points theirs on the
// next line ("Check points: RMS 1.234 mm, largest K7 2.345 mm"), the largest
// standardized residual (similarity, or beyond 3), the F test of the scale
// against the rigid fit (similarity, three points or more), and the
// distance check of the pairs in report.pairs; when those are not all the
// pairs, the table's heading says so ("..., of the 20 pairs of 1275 whose
// distances disagree most:"). Lines end in "\n".
// `fitted`, `excluded` and `check` are the points `report` was made from.
std::string FitReportText(const FitReport& report, std::span<const CommonPoint> fitted,
                          std::span<const CommonPoint> excluded,
                          std::span<const CommonPoint> check = {});

}  // namespace torvane
