// A site's solve: its points by role, the fit the command line's `solve
// --points` makes of them, and the warnings the site calls for. The
// workbench makes it again on every change of its table.
#pragma once

#include <optional>
#include <string>

#include "fit/fit_report.h"
#include "fit/site_warnings.h"
#include "site/site_heights.h"
#include "site/site_points.h"

namespace torvane {

struct SiteSolve {
  FitModel model = FitModel::kRigid;
  SitePoints points;                // the rows read, by role, and their bad cells
  std::optional<FitReport> report;  // none: too few fit points, or the fit failed
  std::string failure;              // why there is no report, when fit points are there
  SiteWarnings warnings;            // with a report only
  SiteHeights heights;              // the height model chosen, fitted whether or not the plane is
};

// Fits the table's fit points as `torvane-cli solve --points` fits the
// same points with the off ones excluded (--exclude) and the check ones as
// check points (--check-points): the same report, number for number. Rows
// with a bad cell take no part (ReadSitePoints). Fewer than two good fit
// points give no report and no failure. The heights are `heights` fitted
// as SolveHeights fits them, as `--height-model` fits the same points.
SiteSolve SolveSite(const SitePoints& points, FitModel model,
                    HeightChoice heights = HeightChoice::kNone);

}  // namespace torvane
