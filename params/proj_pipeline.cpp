#include "params/proj_pipeline.h"

#include <numbers>

#include "params/constants.h"
#include "params/round_trip.h"

namespace torvane {
namespace {

constexpr double kArcsecondsPerDegree = 3600.0;

}  // namespace

std::string ProjPipeline(const RunParams& params) {
  // PROJ turns arc-seconds into radians with the full pi, so theta is
  // measured the same way: params.theta is the turn the conversion makes.
  const double arcseconds =
      params.theta / std::numbers::pi * kDegreesPerHalfTurn * kArcsecondsPerDegree;
  // 0 - X0 rather than -X0: a zero offset is written 0, not -0.
  std::string pipeline = "+proj=pipeline +step +proj=helmert +theta=0 +x=";
  pipeline += RoundTripText(0.0 - params.x_offset);
  pipeline += " +y=";
  pipeline += RoundTripText(0.0 - params.y_offset);
  pipeline += " +step +proj=helmert +theta=";
  pipeline += RoundTripText(arcseconds);
  return pipeline;
}

}  // namespace torvane
