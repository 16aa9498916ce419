#include "report/calibration_heights.h"

#include <cmath>

#include "number/number_text.h"
#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/height_figures.h"
#include "report/height_solve_figures.h"
#include "site/point_role.h"

namespace torvane {
namespace {

std::string HeightText(double metres) {
  return (std::signbit(metres) && metres != 0 ? "-" : "") + PlainDecimal15(std::fabs(metres));
}

ReportHeightRow RowOf(const CommonPoint& p, PointRole role, double residual) {
  return {p.name,
          RoleText(role),
          HeightText(*p.survey_h),
          HeightText(*p.construction_h),
          MillimetreText(residual),
          "-",
          "-",
          "-",
          "-",
          false};
}

void Replace(std::vector<ReportFigure>& figures, const std::string& label,
             const std::string& value) {
  for (ReportFigure& figure : figures) {
    if (figure.label == label) figure.value = value;
  }
}

}  // namespace

void AddHeightSection(CalibrationDocument& document, const SiteHeights& heights) {
  const HeightSolution* s = AppliedHeights(heights);
  if (!s) return;
  document.heights = HeightParameterFigures(heights);
  for (ReportFigure& figure : HeightStatisticFigures(heights)) {
    document.heights.push_back(std::move(figure));
  }
  for (std::size_t i = 0; i < heights.fitted.size(); ++i) {
    ReportHeightRow row = RowOf(heights.fitted[i], PointRole::kFit, s->residuals[i]);
    row.w = StandardizedText(s->standardized[i]);
    if (s->blunder_test) {
      if (const std::optional<HeightLeftOut>& out = s->blunder_test->points[i]) {
        row.left_out = MillimetreText(out->misses);
        row.t = StandardizedText(out->t);
        row.f = LeftOutFText(out->f);
        row.blunder = out->blunder;
      }
    }
    document.height_rows.push_back(std::move(row));
  }
  for (std::size_t i = 0; i < heights.check.size(); ++i) {
    document.height_rows.push_back(
        RowOf(heights.check[i], PointRole::kCheck, s->check_misclosures[i]));
  }
  Replace(document.model, "高程处理",
          "按拟合的高程模型（" + HeightModelText(heights.model) +
              "）：施工 H = 测图 H − d(X, Y)，测图 H = 施工 H + d(X, Y)");
  Replace(document.model, "公共点高程",
          std::to_string(heights.fitted.size()) + " 个参与平差点的两套高程参与高程拟合");
}

}  // namespace torvane
