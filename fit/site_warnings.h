// What a site's common points themselves say is likely wrong with them,
// before any parameter is trusted: points nothing checks, points that cannot
// fix a rotation, one point entered twice, a grid written east first.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "fit/common_point.h"
#include "fit/fit_report.h"

namespace torvane {

// Two fit points closer than this, metres, in either grid are one place: a
// point entered twice, or two marks too close to turn a grid by.
inline constexpr double kCoincidentLimit = 0.01;
// Coincident pairs listed at most: more are one mistake made many times (a
// column of zeros: a thousand points make half a million pairs).
inline constexpr std::size_t kCoincidentListed = 100;
// A grid's points lie on one line when their spread across their best line
// is under this fraction of their spread along it: a site 1 km long whose
// points stray 10 m from a line turns its grid by no more than a thin one.
inline constexpr double kCollinearRatio = 0.01;
// A fit with one grid's X and Y exchanged must leave an RMS this many times
// smaller than the fit's, or better, for the exchange to look like the mistake.
inline constexpr double kSwappedGain = 10;
// Metres: a fit's RMS up to this is what good marks and mm coordinates
// leave; no other fit can meaningfully beat it.
inline constexpr double kSwappedNoiseFloor = 0.005;
// Metres: China's Gauss-Krüger northings (X), the Xisha Islands (16.5° N)
// to Mohe (53.5° N).
inline constexpr double kNorthingFrom = 1800000, kNorthingTo = 6000000;
// Metres: a Gauss-Krüger easting (Y), 500 km at the central meridian, is in
// [0, kEastingBelow); with the zone number in front (6° zones 13-23, 3° zones
// 25-45) it is in [kZonedEastingFrom, kZonedEastingBelow).
inline constexpr double kEastingBelow = 1000000;
inline constexpr double kZonedEastingFrom = 13000000, kZonedEastingBelow = 46000000;

// Which grid's X and Y look exchanged. A fit cannot tell: exchanging them
// in either grid mirrors one grid against the other, and a fit with
// either exchange leaves the same residuals. The survey grid's numbers
// decide where they can: Gauss-Krüger coordinates written east first
// (X like an easting, Y like a northing) make it the survey grid's
// mistake; written north first, it is the construction grid's (CAD and
// CASS write east first); local numbers leave it open.
enum class SwappedGrid { kSurvey, kConstruction, kEither };

struct SiteWarnings {
  // Exactly two fit points: they fix the parameters and nothing checks them.
  bool no_redundancy = false;
  // Three or more fit points, at three or more places (points closer than
  // kCoincidentLimit count as one place), that lie on one line in the
  // survey grid or in the construction grid: spread as the square roots of
  // the eigenvalues of the 2×2 scatter matrix about the centroid, the
  // smaller under kCollinearRatio times the larger. Two places are no line
  // of their own: three points of which two coincide warn as coincident.
  bool collinear = false;
  // The pairs (i, j), i < j, of fit points closer than kCoincidentLimit in
  // the survey grid or in the construction grid, each once, in increasing
  // order: all of them up to kCoincidentListed, the first so many beyond.
  std::vector<std::pair<std::size_t, std::size_t>> coincident;
  std::size_t coincident_count = 0;  // all of those pairs
  // Set when the fit with the construction grid's X and Y exchanged (the
  // same model) leaves an RMS kSwappedGain times smaller than the fit's, or
  // better, and the fit's RMS is above kSwappedNoiseFloor. Tried only with
  // three or more fit points at three or more places in each grid, on no
  // line in either: a grid on one line is its own mirror image.
  std::optional<SwappedGrid> swapped;
  // Metres: the RMS of the residual lengths of that exchanged fit, whenever
  // it was tried and succeeded, warning or not; 0 otherwise.
  double swapped_rms = 0;
};

// The warnings for the points `fitted` fitted with `model`, whose fit left
// the RMS `rms` (FitReport::rms, metres, >= 0; where there is no fit, 0,
// and nothing is then swapped). Fewer than two points warn of nothing: the
// fit itself rejects them. Coordinates must be finite (as the point readers
// give them). Time grows as n·log n (n fit points) and with the number of
// coincident pairs; memory as n.
SiteWarnings WarnSite(std::span<const CommonPoint> fitted, FitModel model, double rms);

// True when `warnings` say the fit points are not one site under one
// transformation (axes exchanged, points at one place, on one line): no
// figure of the fit then chooses a model.
bool NotOneTransformation(const SiteWarnings& warnings);

}  // namespace torvane
