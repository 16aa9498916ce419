#include "report/result_csv.h"

#include <cassert>

#include "report/coordinate_text.h"
#include "report/result_table.h"

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

namespace {

class CsvWriter final : public ResultWriter {
 public:
  CsvWriter(std::vector<PointField> columns, int decimals, bool header)
      : columns_(std::move(columns)), pattern_(CoordinatePattern(decimals)), header_(header) {}

  std::string_view Extension() const override { return ".csv"; }
  ResultEncoding Encoding() const override { return ResultEncoding::kAsPointFile; }
  bool Begin(ResultBuffer& out) override {
    return !header_ || out.Append(ColumnsText(columns_) + std::string(kTableLineEnd));
  }
  bool Write(ResultBuffer& out, const PointRecord& point, PlanePoint converted,
             TextEncoding) override {
    line_.clear();
    AppendCsvLine(line_, point, converted, columns_, pattern_);
    return out.Append(line_);
  }

 private:
  std::vector<PointField> columns_;
  std::string pattern_;
  bool header_;
  std::string line_;  // kept, so that its memory serves every line
};

}  // namespace

std::unique_ptr<ResultWriter> MakeCsvWriter(std::vector<PointField> columns, int decimals,
                                            bool header) {
  assert(decimals >= 0 && decimals <= kMaxResultDecimals);
  return std::make_unique<CsvWriter>(std::move(columns), decimals, header);
}

}  // namespace torvane
