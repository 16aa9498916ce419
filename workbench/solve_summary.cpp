#include "workbench/solve_summary.h"

#include <cmath>
#include <string>

#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/site_wording.h"

namespace torvane {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Mm(double metres) { return Text(MillimetreText(metres)); }

QString FTestText(const ScaleTest& test) {
  const QString f = std::isinf(test.f) ? QStringLiteral("无穷大") : Text(FText(test));
  const QString figures =
      QStringLiteral("F = %1，F(1, %2) 的 %3 % 分位数 %4，刚体中误差 %5 mm")
          .arg(f)
          .arg(test.freedom)
          .arg(Text(ScaleTestLevelText()), Text(QuantileText(test)), Mm(test.rigid_rms));
  return Text(ScaleVerdictText(test.significant)) + QStringLiteral("：") + figures;
}

QStringList WarningTexts(const SiteSolve& solve) {
  QStringList texts;
  for (const std::string& text : SiteWarningTexts(solve.warnings, solve.points.fit)) {
    texts << Text(text);
  }
  return texts;
}

}  // namespace

SolveSummary SummarizeSolve(const SiteSolve& solve) {
  SolveSummary summary;
  if (!solve.report) {
    summary.failure = solve.failure.empty()
                          ? QStringLiteral("参与平差的点不足两个，无法计算参数。")
                          : QStringLiteral("无法计算参数：%1").arg(Text(solve.failure));
    return summary;
  }
  const FitReport& report = *solve.report;
  const std::vector<CommonPoint>& fit = solve.points.fit;
  const std::vector<CommonPoint>& check = solve.points.check;
  summary.parameters =
      Text(report.texts.x_offset + ' ' + report.texts.y_offset + ' ' + report.texts.angle);
  if (report.model == FitModel::kSimilarity) summary.parameters += ' ' + Text(report.scale_text);
  summary.rotation = Text(DegreesText(report.box_degrees)) + QStringLiteral("°");
  if (report.model == FitModel::kSimilarity) {
    summary.scale =
        Text(report.scale_text) + QStringLiteral("（%1 ppm").arg(Text(PpmText(report.ppm)));
    if (report.scale_test) {
      summary.scale +=
          QStringLiteral("，标准误差 %1 ppm").arg(Text(PpmText(report.scale_test->ppm_error)));
    }
    summary.scale += QStringLiteral("）");
  }
  summary.rms_limit = Text(RmsLimitText());
  summary.rms = QStringLiteral("中误差 %1 mm，%2 %3 mm")
                    .arg(Mm(report.rms), summary.rms_limit, Mm(kRmsLimitFactor * report.rms));
  for (std::size_t i : BeyondRmsLimit(report)) summary.beyond << Text(fit[i].name);
  if (report.most_standardized) {
    const std::size_t most = *report.most_standardized;
    const double largest = LargerOf(report.standardized[most]);
    summary.standardized = QStringLiteral("最大标准化残差 %1 %2")
                               .arg(Text(fit[most].name), Text(StandardizedText(largest)));
    summary.blunder = largest > kBlunderLimit;
    summary.blunder_verdict = Text(BlunderVerdictText(largest, fit[most].name));
  }
  if (report.scale_test) summary.f_test = FTestText(*report.scale_test);
  if (!check.empty()) {
    summary.check = QStringLiteral("检核点中误差 %1 mm，最大 %2 %3 mm")
                        .arg(Mm(report.check_rms), Text(check[report.check_largest].name),
                             Mm(report.check_residuals[report.check_largest].length));
  }
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
