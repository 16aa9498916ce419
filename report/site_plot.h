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
#include "site/site_heights.h"

namespace torvane {

struct PlotPoint {
  std::string name;  // UTF-8
  PointRole role = PointRole::kFit;
  double x = 0, y = 0;           // survey grid, metres (X north, Y east)
  std::optional<double> dx, dy;  // residual, metres, survey grid; none when not solved
  // Shown by height (SitePlot::by_height): the height residual or check
  // misclosure, metres; none for a point not in the height fit.
  std::optional<double> dh{};
};

struct SitePlot {
  std::vector<PlotPoint> points;
  std::optional<RunParams> params;      // the construction grid's origin and axes
  std::optional<std::size_t> worst;     // index into points: the largest residual
  std::optional<std::size_t> selected;  // index into points: the row chosen in the table
  // The points coloured by their height residual (dh), red above the
  // model, blue below, the deeper the larger, in place of the plane's
  // residual arrows; worst is then the height fit's.
  bool by_height = false;
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

// `plot` shown by height: each point whose table row (`rows`, one per
// plot point) is in the height fit of `heights` gets its residual, each
// height check point its misclosure, the plane's residuals are taken out,
// and the worst point is the height fit point with the largest
// standardized residual where the fit has them, otherwise the largest
// residual (as WorstFitPoint picks the plane's); none without a model
// fitted.
void ShowHeightResiduals(SitePlot& plot, std::span<const std::size_t> rows,
                         const SiteHeights& heights);

}  // namespace torvane
