#include "fit/fit_report.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "gauss_newton.h"
#include "number/number_text.h"
#include "params/constants.h"
#include "params/dms.h"
#include "params/millimetre_text.h"
#include "params/transform.h"
#include "params/two_point.h"
#include "report/two_point_report.h"

namespace torvane {
namespace {

using testing::GaussNewton;

std::vector<CommonPoint> TwoPointsOf(const TwoPoints& t) {
  return {{"A", 1, {t.xs_a, t.ys_a}, {t.xc_a, t.yc_a}, {}, {}},
          {"B", 2, {t.xs_b, t.ys_b}, {t.xc_b, t.yc_b}, {}, {}}};
}

TEST(ReportFit, TwoPointsGiveTheTwoPointTexts) {
  // The first three are the two-point method's own examples; on the others
  // the closed-form fit would write other texts (another turn of the angle,
  // or a last offset digit), so only the two-point path passes.
  const TwoPoints rows[] = {
      {1000, 2000, 1070.711, 2070.711, 0, 0, 100, 0},
      {3500, 4200, 3600, 4200, 100, 50, 100, 150},
      {1000, 2000, 1100, 2000, 0, 0, 100.02, 0},
      {1542.425, 5198.426, 1900.968, 4073.594, 119.929, 480.718, -1025.646, 766.127},
      {8325.155, 2623.974, 5557.345, 4958.832, -349.667, 372.261, -2998.346, -2096.916},
      {1790.207, 5172.406, 8893.099, 8131.696, 221.315, -146.915, -6267.002, -4283.364},
      {2318.982, 1817.715, 7732.289, 3549.534, 114.065, 218.302, -561.718, 5861.564},
  };
  for (const TwoPoints& row : rows) {
    auto two = SolveTwoPoints(row, {});
    ASSERT_TRUE(two.ok());
    auto report = ReportFit(TwoPointsOf(row), {});
    ASSERT_TRUE(report.ok()) << report.error();
    const ParamTexts texts = TwoPointBoxTexts(*two);
    EXPECT_EQ(report->texts.x_offset, texts.x_offset);
    EXPECT_EQ(report->texts.y_offset, texts.y_offset);
    EXPECT_EQ(report->texts.angle, texts.angle);
    EXPECT_EQ(report->offsets_disagree, two->offsets_disagree) << texts.x_offset;
  }
}

std::vector<CommonPoint> NoisySite(std::mt19937_64& random, std::size_t count) {
  std::normal_distribution<double> noise(0, 0.004);
  std::uniform_real_distribution<double> site(-300, 300);
  const Transform truth(RunParams{3412.586 + site(random), 5127.349 + site(random), 0.56});
  std::vector<CommonPoint> points;
  for (std::size_t i = 0; i < count; ++i) {
    const PlanePoint c{site(random), site(random)};
    PlanePoint s = truth.Inverse(c);
    s.x += noise(random);
    s.y += noise(random);
    points.push_back({"P" + std::to_string(i + 1), i + 1, s, c, {}, {}});
  }
  return points;
}

// Each site's last two points are check points: the parameters are those of
// the fitted points alone, and the check points' misclosures, RMS and
// largest are those of the Gauss-Newton optimum of the fitted points.
TEST(ReportFit, ResidualsAndRmsAreThoseOfTheLeastSquaresOptimum) {
  constexpr std::size_t kChecks = 2;
  std::mt19937_64 random(5);
  for (std::size_t count : {3, 4, 5, 9, 25}) {
    std::vector<CommonPoint> points = NoisySite(random, count + kChecks);
    const std::vector<CommonPoint> check(points.end() - kChecks, points.end());
    points.resize(count);
    auto report = ReportFit(points, {}, check);
    ASSERT_TRUE(report.ok()) << report.error();
    const RunParams best = GaussNewton(points, {0, 0, 0.2});
    const double c = std::cos(best.theta), s = std::sin(best.theta);
    auto misclosure = [&](const CommonPoint& q) {
      return PlanePoint{q.survey.x - (best.x_offset + c * q.construction.x - s * q.construction.y),
                        q.survey.y - (best.y_offset + s * q.construction.x + c * q.construction.y)};
    };

    // The report converts with the parameters as written: offsets to 1 µm,
    // the angle to 0.0001″ (under 0.2 µm over these distances).
    constexpr double kWritten = 1e-6;
    double sum = 0, largest = 0;
    std::size_t largest_at = 0;
    ASSERT_EQ(report->residuals.size(), count);
    for (std::size_t i = 0; i < count; ++i) {
      const PlanePoint d = misclosure(points[i]);
      EXPECT_NEAR(report->residuals[i].dx, d.x, kWritten) << count << " P" << i + 1;
      EXPECT_NEAR(report->residuals[i].dy, d.y, kWritten) << count << " P" << i + 1;
      EXPECT_NEAR(report->residuals[i].length, std::hypot(d.x, d.y), kWritten);
      sum += d.x * d.x + d.y * d.y;
      if (std::hypot(d.x, d.y) > largest) {
        largest = std::hypot(d.x, d.y);
        largest_at = i;
      }
    }
    EXPECT_NEAR(report->rms, std::sqrt(sum / count), kWritten) << count;
    EXPECT_GT(report->rms, 0.001) << "the noise must show";
    EXPECT_EQ(report->largest, largest_at) << count;

    double check_sum = 0, check_lengths[kChecks] = {};
    ASSERT_EQ(report->check_residuals.size(), kChecks);
    for (std::size_t i = 0; i < kChecks; ++i) {
      const PlanePoint d = misclosure(check[i]);
      EXPECT_NEAR(report->check_residuals[i].dx, d.x, kWritten) << count << " check " << i;
      EXPECT_NEAR(report->check_residuals[i].dy, d.y, kWritten) << count << " check " << i;
      EXPECT_NEAR(report->check_residuals[i].length, std::hypot(d.x, d.y), kWritten);
      check_sum += d.x * d.x + d.y * d.y;
      check_lengths[i] = std::hypot(d.x, d.y);
    }
    EXPECT_NEAR(report->check_rms, std::sqrt(check_sum / kChecks), kWritten) << count;
    EXPECT_GT(report->check_rms, 0.001) << "the noise must show";
    EXPECT_EQ(report->check_largest, check_lengths[1] > check_lengths[0] ? 1u : 0u) << count;
    EXPECT_EQ(report->pairs.size(), count * (count - 1) / 2) << "pairs of the fitted points only";
  }
}

TEST(ReportFit, ExcludedPointsAreCheckedButNotFitted) {
  std::mt19937_64 random(9);
  const std::vector<CommonPoint> fitted = NoisySite(random, 5);
  const Transform t(ReportFit(fitted, {})->params);
  // Off by 20 mm and -10 mm from where the parameters put it.
  CommonPoint blunder{"K9", 6, t.Inverse({50, 60}), {50, 60}, {}, {}};
  blunder.survey.x += 0.020;
  blunder.survey.y -= 0.010;
  const std::vector<CommonPoint> excluded = {blunder};

  auto report = ReportFit(fitted, excluded);
  ASSERT_TRUE(report.ok());
  EXPECT_EQ(report->texts.x_offset, ReportFit(fitted, {})->texts.x_offset);
  EXPECT_EQ(report->texts.angle, ReportFit(fitted, {})->texts.angle);
  ASSERT_EQ(report->excluded_residuals.size(), 1u);
  EXPECT_NEAR(report->excluded_residuals[0].dx, 0.020, 1e-9);
  EXPECT_NEAR(report->excluded_residuals[0].dy, -0.010, 1e-9);
  EXPECT_LT(report->residuals[report->largest].length, 0.02);
  EXPECT_EQ(report->pairs.size(), 10u) << "pairs of the fitted points only";
}

TEST(ReportFit, PairsCompareDistancesInBothGrids) {
  const std::vector<CommonPoint> points = {
      {"A", 1, {0, 0}, {0, 0}, {}, {}},
      {"B", 2, {300, 400}, {0, 500.010}, {}, {}},  // 500 m in the survey grid, 10 mm longer on site
      {"C", 3, {0, 0}, {0, 0.002}, {}, {}},        // on A in the survey grid, 2 mm from it on site
  };
  auto report = ReportFit(points, {});
  ASSERT_TRUE(report.ok());
  ASSERT_EQ(report->pairs.size(), 3u);
  const PairCheck& ab = report->pairs[0];
  EXPECT_EQ(ab.from, 0u);
  EXPECT_EQ(ab.to, 1u);
  EXPECT_DOUBLE_EQ(ab.survey, 500);
  EXPECT_DOUBLE_EQ(ab.construction, 500.010);
  EXPECT_NEAR(ab.difference, 0.010, 1e-12);
  ASSERT_TRUE(ab.scale.has_value());
  EXPECT_NEAR(*ab.scale, 1.00002, 1e-12);
  const PairCheck& ac = report->pairs[1];
  EXPECT_EQ(ac.to, 2u);
  EXPECT_NEAR(ac.difference, 0.002, 1e-15);
  EXPECT_FALSE(ac.scale.has_value()) << "no scale over a survey distance of 0";
  EXPECT_EQ(report->pairs[2].from, 1u);
}

// A made-up site of `count` points turned by `theta`: survey coordinates
// with `noise` metres of normal noise, every point in `blunder_every` (none
// for 0) off by 30-300 mm more, and both grids rounded to `step` metres
// (none for 0).
std::vector<CommonPoint> Site(std::mt19937_64& random, std::size_t count, double theta,
                              double noise, std::size_t blunder_every, double step) {
  std::normal_distribution<double> error(0, noise);
  std::uniform_real_distribution<double> site(-500, 500), blunder(0.03, 0.3);
  const Transform truth(RunParams{3412.586, 5127.349, theta});
  auto rounded = [&](double v) { return step > 0 ? std::round(v / step) * step : v; };
  std::vector<CommonPoint> points;
  for (std::size_t i = 0; i < count; ++i) {
    const PlanePoint c{rounded(site(random)), rounded(site(random))};
    PlanePoint s = truth.Inverse(c);
    if (noise > 0) s = {s.x + error(random), s.y + error(random)};
    if (blunder_every > 0 && i % blunder_every == blunder_every - 1) {
      s = {s.x + blunder(random), s.y - blunder(random)};
    }
    points.push_back({"P" + std::to_string(i + 1), i + 1, {rounded(s.x), rounded(s.y)}, c, {}, {}});
  }
  return points;
}

// Every pair, checked and ranked the long way: all pairs up to 50 points, in
// index order; beyond, the 20 whose differences show largest, equal ones in
// index order.
std::vector<PairCheck> EveryPairRanked(const std::vector<CommonPoint>& points) {
  struct Ranked {
    double shown_mm;
    PairCheck pair;
  };
  std::vector<Ranked> all;
  for (std::size_t i = 0; i < points.size(); ++i) {
    for (std::size_t j = i + 1; j < points.size(); ++j) {
      const PlanePoint a = points[i].survey, b = points[j].survey;
      const PlanePoint c = points[i].construction, d = points[j].construction;
      PairCheck pair;
      pair.from = i;
      pair.to = j;
      pair.survey = std::hypot(a.x - b.x, a.y - b.y);
      pair.construction = std::hypot(c.x - d.x, c.y - d.y);
      pair.difference = pair.construction - pair.survey;
      if (pair.survey > 0) pair.scale = pair.construction / pair.survey;
      all.push_back({std::fabs(LeadingNumber(MillimetreText(pair.difference)).value()), pair});
    }
  }
  std::vector<PairCheck> pairs;
  if (points.size() > 50) {
    std::stable_sort(all.begin(), all.end(),
                     [](const Ranked& x, const Ranked& y) { return x.shown_mm > y.shown_mm; });
    all.resize(20);
  }
  for (const Ranked& r : all) pairs.push_back(r.pair);
  return pairs;
}

TEST(ReportFit, PairsListedAreThoseACheckOfEveryPairRanksFirst) {
  const double kTurn = 0.56;
  const struct {
    const char* site;
    std::size_t count;
    double theta, noise;
    std::size_t blunder_every;
    double step;
  } rows[] = {
      {"all pairs", 50, kTurn, 0.004, 17, 0},
      {"first cut", 51, kTurn, 0.004, 17, 0},
      {"noise and blunders", 400, kTurn, 0.004, 37, 0.0001},
      {"noise only", 300, kTurn, 0.004, 0, 0},
      {"one blunder", 300, kTurn, 0.002, 300, 0.001},
      // Differences of a few micrometres: many show alike.
      {"rounding to 1 mm", 300, std::numbers::pi / 6, 0, 0, 0.001},
      {"micrometre noise", 300, kTurn, 0.0000004, 0, 0},
      // Every distance agrees, to the last bit or to rounding: all show
      // 0.000, so the list is of the first pairs by index.
      {"shifted by whole metres", 300, 0, 0, 0, 1},
      {"shifted, to 1 mm", 300, 0, 0, 0, 0.001},
  };
  std::mt19937_64 random(77);
  for (const auto& row : rows) {
    const std::vector<CommonPoint> points =
        Site(random, row.count, row.theta, row.noise, row.blunder_every, row.step);
    auto report = ReportFit(points, {});
    ASSERT_TRUE(report.ok()) << row.site << ": " << report.error();
    EXPECT_EQ(report->pair_count, row.count * (row.count - 1) / 2) << row.site;
    const std::vector<PairCheck> expected = EveryPairRanked(points);
    ASSERT_EQ(report->pairs.size(), expected.size()) << row.site;
    for (std::size_t k = 0; k < expected.size(); ++k) {
      const PairCheck& got = report->pairs[k];
      EXPECT_EQ(got.from, expected[k].from) << row.site << " #" << k;
      EXPECT_EQ(got.to, expected[k].to) << row.site << " #" << k;
      EXPECT_EQ(got.survey, expected[k].survey) << row.site << " #" << k;
      EXPECT_EQ(got.construction, expected[k].construction) << row.site << " #" << k;
      EXPECT_EQ(got.difference, expected[k].difference) << row.site << " #" << k;
      EXPECT_EQ(got.scale, expected[k].scale) << row.site << " #" << k;
    }
  }
}

TEST(ReportFit, InverseParametersConvertBack) {
  std::mt19937_64 random(21);
  const std::vector<CommonPoint> points = NoisySite(random, 6);
  auto report = ReportFit(points, {});
  ASSERT_TRUE(report.ok());
  auto inverse =
      RunParamsFromTexts(report->inverse.x_offset, report->inverse.y_offset, report->inverse.angle);
  ASSERT_TRUE(inverse.ok());
  EXPECT_EQ(inverse->theta, -report->params.theta);
  // Converting construction to survey with the inverse parameters as forward
  // parameters agrees to the offsets' written micrometre.
  const Transform forward(*inverse), back(report->params);
  for (const CommonPoint& p : points) {
    EXPECT_NEAR(forward.Forward(p.construction).x, back.Inverse(p.construction).x, 1e-6);
    EXPECT_NEAR(forward.Forward(p.construction).y, back.Inverse(p.construction).y, 1e-6);
  }
}

TEST(ReportFit, DegreesOfTheTurnUseTheFullPi) {
  // A quarter-turn layout whose box angle is exactly "45.".
  const std::vector<CommonPoint> points = {{"A", 1, {1000, 2000}, {0, 0}, {}, {}},
                                           {"B", 2, {1070.711, 2070.711}, {100, 0}, {}, {}}};
  auto report = ReportFit(points, {});
  ASSERT_TRUE(report.ok());
  ASSERT_EQ(report->texts.angle, "45.");
  EXPECT_EQ(report->box_degrees, 45);
  // The conversion turns by 45° of pi' = 3.1415926535, a little less than 45°.
  EXPECT_NEAR(report->degrees, 45 * kPiPrime / std::numbers::pi, 1e-12);
  EXPECT_LT(report->degrees, 45 - 1e-9);
  EXPECT_EQ(FormatDmsSymbols(report->box_degrees), "45°00′00.000″");
}

TEST(ReportFit, RejectsWhatTheFitRejects) {
  EXPECT_EQ(ReportFit({}, {}).error(), "no common points: at least two are needed");
  const std::vector<CommonPoint> one = {{"A", 1, {1, 2}, {3, 4}, {}, {}}};
  EXPECT_EQ(ReportFit(one, one).error(), "only one common point: at least two are needed");
}

TEST(ResidualsAbove, ComparesTheResidualsAsReported) {
  FitReport report;
  for (double metres : {0.0050004, 0.0050006, 0.004, 0.0051, 0.005}) {
    report.residuals.push_back({0, 0, metres});
  }
  EXPECT_EQ(MillimetreText(0.0050004), "5.000");
  EXPECT_EQ(ResidualsAbove(report, 5), (std::vector<std::size_t>{1, 3}));
  EXPECT_EQ(ResidualsAbove(report, 0), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(ResidualsAbove(report, 5.1).empty());
}

}  // namespace
}  // namespace torvane
