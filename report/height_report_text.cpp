#include "report/height_report_text.h"

#include <cmath>
#include <vector>

#include "fit/blunder_test.h"
#include "fit/height_coverage.h"
#include "fit/report_patterns.h"
#include "number/pattern.h"
#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/height_figures.h"
#include "report/text_table.h"

namespace torvane {
namespace {

// The model applied, and why that one.
std::string ModelText(const HeightSection& section) {
  const HeightSolution& s = AppliedSolution(section);
  std::string text = "\nHeights: " + HeightModelName(section.model) + " fit of " +
                     std::to_string(section.fitted.size()) +
                     " common points with a height in both grids";
  if (section.fit_points_without_heights > 0) {
    text += " (" + std::to_string(section.fit_points_without_heights) + " without)";
  }
  if (!section.check.empty()) {
    text += " (check points:";
    for (const CommonPoint& p : section.check) text += ' ' + p.name;
    text += ')';
  }
  text += "\nd = Hs - Hc, construction height = survey height - d(X, Y)\n";
  text += section.automatic ? "Chosen by auto: " + HeightChoiceReason(section.fits) + "\n"
                            : "Chosen by --height-model\n";
  text += "Terms about the centroid X " + HeightCentroidText(s.surface.centroid.x) + ", Y " +
          HeightCentroidText(s.surface.centroid.y) + " m:";
  for (const HeightTerm& term : HeightTerms(s.surface)) {
    text += ' ' + term.label + ' ' + term.value + ' ' + term.unit + ',';
  }
  text.back() = '\n';
  return text;
}

// The residual table with its statistics, the RMS and the blunder test.
std::string ResidualsText(const HeightSection& section) {
  const HeightSolution& s = AppliedSolution(section);
  const bool left_out = s.blunder_test.has_value();
  std::string text = "\nHeight residuals, mm (Hs given minus Hc + d), leverage h, standardized w";
  text += left_out ? "; each point left out: what it misses by, mm, t and F:\n" : ":\n";
  std::vector<std::vector<std::string>> rows = {{"point", "dH", "h", "w"}};
  if (left_out) rows.front().insert(rows.front().end(), {"left out", "t", "F"});
  for (std::size_t i = 0; i < section.fitted.size(); ++i) {
    rows.push_back({section.fitted[i].name, MillimetreText(s.residuals[i]),
                    LeverageText(s.leverage[i]), StandardizedText(s.standardized[i])});
    if (!left_out) continue;
    const std::optional<HeightLeftOut>& out = s.blunder_test->points[i];
    if (!out) {
      rows.back().insert(rows.back().end(), {"-", "-", "-", "cannot be checked"});
      continue;
    }
    rows.back().insert(rows.back().end(), {MillimetreText(out->misses), StandardizedText(out->t),
                                           LeftOutFText(out->f)});
    if (out->blunder) rows.back().push_back("blunder");
  }
  for (std::size_t i = 0; i < section.check.size(); ++i) {
    rows.push_back({section.check[i].name, MillimetreText(s.check_misclosures[i]), "-", "-"});
    if (left_out) rows.back().insert(rows.back().end(), {"-", "-", "-"});
    rows.back().push_back("check");
  }
  text += FormatTable(rows, 1);
  std::size_t largest = 0;
  for (std::size_t i = 1; i < s.residuals.size(); ++i) {
    if (std::fabs(s.residuals[i]) > std::fabs(s.residuals[largest])) largest = i;
  }
  text += "RMS " + MillimetreText(s.rms) + " mm (over " + std::to_string(s.redundancy) +
          " redundant), largest " + section.fitted[largest].name + ' ' +
          MillimetreText(s.residuals[largest]) + " mm\n";
  if (!section.check.empty()) {
    std::size_t worst = 0;
    for (std::size_t i = 1; i < s.check_misclosures.size(); ++i) {
      if (std::fabs(s.check_misclosures[i]) > std::fabs(s.check_misclosures[worst])) worst = i;
    }
    text += "Check points: RMS " + MillimetreText(s.check_rms) + " mm, largest " +
            section.check[worst].name + ' ' + MillimetreText(s.check_misclosures[worst]) + " mm\n";
  }
  if (!left_out) {
    return text + "No blunder can be found with fewer than " +
           std::to_string(TermCount(section.model) + 2) +
           " height fit points: a point left out leaves too few to check it\n";
  }
  const HeightBlunderTest& test = *s.blunder_test;
  text += "Blunder test at " + BlunderTestLevelText() + " % for the " +
          std::to_string(section.fitted.size()) + " points together (Bonferroni): F(1, " +
          std::to_string(test.freedom) + ") " + FormatPattern(test.critical, kQuantilePattern);
  if (test.blunders.empty()) return text + ", no blunder\n";
  text += test.blunders.size() == 1 ? ", blunder:" : ", blunders:";
  for (std::size_t i : test.blunders) text += ' ' + section.fitted[i].name;
  return text + "\n";
}

// The F tests, the points GB 50026 asks for, and the coverage.
std::string TestsText(const HeightSection& section) {
  const HeightFits& fits = section.fits;
  std::string text = "\n";
  text += HeightFTestLine("Plane against offset", fits.plane_against_offset, "the slopes are");
  text += HeightFTestLine("Quadric against plane", fits.quadric_against_plane, "the curvature is");
  text +=
      "GB 50026 asks for more than 1.5 times a model's terms in common points: offset 2, "
      "plane 5, quadric 10; " +
      std::to_string(fits.count) + " here\n";
  std::string outside;
  for (std::size_t i = 0; i < section.check.size(); ++i) {
    if (section.check_outside[i] > kCoverageMargin) {
      outside += ' ' + section.check[i].name + ' ' +
                 FormatPattern(section.check_outside[i], kDistancePattern) + " m";
    }
  }
  if (!outside.empty()) {
    text += "Check points outside the fit points' coverage (more than " +
            FormatPattern(kCoverageMargin, "0.0") + " m beyond their hull):" + outside + "\n";
  }
  return text;
}

}  // namespace

std::string HeightReportText(const HeightSection& section) {
  return ModelText(section) + ResidualsText(section) + TestsText(section);
}

}  // namespace torvane
