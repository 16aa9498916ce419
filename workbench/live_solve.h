// The workbench's solve, made again on every change of the table: the
// points read from its cells, the fit the command line's `solve --points`
// makes of them, and the warnings the site calls for.
#pragma once

#include <optional>
#include <string>

#include "batch/project_file.h"
#include "fit/fit_report.h"
#include "fit/site_warnings.h"
#include "workbench/point_cells.h"

namespace torvane {

struct LiveSolve {
  FitModel model = FitModel::kRigid;
  TablePoints points;               // the rows read, by role, and their bad cells
  std::optional<FitReport> report;  // none: too few fit points, or the fit failed
  std::string failure;              // why there is no report, when fit points are there
  SiteWarnings warnings;            // with a report only
};

// Fits the table's fit points as `torvane-cli solve --points` fits the
// same points with the off ones excluded (--exclude) and the check ones as
// check points (--check-points): the same report, number for number. Rows
// with a bad cell take no part (ReadTablePoints). Fewer than two good fit
// points give no report and no failure.
LiveSolve SolveTable(const TablePoints& points, FitModel model);

}  // namespace torvane
