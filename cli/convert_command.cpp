#include <charconv>
#include <cstdint>
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
// The warning shows the angle with at least this many decimals: ddd.mmss.
constexpr std::size_t kDmsDecimals = 4;

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

// A run of decimal digits as a number; 0 for none.
std::uint64_t DigitsValue(std::string_view digits) {
  std::uint64_t value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return value;
}

std::string ZeroPadded(std::uint64_t value, std::size_t width) {
  std::string text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

}  // namespace

void WarnOfDmsBeyond60(double angle_dms) {
  // The digits as DmsToDegrees reads them: ddd.MMSSsss..., minutes and
  // seconds two digits each, a single minute digit being tens of minutes.
  const std::string text = PlainDecimal15(angle_dms);
  const std::size_t point = text.find('.');
  if (point == std::string::npos) return;
  std::string fraction = text.substr(point + 1);
  if (fraction.size() < kDmsDecimals) fraction.resize(kDmsDecimals, '0');
  const std::string_view digits = fraction;
  const std::uint64_t minutes = DigitsValue(digits.substr(0, 2));
  const std::uint64_t seconds = DigitsValue(digits.substr(2, 2));
  if (minutes < 60 && seconds < 60) return;

  // Seconds in steps of their last typed decimal, carried into the minutes
  // and the minutes into the degrees; whole numbers all the way, so the
  // carried angle shows the typed digits exactly.
  const std::string_view decimals = digits.substr(4);
  std::uint64_t step = 1;
  for (std::size_t i = 0; i < decimals.size(); ++i) step *= 10;
  std::uint64_t second_steps = seconds * step + DigitsValue(decimals);
  const std::uint64_t all_minutes = minutes + second_steps / (60 * step);
  second_steps %= 60 * step;
  const std::uint64_t degrees = DigitsValue(text.substr(0, point)) + all_minutes / 60;

  const std::string sign = angle_dms < 0 ? "-" : "";
  std::string has;
  if (minutes >= 60) has = std::to_string(minutes) + " minutes";
  if (seconds >= 60) {
    if (!has.empty()) has += " and ";
    has += std::to_string(seconds) + (decimals.empty() ? "" : "." + std::string(decimals));
    has += " seconds";
  }
  std::string read_as = sign + std::to_string(degrees) + "°" + ZeroPadded(all_minutes % 60, 2) +
                        "′" + ZeroPadded(second_steps / step, 2);
  if (!decimals.empty()) read_as += "." + ZeroPadded(second_steps % step, decimals.size());
  read_as += "″";
  std::cerr << "torvane-cli: angle " << sign << text.substr(0, point) << '.' << fraction << " has "
            << has << ": read as " << read_as << "; ddd.mmss was expected\n";
}

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
