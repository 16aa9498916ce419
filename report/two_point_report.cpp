#include "report/two_point_report.h"

#include <cmath>

#include "params/dms.h"
#include "params/millimetre_text.h"
#include "params/param_texts.h"

namespace torvane {

std::string TwoPointCheckReport(const TwoPointSolution& solution, std::string_view line_break) {
  if (solution.present_state != ParamState::kSet) return {};
  const std::string br(line_break);
  std::string r;
  r += "坐标计算的转化参数为:" + br;
  r += br;
  r += "   X偏移量为: " + OffsetText(solution.x_offset) + br;
  r += "   Y偏移量为: " + OffsetText(solution.y_offset) + br;
  r += "   坐标旋转角为:" + FormatDmsSymbols(BoxDegrees(solution.theta)) + br;
  r += br;
  r += br;
  r += "转化参数差异量为:" + br;
  r += br;
  r += "   X偏移量差异为: ±" + MillimetreText(std::fabs(solution.x_offset_gap)) + " mm" + br;
  r += "   Y偏移量差异为: ±" + MillimetreText(std::fabs(solution.y_offset_gap)) + " mm" + br;
  r += "   旋转角差异量为:" + FormatDmsSymbols(solution.angle_gap);
  return r;
}

}  // namespace torvane
