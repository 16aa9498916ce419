// Which field of a point line holds what, for files laid out otherwise than
// "name, X, Y, H": field controllers and drawing software write their own
// orders (South CASS .dat: point, code, east, north, height), with other
// separators, and sometimes a header.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "batch/line_rule.h"
#include "batch/point_file.h"
#include "batch/run_error.h"

namespace torvane {

enum class PointField { kName, kCode, kX, kY, kH, kSkip };

// As made (PointLayout{}), the usual point file's: "name, X, Y, H", comma
// separated, no header.
struct PointLayout {
  std::vector<PointField> fields{PointField::kName, PointField::kX, PointField::kY, PointField::kH};
  FieldDelimiter delimiter = FieldDelimiter::kComma;
  std::size_t skip_lines = 0;  // lines at the start that are not points, blank or not

  // "name, X, Y, H", comma separated, nothing skipped: the usual layout,
  // which the reader takes in one pass where it can (usual_line.h).
  bool IsDefault() const;
};

// The field kinds of a list such as "name,code,y,x,h": items name, code, x,
// y, h, and "-" or "skip" for a field to ignore; case and blanks around an
// item do not matter. Rejects, quoting the list: an empty item, an unknown
// one, one of name, code, x, y or h given twice, and a list without x or y.
Expected<std::vector<PointField>, std::string> ParseColumns(std::string_view list);

// The kinds as a list that ParseColumns reads back: "name,code,y,x,h", a
// field to ignore as "-".
std::string ColumnList(const std::vector<PointField>& fields);

// Splits one line (without its line end) by `layout` into a point: fields
// past the last one the layout names are ignored, a line without the H
// field has no height, and a name or code beyond the line's end is empty.
// Returns no value for a blank line. Rejects: fewer fields than X and Y
// need (field_text: the line; in a layout other than the usual one, field:
// the columns up to X and Y, limit: their count), an X or Y that is not a
// decimal number in full (header_like: as HoldWords finds X and Y). The
// error's path is empty. Fields may be quoted as CSV quotes them, with every
// delimiter (see field_split.h); the record's texts are views into `line`
// or into *texts. `fields` receives the number of fields of the line.
Expected<std::optional<PointRecord>, RunError> ParseLayoutLine(std::string_view line,
                                                               std::size_t line_number,
                                                               const PointLayout& layout,
                                                               std::string* texts,
                                                               std::size_t* fields = nullptr);

}  // namespace torvane
