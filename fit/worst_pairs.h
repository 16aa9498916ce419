// The pairs of common points whose distances disagree most between the two
// grids, found without checking every pair: for sites of many thousands of
// points, where a table of every pair would not fit in memory.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "fit/common_point.h"
#include "fit/fit_report.h"

namespace torvane {

// The distances of points `from` and `to` in both grids, in metres, and
// how they differ.
PairCheck CheckPair(std::span<const CommonPoint> fitted, std::size_t from, std::size_t to);

// Whether every distance between the points in one grid, in millimetres, is
// a double.
bool SpanFits(std::span<const CommonPoint> points, PlanePoint CommonPoint::*grid);

// The kWorstPairs pairs whose distances disagree most, ranked as FitReport's
// `pairs` says, exactly as a check of every pair would rank them; `theta`
// is the fitted rotation in radians. Needs more than kWorstPairs pairs. No
// value when a difference is beyond the range of doubles.
std::optional<std::vector<PairCheck>> WorstPairsOf(std::span<const CommonPoint> fitted,
                                                   double theta);

}  // namespace torvane
