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

// Whether a drawing's heights follow H0: a drawing is a plan more often
// than not, its heights all 0, and H0 is the point files' (their H column
// moves by it whatever this says).
enum class DrawingHeights {
  kKept,   // as drawn
  kMoved,  // shifted by H0, unless the drawing is a plan (IsPlanDrawing)
};

// What became of a drawing's heights.
enum class DrawingHeightsDone {
  kNoOffset,  // no H0, or an H0 of 0: nothing to move them by
  kNotAsked,  // kept: the request said kKept
  kPlan,      // kept: the drawing is a plan, every height 0
  kMoved,     // shifted by H0
};

struct DrawingRequest {
  std::string drawing_path;  // the DXF drawing, UTF-8
  std::string result_path;   // the result file, UTF-8 (never the drawing itself)
  Direction direction = Direction::kSurveyToConstruction;
  DrawingAxis axis = DrawingAxis::kEastNorth;
  // H0, as RunRequest::height_offset takes it: with `heights` kMoved, the
  // z of every point that moves is shifted by it (construction = survey -
  // H0), exactly in decimal, unless the drawing is a plan. None: heights as
  // drawn.
  std::optional<std::string> height_offset;
  DrawingHeights heights = DrawingHeights::kKept;
  // Called now and then with the share of the drawing read, 0 to 1;
  // returning false cancels the run (kCancelled, nothing written).
  std::function<bool(double share)> progress;
};

struct DrawingSummary {
  std::uint64_t entities = 0;  // entities converted (a POLYLINE's vertices each count)
  DrawingHeightsDone heights = DrawingHeightsDone::kNoOffset;
};

// Converts the drawing into the result, all or nothing: the result file is
// replaced only by a complete result that has reached the disk (see
// os/pending_file.h); a result that is not a regular file (a device, a
// pipe, a terminal; see batch/result_target.h) is written into once the
// whole result is in a temporary file, never replaced; on any failure
// nothing is written and an earlier result stays. A drawing that can be
// read only once (a pipe, a device) is read into a temporary file first.
// A drawing whose heights are to move by H0 is read twice: first for its
// heights alone (IsPlanDrawing), then to convert it.
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
