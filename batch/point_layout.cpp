#include "batch/point_layout.h"

#include <algorithm>

#include "batch/column_list.h"
#include "batch/field_split.h"
#include "batch/line_rule.h"
#include "batch/run_error.h"
#include "number/number_text.h"

namespace torvane {
namespace {

constexpr ColumnSpelling<PointField> kSpellings[] = {
    {"name", PointField::kName}, {"code", PointField::kCode}, {"x", PointField::kX},
    {"y", PointField::kY},       {"h", PointField::kH},       {"-", PointField::kSkip},
    {"skip", PointField::kSkip}};

// "name", "code", "x", "y", "h" or "-": how ParseColumns spells a kind.
std::string_view ColumnName(PointField field) { return ColumnName<PointField>(kSpellings, field); }

// A point whose fields are split: its X and Y texts read as numbers in
// metres. Rejects an X or Y that is not a decimal number in full; the
// error about X is header_like when X and Y both hold words (HoldWords).
Expected<std::optional<PointRecord>, RunError> WithCoordinates(PointRecord point) {
  auto x = ParseDecimal(point.x_text);
  if (!x) {
    RunError e = NumberFieldError(x.error(), point.line, "X", point.x_text);
    e.header_like = HoldWords(point.x_text, point.y_text);
    return Fail(std::move(e));
  }
  auto y = ParseDecimal(point.y_text);
  if (!y) return Fail(NumberFieldError(y.error(), point.line, "Y", point.y_text));
  point.x = *x;
  point.y = *y;
  return std::optional<PointRecord>(point);
}

}  // namespace

bool PointLayout::IsDefault() const {
  return fields == PointLayout{}.fields && delimiter == FieldDelimiter::kComma && skip_lines == 0;
}

Expected<std::vector<PointField>, std::string> ParseColumns(std::string_view list) {
  return ParseColumnList<PointField>(list, kSpellings, PointField::kSkip,
                                     {PointField::kX, PointField::kY},
                                     "name, code, x, y, h, - or skip");
}

std::string ColumnList(const std::vector<PointField>& fields) {
  std::string list;
  for (const PointField field : fields) {
    if (!list.empty()) list += ',';
    list += ColumnName(field);
  }
  return list;
}

Expected<std::optional<PointRecord>, RunError> ParseLayoutLine(std::string_view line,
                                                               std::size_t line_number,
                                                               const PointLayout& layout,
                                                               std::string* texts,
                                                               std::size_t* fields) {
  if (IsBlankLine(line)) return std::optional<PointRecord>();
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
    // The usual file's message says which three in words of its own.
    if (layout.IsDefault()) return Fail(std::move(e));
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
