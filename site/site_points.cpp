#include "site/site_points.h"

#include <algorithm>
#include <cassert>
#include <map>
#include <optional>
#include <tuple>

#include "batch/run_error.h"
#include "number/number_text.h"
#include "site/point_columns.h"

namespace torvane {
namespace {

// "第 3 行 " for the 0-based row 2.
std::string RowText(std::size_t row) { return "第 " + std::to_string(row + 1) + " 行 "; }

std::string Quoted(std::string_view text) { return "“" + MessageExcerpt(std::string(text)) + "”"; }

bool IsEmptyRow(const ProjectPoint& p) {
  for (const std::string* text : {&p.name, &p.xs, &p.ys, &p.xc, &p.yc, &p.hs, &p.hc}) {
    if (!TrimBlanks(*text).empty()) return false;
  }
  return true;
}

}  // namespace

SitePoints ReadSitePoints(std::span<const ProjectPoint> rows) {
  SitePoints points;
  std::map<std::string, std::size_t, std::less<>> first_row;  // by name
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const ProjectPoint& p = rows[row];
    if (IsEmptyRow(p)) continue;
    const std::size_t problems_before = points.problems.size();
    auto problem = [&](std::vector<CellProblem>& into, int column, CellFault fault,
                       std::string_view text, std::string what, std::size_t other_row = 0) {
      into.push_back({row, column, RowText(row) + ColumnCaption(column) + what, fault,
                      std::string(text), other_row});
    };
    const std::string_view name = TrimBlanks(p.name);
    if (name.empty()) {
      problem(points.problems, kNameColumn, CellFault::kEmpty, name, " 为空");
    } else {
      const auto [seen, fresh] = first_row.emplace(std::string(name), row);
      if (!fresh) {
        problem(points.problems, kNameColumn, CellFault::kRepeatedName, name,
                " " + Quoted(name) + " 与第 " + std::to_string(seen->second + 1) + " 行重复",
                seen->second);
      }
    }
    // A number cell's value; none, with its problem put `into`, when it has none.
    auto number = [&](std::vector<CellProblem>& into, int column,
                      std::string_view text) -> std::optional<double> {
      auto value = ParseDecimal(text);
      if (value) return *value;
      if (value.error() == DecimalError::kTooLarge) {
        problem(into, column, CellFault::kTooLarge, text, " " + Quoted(text) + " 数值过大");
      } else {
        problem(into, column, CellFault::kNotANumber, text, " " + Quoted(text) + " 不是数字");
      }
      return std::nullopt;
    };
    const struct {
      const std::string* text;
      int column;
    } cells[] = {{&p.xs, kXsColumn}, {&p.ys, kYsColumn}, {&p.xc, kXcColumn}, {&p.yc, kYcColumn}};
    double values[4] = {};
    for (std::size_t i = 0; i < 4; ++i) {
      const std::string_view text = TrimBlanks(*cells[i].text);
      if (text.empty()) {
        problem(points.problems, cells[i].column, CellFault::kEmpty, text, " 为空");
      } else if (const auto value = number(points.problems, cells[i].column, text)) {
        values[i] = *value;
      }
    }
    // A height that cannot be read leaves the point without it, not out.
    std::optional<double> heights[2];
    for (const auto& [text, column, height] :
         {std::tuple{&p.hs, kHsColumn, &heights[0]}, std::tuple{&p.hc, kHcColumn, &heights[1]}}) {
      const std::string_view trimmed = TrimBlanks(*text);
      if (!trimmed.empty()) *height = number(points.height_problems, column, trimmed);
    }
    if (points.problems.size() != problems_before) continue;
    CommonPoint point{std::string(name),      0,          {values[0], values[1]},
                      {values[2], values[3]}, heights[0], heights[1]};
    points.Add(std::move(point), p.role, row);
  }
  return points;
}

void SitePoints::Add(CommonPoint point, PointRole role, std::size_t row) {
  auto [of_role, rows_of_role] = role == PointRole::kFit     ? std::tie(fit, fit_rows)
                                 : role == PointRole::kCheck ? std::tie(check, check_rows)
                                                             : std::tie(off, off_rows);
  of_role.push_back(std::move(point));
  rows_of_role.push_back(row);
}

PointRole RoleByName(const std::string& name, std::span<const std::string> off_names,
                     std::span<const std::string> check_names) {
  auto named = [&](std::span<const std::string> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
  };
  return named(off_names)     ? PointRole::kOff
         : named(check_names) ? PointRole::kCheck
                              : PointRole::kFit;
}

SitePoints PointsByName(std::span<const CommonPoint> points, std::span<const std::string> off_names,
                        std::span<const std::string> check_names) {
  SitePoints site;
  for (std::size_t i = 0; i < points.size(); ++i) {
    site.Add(points[i], RoleByName(points[i].name, off_names, check_names), i);
  }
  return site;
}

std::map<std::string, CoordinateTexts> WrittenCoordinates(const SitePoints& points,
                                                          std::span<const CoordinateTexts> texts) {
  std::map<std::string, CoordinateTexts> written;
  const auto add = [&](const std::vector<CommonPoint>& role, const std::vector<std::size_t>& rows) {
    assert(role.size() == rows.size());
    for (std::size_t i = 0; i < role.size(); ++i) {
      if (rows[i] < texts.size()) written.emplace(role[i].name, texts[rows[i]]);
    }
  };
  add(points.fit, points.fit_rows);
  add(points.check, points.check_rows);
  add(points.off, points.off_rows);
  return written;
}

std::map<std::string, CoordinateTexts> WrittenCoordinates(const SitePoints& points,
                                                          std::span<const ProjectPoint> rows) {
  std::vector<CoordinateTexts> texts;
  texts.reserve(rows.size());
  for (const ProjectPoint& row : rows) {
    CoordinateTexts& t = texts.emplace_back();
    const std::string* cells[] = {&row.xs, &row.ys, &row.xc, &row.yc, &row.hs, &row.hc};
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = TrimBlanks(*cells[i]);
  }
  return WrittenCoordinates(points, texts);
}

}  // namespace torvane
