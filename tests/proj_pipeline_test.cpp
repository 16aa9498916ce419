#include "fit/proj_pipeline.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

#include "params/constants.h"

namespace torvane {
namespace {

// The number after the last "+theta=".
double LastTheta(const std::string& pipeline) {
  const std::size_t at = pipeline.rfind("+theta=") + 7;
  double value = 0;
  std::from_chars(pipeline.data() + at, pipeline.data() + pipeline.size(), value);
  return value;
}

TEST(ProjPipeline, ShiftsThenTurns) {
  EXPECT_EQ(ProjPipeline({1000.000161, -2000.5, 0}),
            "+proj=pipeline +step +proj=helmert +theta=0 +x=-1000.000161 +y=2000.5 "
            "+step +proj=helmert +theta=0");
  EXPECT_EQ(ProjPipeline({0, 0, 0}),
            "+proj=pipeline +step +proj=helmert +theta=0 +x=0 +y=0 +step +proj=helmert +theta=0");
  // East first: the same steps with the axes swapped before and after.
  EXPECT_EQ(ProjPipeline({1000.000161, -2000.5, 0}, AxisOrder::kEastNorth),
            "+proj=pipeline +step +proj=axisswap +order=2,1 "
            "+step +proj=helmert +theta=0 +x=-1000.000161 +y=2000.5 "
            "+step +proj=helmert +theta=0 +step +proj=axisswap +order=2,1");
}

TEST(ProjPipeline, HeightsMoveByOneAffineStepOnTheSurveyXY) {
  // Rows: the model, and the pipeline worked out by hand. The plane
  // d = 2 + 0.5·(X − 1000)/1000 − 0.25·(Y − 2000)/1000 is
  // d = 2 − 0.5 + 0.5 + 0.0005·X − 0.00025·Y, so z − d has zoff = −2,
  // s31 = −0.0005, s32 = 0.00025, written as the shortest round trip
  // writes them ("-5e-04").
  HeightSurface offset{HeightModel::kOffset, {1000, 2000}, {1.25}};
  HeightSurface plane{HeightModel::kPlane, {1000, 2000}, {2, 0.5, -0.25}};
  const struct {
    HeightSurface heights;
    AxisOrder order;
    const char* pipeline;
  } rows[] = {
      {offset, AxisOrder::kNorthEast,
       "+proj=pipeline +step +proj=affine +zoff=-1.25 +step +proj=helmert +theta=0 +x=-10 +y=20 "
       "+step +proj=helmert +theta=0"},
      {plane, AxisOrder::kNorthEast,
       "+proj=pipeline +step +proj=affine +zoff=-2 +s31=-5e-04 +s32=0.00025 +step +proj=helmert "
       "+theta=0 +x=-10 +y=20 +step +proj=helmert +theta=0"},
      // East first: the step after the first swap, where the axes are X, Y.
      {plane, AxisOrder::kEastNorth,
       "+proj=pipeline +step +proj=axisswap +order=2,1 +step +proj=affine +zoff=-2 +s31=-5e-04 "
       "+s32=0.00025 +step +proj=helmert +theta=0 +x=-10 +y=20 +step +proj=helmert +theta=0 "
       "+step +proj=axisswap +order=2,1"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(ProjPipeline({10, -20, 0}, row.order, row.heights), row.pipeline);
  }
}

TEST(ProjPipeline, AScaleIsOneInverseHelmertStep) {
  // Construction to survey is PROJ's 2D Helmert X0 + s·R(-theta)·c, with
  // +s the factor itself: the pipeline runs that step backwards.
  EXPECT_EQ(ProjPipeline({1000.001, 1999.9995, 0, 1.000022396}),
            "+proj=pipeline +step +inv +proj=helmert +x=1000.001 +y=1999.9995 +theta=0 "
            "+s=1.000022396");
  EXPECT_EQ(ProjPipeline({3400000, 500000, std::numbers::pi / 2, 0.9995}, AxisOrder::kEastNorth),
            "+proj=pipeline +step +proj=axisswap +order=2,1 +step +inv +proj=helmert +x=3400000 "
            "+y=5e+05 +theta=-324000 +s=0.9995 +step +proj=axisswap +order=2,1");
}

TEST(ProjPipeline, ThetaInArcsecondsOfTheFullPi) {
  for (const char* angle : {"45.", "-30.152", "359.5959", ".0001", "-180."}) {
    auto params = RunParamsFromTexts("1", "1", angle);
    ASSERT_TRUE(params.ok());
    // PROJ reads arc-seconds back with the full pi.
    const double radians = LastTheta(ProjPipeline(*params)) * (std::numbers::pi / 180 / 3600);
    EXPECT_NEAR(radians, params->theta, std::fabs(params->theta) * 1e-15) << angle;
  }
  // The box's 45° turns by 45° of pi' = 3.1415926535: 4.6 micro-arc-seconds
  // short of 162000″, which a pipeline written from the box text would miss.
  const double t45 = LastTheta(ProjPipeline(*RunParamsFromTexts("1", "1", "45.")));
  EXPECT_NEAR(162000 - t45, 162000 * (1 - kPiPrime / std::numbers::pi), 1e-9);
  EXPECT_GT(162000 - t45, 4e-6);
}

}  // namespace
}  // namespace torvane
