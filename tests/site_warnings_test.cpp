#include "fit/site_warnings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "fit/fit_report.h"
#include "params/transform.h"

namespace torvane {
namespace {

using Pairs = std::vector<std::pair<std::size_t, std::size_t>>;

// Survey coordinates made from construction ones by the conversion's own
// inverse: every row's fit is exact unless its grids were tampered with.
std::vector<CommonPoint> Site(const RunParams& truth, const std::vector<PlanePoint>& layout) {
  const Transform t(truth);
  std::vector<CommonPoint> points;
  for (const PlanePoint& c : layout) points.push_back({"", 0, t.Inverse(c), c, {}, {}});
  return points;
}

// kRepeatSurvey: the last point given the first one's survey coordinates.
enum class Tamper { kNone, kSwapConstruction, kSwapSurvey, kRepeatSurvey };
std::vector<CommonPoint> Tampered(std::vector<CommonPoint> points, Tamper tamper) {
  if (tamper == Tamper::kRepeatSurvey) points.back().survey = points.front().survey;
  for (CommonPoint& p : points) {
    if (tamper == Tamper::kSwapConstruction) std::swap(p.construction.x, p.construction.y);
    if (tamper == Tamper::kSwapSurvey) std::swap(p.survey.x, p.survey.y);
  }
  return points;
}

double RmsOf(const std::vector<CommonPoint>& points, FitModel model) {
  auto report = ReportFit(points, {}, {}, model);
  EXPECT_TRUE(report.ok()) << report.error();
  return report.ok() ? report->rms : 0;
}

constexpr RunParams kGaussKruger{3512345.678, 38498765.432, 0.7};  // zone 38 in front
constexpr RunParams kLocal{1000, 2000, -2.1};
const std::vector<PlanePoint> kSpread = {{0, 0}, {250, 10}, {240, 180}, {-20, 170}, {125, 90}};
const std::vector<PlanePoint> kTriangle = {{0, 0}, {300, 0}, {120, 200}};

TEST(WarnSite, WarnsOfWhatTheLayoutShows) {
  constexpr auto kRigid = FitModel::kRigid, kSimilarity = FitModel::kSimilarity;
  constexpr auto kSurvey = SwappedGrid::kSurvey, kConstruction = SwappedGrid::kConstruction;
  const struct {
    const char* why;  // where the expected warnings come from
    RunParams truth;
    std::vector<PlanePoint> layout;
    Tamper tamper;
    FitModel model;
    bool no_redundancy, collinear;
    Pairs coincident;
    std::optional<SwappedGrid> swapped;
  } rows[] = {
      {"two points fix the fit alone",
       kLocal,
       {{0, 0}, {100, 0}},
       Tamper::kNone,
       kSimilarity,
       true,
       false,
       {},
       {}},
      {"two points, even swapped",
       kGaussKruger,
       {{0, 0}, {100, 30}},
       Tamper::kSwapConstruction,
       kRigid,
       true,
       false,
       {},
       {}},
      {"exactly on a line",
       kGaussKruger,
       {{0, 0}, {100, 0}, {300, 0}},
       Tamper::kNone,
       kRigid,
       false,
       true,
       {},
       {}},
      // About the centroid (100, 0.8/3): scatter 20000 along, 0.4267 across,
      // sqrt(0.4267 / 20000) = 0.46 %.
      {"middle 0.8 m off a 200 m line",
       kLocal,
       {{0, 0}, {100, 0.8}, {200, 0}},
       Tamper::kSwapConstruction,
       kRigid,
       false,
       true,
       {},
       {}},
      // The same with 3 m: sqrt(6 / 20000) = 1.7 %, and swapped it warns.
      {"middle 3 m off a 200 m line",
       kLocal,
       {{0, 0}, {100, 3}, {200, 0}},
       Tamper::kSwapConstruction,
       kRigid,
       false,
       false,
       {},
       SwappedGrid::kEither},
      {"well spread, exact", kGaussKruger, kSpread, Tamper::kNone, kRigid, false, false, {}, {}},
      {"well spread, exact",
       kGaussKruger,
       kSpread,
       Tamper::kNone,
       kSimilarity,
       false,
       false,
       {},
       {}},
      {"point 2 entered twice, 4 mm apart",
       kLocal,
       {{0, 0}, {250, 10}, {240, 180}, {-20, 170}, {240.004, 180}},
       Tamper::kNone,
       kRigid,
       false,
       false,
       {{2, 4}},
       {}},
      {"two marks given one survey point",
       kGaussKruger,
       {{0, 0}, {250, 10}, {240, 180}, {-20, 170}, {60, 40}},
       Tamper::kRepeatSurvey,
       kRigid,
       false,
       false,
       {{0, 4}},
       {}},
      {"exactly 10 mm apart is two places",
       RunParams{},
       {{0, 0}, {0.01, 0}, {250, 10}, {-20, 170}},
       Tamper::kNone,
       kRigid,
       false,
       false,
       {},
       {}},
      // Two places only, which any line joins: the coincident pair is the warning.
      {"two of three points 5 mm apart, across the line",
       kLocal,
       {{0, 0}, {100, 0}, {100, 0.005}},
       Tamper::kNone,
       kRigid,
       false,
       false,
       {{1, 2}},
       {}},
      // Three places on a line, one of them entered twice.
      {"a line and a duplicate",
       kLocal,
       {{0, 0}, {100, 0}, {100, 0.005}, {200, 0}},
       Tamper::kNone,
       kRigid,
       false,
       true,
       {{1, 2}},
       {}},
      {"swapped construction X/Y, Gauss-Krüger survey",
       kGaussKruger,
       kSpread,
       Tamper::kSwapConstruction,
       kRigid,
       false,
       false,
       {},
       kConstruction},
      {"swapped survey X/Y, Gauss-Krüger survey",
       kGaussKruger,
       kSpread,
       Tamper::kSwapSurvey,
       kRigid,
       false,
       false,
       {},
       kSurvey},
      {"swapped survey X/Y, no zone in front",
       {3512345.678, 498765.432, 0.7},
       kSpread,
       Tamper::kSwapSurvey,
       kSimilarity,
       false,
       false,
       {},
       kSurvey},
      {"swapped, local numbers",
       kLocal,
       kSpread,
       Tamper::kSwapSurvey,
       kRigid,
       false,
       false,
       {},
       SwappedGrid::kEither},
      {"swapped, three points",
       kGaussKruger,
       kTriangle,
       Tamper::kSwapConstruction,
       kRigid,
       false,
       false,
       {},
       kConstruction},
      {"swapped, three points",
       kGaussKruger,
       kTriangle,
       Tamper::kSwapConstruction,
       kSimilarity,
       false,
       false,
       {},
       kConstruction},
      // Mirrored, this thin triangle (1.5 % across) misses by 3.7 mm RMS: no
      // more than a good site's noise, though the exchanged fit is exact.
      {"swapped, under the noise floor",
       kLocal,
       {{0, 0}, {0.3, 0}, {0.1, 0.004}},
       Tamper::kSwapConstruction,
       kRigid,
       false,
       false,
       {},
       {}},
      {"the same ten times larger",
       kLocal,
       {{0, 0}, {3, 0}, {1, 0.04}},
       Tamper::kSwapConstruction,
       kRigid,
       false,
       false,
       {},
       SwappedGrid::kEither},
  };
  for (const auto& row : rows) {
    const std::vector<CommonPoint> points = Tampered(Site(row.truth, row.layout), row.tamper);
    const double rms = RmsOf(points, row.model);
    const SiteWarnings w = WarnSite(points, row.model, rms);
    EXPECT_EQ(w.no_redundancy, row.no_redundancy) << row.why;
    EXPECT_EQ(w.collinear, row.collinear) << row.why;
    EXPECT_EQ(w.coincident, row.coincident) << row.why;
    EXPECT_EQ(w.coincident_count, row.coincident.size()) << row.why;
    EXPECT_EQ(w.swapped, row.swapped)
        << row.why << ", rms " << rms << ", exchanged " << w.swapped_rms;
    if (w.swapped_rms > 0) {
      // The exchanged fit's RMS as the fit report gives it, to a micrometre.
      const double exchanged = RmsOf(Tampered(points, Tamper::kSwapConstruction), row.model);
      EXPECT_NEAR(w.swapped_rms, exchanged, 1e-6) << row.why;
    }
  }
}

TEST(WarnSite, AnExactFitIsNeverSwapped) {
  // rms 0, an exact fit (or none made), against an exchanged fit that is
  // exact too: without the noise floor 0 · 10 <= 0 would count as better.
  const std::vector<CommonPoint> points =
      Tampered(Site(kLocal, {{0, 0}, {3, 0}, {1, 0.04}}), Tamper::kSwapConstruction);
  const SiteWarnings w = WarnSite(points, FitModel::kRigid, 0);
  EXPECT_LT(w.swapped_rms, 1e-9);  // tried, and exact
  EXPECT_FALSE(w.swapped.has_value());
}

TEST(WarnSite, ListsTheFirstCoincidentPairsOfMany) {
  // 20 points at one place in the construction grid and 0-3 mm apart in the
  // survey grid: each of the 190 pairs counted once; rows 0-5 of pairs hold
  // 19 + 18 + ... + 14 = 99 of them, (6, 7) is the 100th.
  std::vector<CommonPoint> points(20);
  for (std::size_t i = 0; i < points.size(); ++i) {
    points[i].survey = {3512345.678 + 0.001 * static_cast<double>(i % 4), 498765.432};
    points[i].construction = {100, 200};
  }
  const SiteWarnings w = WarnSite(points, FitModel::kRigid, 0);
  EXPECT_EQ(w.coincident_count, 190u);
  ASSERT_EQ(w.coincident.size(), kCoincidentListed);
  EXPECT_EQ(w.coincident.front(), std::make_pair(std::size_t{0}, std::size_t{1}));
  EXPECT_EQ(w.coincident[18], std::make_pair(std::size_t{0}, std::size_t{19}));
  EXPECT_EQ(w.coincident[19], std::make_pair(std::size_t{1}, std::size_t{2}));
  EXPECT_EQ(w.coincident.back(), std::make_pair(std::size_t{6}, std::size_t{7}));
  EXPECT_FALSE(w.collinear);  // one place in each grid
}

// A random site as surveyors meet them: any rotation, offsets like Gauss-
// Krüger coordinates (with or without the zone in front) or local numbers,
// 3-30 points over 50 m to 2 km, noise of up to `noise` metres (standard
// deviation) in the survey grid.
struct RandomSite {
  std::vector<CommonPoint> points;
  FitModel model;
  bool gauss_kruger;
};
RandomSite MakeSite(std::mt19937_64& random, double noise) {
  using Uniform = std::uniform_real_distribution<double>;
  auto coin = [&random] { return std::bernoulli_distribution(0.5)(random); };
  RandomSite site;
  site.gauss_kruger = coin();
  site.model = coin() ? FitModel::kRigid : FitModel::kSimilarity;
  RunParams truth;
  truth.theta = Uniform(-std::numbers::pi, std::numbers::pi)(random);
  if (site.gauss_kruger) {
    const double zone = coin() ? 0 : 1e6 * std::uniform_int_distribution(13, 45)(random);
    truth.x_offset = Uniform(2.2e6, 5.8e6)(random);
    truth.y_offset = zone + Uniform(2e5, 8e5)(random);
  } else {
    truth.x_offset = Uniform(-5000, 5000)(random);
    truth.y_offset = Uniform(-5000, 5000)(random);
  }
  if (site.model == FitModel::kSimilarity) truth.scale = 1 + Uniform(-1e-4, 1e-4)(random);
  const std::size_t count = std::uniform_int_distribution<std::size_t>(3, 30)(random);
  const double extent = 50 * std::pow(40, Uniform(0, 1)(random));
  const PlanePoint corner{Uniform(-1000, 1000)(random), Uniform(-1000, 1000)(random)};
  std::normal_distribution<double> error(0, Uniform(0, noise)(random));
  const Transform t(truth);
  Uniform across(0, extent);
  for (std::size_t i = 0; i < count; ++i) {
    const PlanePoint c{corner.x + across(random), corner.y + across(random)};
    PlanePoint s = t.Inverse(c);
    s.x += error(random);
    s.y += error(random);
    site.points.push_back({"", 0, s, c, {}, {}});
  }
  return site;
}

TEST(WarnSite, EverySwappedRandomSiteWarns) {
  constexpr std::uint64_t kSeed = 20261209;
  std::mt19937_64 random(kSeed);
  int on_a_line = 0;
  for (int i = 0; i < 300; ++i) {
    RandomSite site = MakeSite(random, 0.005);
    const bool construction = std::bernoulli_distribution(0.5)(random);
    const auto points =
        Tampered(site.points, construction ? Tamper::kSwapConstruction : Tamper::kSwapSurvey);
    const SiteWarnings w = WarnSite(points, site.model, RmsOf(points, site.model));
    if (w.collinear) {  // a warning too, and a line is its own mirror image
      ++on_a_line;
      continue;
    }
    const SwappedGrid expected = !site.gauss_kruger ? SwappedGrid::kEither
                                 : construction     ? SwappedGrid::kConstruction
                                                    : SwappedGrid::kSurvey;
    ASSERT_TRUE(w.swapped.has_value()) << "seed " << kSeed << ", site " << i;
    EXPECT_EQ(*w.swapped, expected) << "seed " << kSeed << ", site " << i;
  }
  EXPECT_LT(on_a_line, 15) << "seed " << kSeed;  // the test must mostly try the swap
}

TEST(WarnSite, NoOrdinaryRandomSiteLooksSwapped) {
  constexpr std::uint64_t kSeed = 8812;
  std::mt19937_64 random(kSeed);
  for (int i = 0; i < 1000; ++i) {
    const RandomSite site = MakeSite(random, 0.02);
    const SiteWarnings w = WarnSite(site.points, site.model, RmsOf(site.points, site.model));
    EXPECT_FALSE(w.swapped.has_value())
        << "seed " << kSeed << ", site " << i << ", exchanged rms " << w.swapped_rms;
  }
}

}  // namespace
}  // namespace torvane
