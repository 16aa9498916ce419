// Arithmetic that leaves the range of doubles: how the two-point
// determination, the fits and their checks find it, and the error they give.
#pragma once

#include <cmath>
#include <initializer_list>

namespace torvane {

inline constexpr const char* kOverflow = "the coordinates are too large to compute with";

// Whether every value is a finite number: false for an infinity or a NaN.
inline bool AllFinite(std::initializer_list<double> values) {
  for (double v : values) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

}  // namespace torvane
