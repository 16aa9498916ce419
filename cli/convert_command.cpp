#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <limits>
#include <memory>
#include <string_view>

#include "batch/conversion_run.h"
#include "batch/point_layout.h"
#include "batch/result_clash.h"
#include "batch/result_path.h"
#include "cli/commands.h"
#include "number/number_text.h"
#include "os/file_system.h"
#include "os/process_io.h"
#include "report/angle_warning.h"
#include "report/result_format.h"

namespace torvane::cli {

int Complain(const std::string& message, int status) {
  std::cerr << "torvane-cli: " << message << '\n';
  return status;
}

int ComplainOfNumber(const std::string& option, const std::string& text, DecimalError why) {
  return Complain(option + ": \"" + MessageExcerpt(text) + "\" " +
                      (why == DecimalError::kTooLarge ? "is too large" : "is not a number"),
                  kExitUsage);
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
  ComplainOfNumber(option, text, parsed.error());
  return false;
}

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

// An option value that must be a whole number from 0 to `most`, blanks
// around it allowed.
bool ReadCount(const char* option, const std::string& text, std::size_t most, std::size_t* count) {
  const std::string_view digits = TrimBlanks(text);
  const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), *count);
  if (read.ec == std::errc() && read.ptr == digits.data() + digits.size() && !digits.empty() &&
      *count <= most) {
    return true;
  }
  std::string message =
      std::string(option) + ": \"" + MessageExcerpt(text) + "\" is not a whole number";
  if (most != kNoLimit) message += " from 0 to " + std::to_string(most);
  Complain(message, kExitUsage);
  return false;
}

}  // namespace

bool ReadSkipLines(const std::string& text, std::size_t* lines) {
  return ReadCount("--skip-lines", text, kNoLimit, lines);
}

FieldDelimiter DelimiterNamed(const std::string& name) {
  return name == "whitespace"  ? FieldDelimiter::kWhitespace
         : name == "tab"       ? FieldDelimiter::kTab
         : name == "semicolon" ? FieldDelimiter::kSemicolon
                               : FieldDelimiter::kComma;
}

std::optional<TextEncoding> EncodingNamed(const std::string& name) {
  if (name.empty()) return std::nullopt;
  return name == "gbk" ? TextEncoding::kGbk : TextEncoding::kUtf8;
}

namespace {

// The point files' layout as the options give it; false after a usage error.
bool ReadLayout(const ConvertOptions& options, PointLayout* layout) {
  if (options.columns) {
    auto fields = ParseColumns(*options.columns);
    if (!fields) {
      Complain("--columns: " + fields.error(), kExitUsage);
      return false;
    }
    layout->fields = std::move(*fields);
  }
  if (options.skip_lines && !ReadSkipLines(*options.skip_lines, &layout->skip_lines)) {
    return false;
  }
  layout->delimiter = DelimiterNamed(options.delimiter);
  return true;
}

// -o naming a folder: a name ending in a separator, or a folder that exists.
bool NamesFolder(const std::string& output) {
  return output.back() == '/' || output.back() == '\\' ||
         KindOf(PathFromUtf8(output)) == PathKind::kFolder;
}

}  // namespace

