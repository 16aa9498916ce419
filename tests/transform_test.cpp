#include "params/transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <utility>

#include "params/conversion_params.h"

namespace torvane {
namespace {

TEST(RunParamsFromTexts, ReadsTheAngleBoxAsRadians) {
  const struct {
    const char* angle;
    double theta;
  } rows[] = {
      // The classic window's worked example: 30.1520 is 30°15′20″,
      // 0.5280590614494144 radians.
      {"30.1520", 0.5280590614494144},
      // By hand from it: the negative angle is its mirror; a whole number of
      // turns, and an empty box (read as 0), are no turn at all.
      {"-30.1520", -0.5280590614494144},
      {"0", 0},
      {"360", 0},
      {"720", 0},
      {"", 0},
  };
  for (const auto& row : rows) {
    auto params = RunParamsFromTexts("500", "600", row.angle);
    ASSERT_TRUE(params.ok()) << row.angle;
    EXPECT_EQ(params->theta, row.theta) << row.angle;
  }
}

TEST(Transform, WorkedExampleBothWays) {
  // The classic window's worked example: with 500, 600 and 30.1520 the
  // survey point 755.5, 740.8 is 291.6406590783637, -7.114490307649461 in
  // the construction grid, and the inverse gives the point back.
  const Transform t(*RunParamsFromTexts("500", "600", "30.1520"));
  const PlanePoint c = t.Forward({755.5, 740.8});
  EXPECT_EQ(c.x, 291.6406590783637);
  EXPECT_EQ(c.y, -7.114490307649461);
  const PlanePoint s = t.Inverse(c);
  EXPECT_NEAR(s.x, 755.5, 1e-12);
  EXPECT_NEAR(s.y, 740.8, 1e-12);
}

TEST(Transform, ZeroAngleIsAShift) {
  // By hand: with no turn the conversion only subtracts the offsets.
  const Transform shift(RunParams{500, 600, 0});
  const PlanePoint c = shift.Forward({755.5, 740.8});
  EXPECT_EQ(c.x, 755.5 - 500);
  EXPECT_EQ(c.y, 740.8 - 600);
  EXPECT_EQ(shift.Apply(Direction::kConstructionToSurvey, c).x, 755.5);
}

TEST(Transform, ForwardThenInverseReturnsThePoint) {
  // Expected: the point itself, within rounding; the two directions are
  // exact inverses.
  // Site grids anywhere in a national grid (X up to 6000 km, Y with its
  // false easting), points within 50 km of the site's origin.
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> northing(-6e6, 6e6), easting(-1e6, 1e6), near(-5e4, 5e4),
      angle(-6.3, 6.3);
  for (int i = 0; i < 200000; ++i) {
    const RunParams params{northing(random), easting(random), angle(random)};
    const Transform t(params);
    const PlanePoint p{params.x_offset + near(random), params.y_offset + near(random)};
    const PlanePoint back = t.Inverse(t.Forward(p));
    ASSERT_NEAR(back.x, p.x, 1e-9) << i;
    ASSERT_NEAR(back.y, p.y, 1e-9) << i;
  }
}

// An independent model of the transform: the classic's formulas, Xc =
// (Xs - X0)·cos θ + (Ys - Y0)·sin θ, Yc = (Ys - Y0)·cos θ - (Xs - X0)·sin θ
// and Xs = X0 + Xc·cos θ - Yc·sin θ, Ys = Y0 + Xc·sin θ + Yc·cos θ, with
// every product and sum rounded to double on its own, in the written
// order: each step goes through a volatile, which no compiler may fuse
// into a multiply-add. A build that fuses them in the transform (the
// vectorizer of some compilers does on processors with FMA) fails here.
PlanePoint ForwardStepByStep(const RunParams& params, PlanePoint s) {
  volatile double c = std::cos(params.theta), n = std::sin(params.theta);
  volatile double dx = s.x - params.x_offset, dy = s.y - params.y_offset;
  volatile double p = c * dx, q = n * dy, r = c * dy, t = n * dx;
  return {p + q, r - t};
}

PlanePoint InverseStepByStep(const RunParams& params, PlanePoint c) {
  volatile double cs = std::cos(params.theta), n = std::sin(params.theta);
  volatile double a = cs * c.x, b = n * c.x, e = n * c.y, f = cs * c.y;
  volatile double t = params.x_offset + a, u = params.y_offset + b;
  return {t - e, u + f};
}

TEST(Transform, EachTermIsRoundedInTheWrittenOrder) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> northing(2e6, 6e6), easting(3e5, 7e5), near(-5e4, 5e4),
      angle(-3.2, 3.2);
  for (int i = 0; i < 100000; ++i) {
    const RunParams params{northing(random), easting(random), angle(random)};
    const Transform t(params);
    const PlanePoint survey{params.x_offset + near(random), params.y_offset + near(random)};
    const PlanePoint construction{near(random), near(random)};
    // Apply as a run calls it, and Forward and Inverse directly.
    const PlanePoint g = ForwardStepByStep(params, survey);
    const PlanePoint k = InverseStepByStep(params, construction);
    for (const auto& [got, expected] : {
             std::pair{t.Apply(Direction::kSurveyToConstruction, survey), g},
             std::pair{t.Forward(survey), g},
             std::pair{t.Apply(Direction::kConstructionToSurvey, construction), k},
             std::pair{t.Inverse(construction), k},
         }) {
      ASSERT_EQ(got.x, expected.x) << i;
      ASSERT_EQ(got.y, expected.y) << i;
    }
  }
}

// The model with a scale: the construction coordinates multiplied by k
// first going to the survey grid, the rigid result divided by k last coming
// back.
PlanePoint ScaledForwardStepByStep(const RunParams& params, PlanePoint s) {
  const PlanePoint rigid = ForwardStepByStep(params, s);
  volatile double x = rigid.x / params.scale, y = rigid.y / params.scale;
  return {x, y};
}

PlanePoint ScaledInverseStepByStep(const RunParams& params, PlanePoint c) {
  volatile double x = params.scale * c.x, y = params.scale * c.y;
  return InverseStepByStep(params, {x, y});
}

TEST(Transform, ScaleIsAStepOfItsOwn) {
  // Scales of grids a few to a few hundred ppm apart, at national-grid
  // offsets: the order of the steps fixes every bit, and a construction
  // distance comes out k times as long in the survey grid.
  std::mt19937_64 random(12);
  std::uniform_real_distribution<double> northing(2e6, 6e6), easting(3e5, 7e5), near(-5e4, 5e4),
      angle(-3.2, 3.2), scale(0.9995, 1.0005);
  for (int i = 0; i < 20000; ++i) {
    const RunParams params{northing(random), easting(random), angle(random), scale(random)};
    const Transform t(params);
    const PlanePoint survey{params.x_offset + near(random), params.y_offset + near(random)};
    const PlanePoint a{near(random), near(random)}, b{near(random), near(random)};
    const PlanePoint forward = ScaledForwardStepByStep(params, survey);
    const PlanePoint inverse = ScaledInverseStepByStep(params, a);
    ASSERT_EQ(t.Forward(survey).x, forward.x) << i;
    ASSERT_EQ(t.Forward(survey).y, forward.y) << i;
    ASSERT_EQ(t.Inverse(a).x, inverse.x) << i;
    ASSERT_EQ(t.Inverse(a).y, inverse.y) << i;
    const PlanePoint sa = t.Inverse(a), sb = t.Inverse(b);
    ASSERT_NEAR(std::hypot(sa.x - sb.x, sa.y - sb.y),
                params.scale * std::hypot(a.x - b.x, a.y - b.y), 1e-8)
        << i;
    const PlanePoint back = t.Forward(t.Inverse(a));
    ASSERT_NEAR(back.x, a.x, 1e-9) << i;
    ASSERT_NEAR(back.y, a.y, 1e-9) << i;
  }
}

TEST(Transform, KnownScaleBothWays) {
  // X0 + k·R(θ)·c worked by hand: θ = 90° turns construction +X onto survey
  // +Y. cct agrees: "cct -d 5 -I +proj=pipeline +step +inv +proj=helmert
  // +x=3400000 +y=500000 +theta=0 +s=1.0001" turns 100 200 into
  // 3400100.01000 500200.02000, and with +theta=-324000 +s=0.9995 and
  // +theta=324000 +s=1.0005 gives the other two rows' survey points.
  const struct {
    RunParams params;
    PlanePoint construction, survey;
  } rows[] = {
      {{3400000, 500000, 0, 1.0001}, {100, 200}, {3400100.01, 500200.02}},
      {{3400000, 500000, std::numbers::pi / 2, 0.9995}, {1000, 0}, {3400000, 500999.5}},
      {{3400000, 500000, -std::numbers::pi / 2, 1.0005}, {0, 2000}, {3402001, 500000}},
  };
  for (const auto& row : rows) {
    const Transform t(row.params);
    const PlanePoint s = t.Apply(Direction::kConstructionToSurvey, row.construction);
    EXPECT_NEAR(s.x, row.survey.x, 1e-9) << row.params.scale;
    EXPECT_NEAR(s.y, row.survey.y, 1e-9) << row.params.scale;
    const PlanePoint c = t.Apply(Direction::kSurveyToConstruction, row.survey);
    EXPECT_NEAR(c.x, row.construction.x, 1e-9) << row.params.scale;
    EXPECT_NEAR(c.y, row.construction.y, 1e-9) << row.params.scale;
  }
}

TEST(RunParamsFromValues, RejectsAScaleThatIsNotPositive) {
  // The messages are recorded from this program.
  EXPECT_EQ(RunParamsFromValues(1, 1, 1, 1.0000802)->scale, 1.0000802);
  EXPECT_EQ(RunParamsFromValues(1, 1, 1)->scale, 1);
  EXPECT_EQ(RunParamsFromValues(1, 1, 1, 0).error(), "the scale must be greater than 0, not 0");
  EXPECT_EQ(RunParamsFromValues(1, 1, 1, -1).error(), "the scale must be greater than 0, not -1");
  EXPECT_EQ(RunParamsFromValues(1, 1, 1, INFINITY).error(),
            "the scale must be greater than 0, not inf");
  EXPECT_EQ(RunParamsFromValues(1, 1, 1, NAN).error(), "the scale must be greater than 0, not nan");
}

TEST(ParamState, ZeroNonZeroCombinations) {
  // The classic window's rule: all three zero is not computed, all three
  // non-zero is set, anything else incomplete.
  const struct {
    double x_offset, y_offset, theta;
    ParamState state;
  } rows[] = {
      // Its worked examples: three empty boxes; 500, 0 and 30.3 (30°30′, in
      // radians).
      {0, 0, 0, ParamState::kNotComputed},
      {500, 0, 0.5323254218430556, ParamState::kIncomplete},
      // By hand from the rule; -0 is zero.
      {500, 600, 0.5, ParamState::kSet},
      {0, 0, 0.5, ParamState::kIncomplete},
      {500, 600, 0, ParamState::kIncomplete},
      {-0.0, 0, 0, ParamState::kNotComputed},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(StateOf(row.x_offset, row.y_offset, row.theta), row.state)
        << row.x_offset << ", " << row.y_offset << ", " << row.theta;
  }
}

TEST(RunParamsFromTexts, ReportsWhichBoxCannotBeRead) {
  // The messages are recorded from this program; 3e9 whole degrees are
  // beyond the 32-bit range.
  EXPECT_EQ(RunParamsFromTexts("1e999", "1", "1").error(),
            "X offset: number \"1e999\" is too large");
  EXPECT_EQ(RunParamsFromTexts("1", "1e999", "1").error(),
            "Y offset: number \"1e999\" is too large");
  EXPECT_FALSE(RunParamsFromTexts("1", "1", "3e9").ok());
  // Three empty boxes: the classic window's worked example of not computed.
  auto empty = RunParamsFromTexts("", "", "");
  ASSERT_TRUE(empty.ok());
  EXPECT_EQ(StateOf(empty->x_offset, empty->y_offset, empty->theta), ParamState::kNotComputed);
}

}  // namespace
}  // namespace torvane
