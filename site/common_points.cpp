#include "site/common_points.h"

#include <algorithm>
#include <cassert>
#include <map>

#include "batch/column_list.h"
#include "batch/field_split.h"
#include "batch/line_rule.h"
#include "batch/point_file.h"
#include "batch/run_error.h"
#include "batch/text_encoding.h"
#include "number/number_text.h"

namespace torvane {
namespace {

constexpr std::size_t kCoordinates = 4;  // Xs, Ys, Xc, Yc
constexpr const char* kCoordinateNames[] = {"Xs", "Ys", "Xc", "Yc"};
constexpr const char* kHeightNames[] = {"Hs", "Hc"};

constexpr ColumnSpelling<CommonField> kSpellings[] = {
    {"name", CommonField::kName}, {"xs", CommonField::kXs}, {"ys", CommonField::kYs},
    {"xc", CommonField::kXc},     {"yc", CommonField::kYc}, {"-", CommonField::kSkip},
    {"skip", CommonField::kSkip}, {"hs", CommonField::kHs}, {"hc", CommonField::kHc}};

std::string_view ColumnName(CommonField field) {
  return ColumnName<CommonField>(kSpellings, field);
}

bool IsUsual(const CommonPointLayout& layout) {
  return layout.fields == CommonPointLayout{}.fields && layout.delimiter == FieldDelimiter::kComma;
}

}  // namespace

Expected<std::vector<CommonField>, std::string> ParseCommonColumns(std::string_view list) {
  return ParseColumnList<CommonField>(
      list, kSpellings, CommonField::kSkip,
      {CommonField::kName, CommonField::kXs, CommonField::kYs, CommonField::kXc, CommonField::kYc},
      "name, xs, ys, xc, yc, hs, hc, - or skip");
}

Expected<std::optional<CommonPoint>, RunError> ParseCommonPointLine(std::string_view line,
                                                                    std::size_t line_number,
                                                                    const CommonPointLayout& layout,
                                                                    CoordinateTexts* texts_out) {
  if (IsBlankLine(line)) return std::optional<CommonPoint>();
  std::string texts;
  std::string_view name;
  std::optional<std::string_view> coordinates[kCoordinates];
  std::optional<std::string_view> heights[2];  // Hs, Hc
  std::size_t count = 0;
  SplitFields(line, SeparatorOf(layout.delimiter), &texts, [&](std::string_view text) {
    if (count < layout.fields.size()) {
      const CommonField field = layout.fields[count];
      if (field == CommonField::kName) {
        name = text;
      } else if (field == CommonField::kHs || field == CommonField::kHc) {
        heights[field == CommonField::kHs ? 0 : 1] = text;
      } else if (field != CommonField::kSkip) {
        // kXs, kYs, kXc and kYc follow each other, as kCoordinateNames do.
        coordinates[static_cast<int>(field) - static_cast<int>(CommonField::kXs)] = text;
      }
    }
    ++count;
  });
  // The columns a point needs: up to the last coordinate. A height
  // column past them may be left off, as it may be left blank.
  std::size_t needed = 0;
  for (std::size_t i = 0; i < layout.fields.size(); ++i) {
    const CommonField field = layout.fields[i];
    if (field != CommonField::kName && field != CommonField::kSkip && field != CommonField::kHs &&
        field != CommonField::kHc) {
      needed = i + 1;
    }
  }
  if (count < needed) {
    RunError e = LineError(RunErrorKind::kNotACommonPoint, line_number, line);
    if (!IsUsual(layout)) {
      for (std::size_t i = 0; i < needed; ++i) {
        if (!e.field.empty()) e.field += ", ";
        e.field += ColumnName(layout.fields[i]);
      }
      e.limit = needed;
    }
    return Fail(std::move(e));
  }
  double values[kCoordinates];
  for (std::size_t i = 0; i < kCoordinates; ++i) {
    assert(coordinates[i].has_value());  // the layout names all four
    auto value = ParseDecimal(*coordinates[i]);
    if (!value) {
      RunError e =
          NumberFieldError(value.error(), line_number, kCoordinateNames[i], *coordinates[i]);
      e.header_like = i == 0 && HoldWords(*coordinates[0], *coordinates[1]);
      return Fail(std::move(e));
    }
    values[i] = *value;
  }
  std::optional<double> height_values[2];
  for (std::size_t i = 0; i < 2; ++i) {
    if (!heights[i] || TrimBlanks(*heights[i]).empty()) continue;
    auto value = ParseDecimal(*heights[i]);
    if (!value)
      return Fail(NumberFieldError(value.error(), line_number, kHeightNames[i], *heights[i]));
    height_values[i] = *value;
  }
  if (texts_out) {
    for (std::size_t i = 0; i < kCoordinates; ++i) (*texts_out)[i] = *coordinates[i];
    for (std::size_t i = 0; i < 2; ++i) {
      (*texts_out)[kCoordinates + i] = heights[i].value_or(std::string_view());
    }
  }
  CommonPoint point;
  point.name = std::string(name);
  point.line = line_number;
  point.survey = {values[0], values[1]};
  point.construction = {values[2], values[3]};
  point.survey_h = height_values[0];
  point.construction_h = height_values[1];
  return std::optional<CommonPoint>(std::move(point));
}

Expected<std::vector<CommonPoint>, RunError> ReadCommonPoints(const std::string& path,
                                                              const CommonPointLayout& layout,
                                                              std::vector<CoordinateTexts>* texts,
                                                              FileFingerprint* fingerprint) {
  auto opened = PointFileReader::Open(path, PointLayout{}, layout.encoding);
  if (!opened) return Fail(opened.error());
  PointFileReader& reader = *opened.value();
  if (fingerprint) reader.FingerprintAsRead();
  std::vector<CommonPoint> points;
  std::map<std::string, std::size_t> first_line;  // by name
  std::string_view line;
  for (;;) {
    auto more = reader.NextLine(&line);
    if (!more) return Fail(more.error());
    if (!*more) break;
    const std::size_t number = reader.line_number();
    if (number <= layout.skip_lines) continue;
    CoordinateTexts coordinates;
    auto point = ParseCommonPointLine(line, number, layout, &coordinates);
    if (!point) {
      RunError e = point.error();
      // The first point line with words in its survey X and Y: a header.
      if (e.header_like && points.empty()) e = LineError(RunErrorKind::kHeaderLine, number, line);
      return Fail(reader.Located(std::move(e)));
    }
    if (!point.value()) continue;
    CommonPoint p = std::move(*point.value());
    // Lines before the first that is not ASCII read the same in either
    // encoding, so the encoding known so far is the file's for this name.
    if (reader.encoding() == TextEncoding::kGbk) {
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
    if (texts) texts->push_back(std::move(coordinates));
  }
  if (fingerprint) {
    auto read = reader.Fingerprint();
    if (!read) {
      RunError e = FileError(RunErrorKind::kCannotRead, path, 0);
      e.detail = read.error();
      return Fail(std::move(e));
    }
    *fingerprint = *read;
  }
  return points;
}

}  // namespace torvane
