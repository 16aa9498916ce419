// The conversion as a PROJ pipeline, for cct and other PROJ tools.
#pragma once

#include <string>

#include "fit/height_surface.h"
#include "params/conversion_params.h"

namespace torvane {

// The order of the coordinates a pipeline reads and writes.
enum class AxisOrder {
  kNorthEast,  // X (north) first, as surveyors write them and the conversion takes them
  kEastNorth,  // east first, as GIS files and DXF drawings hold them
};

// The pipeline that converts survey coordinates to construction coordinates
// as Transform::Forward does with `params` (offsets in metres, theta in
// radians): a shift by -X0, -Y0, then PROJ's 2D Helmert turn, whose theta is
// in arc-seconds and turns the same way (from +X towards +Y for a positive
// angle). Heights pass through. cct -I runs it from construction to survey.
// With AxisOrder::kEastNorth, the same steps between two
// "+proj=axisswap +order=2,1" steps: (east, north) in, (east, north) out.
// With a scale k other than 1 the pipeline is instead the inverse of one
// 2D Helmert step that goes from construction to survey as
// Transform::Inverse does, X0 + k·R(theta)·c: "+inv +proj=helmert +x=X0
// +y=Y0 +theta=-θ″ +s=k". The 2D Helmert (the one with +theta) takes +s as
// the scale factor itself, not as parts per million as its 3D forms do.
// Numbers are written in full (shortest round-trip decimal). Needs finite
// parameters and a scale > 0.
std::string ProjPipeline(const RunParams& params, AxisOrder order = AxisOrder::kNorthEast);

// The same with heights following `heights`, an offset or plane model
// (not kNone nor kQuadric, which no PROJ step expresses): before the turn,
// while the coordinates are still the survey X, Y (after the first axis
// swap for kEastNorth), one "+proj=affine" step takes d(X, Y) off the
// height: z − d = z + zoff + s31·X + s32·Y with zoff = −(a0 − a1·X̄/L −
// a2·Ȳ/L), s31 = −a1/L and s32 = −a2/L (L = kHeightLength; the offset
// model has zoff = −a0 alone). cct -I runs it back, adding d at the survey
// X, Y it computes.
std::string ProjPipeline(const RunParams& params, AxisOrder order, const HeightSurface& heights);

}  // namespace torvane
