#include "cli/fit_report_json.h"

#include <charconv>
#include <string_view>

#include "params/dms.h"
#include "params/pattern.h"
#include "params/proj_pipeline.h"
#include "params/round_trip.h"

namespace torvane::cli {
namespace {

constexpr std::string_view kDistancePattern = "0.0000";  // metres
constexpr std::string_view kScalePattern = "0.000000000";
constexpr int kHex = 16;

// A JSON string: quotes, backslashes and control characters escaped; other
// bytes (UTF-8) as they are.
std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char digits[2];
          auto [end, ec] =
              std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(c), kHex);
          (void)ec;
          out += end - digits == 1 ? "\\u000" : "\\u00";
          out.append(digits, end);
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string Member(std::string_view key, const std::string& json) {
  return Quoted(key) + ": " + json;
}

std::string PointJson(const CommonPoint& point, bool fitted, const PointResidual& r) {
  return "{" + Member("name", Quoted(point.name)) + ", " +
         Member("line", std::to_string(point.line)) + ", " +
         Member("fitted", fitted ? "true" : "false") + ", " +
         Member("dx_mm", MillimetreText(r.dx)) + ", " + Member("dy_mm", MillimetreText(r.dy)) +
         ", " + Member("length_mm", MillimetreText(r.length)) + "}";
}

// "[a, b, c]" of already-written JSON values, one a line when `lines`.
std::string Array(const std::vector<std::string>& items, bool lines) {
  if (items.empty()) return "[]";
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ",";
    out += lines ? "\n    " : (i > 0 ? " " : "");
    out += items[i];
  }
  out += lines ? "\n  ]" : "]";
  return out;
}

}  // namespace

std::string FitReportJson(const FitReport& report, std::span<const CommonPoint> fitted,
                          std::span<const CommonPoint> excluded,
                          std::optional<double> max_residual_mm) {
  std::vector<std::string> members;
  members.push_back(
      Member("parameters", "{" + Member("x_offset", Quoted(report.texts.x_offset)) + ", " +
                               Member("y_offset", Quoted(report.texts.y_offset)) + ", " +
                               Member("angle", Quoted(report.texts.angle)) + ", " +
                               Member("x0_m", RoundTripText(report.params.x_offset)) + ", " +
                               Member("y0_m", RoundTripText(report.params.y_offset)) + ", " +
                               Member("theta_radians", RoundTripText(report.params.theta)) + ", " +
                               Member("angle_dms", Quoted(FormatDmsSymbols(report.box_degrees))) +
                               ", " + Member("angle_degrees", RoundTripText(report.box_degrees)) +
                               ", " + Member("turn_degrees", RoundTripText(report.degrees)) + ", " +
                               Member("proj", Quoted(ProjPipeline(report.params))) + "}"));
  members.push_back(
      Member("inverse", "{" + Member("x_offset", Quoted(report.inverse.x_offset)) + ", " +
                            Member("y_offset", Quoted(report.inverse.y_offset)) + ", " +
                            Member("angle", Quoted(report.inverse.angle)) + "}"));
  members.push_back(Member("offsets_disagree", report.offsets_disagree ? "true" : "false"));

  std::vector<std::string> points, excluded_names;
  for (std::size_t i = 0; i < fitted.size(); ++i) {
    points.push_back(PointJson(fitted[i], true, report.residuals[i]));
  }
  for (std::size_t i = 0; i < excluded.size(); ++i) {
    points.push_back(PointJson(excluded[i], false, report.excluded_residuals[i]));
    excluded_names.push_back(Quoted(excluded[i].name));
  }
  members.push_back(Member("points", Array(points, true)));
  members.push_back(Member("fitted", std::to_string(fitted.size())));
  members.push_back(Member("excluded", Array(excluded_names, false)));
  members.push_back(Member("rms_mm", MillimetreText(report.rms)));
  members.push_back(Member(
      "largest", "{" + Member("name", Quoted(fitted[report.largest].name)) + ", " +
                     Member("length_mm", MillimetreText(report.residuals[report.largest].length)) +
                     "}"));

  std::vector<std::string> pairs;
  for (const PairCheck& pair : report.pairs) {
    pairs.push_back(
        "{" + Member("from", Quoted(fitted[pair.from].name)) + ", " +
        Member("to", Quoted(fitted[pair.to].name)) + ", " +
        Member("survey_m", FormatPattern(pair.survey, kDistancePattern)) + ", " +
        Member("construction_m", FormatPattern(pair.construction, kDistancePattern)) + ", " +
        Member("difference_mm", MillimetreText(pair.difference)) + ", " +
        Member("scale", pair.scale ? FormatPattern(*pair.scale, kScalePattern) : "null") + "}");
  }
  members.push_back(Member("pairs", Array(pairs, true)));
  if (report.pairs.size() < report.pair_count) {
    members.push_back(Member("pairs_partial", "true"));
    members.push_back(Member("pair_count", std::to_string(report.pair_count)));
  }

  if (max_residual_mm) {
    members.push_back(Member("max_residual_mm", RoundTripText(*max_residual_mm)));
    std::vector<std::string> above;
    for (std::size_t i : ResidualsAbove(report, *max_residual_mm)) {
      above.push_back(Quoted(fitted[i].name));
    }
    members.push_back(Member("above_max_residual", Array(above, false)));
  }

  std::string json = "{";
  for (std::size_t i = 0; i < members.size(); ++i) {
    json += i > 0 ? ",\n  " : "\n  ";
    json += members[i];
  }
  json += "\n}\n";
  return json;
}

}  // namespace torvane::cli
