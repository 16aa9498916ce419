// A common point: a control point whose coordinates are known in both the
// survey grid and the construction grid.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "params/transform.h"

namespace torvane {

struct CommonPoint {
  std::string name;         // UTF-8
  std::size_t line = 0;     // 1-based line of the file it came from; 0 when not from a file
  PlanePoint survey;        // Xs, Ys in metres
  PlanePoint construction;  // Xc, Yc in metres
  std::optional<double> survey_h;        // Hs, metres; none when the point has no survey height
  std::optional<double> construction_h;  // Hc, metres; none when the point has no construction height
};

}  // namespace torvane
