#include "workbench/solve_summary.h"

#include <cmath>
#include <string>

#include "fit/report_patterns.h"
#include "number/pattern.h"
#include "params/millimetre_text.h"

namespace torvane {
namespace {

constexpr double kPercent = 100.0;
// The RMS limit surveyors hold each fit point to: twice the RMS.
constexpr double kRmsLimitFactor = 2.0;
constexpr double kMillimetresPerMetre = 1000.0;

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString Mm(double metres) { return Text(MillimetreText(metres)); }

QString FTestText(const ScaleTest& test) {
  const QString f =
      std::isinf(test.f) ? QStringLiteral("无穷大") : Text(FormatPattern(test.f, kFPattern));
  const QString figures =
      QStringLiteral("F = %1，F(1, %2) 的 %3 % 分位数 %4，刚体中误差 %5 mm")
          .arg(f)
          .arg(test.freedom)
          .arg(Text(FormatPattern(kScaleTestLevel * kPercent, "0")),
               Text(FormatPattern(test.quantile, kQuantilePattern)), Mm(test.rigid_rms));
  return (test.significant ? QStringLiteral("尺度显著，应采用四参数：")
                           : QStringLiteral("尺度不显著，刚体转换即可：")) +
         figures;
}

QString SwappedText(const SiteWarnings& warnings) {
  QString which;
  switch (*warnings.swapped) {
    case SwappedGrid::kSurvey:
      which = QStringLiteral("测图坐标的 X、Y 像是对调了（北坐标应为 X）");
      break;
    case SwappedGrid::kConstruction:
      which = QStringLiteral("施工坐标的 X、Y 像是对调了（CAD、CASS 常先写东坐标）");
      break;
    case SwappedGrid::kEither:
      which = QStringLiteral("测图坐标或施工坐标之一的 X、Y 像是对调了");
      break;
  }
  return which + QStringLiteral("：对调后中误差为 %1 mm，请检查。").arg(Mm(warnings.swapped_rms));
}

QStringList WarningTexts(const LiveSolve& solve) {
  const SiteWarnings& w = solve.warnings;
  const std::vector<CommonPoint>& fit = solve.points.fit;
  QStringList texts;
  if (w.no_redundancy) {
    texts << QStringLiteral(
        "只有两个参与平差的点，没有多余观测，无法发现粗差：请增加公共点，或把其他点设为检核点。");
  }
  if (w.collinear) texts << QStringLiteral("参与平差的点几乎在一条直线上，转角不可靠。");
  // The first few pairs by name; a site with more has a count.
  constexpr std::size_t kPairsNamed = 3;
  for (std::size_t i = 0; i < w.coincident.size() && i < kPairsNamed; ++i) {
    texts << QStringLiteral("点 %1 与点 %2 几乎重合：是否重复输入？")
                 .arg(Text(fit[w.coincident[i].first].name),
                      Text(fit[w.coincident[i].second].name));
  }
  if (w.coincident_count > kPairsNamed) {
    texts << QStringLiteral("另有 %1 对点几乎重合。").arg(w.coincident_count - kPairsNamed);
  }
  if (w.swapped) texts << SwappedText(w);
  return texts;
}

}  // namespace

SolveSummary SummarizeSolve(const LiveSolve& solve) {
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
  summary.rotation = Text(FormatPattern(report.box_degrees, kDegreePattern)) + QStringLiteral("°");
  if (report.model == FitModel::kSimilarity) {
    summary.scale = Text(report.scale_text) +
                    QStringLiteral("（%1 ppm").arg(Text(FormatPattern(report.ppm, kPpmPattern)));
    if (report.scale_test) {
      summary.scale += QStringLiteral("，标准误差 %1 ppm")
                           .arg(Text(FormatPattern(report.scale_test->ppm_error, kPpmPattern)));
    }
    summary.scale += QStringLiteral("）");
  }
  summary.rms = QStringLiteral("中误差 %1 mm，2 倍中误差 %2 mm")
                    .arg(Mm(report.rms), Mm(kRmsLimitFactor * report.rms));
  for (std::size_t i :
       ResidualsAbove(report, kRmsLimitFactor * report.rms * kMillimetresPerMetre)) {
    summary.beyond << Text(fit[i].name);
  }
  if (report.most_standardized) {
    const std::size_t most = *report.most_standardized;
    const double largest = LargerOf(report.standardized[most]);
    summary.standardized =
        QStringLiteral("最大标准化残差 %1 %2")
            .arg(Text(fit[most].name), Text(FormatPattern(largest, kStandardizedPattern)));
    summary.blunder = largest > kBlunderLimit;
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

std::vector<RowResult> RowResults(const LiveSolve& solve, std::size_t row_count) {
  std::vector<RowResult> rows(row_count);
  if (!solve.report) return rows;
  const FitReport& report = *solve.report;
  const auto fill = [&](std::size_t row, const PointResidual& r) {
    rows[row].dx = Mm(r.dx);
    rows[row].dy = Mm(r.dy);
    rows[row].length = Mm(r.length);
  };
  const TablePoints& points = solve.points;
  for (std::size_t i = 0; i < points.fit_rows.size(); ++i) {
    RowResult& row = rows[points.fit_rows[i]];
    fill(points.fit_rows[i], report.residuals[i]);
    if (!report.standardized.empty()) {
      const StandardizedResidual& w = report.standardized[i];
      row.wx = w.wx ? Text(FormatPattern(*w.wx, kStandardizedPattern)) : QStringLiteral("-");
      row.wy = w.wy ? Text(FormatPattern(*w.wy, kStandardizedPattern)) : QStringLiteral("-");
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
