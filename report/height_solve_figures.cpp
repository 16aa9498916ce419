#include "report/height_solve_figures.h"

#include <cmath>

#include "fit/height_coverage.h"
#include "fit/report_patterns.h"
#include "number/pattern.h"
#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/height_figures.h"

namespace torvane {
namespace {

std::string LevelText() { return FormatPattern((1 - kHeightTestLevel) * 100, "0"); }

// The label and unit the workbench gives a term HeightTerms names.
ReportFigure TermFigure(const HeightTerm& term) {
  if (term.name == "a0") return {"常数 a0", term.value, std::string(kMetres)};
  if (term.name == "slope_x") return {"X 向坡度", term.value, "mm/100 m"};
  if (term.name == "slope_y") return {"Y 向坡度", term.value, "mm/100 m"};
  return {term.label, term.value, "mm/km²"};
}

// One F test's figure: "F = 12.30，F(2, 9) 的 95 % 分位数 4.256：坡度显著".
ReportFigure FTestFigure(const std::string& label, const std::optional<HeightFTest>& test,
                         const std::string& what) {
  if (!test) return {label, "点数太少，未检验", ""};
  return {label,
          "F = " + FormatPattern(test->f, kFPattern) + "，F(" + std::to_string(test->added) + ", " +
              std::to_string(test->freedom) + ") 的 " + LevelText() + " % 分位数 " +
              FormatPattern(test->quantile, kQuantilePattern) + "：" + what +
              (test->significant ? "显著" : "不显著"),
          ""};
}

std::size_t Largest(const std::vector<double>& values) {
  std::size_t largest = 0;
  for (std::size_t i = 1; i < values.size(); ++i) {
    if (std::fabs(values[i]) > std::fabs(values[largest])) largest = i;
  }
  return largest;
}

}  // namespace

std::string HeightModelText(HeightModel model) {
  switch (model) {
    case HeightModel::kNone:
      return "不拟合";
    case HeightModel::kOffset:
      return "常数改正";
    case HeightModel::kPlane:
      return "平面拟合";
    case HeightModel::kQuadric:
      return "曲面拟合";
  }
  return {};
}

std::string HeightChoiceReasonText(const HeightFits& fits) {
  const auto significant = [](const std::optional<HeightFTest>& test) {
    return test && test->significant;
  };
  const std::string n = std::to_string(fits.count);
  switch (fits.recommended) {
    case HeightModel::kQuadric:
      return "曲率相对平面显著，且 " + n + " 个点多于曲面 6 个参数的 1.5 倍";
    case HeightModel::kPlane:
      return std::string(significant(fits.quadric_against_plane) ? "曲率显著，但曲面需要 10 个点；"
                                                                 : "") +
             "坡度相对常数改正显著，且 " + n + " 个点多于平面 3 个参数的 1.5 倍";
    case HeightModel::kOffset:
      if (significant(fits.plane_against_offset) || significant(fits.quadric_against_plane)) {
        return "最简单的模型：坡度或曲率显著，但 " + n + " 个点不足以拟合该模型";
      }
      if (!fits.plane_against_offset) return "最简单的模型：点数太少，无法检验坡度";
      return "最简单的模型：坡度和曲率都不显著";
    case HeightModel::kNone:
      break;
  }
  return "没有两套高程都有的参与平差点";
}

std::string HeightFailureText(const SiteHeights& heights) {
  if (heights.failure.empty()) return {};
  const HeightModel model = heights.choice == HeightChoice::kAuto ? heights.fits.recommended
                                                                  : ChosenModel(heights.choice);
  if (model == HeightModel::kNone) return heights.failure;
  return "高程模型“" + HeightModelText(model) + "”无法拟合：" + heights.failure;
}

std::vector<ReportFigure> HeightParameterFigures(const SiteHeights& heights) {
  const HeightSolution* s = AppliedHeights(heights);
  if (!s) return {};
  const bool automatic = heights.choice == HeightChoice::kAuto;
  std::vector<ReportFigure> figures = {
      {"高程模型", (automatic ? "自动：" : "") + HeightModelText(heights.model), ""},
      {"选择依据", automatic ? HeightChoiceReasonText(heights.fits) : "手工选择", ""},
      {"高程拟合点数", std::to_string(heights.fitted.size()), ""},
      {"重心 X̄", HeightCentroidText(s->surface.centroid.x), std::string(kMetres)},
      {"重心 Ȳ", HeightCentroidText(s->surface.centroid.y), std::string(kMetres)}};
  for (const HeightTerm& term : HeightTerms(s->surface)) figures.push_back(TermFigure(term));
  return figures;
}

std::vector<ReportFigure> HeightStatisticFigures(const SiteHeights& heights) {
  const HeightSolution* s = AppliedHeights(heights);
  if (!s) return {};
  const std::string mm(kMillimetres);
  const std::size_t largest = Largest(s->residuals);
  std::vector<ReportFigure> figures = {{"高程中误差", MillimetreText(s->rms), mm},
                                       {"高程最大残差（" + heights.fitted[largest].name + "）",
                                        MillimetreText(s->residuals[largest]), mm}};
  if (s->blunder_test) {
    const HeightBlunderTest& test = *s->blunder_test;
    figures.push_back({"高程剔除检验 F(1, " + std::to_string(test.freedom) + ") 临界值（" +
                           BlunderTestLevelText() + " %，" + std::to_string(heights.fitted.size()) +
                           " 点 Bonferroni 校正）",
                       FormatPattern(test.critical, kQuantilePattern), ""});
    std::string named;
    for (std::size_t i : test.blunders)
      named += (named.empty() ? "" : "、") + heights.fitted[i].name;
    figures.push_back(
        {"高程剔除检验结论", named.empty() ? "无粗差" : "粗差：" + named, "", !named.empty()});
  } else {
    figures.push_back({"高程剔除检验",
                       "少于 " + std::to_string(TermCount(heights.model) + 2) +
                           " 个高程拟合点，剔除一点后无法检核，不能判断粗差",
                       ""});
  }
  figures.push_back(
      FTestFigure("平面对常数改正 F 检验", heights.fits.plane_against_offset, "坡度"));
  figures.push_back(FTestFigure("曲面对平面 F 检验", heights.fits.quadric_against_plane, "曲率"));
  figures.push_back({"GB 50026 所需点数",
                     "多于参数个数的 1.5 倍：常数改正 2、平面 5、曲面 10；现有 " +
                         std::to_string(heights.fitted.size()),
                     "", !s->enough_points});
  if (!heights.check.empty()) {
    const std::size_t worst = Largest(s->check_misclosures);
    figures.push_back({"高程检核点中误差", MillimetreText(s->check_rms), mm});
    figures.push_back({"高程检核点最大不符（" + heights.check[worst].name + "）",
                       MillimetreText(s->check_misclosures[worst]), mm});
    std::string outside;
    for (std::size_t i = 0; i < heights.check.size(); ++i) {
      if (heights.check_outside[i] > kCoverageMargin) {
        outside += (outside.empty() ? "" : "、") + heights.check[i].name + " " +
                   FormatPattern(heights.check_outside[i], kDistancePattern) + " m";
      }
    }
    if (!outside.empty()) {
      figures.push_back({"超出拟合点范围的检核点", outside, "", true});
    }
  }
  return figures;
}

}  // namespace torvane
