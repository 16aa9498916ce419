#include "fit/proj_pipeline.h"

#include <cassert>
#include <numbers>
#include <string_view>

#include "number/round_trip.h"
#include "params/constants.h"

namespace torvane {
namespace {

constexpr const char* kSwap = " +step +proj=axisswap +order=2,1";

}  // namespace

std::string ProjPipeline(const RunParams& params, AxisOrder order, const HeightSurface& heights) {
  assert(heights.model == HeightModel::kOffset || heights.model == HeightModel::kPlane);
  std::string pipeline = ProjPipeline(params, order);
  const std::size_t first = std::string_view("+proj=pipeline").size() +
                            (order == AxisOrder::kEastNorth ? std::string_view(kSwap).size() : 0);
  const auto& a = heights.terms;
  std::string step = " +step +proj=affine +zoff=";
  if (heights.model == HeightModel::kOffset) {
    step += RoundTripText(0.0 - a[0]);
  } else {
    const double sx = a[1] / kHeightLength, sy = a[2] / kHeightLength;
    step += RoundTripText(0.0 - (a[0] - sx * heights.centroid.x - sy * heights.centroid.y));
    step += " +s31=" + RoundTripText(0.0 - sx) + " +s32=" + RoundTripText(0.0 - sy);
  }
  pipeline.insert(first, step);
  return pipeline;
}

std::string ProjPipeline(const RunParams& params, AxisOrder order) {
  // PROJ turns arc-seconds into radians with the full pi, so theta is
  // measured the same way: params.theta is the turn the conversion makes.
  const double arcseconds =
      params.theta / std::numbers::pi * kDegreesPerHalfTurn * kSecondsPerDegree;
  std::string pipeline = "+proj=pipeline";
  if (order == AxisOrder::kEastNorth) pipeline += kSwap;
  if (params.scale != kUnitScale) {
    // 0 - arcseconds: a zero turn is written 0, not -0.
    pipeline += " +step +inv +proj=helmert +x=";
    pipeline += RoundTripText(params.x_offset);
    pipeline += " +y=";
    pipeline += RoundTripText(params.y_offset);
    pipeline += " +theta=";
    pipeline += RoundTripText(0.0 - arcseconds);
    pipeline += " +s=";
    pipeline += RoundTripText(params.scale);
    if (order == AxisOrder::kEastNorth) pipeline += kSwap;
    return pipeline;
  }
  // 0 - X0 rather than -X0: a zero offset is written 0, not -0.
  pipeline += " +step +proj=helmert +theta=0 +x=";
  pipeline += RoundTripText(0.0 - params.x_offset);
  pipeline += " +y=";
  pipeline += RoundTripText(0.0 - params.y_offset);
  pipeline += " +step +proj=helmert +theta=";
  pipeline += RoundTripText(arcseconds);
  if (order == AxisOrder::kEastNorth) pipeline += kSwap;
  return pipeline;
}

}  // namespace torvane
