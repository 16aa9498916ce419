// One conversion run: a point file in, its result table out, or an error
// that says what failed and where. The window's conversion button and the
// command line both run it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "batch/run_error.h"
#include "params/conversion_params.h"
#include "params/expected.h"
#include "params/transform.h"

namespace torvane {

// The window's limit on the fields of one point file.
inline constexpr std::size_t kWindowFieldLimit = 4000;

struct RunRequest {
  std::string point_path;   // "-" for standard input
  std::string result_path;  // "-" for standard output
  Direction direction = Direction::kSurveyToConstruction;
  std::optional<std::size_t> field_limit;  // none: no limit
  // The window's rule: after the file has been read and checked, refuse
  // parameters that are not all non-zero (kParamsNotComputed, kParamsIncomplete).
  bool require_set_params = false;
};

struct RunSummary {
  std::size_t points = 0;
};

// Reads and checks the whole point file, then converts every point and
// writes the table. A result file is written to a temporary file in its
// folder and renamed onto the result path only when every point is written:
// on any failure nothing partial is left and an earlier result stays as it
// was. Standard output receives nothing unless the whole input is good.
Expected<RunSummary, RunError> ConvertRun(const RunRequest& request, const RunParams& params);

}  // namespace torvane
