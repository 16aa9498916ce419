// A pasted table's header row read: which column holds the point's name,
// which each coordinate and height of the two grids, as a spreadsheet's
// captions say.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace torvane {

// The fields a point must have, then those it may have: the role and each
// grid's height.
enum PastedField : std::size_t {
  kPastedName,
  kPastedXs,
  kPastedYs,
  kPastedXc,
  kPastedYc,
  kPastedRole,
  kPastedHs,
  kPastedHc,
  kPastedFieldCount
};

struct HeaderPlacement {
  // For each field, the 0-based pasted column it is taken from.
  std::array<std::optional<std::size_t>, kPastedFieldCount> columns;
  // Columns whose caption names a height (H, 高程, Z) of no grid that can be
  // told: read, not used.
  std::vector<std::size_t> heights;
  // Columns whose caption names nothing known, or a field named twice.
  std::vector<std::size_t> unknown;
  // Every field but the role has a column, and no caption is unknown.
  bool Complete() const;
};

// What `captions` (a header row's cells, trimmed, UTF-8) name. A caption is
// read without blanks, brackets or a unit "(m)", case aside: 点名, 点号,
// 名称, 点, name, point, id for the name; the survey grid by 测 (测图,
// 测量), survey, map, 大地; the construction grid by 施 (施工), 建筑, 坐标A/B,
// site, construction, local; the axis by X, Y, or N, E, 北, 东 (north is
// X), or A, B in the construction grid; H, Z, 高程, height for a height;
// 角色, role for the role. A caption that names an axis but no grid takes
// the grid of its order: the first X and Y survey, the next construction,
// as the table's own order is. A height that names no grid (H, 高程) is of
// the grid whose X and Y stand nearest before it (点名, X, Y, H, X, Y, H:
// survey, then construction); before both of either grid's, it is of none.
HeaderPlacement ReadHeader(const std::vector<std::string>& captions);

// The placement in words, Chinese, a line for each: "点名 ← 第 1 列“点名”\n
// 测图X ← 第 4 列“X测”\n…", the role and the heights where they are
// placed, then the heights of no grid and unknown columns; `captions` as
// ReadHeader had them.
std::string PlacementText(const HeaderPlacement& placement,
                          const std::vector<std::string>& captions);

}  // namespace torvane
