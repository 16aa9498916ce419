#include "report/site_plot.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace torvane {
namespace {

void Add(SitePlot& plot, std::span<const CommonPoint> points, PointRole role,
         const std::vector<PointResidual>* residuals) {
  for (std::size_t i = 0; i < points.size(); ++i) {
    PlotPoint point;
    point.name = points[i].name;
    point.role = role;
    point.x = points[i].survey.x;
    point.y = points[i].survey.y;
    if (residuals) {
      point.dx = (*residuals)[i].dx;
      point.dy = (*residuals)[i].dy;
    }
    plot.points.push_back(std::move(point));
  }
}

}  // namespace

SitePlot MakeSitePlot(std::span<const CommonPoint> fitted, std::span<const CommonPoint> excluded,
                      std::span<const CommonPoint> check) {
  SitePlot plot;
  Add(plot, fitted, PointRole::kFit, nullptr);
  Add(plot, check, PointRole::kCheck, nullptr);
  Add(plot, excluded, PointRole::kOff, nullptr);
  return plot;
}

SitePlot MakeSitePlot(const FitReport& report, std::span<const CommonPoint> fitted,
                      std::span<const CommonPoint> excluded, std::span<const CommonPoint> check) {
  assert(report.residuals.size() == fitted.size());
  assert(report.excluded_residuals.size() == excluded.size());
  assert(report.check_residuals.size() == check.size());
  SitePlot plot;
  Add(plot, fitted, PointRole::kFit, &report.residuals);
  Add(plot, check, PointRole::kCheck, &report.check_residuals);
  Add(plot, excluded, PointRole::kOff, &report.excluded_residuals);
  plot.params = report.params;
  if (!fitted.empty()) plot.worst = WorstFitPoint(report);
  return plot;
}

void ShowHeightResiduals(SitePlot& plot, std::span<const std::size_t> rows,
                         const SiteHeights& heights) {
  plot.by_height = true;
  plot.worst.reset();
  for (PlotPoint& point : plot.points) point.dx = point.dy = point.dh = std::nullopt;
  const HeightSolution* s = AppliedHeights(heights);
  if (!s || s->residuals.empty()) return;
  // The worst height fit point, an index into heights.fitted.
  const bool standardized = s->standardized[0].has_value();
  const auto size = [&](std::size_t i) {
    return standardized && s->standardized[i] ? std::fabs(*s->standardized[i])
                                              : std::fabs(s->residuals[i]);
  };
  std::size_t worst = 0;
  for (std::size_t i = 1; i < s->residuals.size(); ++i) {
    if (size(i) > size(worst)) worst = i;
  }
  // Each table row's height residual, and the row of the worst.
  std::size_t row_count = 0;
  for (std::size_t row : rows) row_count = std::max(row_count, row + 1);
  std::vector<std::optional<double>> by_row(row_count);
  for (std::size_t i = 0; i < heights.fitted_rows.size(); ++i) {
    if (heights.fitted_rows[i] < row_count) by_row[heights.fitted_rows[i]] = s->residuals[i];
  }
  for (std::size_t i = 0; i < heights.check_rows.size(); ++i) {
    if (heights.check_rows[i] < row_count) by_row[heights.check_rows[i]] = s->check_misclosures[i];
  }
  for (std::size_t p = 0; p < plot.points.size() && p < rows.size(); ++p) {
    plot.points[p].dh = by_row[rows[p]];
    if (rows[p] == heights.fitted_rows[worst]) plot.worst = p;
  }
}

}  // namespace torvane
