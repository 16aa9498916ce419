#include "report/result_json.h"

#include <cassert>
#include <charconv>

#include "batch/byte_scan.h"
#include "number/number_text.h"
#include "report/coordinate_text.h"
#include "report/json_text.h"

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
  } else if (point.h_shifted) {
    out += point.h_text;  // an exact decimal, every digit of it
  } else if (const auto h = ParseDecimal(point.h_text)) {
    char digits[32];
    const auto written = std::to_chars(digits, digits + sizeof digits, *h);
    out.append(digits, written.ptr);
  } else {
    out += JsonString(Utf8Text(point.h_text, encoding));
  }
  out += '}';
}

namespace {

class JsonWriter final : public ResultWriter {
 public:
  explicit JsonWriter(int decimals) : pattern_(CoordinatePattern(decimals)) {}

  std::string_view Extension() const override { return ".json"; }
  ResultEncoding Encoding() const override { return ResultEncoding::kUtf8; }
  bool Begin(ResultBuffer& out) override {
    first_ = true;
    return out.Append("[\n");
  }
  bool Write(ResultBuffer& out, const PointRecord& point, PlanePoint converted,
             TextEncoding encoding) override {
    object_.assign(first_ ? "" : ",\n");
    first_ = false;
    AppendJsonPoint(object_, point, converted, pattern_, encoding);
    return out.Append(object_);
  }
  bool End(ResultBuffer& out) override { return out.Append("\n]\n"); }

 private:
  std::string pattern_;
  std::string object_;  // kept, so that its memory serves every point
  bool first_ = true;
};

}  // namespace

std::unique_ptr<ResultWriter> MakeJsonWriter(int decimals) {
  assert(decimals >= 0 && decimals <= kMaxResultDecimals);
  return std::make_unique<JsonWriter>(decimals);
}

}  // namespace torvane
