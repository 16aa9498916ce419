// A conversion of a site's files, planned before anything is written: for
// each file given, whether it is a drawing or a point file, and the name of
// its result; the plans that would lose a file refused. The command line
// and the workbench show the plan and its refusals, each in its own words,
// and run it file by file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "batch/point_layout.h"
#include "batch/result_clash.h"
#include "batch/result_writer.h"
#include "batch/run_error.h"
#include "batch/text_encoding.h"
#include "drawing/drawing_run.h"
#include "drawing/dxf_entities.h"
#include "fit/height_surface.h"
#include "params/conversion_params.h"
#include "params/transform.h"

namespace torvane {

// Where a conversion's results go.
struct ResultPlace {
  enum Kind {
    kBeside,  // beside each file, under its usual name; standard input to standard output
    kFile,    // into `path`, one file's result ("-": standard output)
    kFolder,  // into the folder `path`, each under its usual name
  } kind = kBeside;
  std::string path;  // UTF-8
};

// One file of a conversion.
struct FileConversion {
  std::string path;         // the point file or drawing, UTF-8; "-": standard input
  std::string result_path;  // UTF-8; "-": standard output
  bool drawing = false;     // a .dxf or .dwg name: converted as a drawing
};

// Why a plan is refused, before anything is written.
struct PlanRefusal {
  enum Kind {
    kStandardInputToFolder,    // a folder has no result name for standard input
    kOneResultForMany,         // one result file for `files` files
    kDrawingToStandardOutput,  // a drawing's result is a file, never standard output
    kClash,                    // results that meet (`clash`, FindResultClash)
  } kind = kClash;
  std::size_t files = 0;  // kOneResultForMany: how many
  ResultClash clash;      // kClash
  std::string result;     // kClash: the result of clash.second
};

// The plan for `files` (UTF-8 paths, none empty; "-": standard input),
// each result named as ResultPathFor or DrawingResultPathFor name it (or
// ResultPathIn and DrawingResultPathIn the folder), point files' results
// with `extension` (ResultWriter::Extension). Refuses what PlanRefusal lists.
Expected<std::vector<FileConversion>, PlanRefusal> PlanConversion(
    std::span<const std::string> files, const ResultPlace& place, std::string_view extension);

// What every file of a conversion shares.
struct ConversionSettings {
  RunParams params;
  Direction direction = Direction::kSurveyToConstruction;
  PointLayout layout;                          // point files only
  std::optional<TextEncoding> encoding;        // point files only; none: each file's bytes decide
  DrawingAxis axis = DrawingAxis::kEastNorth;  // drawings only
  // H0, as RunRequest::height_offset takes it; none: heights as written.
  std::optional<std::string> height_offset;
  // Point files only: a fitted height model and its coverage, as
  // RunRequest::height_model and height_hull take them; drawings' heights
  // do not follow it.
  std::optional<HeightSurface> height_model;
  std::vector<PlanePoint> height_hull;
  // Whether drawings' heights follow H0 too (point files' always do).
  DrawingHeights drawing_heights = DrawingHeights::kKept;
  // Point files only: the results' encoding, as RunRequest::result_encoding
  // takes it; none: each point file's.
  std::optional<TextEncoding> result_encoding;
};

// What ConvertFile did: how many points (a drawing: entities) it converted,
// whether a point file was read as UTF-8 though valid GBK too, its names
// not telling which (RunSummary::encoding_undecided), and what became of a
// drawing's heights (kNoOffset for a point file).
struct FileConverted {
  std::uint64_t count = 0;
  bool encoding_undecided = false;
  DrawingHeightsDone heights = DrawingHeightsDone::kNoOffset;
  std::size_t outside_coverage = 0;        // RunSummary's, for a point file
  std::vector<std::string> outside_names;  // RunSummary's, for a point file
};

// Converts one file of a plan, all or nothing: a drawing by ConvertDrawing,
// a point file by ConvertRun writing with `writer`; rejects what those
// reject.
// `progress`, when given, is called as RunRequest::progress is.
Expected<FileConverted, RunError> ConvertFile(const FileConversion& file,
                                              const ConversionSettings& settings,
                                              ResultWriter& writer,
                                              const std::function<bool(double)>& progress = {});

}  // namespace torvane
