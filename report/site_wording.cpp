#include "report/site_wording.h"

#include "number/pattern.h"
#include "params/constants.h"
#include "params/millimetre_text.h"

namespace torvane {
namespace {

// The coincident pairs named one by one; a site with more has a count.
constexpr std::size_t kPairsNamed = 3;

std::string SwappedText(const SiteWarnings& warnings) {
  std::string which;
  switch (*warnings.swapped) {
    case SwappedGrid::kSurvey:
      which = "测图坐标的 X、Y 像是对调了（北坐标应为 X）";
      break;
    case SwappedGrid::kConstruction:
      which = "施工坐标的 X、Y 像是对调了（CAD、CASS 常先写东坐标）";
      break;
    case SwappedGrid::kEither:
      which = "测图坐标或施工坐标之一的 X、Y 像是对调了";
      break;
  }
  return which + "：对调后中误差为 " + MillimetreText(warnings.swapped_rms) + " mm，请检查。";
}

}  // namespace

std::vector<std::size_t> BeyondRmsLimit(const FitReport& report) {
  return ResidualsAbove(report, kRmsLimitFactor * report.rms * kMillimetresPerMetre);
}

std::string RmsLimitText() { return FormatPattern(kRmsLimitFactor, "0") + " 倍中误差"; }

std::string BlunderLimitText() { return FormatPattern(kBlunderLimit, "0.0"); }

std::string BlunderVerdictText(double largest, const std::string& name) {
  return largest > kBlunderLimit
             ? "超过 " + BlunderLimitText() + "：请检查点 " + name + " 是否有粗差"
             : "未超过 " + BlunderLimitText();
}

std::string LeftOutVerdictText(const BlunderTest& test, std::span<const CommonPoint> fitted) {
  if (test.blunders.empty()) return "未发现粗差";
  std::string text = "粗差：";
  for (std::size_t i : test.blunders) {
    if (i != test.blunders.front()) text += "、";
    text +=
        fitted[i].name + "（剔除后不符 " + MillimetreText(test.points[i]->misses.length) + " mm）";
  }
  return text;
}

std::string NoBlunderTestText() {
  return "少于 " + std::to_string(kBlunderTestFrom) + " 个参与平差的点，无法发现粗差";
}

std::string ScaleVerdictText(bool significant, const SiteWarnings& warnings) {
  if (NotOneTransformation(warnings)) return "不作结论：公共点有问题，见“警告”";
  return significant ? "尺度显著，应采用四参数" : "尺度不显著，刚体转换即可";
}

std::vector<std::string> SiteWarningTexts(const SiteWarnings& w,
                                          std::span<const CommonPoint> fitted) {
  std::vector<std::string> texts;
  if (w.no_redundancy) {
    texts.push_back(
        "只有两个参与平差的点，没有多余观测，无法发现粗差：请增加公共点，或把其他点设为检核点。");
  }
  if (w.collinear) texts.push_back("参与平差的点几乎在一条直线上，转角不可靠。");
  for (std::size_t i = 0; i < w.coincident.size() && i < kPairsNamed; ++i) {
    texts.push_back("点 " + fitted[w.coincident[i].first].name + " 与点 " +
                    fitted[w.coincident[i].second].name + " 几乎重合：是否重复输入？");
  }
  if (w.coincident_count > kPairsNamed) {
    texts.push_back("另有 " + std::to_string(w.coincident_count - kPairsNamed) + " 对点几乎重合。");
  }
  if (w.swapped) texts.push_back(SwappedText(w));
  return texts;
}

}  // namespace torvane
