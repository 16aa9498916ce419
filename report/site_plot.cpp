#include "report/site_plot.h"

#include <cassert>
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

}  // namespace torvane
