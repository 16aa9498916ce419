#include "workbench/point_cells.h"

#include <map>

#include "batch/run_error.h"
#include "number/number_text.h"
#include "workbench/point_columns.h"

namespace torvane {
namespace {

// "第 3 行 " for the 0-based row 2.
std::string RowText(std::size_t row) { return "第 " + std::to_string(row + 1) + " 行 "; }

std::string Quoted(std::string_view text) { return "“" + MessageExcerpt(std::string(text)) + "”"; }

bool IsEmptyRow(const ProjectPoint& p) {
  for (const std::string* text : {&p.name, &p.xs, &p.ys, &p.xc, &p.yc}) {
    if (!TrimBlanks(*text).empty()) return false;
  }
  return true;
}

}  // namespace

TablePoints ReadTablePoints(std::span<const ProjectPoint> rows) {
  TablePoints points;
  std::map<std::string, std::size_t, std::less<>> first_row;  // by name
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const ProjectPoint& p = rows[row];
    if (IsEmptyRow(p)) continue;
    const std::size_t problems_before = points.problems.size();
    auto problem = [&](int column, std::string what) {
      points.problems.push_back({row, column, RowText(row) + ColumnCaption(column) + what});
    };
    const std::string_view name = TrimBlanks(p.name);
    if (name.empty()) {
      problem(kNameColumn, " 为空");
    } else {
      const auto [seen, fresh] = first_row.emplace(std::string(name), row);
      if (!fresh) {
        problem(kNameColumn,
                " " + Quoted(name) + " 与第 " + std::to_string(seen->second + 1) + " 行重复");
      }
    }
    const struct {
      const std::string* text;
      int column;
    } cells[] = {{&p.xs, kXsColumn}, {&p.ys, kYsColumn}, {&p.xc, kXcColumn}, {&p.yc, kYcColumn}};
    double values[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
      const std::string_view text = TrimBlanks(*cells[i].text);
      if (text.empty()) {
        problem(cells[i].column, " 为空");
        continue;
      }
      auto value = ParseDecimal(text);
      if (value) {
        values[i] = *value;
      } else if (value.error() == DecimalError::kTooLarge) {
        problem(cells[i].column, " " + Quoted(text) + " 数值过大");
      } else {
        problem(cells[i].column, " " + Quoted(text) + " 不是数字");
      }
    }
    if (points.problems.size() != problems_before) continue;
    CommonPoint point{std::string(name), 0, {values[0], values[1]}, {values[2], values[3]}};
    switch (p.role) {
      case PointRole::kFit:
        points.fit.push_back(std::move(point));
        points.fit_rows.push_back(row);
        break;
      case PointRole::kCheck:
        points.check.push_back(std::move(point));
        points.check_rows.push_back(row);
        break;
      case PointRole::kOff:
        points.off.push_back(std::move(point));
        points.off_rows.push_back(row);
        break;
    }
  }
  return points;
}

}  // namespace torvane