int RunConvert(const ConvertOptions& options) {
  double dx = 0, dy = 0, angle = 0, scale = 0;
  if (!ReadValue("--dx", options.dx, &dx) || !ReadValue("--dy", options.dy, &dy) ||
      !ReadValue("--angle", options.angle, &angle) ||
      !ReadValue("--scale", options.scale, &scale)) {
    return kExitUsage;
  }
  if (!(scale > 0)) {
    return Complain("--scale: \"" + MessageExcerpt(options.scale) + "\" is not greater than 0",
                    kExitUsage);
  }
  // An empty name would otherwise mean the default place.
  if (options.output_given && options.output.empty()) {
    return Complain("-o: the file name is empty", kExitUsage);
  }
  for (const std::string& point_file : options.point_files) {
    if (point_file.empty()) return Complain("POINTFILE: the file name is empty", kExitUsage);
  }
  RunRequest request;
  const ResultFormat format = options.format == "csv"    ? ResultFormat::kCsv
                              : options.format == "json" ? ResultFormat::kJson
                                                         : ResultFormat::kTable;
  int decimals = kDefaultResultDecimals;
  if (options.decimals) {
    if (format == ResultFormat::kTable) {
      return Complain("--decimals: only for --format=csv or --format=json", kExitUsage);
    }
    std::size_t given = 0;
    if (!ReadCount("--decimals", *options.decimals, kMaxResultDecimals, &given)) {
      return kExitUsage;
    }
    decimals = static_cast<int>(given);
  }
  if (!ReadLayout(options, &request.layout)) return kExitUsage;
  request.encoding = EncodingNamed(options.encoding);
  const std::unique_ptr<ResultWriter> writer = MakeResultWriter(format, decimals, request.layout);
  const std::string_view extension = writer->Extension();
  // No point file: a filter from standard input to standard output.
  std::vector<std::string> point_files = options.point_files;
  if (point_files.empty()) point_files.emplace_back("-");
  const bool into_folder =
      options.output_given && options.output != "-" && NamesFolder(options.output);
  if (into_folder && std::find(point_files.begin(), point_files.end(), "-") != point_files.end()) {
    return Complain("-o: a folder has no result name for standard input: give -o FILE or -o -",
                    kExitUsage);
  }
  if (options.output_given && options.output != "-" && !into_folder && point_files.size() > 1) {
    return Complain("-o: one result file for " + std::to_string(point_files.size()) +
                        " point files: name a folder (ending in /) or leave -o out",
                    kExitUsage);
  }
  // Standard input goes to standard output unless -o names a file.
  std::vector<std::string> result_paths;
  for (const std::string& point_file : point_files) {
    result_paths.push_back(into_folder ? ResultPathIn(options.output, point_file, extension)
                           : options.output_given ? options.output
                           : point_file == "-"    ? point_file
                                                  : ResultPathFor(point_file, extension));
  }
  // Results that would replace each other, or a point file before it is
  // read, are refused before anything is written.
  if (const auto clash = FindResultClash(point_files, result_paths)) {
    const std::string first = MessageExcerpt(point_files[clash->first]);
    const std::string second = MessageExcerpt(point_files[clash->second]);
    switch (clash->kind) {
      case ResultClash::kOneResult:
        return Complain(std::string(into_folder ? "-o: " : "") + first + " and " + second +
                            " would both be written to " +
                            MessageExcerpt(result_paths[clash->second]),
                        kExitUsage);
      case ResultClash::kResultIsLaterPointFile:
        return Complain(first + ": the result would replace the point file " + second, kExitUsage);
      case ResultClash::kResultIsEarlierPointFile:
        return Complain(second + ": the result would replace the point file " + first, kExitUsage);
    }
  }
  auto params = RunParamsFromValues(dx, dy, angle, scale);
  if (!params) return Complain("--angle: " + params.error(), kExitUsage);
  // Told once, before any point file, rather than as every result's
  // "cannot write".
  if (into_folder) {
    std::string folder = options.output;
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
    if (KindOf(PathFromUtf8(folder)) == PathKind::kMissing) {
      return Complain("-o: the folder \"" + MessageExcerpt(options.output) + "\" does not exist",
                      kExitFailure);
    }
  }
  // Told, and the conversion goes on with the angle as read, as the window's does.
  if (const std::string warning = DmsBeyond60Warning(angle); !warning.empty()) {
    Complain(warning, kExitOk);
  }

  request.direction =
      options.to == "survey" ? Direction::kConstructionToSurvey : Direction::kSurveyToConstruction;
  // Each point file on its own: one that fails leaves the others' results
  // as they are, and the worst status is the run's.
  int status = kExitOk;
  for (std::size_t i = 0; i < point_files.size(); ++i) {
    request.point_path = point_files[i];
    request.result_path = result_paths[i];
    auto run = ConvertRun(request, *params, *writer);
    if (run) continue;
    RunError error = run.error();
    // Told as the other commands tell it, not as a bad descriptor.
    if (error.kind == RunErrorKind::kCannotWrite && error.path == "-" &&
        StandardOutputWasClosed()) {
      error.detail = kStandardOutputClosed;
    }
    std::cerr << Describe(error) << '\n';
    // Naming the point file as the result is a mistake in the command.
    status = std::max(status,
                      error.kind == RunErrorKind::kResultIsPointFile ? kExitUsage : kExitFailure);
  }
  return status;
}

}  // namespace torvane::cli
