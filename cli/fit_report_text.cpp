#include "cli/fit_report_text.h"

#include <string_view>
#include <vector>

#include "cli/text_table.h"
#include "params/constants.h"
#include "params/dms.h"
#include "params/number_text.h"
#include "params/pattern.h"

namespace torvane::cli {
namespace {

constexpr std::string_view kDegreePattern = "0.0000000000";
constexpr std::string_view kDistancePattern = "0.0000";  // metres
constexpr std::string_view kScalePattern = "0.000000000";

std::vector<std::string> ResidualRow(const std::string& name, const PointResidual& r) {
  return {name, MillimetreText(r.dx), MillimetreText(r.dy), MillimetreText(r.length)};
}

}  // namespace

std::string FitReportText(const FitReport& report, std::span<const CommonPoint> fitted,
                          std::span<const CommonPoint> excluded) {
  std::string text = report.texts.x_offset + ' ' + report.texts.y_offset + ' ' + report.texts.angle;
  text += "\n\nRigid fit, scale 1, of " + std::to_string(fitted.size()) + " common points";
  if (!excluded.empty()) {
    text += " (excluded:";
    for (const CommonPoint& p : excluded) text += ' ' + p.name;
    text += ')';
  }
  text += "\nRotation: " + FormatDmsSymbols(report.box_degrees) + " = " +
          FormatPattern(report.box_degrees, kDegreePattern) +
          "° (turned with pi = " + PlainDecimal15(kPiPrime) + ": " +
          FormatPattern(report.degrees, kDegreePattern) +
          "°)\nInverse: " + report.inverse.x_offset + ' ' + report.inverse.y_offset + ' ' +
          report.inverse.angle +
          " (the survey grid's origin in construction coordinates, minus the rotation)\n";

  text += "\nResiduals in the survey grid, mm (given minus converted from construction):\n";
  std::vector<std::vector<std::string>> rows = {{"point", "dX", "dY", "length"}};
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    rows.push_back(ResidualRow(fitted[i].name, report.residuals[i]));
  }
  for (std::size_t i = 0; i < excluded.size(); ++i) {
    rows.push_back(ResidualRow(excluded[i].name, report.excluded_residuals[i]));
    rows.back().push_back("excluded");
  }
  text += FormatTable(rows, 1);
  text += "RMS " + MillimetreText(report.rms) + " mm, largest " + fitted[report.largest].name +
          ' ' + MillimetreText(report.residuals[report.largest].length) + " mm\n";

  text += "\nDistances, m, and their difference construction minus survey, mm";
  if (report.pairs.size() < report.pair_count) {
    text += ", of the " + std::to_string(report.pairs.size()) + " pairs of " +
            std::to_string(report.pair_count) + " whose distances disagree most";
  }
  text += ":\n";
  rows = {{"from", "to", "survey", "construction", "difference", "scale"}};
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

}  // namespace torvane::cli
