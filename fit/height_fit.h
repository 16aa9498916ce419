// The height models fitted to the common points by least squares, each
// with the checks the plane fit has: residuals, RMS, leverage, standardized,
// deleted and externally studentized residuals, the blunder test and the
// check points' misclosures; and the F tests that say which model the
// points support.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "base/expected.h"
#include "fit/common_point.h"
#include "fit/height_model.h"
#include "fit/height_surface.h"

namespace torvane {

// The level of each F test of a model against the simpler one.
inline constexpr double kHeightTestLevel = 0.05;
// GB 50026: more common points than this many times a model's terms.
inline constexpr double kPointsPerTerm = 1.5;
// A term whose column of the design, cleared of the columns before it, is
// shorter than this share of its own length is taken to follow from them:
// the points do not fix it (three on a line for the plane, six on one
// conic for the quadric).
inline constexpr double kSpreadTolerance = 1e-9;

// Why a model is not fitted.
enum class HeightShortfall {
  kTooFewPoints,  // fewer fit points with both heights than the model has terms
  kCollinear,     // the plane: the points lie on one line
  kPoorlySpread,  // the quadric: the points do not fix its six terms
  kOverflow,      // sums beyond the range of doubles
};

struct HeightLeftOut {
  // Hs minus Hc + d₍ᵢ₎(X, Y), d₍ᵢ₎ fitted without the point: e/(1 − h),
  // metres.
  double misses = 0;
  // e / (σ̂₍ᵢ₎·sqrt(1 − h)), σ̂₍ᵢ₎² = (SSR − e²/(1 − h)) / (n − p − 1), σ̂₍ᵢ₎
  // at least kLeastSigma. Dimensionless.
  double t = 0;
  double f = 0;          // t², under no blunder F(1, n − p − 1)
  bool blunder = false;  // f beyond HeightBlunderTest::critical
};

struct HeightBlunderTest {
  std::size_t freedom = 0;  // n − p − 1
  double point_level = 0;   // kBlunderTestLevel / n
  double critical = 0;      // the quantile of F(1, freedom) at 1 − point_level
  // One per fit point; none where 1 − h is within kLeverageOne of 0: the
  // fit passes through the point whatever its height.
  std::vector<std::optional<HeightLeftOut>> points;
  std::vector<std::size_t> blunders;   // the points named, in their order
  std::optional<std::size_t> largest;  // the point of the largest f (the first of equals)
};

struct HeightSolution {
  HeightSurface surface;       // the model, the fit points' centroid and the terms
  std::size_t redundancy = 0;  // n − p
  // Metres, one per fit point: Hs minus Hc + d(X, Y), given minus computed.
  std::vector<double> residuals;
  double sum_of_squares = 0;  // m², of the residuals
  // sqrt(SSR / (n − p)), metres; 0 without redundancy.
  double rms = 0;
  std::vector<double> leverage;  // h, the hat matrix's diagonal, one per fit point
  // e / (σ̂·sqrt(1 − h)), σ̂ = rms at least kLeastSigma; none without
  // redundancy or where 1 − h is within kLeverageOne of 0.
  std::vector<std::optional<double>> standardized;
  // From p + 2 points (one left out leaves redundancy): each left out in turn.
  std::optional<HeightBlunderTest> blunder_test;
  // Metres, one per check point: Hs minus Hc + d(X, Y).
  std::vector<double> check_misclosures;
  double check_rms = 0;  // metres, root mean square of the misclosures; 0 without check points
  bool enough_points = false;  // n > kPointsPerTerm · p (GB 50026)
};

// A model against the simpler one: F = ((SSR₀ − SSR₁)/q) / s², s² the
// fuller model's SSR₁/(n − p₁) at least kLeastSigma², q the terms it adds.
struct HeightFTest {
  double f = 0;                        // never below 0
  std::size_t added = 0, freedom = 0;  // q and n − p₁
  double quantile = 0;                 // of F(q, n − p₁) at 1 − kHeightTestLevel
  bool significant = false;            // f > quantile
};

struct HeightFits {
  std::size_t count = 0;  // fit points
  Expected<HeightSolution, HeightShortfall> offset = Fail(HeightShortfall::kTooFewPoints);
  Expected<HeightSolution, HeightShortfall> plane = Fail(HeightShortfall::kTooFewPoints);
  Expected<HeightSolution, HeightShortfall> quadric = Fail(HeightShortfall::kTooFewPoints);
  std::optional<HeightFTest> plane_against_offset;   // both fitted, n ≥ 4
  std::optional<HeightFTest> quadric_against_plane;  // both fitted, n ≥ 7
  // The simplest model the points support: the quadric where it is fitted,
  // has enough points (n ≥ 10) and its F test against the plane is
  // significant; else the plane where the same holds for it against the
  // offset (n ≥ 5); else the offset; kNone without fit points.
  HeightModel recommended = HeightModel::kNone;
};

// The fit of `model` (not kNone) from `fitted`, each with both heights,
// with `check`'s misclosures (each with both heights). Householder QR of
// the design in u, v about the centroid (HeightSurface): no normal
// equations, whose squared condition would lose the quadric's terms on
// sites far from their centroid's scale. Rejects, as a shortfall, what
// HeightShortfall names; a quantile Boost.Math cannot give is taken as
// kOverflow.
Expected<HeightSolution, HeightShortfall> FitHeightModel(std::span<const CommonPoint> fitted,
                                                         std::span<const CommonPoint> check,
                                                         HeightModel model);

// All three models, their F tests and the recommendation.
HeightFits FitHeights(std::span<const CommonPoint> fitted, std::span<const CommonPoint> check);

// The solution of `model` in `fits`; kNone has none.
const Expected<HeightSolution, HeightShortfall>* SolutionOf(const HeightFits& fits,
                                                            HeightModel model);

}  // namespace torvane
