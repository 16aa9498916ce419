#include "report/height_section.h"

#include <cassert>

#include "fit/height_coverage.h"

namespace torvane {
namespace {

std::string ShortfallText(HeightShortfall shortfall, std::size_t count, HeightModel model) {
  const std::string points = std::to_string(count) + (count == 1 ? " fit point" : " fit points") +
                             " with a height in both grids";
  switch (shortfall) {
    case HeightShortfall::kTooFewPoints:
      return "it needs " + std::to_string(TermCount(model)) +
             " fit points with a height in both "
             "grids, and there " +
             (count == 1 ? "is " : "are ") + std::to_string(count);
    case HeightShortfall::kCollinear:
      return "the " + points + " lie on one line";
    case HeightShortfall::kPoorlySpread:
      return "the " + points + " do not fix its six terms (they lie on one conic)";
    case HeightShortfall::kOverflow:
      return "the coordinates or heights are too large to compute with";
  }
  return {};
}

}  // namespace

std::string HeightModelName(HeightModel model) {
  for (const NamedChoice<HeightModel>& choice : kHeightModelNames) {
    if (choice.value == model) return std::string(choice.name);
  }
  return {};
}

Expected<HeightSection> MakeHeightSection(std::span<const CommonPoint> fitted,
                                          std::span<const CommonPoint> check,
                                          std::optional<HeightModel> model) {
  HeightSection section;
  for (const CommonPoint& p : fitted) {
    if (p.survey_h && p.construction_h) {
      section.fitted.push_back(p);
    } else {
      ++section.fit_points_without_heights;
    }
  }
  section.check.assign(check.begin(), check.end());
  if (section.fitted.empty()) {
    return Fail("no fit point has a height in both grids: a height model needs at least one");
  }
  section.fits = FitHeights(section.fitted, section.check);
  section.automatic = !model;
  section.model = model ? *model : section.fits.recommended;
  assert(section.model != HeightModel::kNone);
  const auto* solution = SolutionOf(section.fits, section.model);
  if (!*solution) {
    return Fail("the height model " + HeightModelName(section.model) + " cannot be fitted: " +
                ShortfallText(solution->error(), section.fitted.size(), section.model));
  }
  std::vector<PlanePoint> places;
  for (const CommonPoint& p : section.fitted) places.push_back(p.survey);
  const HeightCoverage coverage(places);
  for (const CommonPoint& p : section.check) {
    section.check_outside.push_back(coverage.DistanceOutside(p.survey));
  }
  return section;
}

const HeightSolution& AppliedSolution(const HeightSection& section) {
  return **SolutionOf(section.fits, section.model);
}

}  // namespace torvane
