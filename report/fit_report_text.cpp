#include "report/fit_report_text.h"

#include <cassert>
#include <optional>
#include <string_view>
#include <vector>

#include "fit/report_patterns.h"
#include "number/pattern.h"
#include "params/millimetre_text.h"
#include "report/fit_figures.h"
#include "report/text_table.h"

namespace torvane {
namespace {

std::vector<std::string> ResidualRow(const std::string& name, const PointResidual& r) {
  return {name, MillimetreText(r.dx), MillimetreText(r.dy), MillimetreText(r.length)};
}

// "Largest standardized residual B 3.41, beyond 3: ...", or within.
std::string BlunderLine(const FitReport& report, std::span<const CommonPoint> fitted) {
  const std::size_t most = *report.most_standardized;
  const double largest = LargerOf(report.standardized[most]);
  return "Largest standardized residual " + fitted[most].name + ' ' + StandardizedText(largest) +
         (largest > kBlunderLimit ? ", beyond 3: check that point for a blunder\n"
                                  : ", within 3\n");
}

// Each fit point left out in turn, and the blunders named; or why no
// blunder can be found.
std::string LeftOutText(const FitReport& report, std::span<const CommonPoint> fitted) {
  if (!report.blunder_test) {
    return "\nNo blunder can be found with fewer than " + std::to_string(kBlunderTestFrom) +
           " fit points: a point left out leaves too few to check it\n";
  }
  const BlunderTest& test = *report.blunder_test;
  std::string text =
      "\nEach fit point left out, the others fitted without it: what it misses by, mm, its "
      "externally studentized residuals (tX, tY) and F:\n";
  std::vector<std::vector<std::string>> rows = {{"point", "dX", "dY", "length", "tX", "tY", "F"}};
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    const std::optional<LeftOutPoint>& out = test.points[i];
    if (!out) {
      rows.push_back({fitted[i].name, "-", "-", "-", "-", "-", "-", "cannot be checked"});
      continue;
    }
    rows.push_back(ResidualRow(fitted[i].name, out->misses));
    rows.back().insert(rows.back().end(), {StandardizedText(out->tx), StandardizedText(out->ty),
                                           LeftOutFText(out->f)});
    if (out->blunder) rows.back().push_back("blunder");
  }
  text += FormatTable(rows, 1);
  text +=
      "Blunder test at " + BlunderTestLevelText() + " % for the " + std::to_string(fitted.size()) +
      " points together (Bonferroni): " + BlunderTestName(test) + ' ' + BlunderCriticalText(test);
  if (test.blunders.empty()) return text + ", no blunder\n";
  text += test.blunders.size() == 1 ? ", blunder:" : ", blunders:";
  for (std::size_t i : test.blunders) text += ' ' + fitted[i].name;
  return text + "\n";
}

std::string ScaleTestText(const ScaleTest& test) {
  return "\nAgainst the rigid fit, scale 1, on the same points: RMS " +
         MillimetreText(test.rigid_rms) + " mm rigid\nF = " + FText(test) + ", F(1, " +
         std::to_string(test.freedom) + ") at " + ScaleTestLevelText() +
         " %: " + QuantileText(test) +
         (test.significant ? ": the scale is significant\n"
                           : ": the scale is not significant, the rigid fit will do\n");
}

// The parameters' line, the fit's heading, the rotation, the scale and the inverse.
std::string ParametersText(const FitReport& report, std::span<const CommonPoint> fitted,
                           std::span<const CommonPoint> excluded,
                           std::span<const CommonPoint> check) {
  const bool similarity = report.model == FitModel::kSimilarity;
  std::string text = report.texts.x_offset + ' ' + report.texts.y_offset + ' ' + report.texts.angle;
  if (similarity) text += ' ' + report.scale_text;
  text += similarity ? "\n\nSimilarity fit, four parameters, of " : "\n\nRigid fit, scale 1, of ";
  text += std::to_string(fitted.size()) + " common points";
  if (!excluded.empty()) {
    text += " (excluded:";
    for (const CommonPoint& p : excluded) text += ' ' + p.name;
    text += ')';
  }
  if (!check.empty()) {
    text += " (check points:";
    for (const CommonPoint& p : check) text += ' ' + p.name;
    text += ')';
  }
  text += "\nRotation: " + RotationDmsText(report) + " = " + DegreesText(report.box_degrees) +
          "° (turned with pi = " + TurnPiText() + ": " + DegreesText(report.degrees) + "°)\n";
  if (similarity) {
    text += "Scale: " + report.scale_text + " = " + PpmText(report.ppm) + " ppm";
    if (report.scale_test)
      text += ", standard error " + PpmText(report.scale_test->ppm_error) + " ppm";
    text += '\n';
  }
  text += "Inverse: " + report.inverse.x_offset + ' ' + report.inverse.y_offset + ' ' +
          report.inverse.angle;
  text += similarity ? ' ' + report.inverse_scale_text +
                           " (the survey grid's origin in construction coordinates, minus the "
                           "rotation, one over the scale)\n"
                     : std::string(
                           " (the survey grid's origin in construction coordinates, minus the "
                           "rotation)\n");
  return text;
}

// The residual table, the RMS and the largest, the blunder line and the F test.
std::string ResidualsText(const FitReport& report, std::span<const CommonPoint> fitted,
                          std::span<const CommonPoint> excluded,
                          std::span<const CommonPoint> check) {
  // From four points on, where the fit has redundancy enough, every point's
  // standardized residual, and the largest named: the point to look at first.
  const bool columns = !report.standardized.empty();
  std::string text = "\nResiduals in the survey grid, mm (given minus converted from construction)";
  text += columns ? ", and standardized (wX, wY):\n" : ":\n";
  std::vector<std::vector<std::string>> rows = {{"point", "dX", "dY", "length"}};
  if (columns) {
    rows.front().push_back("wX");
    rows.front().push_back("wY");
  }
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    rows.push_back(ResidualRow(fitted[i].name, report.residuals[i]));
    if (columns) {
      rows.back().push_back(StandardizedText(report.standardized[i].wx));
      rows.back().push_back(StandardizedText(report.standardized[i].wy));
    }
  }
  // Neither a check point nor an excluded one has a standardized residual:
  // neither is in the fit.
  for (std::size_t i = 0; i < check.size(); ++i) {
    rows.push_back(ResidualRow(check[i].name, report.check_residuals[i]));
    if (columns) rows.back().insert(rows.back().end(), {"-", "-"});
    rows.back().push_back("check");
  }
  for (std::size_t i = 0; i < excluded.size(); ++i) {
    rows.push_back(ResidualRow(excluded[i].name, report.excluded_residuals[i]));
    if (columns) rows.back().insert(rows.back().end(), {"-", "-"});
    rows.back().push_back("excluded");
  }
  text += FormatTable(rows, 1);
  text += "RMS " + MillimetreText(report.rms) + " mm, largest " + fitted[report.largest].name +
          ' ' + MillimetreText(report.residuals[report.largest].length) + " mm\n";
  if (!check.empty()) {
    text += "Check points: RMS " + MillimetreText(report.check_rms) + " mm, largest " +
            check[report.check_largest].name + ' ' +
            MillimetreText(report.check_residuals[report.check_largest].length) + " mm\n";
  }
  if (report.most_standardized) text += BlunderLine(report, fitted);
  text += LeftOutText(report, fitted);
  if (report.scale_test) text += ScaleTestText(*report.scale_test);
  return text;
}

