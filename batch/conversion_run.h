// One conversion run: a point file in, its result table out, or an error
// that says what failed and where. The window's conversion button and the
// command line both run it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "base/expected.h"
#include "batch/point_layout.h"
#include "batch/run_error.h"
#include "params/conversion_params.h"
#include "params/transform.h"

namespace torvane {

// The window's limit on the fields of one point file.
inline constexpr std::size_t kWindowFieldLimit = 4000;

// How the result is written: the fixed-column table the window writes
// (result_line.h), CSV (result_csv.h) or JSON (result_json.h).
enum class ResultFormat { kTable, kCsv, kJson };

struct RunRequest {
  std::string point_path;   // "-" for standard input
  std::string result_path;  // "-" for standard output
  PointLayout layout;       // how the point file's lines are read; CSV writes its columns
  std::optional<TextEncoding> encoding;  // kUtf8 or kGbk; none: decided by the file's bytes
  ResultFormat format = ResultFormat::kTable;
  int decimals = 5;  // of X and Y in CSV and JSON, 0 to kMaxResultDecimals
  Direction direction = Direction::kSurveyToConstruction;
  std::optional<std::size_t> field_limit;  // none: no limit
  // The window's rule: after the file has been read and checked, refuse
  // parameters that are not all non-zero (kParamsNotComputed, kParamsIncomplete).
  bool require_set_params = false;
};

struct RunSummary {
  std::size_t points = 0;
};

// Converts every point of the point file and writes the table, all or
// nothing: a result file is replaced only by a complete table that has
// reached the disk (see os/pending_file.h), and standard output, or a
// device or pipe the result path names, gets the table only once all of it
// is written to a temporary file. On any failure nothing partial is left
// and an earlier result stays as it was.
// Rejects, besides what reading rejects: a result path that is a folder, a
// link to nothing, or the point file itself (kResultIsPointFile); a
// converted X or Y beyond the range of doubles; a failed write.
Expected<RunSummary, RunError> ConvertRun(const RunRequest& request, const RunParams& params);

}  // namespace torvane
