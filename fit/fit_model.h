// What a fit of common points is and gives for each point: the model
// fitted, a point's residual, and the standardized residual with the
// leverage it is made from.
#pragma once

#include <optional>

#include "base/named_choice.h"

namespace torvane {

struct PointResidual {
  // Metres, in the survey grid: the given survey coordinates minus those the
  // conversion computes from the construction coordinates.
  double dx = 0, dy = 0;
  double length = 0;  // metres, >= 0
};

// Which conversion the common points are fitted with: the rigid motion
// (scale 1), or the four-parameter similarity transformation.
enum class FitModel { kRigid, kSimilarity };

// The models as options and project files name them.
inline constexpr NamedChoice<FitModel> kModelNames[] = {{"rigid", FitModel::kRigid},
                                                        {"similarity", FitModel::kSimilarity}};

// A residual over its standard deviation from the fit: dX / (σ̂·sqrt(1 − hx))
// and dY / (σ̂·sqrt(1 − hy)), σ̂² the fitted points' sum of squares over the
// redundancy (2n − 3 rigid, 2n − 4 similarity), h the coordinate's diagonal
// element of the hat matrix of the fit linearized at its solution. With b
// the point's construction coordinates about their centroid, S the sum of
// |b|² and v = R'(theta)·b: rigid hx = 1/n + vx²/S, hy = 1/n + vy²/S;
// similarity hx = hy = 1/n + |b|²/S. Dimensionless; none where h is 1
// (within kLeverageOne): the fit then passes through that coordinate
// whatever it is, and its residual is zero by construction.
struct StandardizedResidual {
  std::optional<double> wx, wy;
};
// A leverage h with 1 − h below this counts as 1. Where h is 1 exactly, the
// sums it is made of (n squares) leave it within about n·2⁻⁵³ of 1, some
// 1e-11 at 100 000 points; and where 1 − h is truly below a millionth the
// coordinate's residual has a standard deviation under σ̂/1000, less than
// what writing the parameters to 1e-6 m and 0.0001″ puts into it, so
// dividing by it would blow that rounding up into a false blunder.
inline constexpr double kLeverageOne = 1e-6;

}  // namespace torvane
