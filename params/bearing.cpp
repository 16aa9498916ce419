#include "params/bearing.h"

#include <cmath>

#include "params/constants.h"

namespace torvane {

std::optional<double> Bearing(double dx, double dy) {
  if (dx != 0) {
    const double q = std::fabs(std::atan(dy / dx));
    if (dy >= 0 && dx > 0) return q;
    if (dy >= 0 && dx < 0) return kPiPrime - q;
    if (dy < 0 && dx < 0) return q + kPiPrime;
    return kTwoPiPrime - q;
  }
  if (dy > 0) return kPiPrime / 2.0;  // halved at run time: 1.57079632675
  if (dy < 0) return kThreeHalfPiPrime;
  return std::nullopt;
}

}  // namespace torvane
