#include "site/point_columns.h"

#include <cassert>

namespace torvane {

const char* ColumnCaption(int column) {
  static constexpr const char* kCaptions[kPointColumnCount] = {
      "角色",   "点名",     "测图X", "测图Y", "测图H",        "施工X", "施工Y", "施工H", "dX(mm)",
      "dY(mm)", "长度(mm)", "wX",    "wY",    "剔除不符(mm)", "tX",    "tY",    "F"};
  assert(column >= 0 && column < kPointColumnCount);
  return kCaptions[column];
}

}  // namespace torvane
