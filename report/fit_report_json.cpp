#include "report/fit_report_json.h"

#include <cassert>
#include <cmath>
#include <string_view>

#include "fit/proj_pipeline.h"
#include "fit/report_patterns.h"
#include "number/pattern.h"
#include "number/round_trip.h"
#include "params/dms.h"
#include "params/millimetre_text.h"
#include "report/json_text.h"

namespace torvane {
namespace {

std::string StandardizedJson(const std::optional<double>& w) {
  return w ? FormatPattern(*w, kStandardizedPattern) : "null";
}

// A point of the fit, an excluded one, or a check point.
enum class Role { kFitted, kExcluded, kCheck };

// A fit point left out: {dx_mm, dy_mm, length_mm, tx, ty, f, blunder}.
std::string LeftOutJson(const LeftOutPoint& out) {
  return "{" + JsonMember("dx_mm", MillimetreText(out.misses.dx)) + ", " +
         JsonMember("dy_mm", MillimetreText(out.misses.dy)) + ", " +
         JsonMember("length_mm", MillimetreText(out.misses.length)) + ", " +
         JsonMember("tx", FormatPattern(out.tx, kStandardizedPattern)) + ", " +
         JsonMember("ty", FormatPattern(out.ty, kStandardizedPattern)) + ", " +
         JsonMember("f", FormatPattern(out.f, kFPattern)) + ", " +
         JsonMember("blunder", out.blunder ? "true" : "false") + "}";
}

// The blunder test's level, distribution and critical value, and the
// points it names.
std::string BlunderTestJson(const BlunderTest& test, std::span<const CommonPoint> fitted) {
  std::vector<std::string> names;
  for (std::size_t i : test.blunders) names.push_back(JsonString(fitted[i].name));
  return "{" + JsonMember("level", RoundTripText(kBlunderTestLevel)) + ", " +
         JsonMember("point_level", RoundTripText(test.point_level)) + ", " +
         JsonMember("freedom", std::to_string(test.freedom)) + ", " +
         JsonMember("critical", RoundTripText(test.critical)) + ", " +
         JsonMember("blunders", JsonArray(names, false)) + "}";
}

std::string PointJson(const CommonPoint& point, Role role, const PointResidual& r,
                      const StandardizedResidual* w,
                      const std::optional<LeftOutPoint>* left_out = nullptr) {
  std::string json = "{" + JsonMember("name", JsonString(point.name)) + ", ";
  if (point.line > 0) json += JsonMember("line", std::to_string(point.line)) + ", ";
  json += JsonMember("fitted", role == Role::kFitted ? "true" : "false") + ", ";
  if (role == Role::kCheck) json += JsonMember("role", JsonString("check")) + ", ";
  json += JsonMember("dx_mm", MillimetreText(r.dx)) + ", " +
          JsonMember("dy_mm", MillimetreText(r.dy)) + ", " +
          JsonMember("length_mm", MillimetreText(r.length));
  if (w != nullptr) {
    json += ", " + JsonMember("wx", StandardizedJson(w->wx)) + ", " +
            JsonMember("wy", StandardizedJson(w->wy));
  }
  if (left_out != nullptr) {
    json += ", " + JsonMember("left_out", *left_out ? LeftOutJson(**left_out) : "null");
  }
  return json + "}";
}

// The similarity fit's own members: its scale and how it compares with the
// rigid fit.
std::string ScaleJson(const FitReport& report) {
  std::string json = "{" + JsonMember("scale", JsonString(report.scale_text)) + ", " +
                     JsonMember("k", RoundTripText(report.params.scale)) + ", " +
                     JsonMember("ppm", FormatPattern(report.ppm, kPpmPattern)) + ", " +
                     JsonMember("inverse_scale", JsonString(report.inverse_scale_text));
  if (report.scale_test) {
    const ScaleTest& test = *report.scale_test;
    json += ", " + JsonMember("ppm_standard_error", FormatPattern(test.ppm_error, kPpmPattern)) +
            ", " + JsonMember("rigid_rms_mm", MillimetreText(test.rigid_rms)) + ", " +
            JsonMember("f", std::isinf(test.f) ? "null" : RoundTripText(test.f)) + ", " +
            JsonMember("f_quantile", RoundTripText(test.quantile)) + ", " +
            JsonMember("f_freedom", std::to_string(test.freedom)) + ", " +
            JsonMember("significant", test.significant ? "true" : "false");
  }
  return json + "}";
}

}  // namespace

std::vector<std::string> FitReportMembers(const FitReport& report,
                                          std::span<const CommonPoint> fitted,
                                          std::span<const CommonPoint> excluded,
                                          std::span<const CommonPoint> check,
                                          std::optional<double> max_residual_mm) {
  assert(check.size() == report.check_residuals.size());
  std::vector<std::string> members;
  members.push_back(JsonMember(
      "parameters", "{" + JsonMember("x_offset", JsonString(report.texts.x_offset)) + ", " +
                        JsonMember("y_offset", JsonString(report.texts.y_offset)) + ", " +
                        JsonMember("angle", JsonString(report.texts.angle)) + ", " +
                        JsonMember("x0_m", RoundTripText(report.params.x_offset)) + ", " +
                        JsonMember("y0_m", RoundTripText(report.params.y_offset)) + ", " +
                        JsonMember("theta_radians", RoundTripText(report.params.theta)) + ", " +
                        JsonMember("angle_dms", JsonString(FormatDmsSymbols(report.box_degrees))) +
                        ", " + JsonMember("angle_degrees", RoundTripText(report.box_degrees)) +
                        ", " + JsonMember("turn_degrees", RoundTripText(report.degrees)) + ", " +
                        JsonMember("proj", JsonString(ProjPipeline(report.params))) + "}"));
  const bool similarity = report.model == FitModel::kSimilarity;
  if (similarity) members.push_back(JsonMember("similarity", ScaleJson(report)));
  members.push_back(JsonMember(
      "inverse", "{" + JsonMember("x_offset", JsonString(report.inverse.x_offset)) + ", " +
                     JsonMember("y_offset", JsonString(report.inverse.y_offset)) + ", " +
                     JsonMember("angle", JsonString(report.inverse.angle)) + "}"));
  members.push_back(JsonMember("offsets_disagree", report.offsets_disagree ? "true" : "false"));

  std::vector<std::string> points, excluded_names;
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    const bool standardized = !report.standardized.empty();
    points.push_back(PointJson(fitted[i], Role::kFitted, report.residuals[i],
                               standardized ? &report.standardized[i] : nullptr,
                               report.blunder_test ? &report.blunder_test->points[i] : nullptr));
  }
  std::vector<std::string> check_names;
  for (std::size_t i = 0; i < check.size(); ++i) {
    points.push_back(PointJson(check[i], Role::kCheck, report.check_residuals[i], nullptr));
    check_names.push_back(JsonString(check[i].name));
  }
  for (std::size_t i = 0; i < excluded.size(); ++i) {
    points.push_back(
        PointJson(excluded[i], Role::kExcluded, report.excluded_residuals[i], nullptr));
    excluded_names.push_back(JsonString(excluded[i].name));
  }
  members.push_back(JsonMember("points", JsonArray(points, true)));
  members.push_back(JsonMember("fitted", std::to_string(fitted.size())));
  members.push_back(JsonMember("excluded", JsonArray(excluded_names, false)));
  members.push_back(JsonMember("rms_mm", MillimetreText(report.rms)));
  members.push_back(JsonMember(
      "largest",
      "{" + JsonMember("name", JsonString(fitted[report.largest].name)) + ", " +
          JsonMember("length_mm", MillimetreText(report.residuals[report.largest].length)) + "}"));
  if (!check.empty()) {
    const std::size_t largest = report.check_largest;
    members.push_back(JsonMember(
        "check_points",
        "{" + JsonMember("names", JsonArray(check_names, false)) + ", " +
            JsonMember("rms_mm", MillimetreText(report.check_rms)) + ", " +
            JsonMember("largest",
                       "{" + JsonMember("name", JsonString(check[largest].name)) + ", " +
                           JsonMember("length_mm",
                                      MillimetreText(report.check_residuals[largest].length)) +
                           "}") +
            "}"));
  }
  // Wherever the text report names the largest standardized residual.
  if (report.most_standardized) {
    const std::size_t most = *report.most_standardized;
    const double w = LargerOf(report.standardized[most]);
    members.push_back(JsonMember(
        "largest_standardized", "{" + JsonMember("name", JsonString(fitted[most].name)) + ", " +
                                    JsonMember("w", FormatPattern(w, kStandardizedPattern)) + ", " +
                                    JsonMember("beyond_3", w > kBlunderLimit ? "true" : "false") +
                                    "}"));
  }

