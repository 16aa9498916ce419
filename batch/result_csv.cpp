#include "batch/result_csv.h"

#include "batch/result_line.h"
#include "number/pattern.h"

namespace torvane {
namespace {

void AppendField(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string CoordinatePattern(int decimals) {
  if (decimals <= 0) return "0";
  return "0." + std::string(static_cast<std::size_t>(decimals), '0');
}

std::string CoordinateText(double metres, std::string_view pattern) {
  return FormatPattern(metres, pattern);
}

void AppendCsvLine(std::string& out, const PointRecord& point, PlanePoint converted,
                   const std::vector<PointField>& columns, std::string_view pattern) {
  bool first = true;
  for (const PointField field : columns) {
    if (!first) out += ',';
    first = false;
    switch (field) {
      case PointField::kName:
        AppendField(out, point.name);
        break;
      case PointField::kCode:
        AppendField(out, point.code);
        break;
      case PointField::kX:
        out += CoordinateText(converted.x, pattern);
        break;
      case PointField::kY:
        out += CoordinateText(converted.y, pattern);
        break;
      case PointField::kH:
        AppendField(out, point.h_text);
        break;
      case PointField::kSkip:
        break;
    }
  }
  out += kTableLineEnd;
}

}  // namespace torvane
