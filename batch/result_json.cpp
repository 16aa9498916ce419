#include "batch/result_json.h"

#include <charconv>

#include "batch/byte_scan.h"
#include "batch/result_csv.h"
#include "number/number_text.h"

namespace torvane {
namespace {

// Text of the point file as UTF-8: GBK is converted, UTF-8 stays.
std::string Utf8Text(std::string_view text, TextEncoding encoding) {
  if (encoding != TextEncoding::kGbk || IsAscii(text)) return std::string(text);
  // The reader has checked every line against the file's encoding.
  return GbkToUtf8(text).value_or(std::string(text));
}

}  // namespace

void AppendJsonPoint(std::string& out, const PointRecord& point, PlanePoint converted,
                     std::string_view pattern, TextEncoding encoding) {
  out += "  {\"name\": ";
  out += JsonString(Utf8Text(point.name, encoding));
  out += ", \"x\": ";
  out += CoordinateText(converted.x, pattern);
  out += ", \"y\": ";
  out += CoordinateText(converted.y, pattern);
  out += ", \"h\": ";
  if (point.h_text.empty()) {
    out += "null";
  } else if (const auto h = ParseDecimal(point.h_text)) {
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, *h);
    out.append(digits, written.ptr);
  } else {
    out += JsonString(Utf8Text(point.h_text, encoding));
  }
  out += '}';
}

}  // namespace torvane
