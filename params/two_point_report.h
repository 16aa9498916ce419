// What the two-point determination shows: the texts the parameter button
// writes into the boxes, the report of the check against the parameters
// present, and the 10 mm warning. The window breaks lines with CR LF, as a
// message box shows them; the command line with "\n".
#pragma once

#include <string>
#include <string_view>

#include "params/param_texts.h"
#include "params/two_point.h"

namespace torvane {

// Shown when the solution's offsets_disagree: the offsets estimated from A
// and from B differ by more than kOffsetToleranceMm.
inline constexpr const char* kOffsetsDisagreeMessage =
    "偏移量Dx、Dy(过渡坐标)较差>10 mm 请检查两套坐标成果";

// The derived parameters as the X offset, Y offset and rotation boxes show
// them (MakeParamTexts), e.g. "1000.000161", "2000.000161", "45.".
ParamTexts TwoPointBoxTexts(const TwoPointSolution& solution);

// The twelve-line report of the check, lines joined by `line_break` and no
// break after the last: the derived parameters as the boxes show them, the
// angle in degrees, minutes and seconds; then their differences from those
// present, the offsets' in millimetres without their sign. Empty unless
// the solution's present_state is kSet.
std::string TwoPointCheckReport(const TwoPointSolution& solution, std::string_view line_break);

}  // namespace torvane
