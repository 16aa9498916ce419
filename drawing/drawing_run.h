// One drawing (ASCII DXF) converted between the grids: every entity of
// model space moved as a whole, everything else kept byte for byte. The
// command line and the workbench both run it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "batch/run_error.h"
#include "drawing/dxf_entities.h"
#include "params/conversion_params.h"
#include "params/transform.h"

namespace torvane {

// The extension of a drawing's result: "site.dxf" gives "site转化后.dxf".
inline constexpr std::string_view kDrawingResultSuffix = "转化后";

// Whether a file name ends in ".dxf" (any case): a drawing, not a point file.
bool IsDrawingName(std::string_view path);
// Whether it ends in ".dwg" (any case): a drawing that must be saved as DXF first.
bool IsDwgName(std::string_view path);

// True for a file name that either of the two says is a drawing (the
// conversion plan's and convert's test of a drawing).
bool IsDrawingFileName(std::string_view path);
// "D:\site\plan.dxf" -> "D:\site\plan转化后.dxf".
std::string DrawingResultPathFor(std::string_view drawing_path);
// The same name in `folder`: "out/" and "plan.dxf" give "out/plan转化后.dxf".
std::string DrawingResultPathIn(std::string_view folder, std::string_view drawing_path);

struct DrawingRequest {
  std::string drawing_path;  // the DXF drawing, UTF-8
  std::string result_path;   // the result file, UTF-8 (never the drawing itself)
  Direction direction = Direction::kSurveyToConstruction;
  DrawingAxis axis = DrawingAxis::kEastNorth;
  // H0, as RunRequest::height_offset takes it: the z of every point that
  // moves is shifted by it (construction = survey - H0), exactly in decimal.
  // None: heights as drawn.
  std::optional<std::string> height_offset;
  // Called now and then with the share of the drawing read, 0 to 1;
  // returning false cancels the run (kCancelled, nothing written).
  std::function<bool(double share)> progress;
};

struct DrawingSummary {
  std::uint64_t entities = 0;  // entities converted (a POLYLINE's vertices each count)
};

// Converts the drawing into the result, all or nothing: the result file is
// replaced only by a complete result that has reached the disk (see
// os/pending_file.h); a result that is not a regular file (a device, a
// pipe, a terminal; see batch/result_target.h) is written into once the
// whole result is in a temporary file, never replaced; on any failure
// nothing is written and an earlier result stays. A drawing that can be
// read only once (a pipe, a device) is read into a temporary file first.
// Rejects: a drawing that cannot be opened or read; a DWG drawing
// (kDrawingDwg) or a binary DXF (kDrawingBinary); what ConvertEntity
// rejects; a DXF damaged (kDrawingDamaged: an odd line count, a code that
// is not a number, a line longer than kMaxLineBytes, a unit outside a
// section, a section not ended or without its name, no 0 EOF at the end,
// an empty file); a result path that is a folder or a link to nothing, or
// the drawing itself (kResultIsPointFile); a failed write; kCancelled.
Expected<DrawingSummary, RunError> ConvertDrawing(const DrawingRequest& request,
                                                  const RunParams& params);

}  // namespace torvane
