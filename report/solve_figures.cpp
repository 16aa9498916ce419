#include "report/solve_figures.h"

#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/site_wording.h"

namespace torvane {
namespace {

// What stands in a figure's place when there is nothing to name.
constexpr std::string_view kNone = "无";

}  // namespace

std::vector<ReportFigure> ParameterFigures(const FitReport& report) {
  std::vector<ReportFigure> figures = {
      {"X0", report.texts.x_offset, std::string(kMetres)},
      {"Y0", report.texts.y_offset, std::string(kMetres)},
      {"旋转角 θ", report.texts.angle, std::string(kDms)},
      {"旋转角 θ（度分秒）", RotationDmsText(report), ""},
      {"旋转角 θ（十进制度）", DegreesText(report.box_degrees), std::string(kDegrees)},
      {"实际转角（π 取 " + TurnPiText() + "）", DegreesText(report.degrees),
       std::string(kDegrees)}};
  if (report.model == FitModel::kSimilarity) {
    figures.push_back({"尺度 k", report.scale_text, ""});
    figures.push_back({"尺度 k − 1", PpmText(report.ppm), std::string(kPpm)});
    if (report.scale_test) {
      figures.push_back(
          {"尺度的标准误差", PpmText(report.scale_test->ppm_error), std::string(kPpm)});
    }
  }
  return figures;
}

std::vector<ReportFigure> ConversionParameterFigures(const ParamTexts& texts,
                                                     const std::optional<std::string>& scale) {
  std::vector<ReportFigure> figures = {{"X0", texts.x_offset, std::string(kMetres)},
                                       {"Y0", texts.y_offset, std::string(kMetres)},
                                       {"旋转角 θ", texts.angle, std::string(kDms)}};
  if (scale) figures.push_back({"尺度 k", *scale, ""});
  return figures;
}

std::vector<ReportFigure> StatisticFigures(const FitReport& report,
                                           std::span<const CommonPoint> fitted,
                                           std::span<const CommonPoint> check,
                                           const SiteWarnings& warnings) {
  const std::string mm(kMillimetres);
  std::vector<ReportFigure> figures = {
      {"中误差", MillimetreText(report.rms), mm},
      {"最大残差（" + fitted[report.largest].name + "）",
       MillimetreText(report.residuals[report.largest].length), mm},
      {RmsLimitText(), MillimetreText(kRmsLimitFactor * report.rms), mm}};
  std::string beyond;
  for (std::size_t i : BeyondRmsLimit(report))
    beyond += (beyond.empty() ? "" : "、") + fitted[i].name;
  figures.push_back({"超过 " + RmsLimitText() + "的点",
                     beyond.empty() ? std::string(kNone) : beyond, "", !beyond.empty()});
  if (report.most_standardized) {
    const std::size_t most = *report.most_standardized;
    const double largest = LargerOf(report.standardized[most]);
    figures.push_back(
        {"最大标准化残差（" + fitted[most].name + "）", StandardizedText(largest), ""});
    figures.push_back({"粗差限值", BlunderLimitText(), ""});
    figures.push_back(
        {"粗差判断", BlunderVerdictText(largest, fitted[most].name), "", largest > kBlunderLimit});
  }
  if (report.blunder_test) {
    const BlunderTest& test = *report.blunder_test;
    figures.push_back({"剔除检验 " + BlunderTestName(test) + " 临界值（" + BlunderTestLevelText() +
                           " %，" + std::to_string(fitted.size()) + " 点 Bonferroni 校正）",
                       BlunderCriticalText(test), ""});
    figures.push_back(
        {"剔除检验结论", LeftOutVerdictText(test, fitted), "", !test.blunders.empty()});
  } else {
    figures.push_back({"剔除检验", NoBlunderTestText(), ""});
  }
  if (report.scale_test) {
    const ScaleTest& test = *report.scale_test;
    figures.push_back({"刚体转换中误差（同一组点）", MillimetreText(test.rigid_rms), mm});
    figures.push_back({"F", FText(test), ""});
    figures.push_back(
        {"F(1, " + std::to_string(test.freedom) + ") 的 " + ScaleTestLevelText() + " % 分位数",
         QuantileText(test), ""});
    figures.push_back({"F 检验结论", ScaleVerdictText(test.significant, warnings), ""});
  }
  if (!check.empty()) {
    figures.push_back({"检核点中误差", MillimetreText(report.check_rms), mm});
    figures.push_back({"检核点最大残差（" + check[report.check_largest].name + "）",
                       MillimetreText(report.check_residuals[report.check_largest].length), mm});
  }
  return figures;
}

}  // namespace torvane