  members.push_back(JsonMember("blunder_test", report.blunder_test
                                                   ? BlunderTestJson(*report.blunder_test, fitted)
                                                   : "null"));

  std::vector<std::string> pairs;
  for (const PairCheck& pair : report.pairs) {
    pairs.push_back(
        "{" + JsonMember("from", JsonString(fitted[pair.from].name)) + ", " +
        JsonMember("to", JsonString(fitted[pair.to].name)) + ", " +
        JsonMember("survey_m", FormatPattern(pair.survey, kDistancePattern)) + ", " +
        JsonMember("construction_m", FormatPattern(pair.construction, kDistancePattern)) + ", " +
        JsonMember("difference_mm", MillimetreText(pair.difference)) + ", " +
        JsonMember("scale", pair.scale ? FormatPattern(*pair.scale, kScalePattern) : "null") + "}");
  }
  members.push_back(JsonMember("pairs", JsonArray(pairs, true)));
  if (report.pairs.size() < report.pair_count) {
    members.push_back(JsonMember("pairs_partial", "true"));
    members.push_back(JsonMember("pair_count", std::to_string(report.pair_count)));
  }

  if (max_residual_mm) {
    members.push_back(JsonMember("max_residual_mm", RoundTripText(*max_residual_mm)));
    std::vector<std::string> above;
    for (std::size_t i : ResidualsAbove(report, *max_residual_mm)) {
      above.push_back(JsonString(fitted[i].name));
    }
    members.push_back(JsonMember("above_max_residual", JsonArray(above, false)));
  }

  return members;
}

std::string FitReportJson(const FitReport& report, std::span<const CommonPoint> fitted,
                          std::span<const CommonPoint> excluded, std::span<const CommonPoint> check,
                          std::optional<double> max_residual_mm) {
  return JsonObject(FitReportMembers(report, fitted, excluded, check, max_residual_mm));
}

}  // namespace torvane
