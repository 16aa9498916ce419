// Parameters from many common points, and the checks a surveyor files with
// them: how far every point lies from where the parameters put it, and how
// every distance between two points compares in the two grids.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/expected.h"
#include "fit/blunder_test.h"
#include "fit/common_point.h"
#include "fit/fit_model.h"
#include "params/conversion_params.h"
#include "params/param_texts.h"

namespace torvane {

// Beyond this a standardized residual names its point as a likely blunder.
inline constexpr double kBlunderLimit = 3.0;

// The similarity fit against the rigid fit on the same points, n >= 3.
struct ScaleTest {
  double ppm_error = 0;     // the scale's standard error, ppm: σ̂/sqrt(S)·1e6
  double rigid_rms = 0;     // metres, the rigid fit's RMS as ReportFit gives it
  std::size_t freedom = 0;  // 2n − 4
  // (SSR_rigid − SSR_similarity) / (SSR_similarity / (2n − 4)), from the
  // residuals of the parameters as written; infinity for an exact
  // similarity fit that the rigid one misses. Never below 0: where the
  // rounding of the written parameters leaves the similarity fit's sum
  // above the rigid one's, the scale explains nothing and F is 0.
  double f = 0;
  double quantile = 0;       // of F(1, 2n − 4) at probability kScaleTestLevel
  bool significant = false;  // f > quantile
};
inline constexpr double kScaleTestLevel = 0.95;

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
  FitModel model = FitModel::kRigid;
  ParamTexts texts;  // as the window writes them into its three boxes
  // Similarity only: the scale to nine decimals ("1.000012345"), more
  // where the fit points lie beyond 1 km of their centroid (ten to 10 km,
  // eleven to 100 km), which params.scale reads back, and the inverse's
  // (1/k) to as many; empty for rigid.
  std::string scale_text, inverse_scale_text;
  double ppm = 0;                       // (params.scale − 1)·1e6
  std::optional<ScaleTest> scale_test;  // similarity, three points or more
  bool offsets_disagree = false;        // exactly two points: the two-point method's 10 mm warning
  RunParams params;                     // the texts read back as the conversion reads them
  double box_degrees = 0;               // the rotation box's angle in decimal degrees
  double degrees = 0;                   // params.theta in degrees of the full pi: the turn made
  ParamTexts inverse;  // the survey grid's origin in construction coordinates, -theta
  std::vector<PointResidual> residuals;           // one per fitted point, in their order
  std::vector<PointResidual> excluded_residuals;  // one per excluded point, in their order
  // Check points: kept out of the fit like the excluded ones, and summed up
  // on their own, the measure of how well the parameters carry over to
  // points they were not made from. With none, check_rms and check_largest
  // are 0.
  std::vector<PointResidual> check_residuals;  // one per check point, in their order
  double check_rms = 0;           // metres: root mean square of the check points' residual lengths
  std::size_t check_largest = 0;  // the check point with the largest residual (the first of equals)
  double rms = 0;                 // metres: root mean square of the fitted points' residual lengths
  std::size_t largest = 0;  // the fitted point with the largest residual (the first of equals)
  // Four points or more: one per fitted point, and the point whose larger
  // |w| is the largest (the first of equals), of the points that have one.
  std::vector<StandardizedResidual> standardized;
  std::optional<std::size_t> most_standardized;
  // From kBlunderTestFrom fitted points: each left out in turn (TestBlunders).
  std::optional<BlunderTest> blunder_test;
  // Up to kAllPairsUpTo fitted points, every pair: (0,1), (0,2), ... (1,2), ...
  // With more, the kWorstPairs pairs whose distances disagree most, the most
  // first: ranked by the size of the difference as MillimetreText shows it
  // (to 0.001 mm), pairs of equal size by `from`, then by `to`.
  std::vector<PairCheck> pairs;
  std::size_t pair_count = 0;  // n·(n−1)/2 for n fitted points; more than pairs.size() when cut
};

// Fits the rigid motion to `fitted` (see FitRigid), or the similarity
// transformation (FitSimilarity), and writes its parameters as the boxes
// show them; for the rigid motion of exactly two points the texts are
// those of SolveTwoPoints' solution (TwoPointBoxTexts), character for
// character. Otherwise the angle and the scale are written first, and the
// offsets are those that carry the construction centroid onto the survey
// centroid with the angle as the conversion reads its text back and the
// scale as written: with construction coordinates of millions of metres,
// offsets from the unrounded angle and scale would miss the points by up
// to a few millimetres. The similarity fit's inverse offsets are made the
// same way, from the survey centroid with the opposite angle and the
// written inverse scale. Every check is then made with
// the parameters as written, so the report tells what converting with them
// gives; the excluded points and the check points are checked but take no
// part in the fit.
// Memory grows with the number of points, not of pairs, and so does time
// unless many points are off by about the same large amount: past
// kAllPairsUpTo points the worst pairs are found without checking the
// pairs that cannot be among them.
// Rejects what FitRigid and SolveTwoPoints reject, an angle FormatDmsNumber
// rejects, residuals and distances beyond the range of doubles and, past
// kAllPairsUpTo points, a grid whose points span more than about 1.8e305 m.
Expected<FitReport> ReportFit(std::span<const CommonPoint> fitted,
                              std::span<const CommonPoint> excluded,
                              std::span<const CommonPoint> check = {},
                              FitModel model = FitModel::kRigid);

// The larger |w| of a standardized residual, 0 for none.
double LargerOf(const StandardizedResidual& w);

// The fitted points whose residual length, as reported to 0.001 mm, is
// larger than `limit_mm` millimetres; in their order.
std::vector<std::size_t> ResidualsAbove(const FitReport& report, double limit_mm);

// The fit point to look at first, an index into the fitted points: the one
// with the largest standardized residual where the fit has them, otherwise
// the one with the largest residual.
std::size_t WorstFitPoint(const FitReport& report);

}  // namespace torvane
