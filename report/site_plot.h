// What the site plot shows, as plain data: a site's common points on the
// survey grid with their roles and residuals, and the construction grid
// whose origin and axes are drawn among them. The workbench's view, the
// printed report and the HTML report draw the same plot from it.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "fit/common_point.h"
#include "fit/fit_report.h"
#include "params/conversion_params.h"
#include "site/point_role.h"

namespace torvane {

struct PlotPoint {
  std::string name;  // UTF-8
  PointRole role = PointRole::kFit;
  double x = 0, y = 0;           // survey grid, metres (X north, Y east)
  std::optional<double> dx, dy;  // residual, metres, survey grid; none when not solved
};

struct SitePlot {
  std::vector<PlotPoint> points;
  std::optional<RunParams> params;      // the construction grid's origin and axes
  std::optional<std::size_t> worst;     // index into points: the largest residual
  std::optional<std::size_t> selected;  // index into points: the row chosen in the table
};

// The plot of points not (yet) solved: the fitted, then the check, then the
// excluded points, without residuals, construction grid or worst point.
SitePlot MakeSitePlot(std::span<const CommonPoint> fitted, std::span<const CommonPoint> excluded,
                      std::span<const CommonPoint> check);

// The plot of a solve: the points as above, each with its residual from
// `report`, the construction grid of `report.params`, and the worst point
// the fit point WorstFitPoint names. Rejects (assert) point lists of
// other lengths than the report's residuals.
SitePlot MakeSitePlot(const FitReport& report, std::span<const CommonPoint> fitted,
                      std::span<const CommonPoint> excluded, std::span<const CommonPoint> check);

}  // namespace torvane
