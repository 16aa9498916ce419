#include "fit/rigid_fit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "gauss_newton.h"
#include "params/transform.h"

namespace torvane {
namespace {

using testing::GaussNewton;

// A site grid with a known origin and rotation: survey coordinates made from
// construction coordinates by the conversion's own inverse.
std::vector<CommonPoint> SiteGrid(const RunParams& truth, const std::vector<PlanePoint>& site) {
  const Transform t(truth);
  std::vector<CommonPoint> points;
  for (const PlanePoint& c : site) {
    points.push_back({"P" + std::to_string(points.size() + 1), 0, t.Inverse(c), c, {}, {}});
  }
  return points;
}

double AngleGap(double a, double b) { return std::remainder(a - b, 2 * std::numbers::pi); }

TEST(FitRigid, RecoversTheSiteGridFromExactPoints) {
  const std::vector<PlanePoint> square = {{0, 0}, {250, 0}, {250, 180}, {0, 180}, {125, 90}};
  const struct {
    RunParams truth;
    std::vector<PlanePoint> site;
  } rows[] = {
      {{3412.586, 5127.349, 0.5627}, square},
      {{500, 600, -2.9}, square},
      {{-1200.5, 80.25, 3.14159}, square},                              // nearly a half turn
      {{3512345.678, 498765.432, 1.2}, square},                         // Gauss-Krüger sized
      {{1000, 2000, 0.785}, {{0, 0}, {100, 0}}},                        // two points
      {{1000, 2000, -0.1}, {{0, 0}, {100, 0}, {300, 0}}},               // on one line
      {{0, 0, 0}, {{5, 5}, {-5, 5}, {-5, -5}}},                         // the grids coincide
      {{250000, -75000, 6.0}, {{1e4, -2e4}, {-3e4, 5e3}, {7e3, 7e3}}},  // beyond a turn
  };
  for (const auto& row : rows) {
    auto fit = FitRigid(SiteGrid(row.truth, row.site));
    ASSERT_TRUE(fit.ok()) << fit.error();
    EXPECT_NEAR(fit->x_offset, row.truth.x_offset, 1e-9) << row.truth.theta;
    EXPECT_NEAR(fit->y_offset, row.truth.y_offset, 1e-9) << row.truth.theta;
    EXPECT_NEAR(AngleGap(fit->theta, row.truth.theta), 0, 1e-9) << row.truth.theta;
    EXPECT_GT(fit->theta, -std::numbers::pi);
    EXPECT_LE(fit->theta, std::numbers::pi);
  }
}

TEST(FitRigid, ZoneSizedCoordinatesKeepTheirPrecision) {
  // Gauss-Krüger northings and eastings with the zone number in front, where
  // a coordinate's last bit is 7.5 nm: summed as they are, three hundred of
  // them lose several times that in their centroid.
  std::mt19937_64 random(8);
  std::uniform_real_distribution<double> site(0, 800);
  const RunParams truth{3512345.678, 38498765.432, 0.3};
  const double ulp = std::nextafter(truth.y_offset, 1e300) - truth.y_offset;
  for (int i = 0; i < 20; ++i) {
    std::vector<PlanePoint> layout(300);
    for (PlanePoint& p : layout) p = {site(random), site(random)};
    auto fit = FitRigid(SiteGrid(truth, layout));
    ASSERT_TRUE(fit.ok());
    EXPECT_NEAR(fit->x_offset, truth.x_offset, 2 * ulp);
    EXPECT_NEAR(fit->y_offset, truth.y_offset, 2 * ulp);
    EXPECT_NEAR(fit->theta, truth.theta, 1e-10);
  }
}

TEST(FitRigid, IsTheLeastSquaresOptimumOfNoisyPoints) {
  std::mt19937_64 random(17);
  std::normal_distribution<double> noise(0, 0.005);  // 5 mm
  std::uniform_real_distribution<double> site(-400, 400);
  for (int i = 0; i < 50; ++i) {
    const RunParams truth{3000 + site(random), 5000 + site(random), site(random) / 100};
    std::vector<PlanePoint> layout(3 + i % 8);
    for (PlanePoint& p : layout) p = {site(random), site(random)};
    std::vector<CommonPoint> points = SiteGrid(truth, layout);
    for (CommonPoint& p : points) {
      p.survey.x += noise(random);
      p.survey.y += noise(random);
    }
    auto fit = FitRigid(points);
    ASSERT_TRUE(fit.ok()) << fit.error();
    const RunParams best = GaussNewton(points, {0, 0, truth.theta + 0.3});
    EXPECT_NEAR(fit->x_offset, best.x_offset, 1e-9);
    EXPECT_NEAR(fit->y_offset, best.y_offset, 1e-9);
    EXPECT_NEAR(AngleGap(fit->theta, best.theta), 0, 1e-12);
  }
}

TEST(FitRigid, RejectsWhatDeterminesNoRotation) {
  const PlanePoint a{100, 200}, b{150, 260};
  const struct {
    std::vector<CommonPoint> points;
    const char* error;
  } rows[] = {
      {{}, "no common points: at least two are needed"},
      {{{"K1", 1, a, b, {}, {}}}, "only one common point: at least two are needed"},
      {{{"K1", 1, a, {0, 0}, {}, {}}, {"K2", 2, a, {10, 0}, {}, {}}, {"K3", 3, a, {0, 10}, {}, {}}},
       "all 3 common points are at one place in the survey grid: the rotation cannot be "
       "determined"},
      {{{"K1", 1, a, b, {}, {}}, {"K2", 2, {0, 0}, b, {}, {}}},
       "all 2 common points are at one place in the construction grid: the rotation cannot be "
       "determined"},
      // The construction layout is the survey layout mirrored in its X axis.
      {{{"K1", 1, {1, 0}, {1, 0}, {}, {}},
        {"K2", 2, {-1, 0}, {-1, 0}, {}, {}},
        {"K3", 3, {0, 1}, {0, -1}, {}, {}},
        {"K4", 4, {0, -1}, {0, 1}, {}, {}}},
       "every rotation fits the common points equally well: is one grid the mirror image of the "
       "other?"},
      {{{"K1", 1, {1e308, 0}, {0, 0}, {}, {}}, {"K2", 2, {-1e308, 0}, {1, 0}, {}, {}}},
       "the coordinates are too large to compute with"},
  };
  for (const auto& row : rows) {
    auto fit = FitRigid(row.points);
    ASSERT_FALSE(fit.ok()) << row.error;
    EXPECT_EQ(fit.error(), row.error);
  }
}

}  // namespace
}  // namespace torvane
