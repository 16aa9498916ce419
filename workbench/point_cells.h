// Reading the workbench's common-point table for a solve: each row's texts
// read as the command line reads a common-point file's fields, so that the
// window's numbers are those of `torvane-cli solve --points`, digit for
// digit; a cell that cannot be read is a problem of its own, never a 0.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "batch/project_file.h"
#include "fit/common_point.h"

namespace torvane {

// A cell that keeps its row out of the solve: the 0-based table row, its
// column (point_columns.h) and what is wrong, in Chinese (UTF-8), quoting the
// cell: 第 3 行 测图X “12a.5” 不是数字.
struct CellProblem {
  std::size_t row;
  int column;
  std::string message;
  bool operator==(const CellProblem&) const = default;
};

// What the solve takes: the points of each role in table order, each with
// its table row, and the problems of the rows that take no part.
struct TablePoints {
  std::vector<CommonPoint> fit, check, off;  // line 0: not from a file
  std::vector<std::size_t> fit_rows, check_rows, off_rows;
  std::vector<CellProblem> problems;  // by row, then column
};

// The points of `rows`. Coordinates are read by ParseDecimal, as
// ParseCommonPointLine reads them (metres, the whole text a decimal number,
// blanks around it aside); names with the blanks around them removed, as the
// command line's fields are. Problems, each a row's own: an empty coordinate,
// one that is not a decimal number, one too large for a double; an empty
// name; a name used on an earlier row (the later row is marked, naming the
// first). A row that is empty in every cell is one being typed: no problem,
// and no point.
TablePoints ReadTablePoints(std::span<const ProjectPoint> rows);

}  // namespace torvane
