// solve --points: the conversion parameters fitted to many common points.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/named_choice.h"
#include "batch/point_layout.h"
#include "batch/text_encoding.h"
#include "cli/calibration_report.h"
#include "fit/fit_report.h"
#include "fit/proj_pipeline.h"

namespace torvane::cli {

// --height-model: a height model, or auto for the one the points support.
enum class HeightChoice { kNone, kOffset, kPlane, kQuadric, kAuto };
inline constexpr NamedChoice<HeightChoice> kHeightChoices[] = {{"none", HeightChoice::kNone},
                                                               {"offset", HeightChoice::kOffset},
                                                               {"plane", HeightChoice::kPlane},
                                                               {"quadric", HeightChoice::kQuadric},
                                                               {"auto", HeightChoice::kAuto}};

// How solve shows what it found.
enum class SolveFormat { kText, kJson, kProj };

// The fit solve makes, and how it is shown: the same with two points or many.
struct FitChoices {
  SolveFormat format = SolveFormat::kText;
  AxisOrder axes = AxisOrder::kNorthEast;  // of the proj pipeline
  FitModel model = FitModel::kRigid;       // similarity: four parameters
  ReportRequest report;                    // the calibration report besides the usual one
};

struct SolvePointsOptions {
  std::string points;                       // the common-point file, "-" for standard input
  std::optional<std::string> max_residual;  // millimetres; none: no limit
  std::vector<std::string> exclude;         // each a name or names separated by commas
  std::vector<std::string> check_points;    // as exclude: kept out of the fit, and summed up
  std::optional<std::string> columns;       // as --columns lists them
  std::optional<std::string> skip_lines;
  FieldDelimiter delimiter = FieldDelimiter::kComma;
  std::optional<TextEncoding> encoding;             // none: the file's bytes decide
  std::optional<std::string> save_project;          // the project file to write after the fit
  HeightChoice height_model = HeightChoice::kNone;  // none: heights are not fitted
  // Names as check_points; none: the check points that have both heights.
  std::optional<std::vector<std::string>> height_check_points;
};

// Reads the common points, fits them and prints the report, then writes
// the project when options.save_project names one and the calibration
// report when fit.report names one; returns the exit status
// (exit_status.h), after telling any usage error or failure on standard
// error.
int RunSolvePoints(const SolvePointsOptions& options, const FitChoices& fit);

// The report solve --points gives for the common points of the project at
// `path`, their roles and its model (fit.model is not used); the points
// have no file lines; the calibration report too when fit.report names
// one. A project that ReadProject refuses is told with its
// message and exit status 1.
int RunSolveProject(const std::string& path, const FitChoices& fit);

}  // namespace torvane::cli
