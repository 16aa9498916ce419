#include <cstdio>
#include <iostream>
#include <string_view>

#include "batch/conversion_run.h"
#include "batch/result_path.h"
#include "cli/commands.h"
#include "os/process_io.h"
#include "params/number_text.h"

namespace torvane::cli {

int Complain(const std::string& message, int status) {
  std::cerr << "torvane-cli: " << message << '\n';
  return status;
}

namespace {

// The text the window (and `solve`) writes for a zero value.
constexpr std::string_view kZeroText = ".";

// An option value that must be a decimal number in full, or the window's
// text for zero, so that what `solve` prints can be given back as it is.
bool ReadValue(const char* option, const std::string& text, double* value) {
  if (TrimBlanks(text) == kZeroText) {
    *value = 0;
    return true;
  }
  auto parsed = ParseDecimal(text);
  if (parsed) {
    *value = *parsed;
    return true;
  }
  std::string message = option;
  message += ": \"";
  message += MessageExcerpt(text);
  message += parsed.error() == DecimalError::kTooLarge ? "\" is too large" : "\" is not a number";
  Complain(message, kExitUsage);
  return false;
}

}  // namespace

int RunConvert(const ConvertOptions& options) {
  double dx = 0, dy = 0, angle = 0;
  if (!ReadValue("--dx", options.dx, &dx) || !ReadValue("--dy", options.dy, &dy) ||
      !ReadValue("--angle", options.angle, &angle)) {
    return kExitUsage;
  }
  // An empty name would otherwise mean the default place.
  if (options.output_given && options.output.empty()) {
    return Complain("-o: the file name is empty", kExitUsage);
  }
  if (options.point_file.empty()) return Complain("POINTFILE: the file name is empty", kExitUsage);
  auto params = RunParamsFromValues(dx, dy, angle);
  if (!params) return Complain("--angle: " + params.error(), kExitUsage);
  WarnOfDmsBeyond60(angle);

  RunRequest request;
  request.point_path = options.point_file;
  request.direction =
      options.to == "survey" ? Direction::kConstructionToSurvey : Direction::kSurveyToConstruction;
  // Standard input goes to standard output unless -o names a file.
  request.result_path = options.output_given        ? options.output
                        : options.point_file == "-" ? options.point_file
                                                    : ResultPathFor(options.point_file);
  auto run = ConvertRun(request, *params);
  if (!run) {
    RunError error = run.error();
    // Told as the other commands tell it, not as a bad descriptor.
    if (error.kind == RunErrorKind::kCannotWrite && error.path == "-" &&
        StandardOutputWasClosed()) {
      error.detail = kStandardOutputClosed;
    }
    std::cerr << Describe(error) << '\n';
    // Naming the point file as the result is a mistake in the command.
    return error.kind == RunErrorKind::kResultIsPointFile ? kExitUsage : kExitFailure;
  }
  return kExitOk;
}

}  // namespace torvane::cli
