// A site's common points as a solve takes them: each row as typed, in a
// table, a project or a common-point file, read as the command line reads
// a common-point file's fields, so that every front end's numbers are those
// of `torvane-cli solve`, digit for digit; a cell that cannot be read is a
// problem of its own, never a 0.
#pragma once

#include <cstddef>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "fit/common_point.h"
#include "site/common_points.h"
#include "site/point_role.h"
#include "site/project_file.h"

namespace torvane {

// What keeps a row out of the solve, or a height out of the row.
enum class CellFault {
  kEmpty,        // an empty name or coordinate
  kNotANumber,   // a coordinate or height that is not a decimal number
  kTooLarge,     // a coordinate or height beyond the range of doubles
  kRepeatedName  // a name an earlier row has (other_row)
};

// A cell that cannot be read: the 0-based row, its column (point_columns.h),
// the fault, the cell's text without the blanks around it, and what is
// wrong in Chinese (UTF-8), quoting the cell: 第 3 行 测图X “12a.5” 不是数字.
struct CellProblem {
  std::size_t row;
  int column;
  std::string message;
  CellFault fault = CellFault::kEmpty;
  std::string text;
  std::size_t other_row = 0;  // kRepeatedName: the row that has the name first
  bool operator==(const CellProblem&) const = default;
};

// The points of each role in row order, each with its 0-based row, the
// problems of the rows that take no part, and the heights that cannot be
// read.
struct SitePoints {
  std::vector<CommonPoint> fit, check, off;
  std::vector<std::size_t> fit_rows, check_rows, off_rows;
  std::vector<CellProblem> problems;  // by row, then column
  // By row, then column: a height that is not a number or too large. Its
  // row takes part in the solve with its plane coordinates, and is without
  // that height, so that it takes no part in a fit of heights.
  std::vector<CellProblem> height_problems;

  // Adds `point`, of the 0-based `row`, to those of `role`.
  void Add(CommonPoint point, PointRole role, std::size_t row);
};

// The points of `rows`. Coordinates are read by ParseDecimal, as
// ParseCommonPointLine reads them (metres, the whole text a decimal number,
// blanks around it aside); names with the blanks around them removed, as the
// command line's fields are. Problems, each a row's own: an empty coordinate,
// one that is not a decimal number, one too large for a double; an empty
// name; a name used on an earlier row (the later row is marked, naming the
// first). Heights (metres) are read as the coordinates are: an empty one is
// none, which is no problem; one that is not a decimal number or too large
// for a double is a height problem, and the point is without it. A row
// that is empty in every cell is one being typed: no problem, and no
// point. The points' lines are 0: they are not from a file.
SitePoints ReadSitePoints(std::span<const ProjectPoint> rows);

// The role names give a point: kOff for a name of `off_names`, else kCheck
// for one of `check_names`, else kFit.
PointRole RoleByName(const std::string& name, std::span<const std::string> off_names,
                     std::span<const std::string> check_names);

// The points of a common-point file by the roles RoleByName gives them; the
// rows are the points' places in `points`.
SitePoints PointsByName(std::span<const CommonPoint> points, std::span<const std::string> off_names,
                        std::span<const std::string> check_names);

// Each point's coordinates as written, by the point's name: `texts` holds
// them by row, the rows of `points`; a row beyond them gives none.
std::map<std::string, CoordinateTexts> WrittenCoordinates(const SitePoints& points,
                                                          std::span<const CoordinateTexts> texts);
// The same for points read from a table's or project's `rows`
// (ReadSitePoints), each text without the blanks around it.
std::map<std::string, CoordinateTexts> WrittenCoordinates(const SitePoints& points,
                                                          std::span<const ProjectPoint> rows);

}  // namespace torvane
