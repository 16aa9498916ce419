#include "site/site_heights.h"

#include <algorithm>

#include "fit/height_coverage.h"

namespace torvane {
namespace {

bool HasBothHeights(const CommonPoint& p) { return p.survey_h && p.construction_h; }

// Why `model` is not fitted from `count` points.
std::string ShortfallText(HeightShortfall shortfall, std::size_t count, HeightModel model) {
  const std::string points = std::to_string(count) + " 个两套高程都有的参与平差点";
  switch (shortfall) {
    case HeightShortfall::kTooFewPoints:
      return "需要至少 " + std::to_string(TermCount(model)) + " 个两套高程都有的参与平差点，现有 " +
             std::to_string(count) + " 个";
    case HeightShortfall::kCollinear:
      return "这 " + points + "位于一条直线上";
    case HeightShortfall::kPoorlySpread:
      return "这 " + points + "定不出曲面的六个系数（位于同一条二次曲线上）";
    case HeightShortfall::kOverflow:
      return "坐标或高程太大，无法计算";
  }
  return {};
}

}  // namespace

HeightModel ChosenModel(HeightChoice choice) {
  switch (choice) {
    case HeightChoice::kOffset:
      return HeightModel::kOffset;
    case HeightChoice::kPlane:
      return HeightModel::kPlane;
    case HeightChoice::kQuadric:
      return HeightModel::kQuadric;
    case HeightChoice::kNone:
    case HeightChoice::kAuto:
      break;
  }
  return HeightModel::kNone;
}

SiteHeights SolveHeights(const SitePoints& points, HeightChoice choice) {
  SiteHeights heights;
  heights.choice = choice;
  if (choice == HeightChoice::kNone) return heights;
  for (std::size_t i = 0; i < points.fit.size(); ++i) {
    if (HasBothHeights(points.fit[i])) {
      heights.fitted.push_back(points.fit[i]);
      heights.fitted_rows.push_back(points.fit_rows[i]);
    } else {
      heights.rows_without.push_back(points.fit_rows[i]);
    }
  }
  for (std::size_t i = 0; i < points.check.size(); ++i) {
    if (HasBothHeights(points.check[i])) {
      heights.check.push_back(points.check[i]);
      heights.check_rows.push_back(points.check_rows[i]);
    } else {
      heights.rows_without.push_back(points.check_rows[i]);
    }
  }
  std::sort(heights.rows_without.begin(), heights.rows_without.end());
  if (heights.fitted.empty()) {
    heights.failure = "没有两套高程都有的参与平差点，无法拟合高程";
    return heights;
  }
  heights.fits = FitHeights(heights.fitted, heights.check);
  const HeightModel model =
      choice == HeightChoice::kAuto ? heights.fits.recommended : ChosenModel(choice);
  const auto* solution = SolutionOf(heights.fits, model);
  if (!*solution) {
    heights.failure = ShortfallText(solution->error(), heights.fitted.size(), model);
    return heights;
  }
  heights.model = model;
  std::vector<PlanePoint> places;
  places.reserve(heights.fitted.size());
  for (const CommonPoint& p : heights.fitted) places.push_back(p.survey);
  const HeightCoverage coverage(places);
  for (const CommonPoint& p : heights.check) {
    heights.check_outside.push_back(coverage.DistanceOutside(p.survey));
  }
  return heights;
}

const HeightSolution* AppliedHeights(const SiteHeights& heights) {
  if (heights.model == HeightModel::kNone) return nullptr;
  return &**SolutionOf(heights.fits, heights.model);
}

}  // namespace torvane
