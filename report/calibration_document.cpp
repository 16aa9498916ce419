#include "report/calibration_document.h"

#include <cassert>

#include "fit/site_warnings.h"
#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/site_wording.h"
#include "site/point_role.h"

namespace torvane {
namespace {

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
    if (report.blunder_test) {
      ReportRow& row = rows.back();
      row.left_out = row.tx = row.ty = row.f = "-";
      if (const std::optional<LeftOutPoint>& out = report.blunder_test->points[i]) {
        row.left_out = MillimetreText(out->misses.length);
        row.tx = StandardizedText(out->tx);
        row.ty = StandardizedText(out->ty);
        row.f = LeftOutFText(out->f);
        row.tested_blunder = out->blunder;
      }
    }
  }
  for (std::size_t i : BeyondRmsLimit(report)) rows[i].beyond_limit = true;
  const auto others = [&](const char* role, std::span<const CommonPoint> points,
                          const std::vector<PointResidual>& residuals) {
    for (std::size_t i = 0; i < points.size(); ++i) {
      rows.push_back(Row(role, points[i].name, residuals[i]));
      if (columns) rows.back().wx = rows.back().wy = "-";
      if (report.blunder_test) {
        rows.back().left_out = rows.back().tx = rows.back().ty = rows.back().f = "-";
      }
    }
  };
  others(RoleText(PointRole::kCheck), check, report.check_residuals);
  others(RoleText(PointRole::kOff), excluded, report.excluded_residuals);
  return rows;
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
  document.parameters = ParameterFigures(report);
  document.formulas = Formulas(report);
  document.inverse = Inverse(report);
  document.rows = Rows(report, fitted, excluded, check);
  const SiteWarnings warnings = WarnSite(fitted, report.model, report.rms);
  document.statistics = StatisticFigures(report, fitted, check, warnings);
  document.warnings = SiteWarningTexts(warnings, fitted);
  document.plot = MakeSitePlot(report, fitted, excluded, check);
  document.files = source.files;
  return document;
}

}  // namespace torvane
