#include "workbench/paste_doubt.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "fit/fit_report.h"
#include "fit/site_warnings.h"
#include "report/site_wording.h"
#include "site/site_points.h"

namespace torvane {
namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

std::optional<std::string> PasteDoubt(std::span<const ProjectPoint> rows) {
  const SitePoints points = ReadSitePoints(rows);
  std::vector<double> survey, construction;
  for (const auto* group : {&points.fit, &points.check, &points.off}) {
    for (const CommonPoint& p : *group) {
      survey.push_back(std::fabs(p.survey.x) + std::fabs(p.survey.y));
      construction.push_back(std::fabs(p.construction.x) + std::fabs(p.construction.y));
    }
  }
  if (survey.empty()) return std::nullopt;
  const double s = Median(survey), c = Median(construction);
  if (c > kNationalGridMagnitude && c > kExchangedRatio * s) {
    return "施工坐标列的数值像是测图坐标（比测图坐标列大得多）：测图与施工两组列可能放反了。";
  }
  auto report = ReportFit(points.fit, {}, {}, FitModel::kRigid);
  if (!report) return std::nullopt;
  SiteWarnings warnings = WarnSite(points.fit, FitModel::kRigid, report->rms);
  if (!warnings.swapped) return std::nullopt;
  SiteWarnings swapped;  // that warning alone
  swapped.swapped = warnings.swapped;
  swapped.swapped_rms = warnings.swapped_rms;
  return SiteWarningTexts(swapped, points.fit).front();
}

}  // namespace torvane
