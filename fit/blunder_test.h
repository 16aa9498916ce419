// Each fit point left out in turn: what it misses by when the others are
// fitted without it, and whether that is more than the others' own scatter
// allows. A blunder inflates the RMS that a standardized residual is
// divided by; left out, it no longer hides itself.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "base/expected.h"
#include "fit/common_point.h"
#include "fit/fit_model.h"

namespace torvane {

// The level of the test over all the fit points together; each point is
// tested at kBlunderTestLevel / n (Bonferroni), so that a site without a
// blunder has one named in at most 5 % of surveys.
inline constexpr double kBlunderTestLevel = 0.05;
// A standard deviation below half the printed unit of a residual
// (0.0005 mm) counts as that: on points that fit exactly, what is left is
// rounding, and dividing by it would name blunders of nothing.
inline constexpr double kLeastSigma = 0.0005e-3;  // metres

struct LeftOutPoint {
  // The point's survey coordinates minus those the fit of the other points
  // gives it (the deleted residual), metres.
  PointResidual misses;
  // The externally studentized residual of each coordinate: the point's
  // residual in the fit of all points, over σ̂₍ᵢ₎·sqrt(1 − h), σ̂₍ᵢ₎ the
  // standard deviation of the fit without the point (its sum of squares
  // over its redundancy, at least kLeastSigma) and h as StandardizedResidual
  // has it. Dimensionless.
  double tx = 0, ty = 0;
  // Both coordinates together: (SSR − SSR₍ᵢ₎) / (2σ̂₍ᵢ₎²), the sum of
  // squares of the fit of all points less that of the others' fit, per
  // coordinate, over the others' variance; under no blunder it follows
  // F(2, freedom) (for the rigid fit, to first order). Never infinite:
  // σ̂₍ᵢ₎ has its floor.
  double f = 0;
  bool blunder = false;  // f beyond BlunderTest::critical
};

struct BlunderTest {
  std::size_t freedom = 0;  // redundancy of a fit without one point: 2(n − 1) − 3 or − 4
  double point_level = 0;   // kBlunderTestLevel / n
  double critical = 0;      // the quantile of F(2, freedom) at 1 − point_level
  // One per fit point, in their order; none for a point the others cannot
  // check: without it they fix no rotation (or scale), or the fit of all
  // passes through it whatever it is (1 − h within kLeverageOne of 0).
  std::vector<std::optional<LeftOutPoint>> points;
  std::vector<std::size_t> blunders;   // the points named, in their order
  std::optional<std::size_t> largest;  // the point of the largest f (the first of equals)
};

// Fit points needed for the test: with fewer, a point left out leaves a fit
// of at most one redundant point, and no blunder can be found.
inline constexpr std::size_t kBlunderTestFrom = 4;

// The test of `fitted` (at least kBlunderTestFrom points) under `model`.
// The fits are the least-squares optimum itself, not the parameters as
// written: every point left out is fitted anew in closed form from the
// sums of all points less its share. Memory and time grow with the number
// of points. Rejects a quantile Boost.Math cannot give, and sums beyond the
// range of doubles.
Expected<BlunderTest> TestBlunders(std::span<const CommonPoint> fitted, FitModel model);

}  // namespace torvane
