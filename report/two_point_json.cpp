#include "report/two_point_json.h"

#include <optional>
#include <vector>

#include "number/round_trip.h"
#include "params/dms.h"
#include "params/millimetre_text.h"
#include "report/fit_report_json.h"
#include "report/json_text.h"

namespace torvane {

std::string TwoPointJson(const FitReport& report, std::span<const CommonPoint> points,
                         const TwoPointSolution* check) {
  std::vector<std::string> members = FitReportMembers(report, points, {}, {}, std::nullopt);
  if (check) {
    members.push_back(JsonMember(
        "check",
        "{" + JsonMember("x0_m", RoundTripText(check->present.x_offset)) + ", " +
            JsonMember("y0_m", RoundTripText(check->present.y_offset)) + ", " +
            JsonMember("angle_dms", JsonString(FormatDmsSymbols(check->present_degrees))) + ", " +
            JsonMember("angle_degrees", RoundTripText(check->present_degrees)) + ", " +
            JsonMember("x_offset_difference_mm", MillimetreText(check->x_offset_gap)) + ", " +
            JsonMember("y_offset_difference_mm", MillimetreText(check->y_offset_gap)) + ", " +
            JsonMember("angle_difference_dms", JsonString(FormatDmsSymbols(check->angle_gap))) +
            ", " + JsonMember("angle_difference_degrees", RoundTripText(check->angle_gap)) + "}"));
  }
  return JsonObject(members);
}

}  // namespace torvane
