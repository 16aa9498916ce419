#include "drawing/dxf_plan.h"

#include <charconv>
#include <string_view>

#include "drawing/dxf_groups.h"

namespace torvane {
namespace {

// A group that holds a height: a point's z, an elevation, or the z of a
// world position in XDATA.
bool HoldsHeight(int code) { return (code >= 30 && code <= 38) || code == 1031; }

bool IsZero(std::string_view text) {
  if (text == "0" || text == "0.0") return true;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  double v = 1;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  return ec == std::errc() && ptr == text.data() + text.size() && v == 0;
}

}  // namespace

bool IsPlanDrawing(std::FILE* file) {
  DxfGroupReader reader(file);
  DxfGroup group;
  bool looked_at = false;  // the section holds what the drawing draws: ENTITIES or BLOCKS
  bool section_start = false;
  bool height = false;  // the unit being read has a height other than 0
  bool paper = false;   // it is in paper space
  while (reader.Next(&group) == DxfGroupReader::Status::kGroup) {
    const int code = group.code;
    if (code == 0) {
      if (height && !paper) return false;
      height = paper = false;
      const std::string_view type = TrimmedValue(group.value);
      if (type == "EOF") break;
      section_start = type == "SECTION";
      if (type == "ENDSEC") looked_at = false;
    } else if (code == 2 && section_start) {
      const std::string_view name = TrimmedValue(group.value);
      looked_at = name == "ENTITIES" || name == "BLOCKS";
      section_start = false;
    } else if (!looked_at) {
      continue;
    } else if (code == 67) {
      paper = TrimmedValue(group.value) == "1";
    } else if (HoldsHeight(code) && !height) {
      height = !IsZero(TrimmedValue(group.value));
    }
  }
  return !(height && !paper);
}

}  // namespace torvane
