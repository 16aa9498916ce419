#include "site/site_solve.h"

namespace torvane {

SiteSolve SolveSite(const SitePoints& points, FitModel model, HeightChoice heights) {
  SiteSolve solve;
  solve.model = model;
  solve.points = points;
  solve.heights = SolveHeights(solve.points, heights);
  if (solve.points.fit.size() < 2) return solve;
  auto report = ReportFit(solve.points.fit, solve.points.off, solve.points.check, model);
  if (!report) {
    solve.failure = report.error();
    return solve;
  }
  solve.report = std::move(*report);
  solve.warnings = WarnSite(solve.points.fit, model, solve.report->rms);
  return solve;
}

}  // namespace torvane
