#include "report/height_figures.h"

#include "fit/report_patterns.h"
#include "number/pattern.h"

namespace torvane {
namespace {

constexpr std::string_view kTermPattern = "0.000";         // mm per 100 m, mm per km²
constexpr std::string_view kConstantPattern = "0.000000";  // metres
constexpr std::string_view kLeveragePattern = "0.000";
constexpr double kMillimetresPerMetre = 1000;

std::string LevelText() { return FormatPattern((1 - kHeightTestLevel) * 100, "0"); }

}  // namespace

std::string HeightCentroidText(double metres) { return FormatPattern(metres, kDistancePattern); }

std::string LeverageText(double h) { return FormatPattern(h, kLeveragePattern); }

std::vector<HeightTerm> HeightTerms(const HeightSurface& surface) {
  const auto& a = surface.terms;
  std::vector<HeightTerm> terms = {{"a0", "a0", FormatPattern(a[0], kConstantPattern), "m"}};
  if (surface.model == HeightModel::kPlane || surface.model == HeightModel::kQuadric) {
    terms.push_back({"slope_x", "slope X", FormatPattern(MillimetresPer100m(a[1]), kTermPattern),
                     "mm per 100 m"});
    terms.push_back({"slope_y", "slope Y", FormatPattern(MillimetresPer100m(a[2]), kTermPattern),
                     "mm per 100 m"});
  }
  if (surface.model == HeightModel::kQuadric) {
    const char* names[] = {"a3", "a4", "a5"};
    for (int i = 0; i < 3; ++i) {
      terms.push_back({names[i], names[i],
                       FormatPattern(a[3 + i] * kMillimetresPerMetre, kTermPattern), "mm per km²"});
    }
  }
  return terms;
}

std::string HeightChoiceReason(const HeightFits& fits) {
  const auto significant = [](const std::optional<HeightFTest>& test) {
    return test && test->significant;
  };
  switch (fits.recommended) {
    case HeightModel::kQuadric:
      return "the curvature is significant against the plane, and " + std::to_string(fits.count) +
             " points are more than 1.5 times the quadric's 6 terms";
    case HeightModel::kPlane:
      return std::string(significant(fits.quadric_against_plane)
                             ? "the curvature is significant, but a quadric needs 10 points; "
                             : "") +
             "the slopes are significant against the offset, and " + std::to_string(fits.count) +
             " points are more than 1.5 times the plane's 3 terms";
    case HeightModel::kOffset:
      if (significant(fits.plane_against_offset) || significant(fits.quadric_against_plane)) {
        return "the simplest model: the slopes or curvature are significant, but " +
               std::to_string(fits.count) + " points are too few for that model";
      }
      if (!fits.plane_against_offset) {
        return "the simplest model: too few points to test slopes";
      }
      return "the simplest model: neither slopes nor curvature are significant";
    case HeightModel::kNone:
      break;
  }
  return "no fit point with heights";
}

std::string HeightFTestLine(const std::string& label, const std::optional<HeightFTest>& test,
                            const std::string& what) {
  if (!test) return label + ": not tested, too few points\n";
  return label + ": F = " + FormatPattern(test->f, kFPattern) + ", F(" +
         std::to_string(test->added) + ", " + std::to_string(test->freedom) + ") at " +
         LevelText() + " %: " + FormatPattern(test->quantile, kQuantilePattern) + ": " + what +
         (test->significant ? " significant\n" : " not significant\n");
}

}  // namespace torvane
