#include "batch/common_points.h"

#include <map>

#include "batch/point_file.h"
#include "batch/run_error.h"
#include "batch/text_encoding.h"
#include "number/number_text.h"

namespace torvane {
namespace {

constexpr std::size_t kFields = 5;  // name, Xs, Ys, Xc, Yc
constexpr const char* kCoordinateNames[] = {"Xs", "Ys", "Xc", "Yc"};

}  // namespace

Expected<std::optional<CommonPoint>, RunError> ParseCommonPointLine(std::string_view line,
                                                                    std::size_t line_number) {
  if (TrimBlanks(line).empty()) return std::optional<CommonPoint>();
  std::string_view parts[kFields];
  std::size_t count = 0;
  for (std::string_view rest = line; count < kFields; ++count) {
    const std::size_t comma = rest.find(',');
    parts[count] = TrimBlanks(rest.substr(0, comma));
    if (comma == std::string_view::npos) {
      ++count;
      break;
    }
    rest.remove_prefix(comma + 1);
  }
  if (count < kFields) return Fail(LineError(RunErrorKind::kNotACommonPoint, line_number, line));
  double values[kFields - 1];
  for (std::size_t i = 0; i < kFields - 1; ++i) {
    auto value = ParseDecimal(parts[i + 1]);
    if (!value)
      return Fail(NumberFieldError(value.error(), line_number, kCoordinateNames[i], parts[i + 1]));
    values[i] = *value;
  }
  CommonPoint point;
  point.name = std::string(parts[0]);
  point.line = line_number;
  point.survey = {values[0], values[1]};
  point.construction = {values[2], values[3]};
  return std::optional<CommonPoint>(std::move(point));
}

Expected<std::vector<CommonPoint>, RunError> ReadCommonPoints(const std::string& path) {
  auto reader = PointFileReader::Open(path);
  if (!reader) return Fail(reader.error());
  std::vector<CommonPoint> points;
  std::map<std::string, std::size_t> first_line;  // by name
  std::string_view line;
  for (;;) {
    auto more = reader.value()->NextLine(&line);
    if (!more) return Fail(more.error());
    if (!*more) break;
    const std::size_t number = reader.value()->line_number();
    auto point = ParseCommonPointLine(line, number);
    if (!point) {
      RunError e = point.error();
      e.path = path;
      return Fail(std::move(e));
    }
    if (!point.value()) continue;
    CommonPoint p = std::move(*point.value());
    // Lines before the first that is not ASCII read the same in either
    // encoding, so the encoding known so far is the file's for this name.
    if (reader.value()->encoding() == TextEncoding::kGbk) {
      auto utf8 = GbkToUtf8(p.name);
      if (!utf8) {
        return Fail(FileError(RunErrorKind::kBadEncoding, path, number));
      }
      p.name = std::move(*utf8);
    }
    const auto [seen, fresh] = first_line.emplace(p.name, number);
    if (!fresh) {
      RunError e = FileError(RunErrorKind::kDuplicateName, path, number);
      e.field_text = p.name;
      e.other_line = seen->second;
      return Fail(std::move(e));
    }
    points.push_back(std::move(p));
  }
  return points;
}

}  // namespace torvane
