// The height section of torvane-cli solve --points' text report.
#pragma once

#include <string>

#include "report/height_section.h"

namespace torvane {

// A blank line, then: the model applied and why, its terms with their
// units about the fit points' centroid, the residual table (each fit
// point's residual, leverage, standardized residual and, from p + 2
// points, what it misses by left out, t and F; then the check points'
// misclosures, marked "check"), the RMS and the largest, the check points'
// RMS and largest, the blunder test, the F tests of plane against offset
// and quadric against plane, how many points GB 50026 asks for, and the
// check points beyond kCoverageMargin of the fit points' hull. Lines end
// in "\n"; millimetres to three decimals.
std::string HeightReportText(const HeightSection& section);

}  // namespace torvane
