#include "report/height_report_json.h"

#include "fit/blunder_test.h"
#include "fit/height_coverage.h"
#include "fit/report_patterns.h"
#include "number/pattern.h"
#include "number/round_trip.h"
#include "params/millimetre_text.h"
#include "report/height_figures.h"
#include "report/json_text.h"

namespace torvane {
namespace {

std::string FTestJson(const std::optional<HeightFTest>& test) {
  if (!test) return "null";
  return "{" + JsonMember("f", RoundTripText(test->f)) + ", " +
         JsonMember("added", std::to_string(test->added)) + ", " +
         JsonMember("freedom", std::to_string(test->freedom)) + ", " +
         JsonMember("quantile", RoundTripText(test->quantile)) + ", " +
         JsonMember("significant", test->significant ? "true" : "false") + "}";
}

std::string NameAndLine(const CommonPoint& p) {
  std::string json = "{" + JsonMember("name", JsonString(p.name)) + ", ";
  if (p.line > 0) json += JsonMember("line", std::to_string(p.line)) + ", ";
  return json;
}

}  // namespace

std::string HeightReportJson(const HeightSection& section) {
  const HeightSolution& s = AppliedSolution(section);
  std::vector<std::string> members = {
      JsonMember("model", JsonString(HeightModelName(section.model))),
      JsonMember("automatic", section.automatic ? "true" : "false"),
      JsonMember("recommended", JsonString(HeightModelName(section.fits.recommended)))};
  if (section.automatic) {
    members.push_back(JsonMember("reason", JsonString(HeightChoiceReason(section.fits))));
  }
  members.push_back(JsonMember("centroid_x_m", RoundTripText(s.surface.centroid.x)));
  members.push_back(JsonMember("centroid_y_m", RoundTripText(s.surface.centroid.y)));
  members.push_back(JsonMember("length_m", RoundTripText(kHeightLength)));
  std::vector<std::string> terms, shown;
  for (std::size_t i = 0; i < TermCount(section.model); ++i) {
    terms.push_back(RoundTripText(s.surface.terms[i]));
  }
  for (const HeightTerm& term : HeightTerms(s.surface)) {
    shown.push_back("{" + JsonMember("name", JsonString(term.name)) + ", " +
                    JsonMember("value", term.value) + ", " +
                    JsonMember("unit", JsonString(term.unit)) + "}");
  }
  members.push_back(JsonMember("terms", JsonArray(terms, false)));
  members.push_back(JsonMember("shown", JsonArray(shown, false)));

  std::vector<std::string> points;
  for (std::size_t i = 0; i < section.fitted.size(); ++i) {
    std::string json =
        NameAndLine(section.fitted[i]) + JsonMember("dh_mm", MillimetreText(s.residuals[i])) +
        ", " + JsonMember("h", LeverageText(s.leverage[i])) + ", " +
        JsonMember("w", s.standardized[i] ? FormatPattern(*s.standardized[i], kStandardizedPattern)
                                          : "null");
    if (s.blunder_test) {
      const std::optional<HeightLeftOut>& out = s.blunder_test->points[i];
      json += ", " +
              JsonMember("left_out",
                         out ? "{" + JsonMember("misses_mm", MillimetreText(out->misses)) + ", " +
                                   JsonMember("t", FormatPattern(out->t, kStandardizedPattern)) +
                                   ", " + JsonMember("f", FormatPattern(out->f, kFPattern)) + ", " +
                                   JsonMember("blunder", out->blunder ? "true" : "false") + "}"
                             : "null");
    }
    points.push_back(json + "}");
  }
  std::vector<std::string> check_names, outside;
  for (std::size_t i = 0; i < section.check.size(); ++i) {
    points.push_back(
        NameAndLine(section.check[i]) + JsonMember("role", JsonString("check")) + ", " +
        JsonMember("dh_mm", MillimetreText(s.check_misclosures[i])) + ", " +
        JsonMember("outside_m", FormatPattern(section.check_outside[i], kDistancePattern)) + "}");
    check_names.push_back(JsonString(section.check[i].name));
    if (section.check_outside[i] > kCoverageMargin) outside.push_back(check_names.back());
  }
  members.push_back(JsonMember("points", JsonArray(points, false)));
  members.push_back(JsonMember("fitted", std::to_string(section.fitted.size())));
  members.push_back(
      JsonMember("without_heights", std::to_string(section.fit_points_without_heights)));
  members.push_back(JsonMember("redundancy", std::to_string(s.redundancy)));
  members.push_back(JsonMember("rms_mm", MillimetreText(s.rms)));
  members.push_back(JsonMember("enough_points", s.enough_points ? "true" : "false"));
  if (!section.check.empty()) {
    members.push_back(
        JsonMember("check_points", "{" + JsonMember("names", JsonArray(check_names, false)) + ", " +
                                       JsonMember("rms_mm", MillimetreText(s.check_rms)) + "}"));
  }
  if (s.blunder_test) {
    const HeightBlunderTest& test = *s.blunder_test;
    std::vector<std::string> names;
    for (std::size_t i : test.blunders) names.push_back(JsonString(section.fitted[i].name));
    members.push_back(JsonMember(
        "blunder_test", "{" + JsonMember("level", RoundTripText(kBlunderTestLevel)) + ", " +
                            JsonMember("point_level", RoundTripText(test.point_level)) + ", " +
                            JsonMember("freedom", std::to_string(test.freedom)) + ", " +
                            JsonMember("critical", RoundTripText(test.critical)) + ", " +
                            JsonMember("blunders", JsonArray(names, false)) + "}"));
  } else {
    members.push_back(JsonMember("blunder_test", "null"));
  }
  members.push_back(
      JsonMember("plane_against_offset", FTestJson(section.fits.plane_against_offset)));
  members.push_back(
      JsonMember("quadric_against_plane", FTestJson(section.fits.quadric_against_plane)));
  members.push_back(JsonMember("outside_coverage", JsonArray(outside, false)));
  std::string json = "{";
  for (std::size_t i = 0; i < members.size(); ++i) json += (i > 0 ? ", " : "") + members[i];
  return json + "}";
}

}  // namespace torvane
