#include "batch/point_layout.h"

#include <algorithm>
#include <array>

#include "batch/field_split.h"
#include "batch/run_error.h"
#include "number/number_text.h"

namespace torvane {
namespace {

struct ColumnSpelling {
  std::string_view text;
  PointField field;
};
constexpr std::array<ColumnSpelling, 7> kSpellings{{{"name", PointField::kName},
                                                    {"code", PointField::kCode},
                                                    {"x", PointField::kX},
                                                    {"y", PointField::kY},
                                                    {"h", PointField::kH},
                                                    {"-", PointField::kSkip},
                                                    {"skip", PointField::kSkip}}};

bool SameLetters(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char p, char q) { return lower(p) == lower(q); });
}

// "name", "code", "x", "y", "h" or "-": how ParseColumns spells a kind.
std::string_view ColumnName(PointField field) {
  for (const ColumnSpelling& spelling : kSpellings) {
    if (spelling.field == field) return spelling.text;
  }
  return "-";
}

}  // namespace

char SeparatorOf(FieldDelimiter delimiter) {
  switch (delimiter) {
    case FieldDelimiter::kTab:
      return '\t';
    case FieldDelimiter::kSemicolon:
      return ';';
    case FieldDelimiter::kWhitespace:
      return kBlankRuns;
    case FieldDelimiter::kComma:
      break;
  }
  return ',';
}

bool PointLayout::IsDefault() const {
  return fields == PointLayout{}.fields && delimiter == FieldDelimiter::kComma && skip_lines == 0;
}

Expected<std::vector<PointField>, std::string> ParseColumns(std::string_view list) {
  const std::string quoted = "\"" + MessageExcerpt(std::string(list)) + "\"";
  std::vector<PointField> fields;
  for (std::size_t start = 0; start <= list.size();) {
    std::size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view item = TrimBlanks(list.substr(start, end - start));
    start = end + 1;
    if (item.empty()) return Fail(quoted + " has an empty item");
    const auto spelling =
        std::find_if(kSpellings.begin(), kSpellings.end(),
                     [&](const ColumnSpelling& s) { return SameLetters(item, s.text); });
    if (spelling == kSpellings.end()) {
      return Fail(quoted + ": \"" + MessageExcerpt(std::string(item)) +
                  "\" is not one of name, code, x, y, h, - or skip");
    }
    if (spelling->field != PointField::kSkip &&
        std::find(fields.begin(), fields.end(), spelling->field) != fields.end()) {
      return Fail(quoted + ": " + std::string(ColumnName(spelling->field)) + " is given twice");
    }
    fields.push_back(spelling->field);
  }
  for (PointField needed : {PointField::kX, PointField::kY}) {
    if (std::find(fields.begin(), fields.end(), needed) == fields.end()) {
      return Fail(quoted + " has no " + std::string(ColumnName(needed)));
    }
  }
  return fields;
}

Expected<std::optional<PointRecord>, RunError> ParseLayoutLine(std::string_view line,
                                                               std::size_t line_number,
                                                               const PointLayout& layout,
                                                               std::string* texts,
                                                               std::size_t* fields) {
  if (TrimBlanks(line).empty()) return std::optional<PointRecord>();
  PointRecord point;
  point.line = line_number;
  bool has_x = false, has_y = false;
  std::size_t count = 0;
  SplitFields(line, SeparatorOf(layout.delimiter), texts, [&](std::string_view text) {
    if (count < layout.fields.size()) {
      switch (layout.fields[count]) {
        case PointField::kName:
          point.name = text;
          break;
        case PointField::kCode:
          point.code = text;
          break;
        case PointField::kX:
          point.x_text = text;
          has_x = true;
          break;
        case PointField::kY:
          point.y_text = text;
          has_y = true;
          break;
        case PointField::kH:
          point.h_text = text;
          break;
        case PointField::kSkip:
          break;
      }
    }
    ++count;
  });
  if (fields != nullptr) *fields = count;
  if (!has_x || !has_y) {
    RunError e = LineError(RunErrorKind::kTooFewFields, line_number, line);
    // The columns a point needs: up to the later of X and Y.
    const auto x = std::find(layout.fields.begin(), layout.fields.end(), PointField::kX);
    const auto y = std::find(layout.fields.begin(), layout.fields.end(), PointField::kY);
    const auto last = std::max(x, y);
    for (auto it = layout.fields.begin(); it <= last; ++it) {
      if (!e.field.empty()) e.field += ", ";
      e.field += ColumnName(*it);
    }
    e.limit = static_cast<std::size_t>(last - layout.fields.begin()) + 1;
    return Fail(std::move(e));
  }
  return WithCoordinates(point);
}

}  // namespace torvane
