// The columns of the workbench's common-point table, in their order: what a
// surveyor types (role, name, each grid's X, Y and height), then what each
// solve gives back for the row.
#pragma once

namespace torvane {

enum PointColumn : int {
  kRoleColumn,     // 参与平差 / 检核 / 不用
  kNameColumn,     // 点名
  kXsColumn,       // 测图X, metres
  kYsColumn,       // 测图Y, metres
  kHsColumn,       // 测图H, metres; may be empty
  kXcColumn,       // 施工X, metres
  kYcColumn,       // 施工Y, metres
  kHcColumn,       // 施工H, metres; may be empty
  kDxColumn,       // dX(mm), from the solve
  kDyColumn,       // dY(mm), from the solve
  kLengthColumn,   // 长度(mm), from the solve
  kWxColumn,       // wX, from the solve
  kWyColumn,       // wY, from the solve
  kLeftOutColumn,  // 剔除不符(mm): the miss when left out, from the solve
  kTxColumn,       // tX, from the solve
  kTyColumn,       // tY, from the solve
  kFColumn,        // F of the blunder test, from the solve
  kPointColumnCount
};

// Whether the column holds what a surveyor types, rather than a result.
constexpr bool IsTypedColumn(int column) { return column >= kRoleColumn && column <= kHcColumn; }

// Whether the column holds a height, which a point may be without.
constexpr bool IsHeightColumn(int column) { return column == kHsColumn || column == kHcColumn; }

// The column's caption, UTF-8 ("测图X"); `column` must be one of the above.
const char* ColumnCaption(int column);

}  // namespace torvane