// The distance check of report.pairs.
std::string PairsText(const FitReport& report, std::span<const CommonPoint> fitted) {
  std::string text = "\nDistances, m, and their difference construction minus survey, mm";
  if (report.pairs.size() < report.pair_count) {
    text += ", of the " + std::to_string(report.pairs.size()) + " pairs of " +
            std::to_string(report.pair_count) + " whose distances disagree most";
  }
  text += ":\n";
  std::vector<std::vector<std::string>> rows = {
      {"from", "to", "survey", "construction", "difference", "scale"}};
  for (const PairCheck& pair : report.pairs) {
    rows.push_back(
        {fitted[pair.from].name, fitted[pair.to].name, FormatPattern(pair.survey, kDistancePattern),
         FormatPattern(pair.construction, kDistancePattern), MillimetreText(pair.difference),
         pair.scale ? FormatPattern(*pair.scale, kScalePattern) : "-"});
  }
  text += FormatTable(rows, 2);
  text += "(scale: construction / survey distance, for information only)\n";
  return text;
}

}  // namespace

std::string FitReportText(const FitReport& report, std::span<const CommonPoint> fitted,
                          std::span<const CommonPoint> excluded,
                          std::span<const CommonPoint> check) {
  assert(check.size() == report.check_residuals.size());
  return ParametersText(report, fitted, excluded, check) +
         ResidualsText(report, fitted, excluded, check) + PairsText(report, fitted);
}

}  // namespace torvane
