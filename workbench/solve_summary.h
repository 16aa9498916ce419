// What the workbench shows of a solve: the parameters as the classic
// window's boxes would hold them, the rotation, the scale, the RMS, the
// largest standardized residual, the F test's verdict, the check points
// and the warnings, in Chinese; and each row's residual columns. Every
// number is the text `torvane-cli solve --points` prints for it.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "site/site_solve.h"
#include "workbench/point_table_model.h"

namespace torvane {

struct SolveSummary {
  QString parameters;    // "X0 Y0 ddd.mmss", and the scale to nine decimals for four parameters
  QString rotation;      // θ in decimal degrees, "30.2555555556°"
  QString scale;         // "1.000012345（12.345 ppm，标准误差 1.234 ppm）"; empty for rigid
  QString rms;           // "中误差 3.456 mm，2 倍中误差 6.912 mm"
  QString rms_limit;     // "2 倍中误差"
  QStringList beyond;    // names of fit points beyond twice the RMS
  QString standardized;  // "最大标准化残差 B 3.41"; empty with fewer than four points
  bool blunder = false;  // that |w| is beyond kBlunderLimit
  QString blunder_verdict;  // BlunderVerdictText's; empty with standardized
  QString f_test;           // the verdict in words, with F and its quantile
  QString check;  // "检核点中误差 1.234 mm，最大 K7 2.345 mm"; empty without check points
  QStringList warnings;  // each a sentence
  QString failure;       // why nothing could be solved; empty when solved
};

// The panel's texts for `solve`; with no report, failure says why (too few
// fit points, the fit's own refusal) and the rest is empty.
SolveSummary SummarizeSolve(const SiteSolve& solve);

// One result per table row of `row_count`: residuals in mm for every row
// that took part (fit, check or off), standardized residuals for fit rows
// where the fit has them, the worst fit row marked.
std::vector<RowResult> RowResults(const SiteSolve& solve, std::size_t row_count);

}  // namespace torvane
