// Parameters from many common points, and the checks a surveyor files with
// them: how far every point lies from where the parameters put it, and how
// every distance between two points compares in the two grids.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "params/common_point.h"
#include "params/conversion_params.h"
#include "params/expected.h"
#include "params/param_texts.h"

namespace torvane {

struct PointResidual {
  // Metres, in the survey grid: the given survey coordinates minus those the
  // conversion computes from the construction coordinates.
  double dx = 0, dy = 0;
  double length = 0;  // metres, >= 0
};

struct PairCheck {
  std::size_t from = 0, to = 0;  // indices of the fitted points, from < to
  double survey = 0;             // distance in the survey grid, metres
  double construction = 0;       // distance in the construction grid, metres
  double difference = 0;         // construction minus survey, metres
  std::optional<double> scale;   // construction / survey; none for a survey distance of 0
};

// Up to this many fitted points the report checks the distance of every
// pair; beyond, only the kWorstPairs pairs whose distances disagree most.
inline constexpr std::size_t kAllPairsUpTo = 50;
inline constexpr std::size_t kWorstPairs = 20;

struct FitReport {
  ParamTexts texts;               // as the window writes them into its three boxes
  bool offsets_disagree = false;  // exactly two points: the two-point method's 10 mm warning
  RunParams params;               // the texts read back as the conversion reads them
  double box_degrees = 0;         // the rotation box's angle in decimal degrees
  double degrees = 0;             // params.theta in degrees of the full pi: the turn made
  ParamTexts inverse;             // the survey grid's origin in construction coordinates, -theta
  std::vector<PointResidual> residuals;           // one per fitted point, in their order
  std::vector<PointResidual> excluded_residuals;  // one per excluded point, in their order
  double rms = 0;           // metres: root mean square of the fitted points' residual lengths
  std::size_t largest = 0;  // the fitted point with the largest residual (the first of equals)
  // Up to kAllPairsUpTo fitted points, every pair: (0,1), (0,2), ... (1,2), ...
  // With more, the kWorstPairs pairs whose distances disagree most, the most
  // first: ranked by the size of the difference as MillimetreText shows it
  // (to 0.001 mm), pairs of equal size by `from`, then by `to`.
  std::vector<PairCheck> pairs;
  std::size_t pair_count = 0;  // n·(n−1)/2 for n fitted points; more than pairs.size() when cut
};

// Fits the rigid motion to `fitted` (see FitRigid) and writes its
// parameters as the boxes show them; with exactly two points the texts are
// SolveTwoPoints', character for character. Every check is then made with
// the parameters as written, so the report tells what converting with them
// gives; the excluded points are checked but take no part in the fit.
// Memory grows with the number of points, not of pairs, and so does time
// unless many points are off by about the same large amount: past
// kAllPairsUpTo points the worst pairs are found without checking the
// pairs that cannot be among them.
// Rejects what FitRigid and SolveTwoPoints reject, an angle FormatDmsNumber
// rejects, residuals and distances beyond the range of doubles and, past
// kAllPairsUpTo points, a grid whose points span more than about 1.8e305 m.
Expected<FitReport> ReportFit(std::span<const CommonPoint> fitted,
                              std::span<const CommonPoint> excluded);

// Metres -> millimetres to three decimals, as reported: 0.0012344 gives "1.234".
std::string MillimetreText(double metres);

// The fitted points whose residual length, as reported to 0.001 mm, is
// larger than `limit_mm` millimetres; in their order.
std::vector<std::size_t> ResidualsAbove(const FitReport& report, double limit_mm);

}  // namespace torvane
