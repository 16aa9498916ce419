#include "workbench/solve_summary.h"

#include <string>

#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/height_solve_figures.h"
#include "report/site_wording.h"

namespace torvane {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Mm(double metres) { return Text(MillimetreText(metres)); }

QStringList WarningTexts(const SiteSolve& solve) {
  QStringList texts;
  for (const std::string& text : SiteWarningTexts(solve.warnings, solve.points.fit)) {
    texts << Text(text);
  }
  return texts;
}

}  // namespace

QString RowsLeftOutText(std::size_t rows) { return QStringLiteral("%1 行不参与计算").arg(rows); }

SolveSummary SummarizeSolve(const SiteSolve& solve) {
  SolveSummary summary;
  summary.left_out = solve.points.problems;
  for (std::size_t i = 0; i < summary.left_out.size(); ++i) {
    summary.rows_left_out += i == 0 || summary.left_out[i].row != summary.left_out[i - 1].row;
  }
  summary.height_parameters = HeightParameterFigures(solve.heights);
  summary.height_statistics = HeightStatisticFigures(solve.heights);
  summary.height_failure = Text(HeightFailureText(solve.heights));
  if (!solve.heights.rows_without.empty()) {
    QStringList rows;
    for (std::size_t row : solve.heights.rows_without) rows << QString::number(row + 1);
    summary.rows_without_heights =
        QStringLiteral("第 %1 行缺少两套高程，不参与高程拟合").arg(rows.join(QStringLiteral("、")));
  }
  if (!solve.report) {
    summary.failure = solve.failure.empty()
                          ? QStringLiteral("参与平差的点不足两个，无法计算参数。")
                          : QStringLiteral("无法计算参数：%1").arg(Text(solve.failure));
    return summary;
  }
  const FitReport& report = *solve.report;
  summary.parameters =
      Text(report.texts.x_offset + ' ' + report.texts.y_offset + ' ' + report.texts.angle);
  if (report.model == FitModel::kSimilarity) summary.parameters += ' ' + Text(report.scale_text);
  summary.parameter_figures = ParameterFigures(report);
  summary.statistics =
      StatisticFigures(report, solve.points.fit, solve.points.check, solve.warnings);
  summary.warnings = WarningTexts(solve);
  return summary;
}

std::vector<RowResult> RowResults(const SiteSolve& solve, std::size_t row_count) {
  std::vector<RowResult> rows(row_count);
  if (!solve.report) return rows;
  const FitReport& report = *solve.report;
  const auto fill = [&](std::size_t row, const PointResidual& r) {
    rows[row].dx = Mm(r.dx);
    rows[row].dy = Mm(r.dy);
    rows[row].length = Mm(r.length);
  };
  const SitePoints& points = solve.points;
  for (std::size_t i = 0; i < points.fit_rows.size(); ++i) {
    RowResult& row = rows[points.fit_rows[i]];
    fill(points.fit_rows[i], report.residuals[i]);
    if (!report.standardized.empty()) {
      const StandardizedResidual& w = report.standardized[i];
      row.wx = Text(StandardizedText(w.wx));
      row.wy = Text(StandardizedText(w.wy));
      row.blunder = LargerOf(w) > kBlunderLimit;
    }
    if (report.blunder_test) {
      row.left_out = row.tx = row.ty = row.f = QStringLiteral("-");
      if (const std::optional<LeftOutPoint>& out = report.blunder_test->points[i]) {
        row.left_out = Mm(out->misses.length);
        row.tx = Text(StandardizedText(out->tx));
        row.ty = Text(StandardizedText(out->ty));
        row.f = Text(LeftOutFText(out->f));
        row.tested_blunder = out->blunder;
      }
    }
  }
  rows[points.fit_rows[WorstFitPoint(report)]].worst = true;
  for (std::size_t i = 0; i < points.check_rows.size(); ++i) {
    fill(points.check_rows[i], report.check_residuals[i]);
  }
  for (std::size_t i = 0; i < points.off_rows.size(); ++i) {
    fill(points.off_rows[i], report.excluded_residuals[i]);
  }
  return rows;
}

}  // namespace torvane
