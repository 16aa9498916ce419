// The subcommands of torvane-cli. Each returns the process exit status:
// 0 success, 1 a file that cannot be read or converted (or a fit that fails
// or misses its limit), 2 a usage error.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "batch/point_layout.h"
#include "batch/text_encoding.h"
#include "fit/fit_report.h"
#include "fit/proj_pipeline.h"
#include "number/number_text.h"

namespace torvane::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The reason given for a failed write to standard output when the program
// was started with it closed, rather than the system's "Bad file descriptor".
inline constexpr const char* kStandardOutputClosed = "standard output is closed";

struct ConvertOptions {
  std::string dx, dy, angle;
  std::string scale = "1";  // k: a construction distance of d is k·d in the survey grid
  std::string to = "construction";
  std::string output;  // beside the point file unless given; a folder ends in "/" or exists
  bool output_given = false;
  std::vector<std::string> point_files;  // none: standard input
  std::string format = "table";          // table, csv or json
  std::optional<std::string> decimals;   // of X and Y in csv and json
  std::optional<std::string> columns;    // as --columns lists them
  std::optional<std::string> skip_lines;
  std::string delimiter = "comma";  // comma, whitespace, tab or semicolon
  std::string encoding;             // utf-8 or gbk; empty: each file's bytes decide
};
int RunConvert(const ConvertOptions& options);

struct SolveOptions {
  std::string survey_a, survey_b, construction_a, construction_b;
  std::optional<std::string> check;        // none: no check
  std::string format = "text";             // text, json or proj; proj takes no check
  AxisOrder axes = AxisOrder::kNorthEast;  // of the proj pipeline
  FitModel model = FitModel::kRigid;       // similarity: four parameters; takes no check
};
int RunSolve(const SolveOptions& options);

struct SolvePointsOptions {
  std::string points;                       // the common-point file, "-" for standard input
  std::optional<std::string> max_residual;  // millimetres; none: no limit
  std::vector<std::string> exclude;         // each a name or names separated by commas
  std::string format = "text";              // text, json or proj
  AxisOrder axes = AxisOrder::kNorthEast;   // of the proj pipeline
  FitModel model = FitModel::kRigid;
  std::optional<std::string> columns;  // as --columns lists them
  std::optional<std::string> skip_lines;
  std::string delimiter = "comma";  // comma, whitespace, tab or semicolon
  std::string encoding;             // utf-8 or gbk; empty: the file's bytes decide
};
int RunSolvePoints(const SolvePointsOptions& options);

// "torvane-cli: message" on standard error; returns `status`.
int Complain(const std::string& message, int status);

// The usage error for an option's number that ParseDecimal rejected for
// `why`: "OPTION: \"TEXT\" is not a number" or "... is too large", the text
// quoted as MessageExcerpt shows it. Returns kExitUsage.
int ComplainOfNumber(const std::string& option, const std::string& text, DecimalError why);

// The --skip-lines value: a whole number of lines, blanks around it
// allowed. False after a usage error, told on standard error.
bool ReadSkipLines(const std::string& text, std::size_t* lines);

// The delimiter --delimiter names (comma, whitespace, tab or semicolon).
FieldDelimiter DelimiterNamed(const std::string& name);

// The encoding --encoding names: utf-8, gbk, or none for an empty name.
std::optional<TextEncoding> EncodingNamed(const std::string& name);

}  // namespace torvane::cli
