// What the two-point determination shows besides the boxes' texts: the
// report of the check against the parameters present, and the 10 mm
// warning. The window breaks lines with CR LF, as a message box shows
// them; the command line with "\n".
#pragma once

#include <string>
#include <string_view>

#include "params/two_point.h"

namespace torvane {

// Shown when the solution's offsets_disagree: the offsets estimated from A
// and from B differ by more than kOffsetToleranceMm.
inline constexpr const char* kOffsetsDisagreeMessage =
    "偏移量Dx、Dy(过渡坐标)较差>10 mm 请检查两套坐标成果";

// The twelve-line report of the check, lines joined by `line_break` and no
// break after the last: the derived parameters as the boxes show them, the
// angle in degrees, minutes and seconds; then their differences from those
// present, the offsets' in millimetres without their sign. Empty unless
// the solution's present_state is kSet.
std::string TwoPointCheckReport(const TwoPointSolution& solution, std::string_view line_break);

}  // namespace torvane
