// What the workbench shows of a solve: the parameters as the classic
// window's boxes would hold them, then the solve's figures as the
// calibration report words them, and the site's warnings; and each row's
// residual columns. Every number is the text `torvane-cli solve --points`
// prints for it.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "report/solve_figures.h"
#include "site/site_solve.h"
#include "workbench/point_table_model.h"

namespace torvane {

// "2 行不参与计算", for `rows` rows kept out of the solve.
QString RowsLeftOutText(std::size_t rows);

struct SolveSummary {
  QString parameters;  // "X0 Y0 ddd.mmss", and the scale for four parameters
  std::vector<ReportFigure> parameter_figures;  // ParameterFigures
  std::vector<ReportFigure> statistics;         // StatisticFigures
  QStringList warnings;                         // each a sentence
  QString failure;                              // why nothing could be solved; empty when solved
  // The cells that keep their rows out of the solve, by row then column
  // (solved or not), and how many rows they keep out.
  std::vector<CellProblem> left_out;
  std::size_t rows_left_out = 0;
  // The height fit's figures (HeightParameterFigures, HeightStatisticFigures),
  // empty where none is fitted; why a model chosen is not fitted; the fit
  // and check rows that take no part in it ("第 3、5 行缺少高程，不参与高程拟合").
  std::vector<ReportFigure> height_parameters, height_statistics;
  QString height_failure;
  QString rows_without_heights;
};

// The panel's texts for `solve`; with no report, failure says why (too few
// fit points, the fit's own refusal) and the rest but left_out is empty.
SolveSummary SummarizeSolve(const SiteSolve& solve);

// One result per table row of `row_count`: residuals in mm for every row
// that took part (fit, check or off), standardized residuals for fit rows
// where the fit has them, and from four fit points each fit row's miss
// when left out, tX, tY and F ("-" where it has none); the worst fit row
// marked.
std::vector<RowResult> RowResults(const SiteSolve& solve, std::size_t row_count);

}  // namespace torvane
