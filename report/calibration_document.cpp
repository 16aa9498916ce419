#include "report/calibration_document.h"

#include <cassert>

#include "fit/site_warnings.h"
#include "number/pattern.h"
#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/site_wording.h"
#include "site/point_role.h"

namespace torvane {
namespace {

constexpr std::string_view kMetres = "m", kMillimetres = "mm", kDms = "ddd.mmss", kDegrees = "°",
                           kPpm = "ppm";
// What stands in a figure's place when there is nothing to name.
constexpr std::string_view kNone = "无";

std::vector<ReportFigure> TitleBlock(const ReportSource& source, FitModel model) {
  std::vector<ReportFigure> block = {
      {"工程", source.site, ""},
      {"操作员", source.operator_name, ""},
      {"日期时间", source.made_at, ""},
      {"Torvane 版本", source.version, ""},
      {"模型", model == FitModel::kSimilarity ? "四参数（相似变换）" : "刚体（尺度 1）", ""}};
  if (!source.project.empty()) block.push_back({"工程文件", source.project, ""});
  return block;
}

std::vector<ReportFigure> Parameters(const FitReport& report) {
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

// Both directions as Transform computes them, with the parameters' texts.
std::vector<std::string> Formulas(const FitReport& report) {
  const bool scaled = report.model == FitModel::kSimilarity;
  const std::string& x0 = report.texts.x_offset;
  const std::string& y0 = report.texts.y_offset;
  const std::string xc = scaled ? "(k·X施)" : "X施", yc = scaled ? "(k·Y施)" : "Y施";
  const std::string over_k = scaled ? " / k" : "";
  std::vector<std::string> lines = {
      "θ = " + DegreesText(report.degrees) + "°（π 取 " + TurnPiText() + "）" +
          (scaled ? "，k = " + report.scale_text : std::string()),
      "施工 → 测图：X测 = " + x0 + " + " + xc + "·cosθ − " + yc + "·sinθ",
      "施工 → 测图：Y测 = " + y0 + " + " + xc + "·sinθ + " + yc + "·cosθ",
      "测图 → 施工：X施 = [cosθ·(X测 − " + x0 + ") + sinθ·(Y测 − " + y0 + ")]" + over_k,
      "测图 → 施工：Y施 = [cosθ·(Y测 − " + y0 + ") − sinθ·(X测 − " + x0 + ")]" + over_k};
  return lines;
}

std::vector<ReportFigure> Inverse(const FitReport& report) {
  std::vector<ReportFigure> figures = {
      {"X0′（测图坐标系原点的施工 X）", report.inverse.x_offset, std::string(kMetres)},
      {"Y0′（测图坐标系原点的施工 Y）", report.inverse.y_offset, std::string(kMetres)},
      {"旋转角 −θ", report.inverse.angle, std::string(kDms)}};
  if (report.model == FitModel::kSimilarity) {
    figures.push_back({"尺度 1/k", report.inverse_scale_text, ""});
  }
  return figures;
}

ReportRow Row(std::string role, const std::string& name, const PointResidual& r) {
  ReportRow row;
  row.role = std::move(role);
  row.name = name;
  row.dx = MillimetreText(r.dx);
  row.dy = MillimetreText(r.dy);
  row.length = MillimetreText(r.length);
  return row;
}

std::vector<ReportRow> Rows(const FitReport& report, std::span<const CommonPoint> fitted,
                            std::span<const CommonPoint> excluded,
                            std::span<const CommonPoint> check) {
  // Standardized residuals where the fit has them; a point out of the fit
  // has none, shown "-" as the command line shows it.
  const bool columns = !report.standardized.empty();
  std::vector<ReportRow> rows;
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    rows.push_back(Row(RoleText(PointRole::kFit), fitted[i].name, report.residuals[i]));
    if (columns) {
      const StandardizedResidual& w = report.standardized[i];
      rows.back().wx = StandardizedText(w.wx);
      rows.back().wy = StandardizedText(w.wy);
      rows.back().blunder = LargerOf(w) > kBlunderLimit;
    }
  }
  for (std::size_t i : BeyondRmsLimit(report)) rows[i].beyond_limit = true;
  const auto others = [&](const char* role, std::span<const CommonPoint> points,
                          const std::vector<PointResidual>& residuals) {
    for (std::size_t i = 0; i < points.size(); ++i) {
      rows.push_back(Row(role, points[i].name, residuals[i]));
      if (columns) rows.back().wx = rows.back().wy = "-";
    }
  };
  others(RoleText(PointRole::kCheck), check, report.check_residuals);
  others(RoleText(PointRole::kOff), excluded, report.excluded_residuals);
  return rows;
}

std::vector<ReportFigure> Statistics(const FitReport& report, std::span<const CommonPoint> fitted,
                                     std::span<const CommonPoint> check) {
  const std::string mm(kMillimetres);
  std::vector<ReportFigure> figures = {
      {"中误差", MillimetreText(report.rms), mm},
      {"最大残差（" + fitted[report.largest].name + "）",
       MillimetreText(report.residuals[report.largest].length), mm},
      {RmsLimitText(), MillimetreText(kRmsLimitFactor * report.rms), mm}};
  std::string beyond;
  for (std::size_t i : BeyondRmsLimit(report))
    beyond += (beyond.empty() ? "" : "、") + fitted[i].name;
  figures.push_back(
      {"超过 " + RmsLimitText() + "的点", beyond.empty() ? std::string(kNone) : beyond, ""});
  if (report.most_standardized) {
    const std::size_t most = *report.most_standardized;
    const double largest = LargerOf(report.standardized[most]);
    figures.push_back(
        {"最大标准化残差（" + fitted[most].name + "）", StandardizedText(largest), ""});
    figures.push_back({"粗差限值", BlunderLimitText(), ""});
    figures.push_back({"粗差判断", BlunderVerdictText(largest, fitted[most].name), ""});
  }
  if (report.scale_test) {
    const ScaleTest& test = *report.scale_test;
    figures.push_back({"刚体转换中误差（同一组点）", MillimetreText(test.rigid_rms), mm});
    figures.push_back({"F", FText(test), ""});
    figures.push_back(
        {"F(1, " + std::to_string(test.freedom) + ") 的 " + ScaleTestLevelText() + " % 分位数",
         QuantileText(test), ""});
    figures.push_back({"F 检验结论", ScaleVerdictText(test.significant), ""});
  }
  if (!check.empty()) {
    figures.push_back({"检核点中误差", MillimetreText(report.check_rms), mm});
    figures.push_back({"检核点最大残差（" + check[report.check_largest].name + "）",
                       MillimetreText(report.check_residuals[report.check_largest].length), mm});
  }
  return figures;
}

}  // namespace

CalibrationDocument MakeCalibrationDocument(const ReportSource& source, const FitReport& report,
                                            std::span<const CommonPoint> fitted,
                                            std::span<const CommonPoint> excluded,
                                            std::span<const CommonPoint> check) {
  assert(fitted.size() == report.residuals.size());
  assert(excluded.size() == report.excluded_residuals.size());
  assert(check.size() == report.check_residuals.size());
  CalibrationDocument document;
  document.title = "坐标转换参数计算报告";
  document.title_block = TitleBlock(source, report.model);
  document.parameters = Parameters(report);
  document.formulas = Formulas(report);
  document.inverse = Inverse(report);
  document.rows = Rows(report, fitted, excluded, check);
  document.statistics = Statistics(report, fitted, check);
  document.warnings = SiteWarningTexts(WarnSite(fitted, report.model, report.rms), fitted);
  document.plot = MakeSitePlot(report, fitted, excluded, check);
  document.files = source.files;
  return document;
}

}  // namespace torvane
