#include <algorithm>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/height_offset.h"
#include "batch/point_layout.h"
#include "batch/run_error.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/option_kinds.h"
#include "cli/point_file_options.h"
#include "cli/usage_error.h"
#include "drawing/drawing_run.h"
#include "fit/height_coverage.h"
#include "fit/height_model.h"
#include "number/exact_decimal.h"
#include "number/number_text.h"
#include "number/pattern.h"
#include "os/file_system.h"
#include "os/process_io.h"
#include "params/conversion_params.h"
#include "params/transform.h"
#include "report/angle_warning.h"
#include "report/height_section.h"
#include "report/result_format.h"
#include "site/conversion_plan.h"
#include "site/project_file.h"

namespace torvane::cli {
namespace {

struct ConvertOptions {
  std::string dx, dy, angle;
  std::string scale = "1";  // k: a construction distance of d is k·d in the survey grid
  // H0, the elevation of the site's ±0.000, as typed; none: heights as written.
  std::optional<std::string> dh;
  Direction to = Direction::kSurveyToConstruction;
  DrawingAxis axis = DrawingAxis::kEastNorth;  // how drawings' axes lie
  // Whether drawings' heights follow --dh; none: not given (the project's, or kept).
  std::optional<DrawingHeights> drawing_heights;
  std::string output;  // beside the point file unless given; a folder ends in "/" or exists
  bool output_given = false;
  std::vector<std::string> point_files;  // none: standard input
  ResultFormat format = ResultFormat::kTable;
  std::optional<std::string> decimals;  // of X and Y in csv and json
  bool header = false;                  // csv: a first line naming the columns
  std::optional<std::string> columns;   // as --columns lists them
  std::optional<std::string> skip_lines;
  FieldDelimiter delimiter = FieldDelimiter::kComma;
  bool format_given = false;             // --format given: refused with drawings only
  bool delimiter_given = false;          // --delimiter given: it overrides the project's
  bool axis_given = false;               // --axis given: it overrides the project's
  std::optional<TextEncoding> encoding;  // none: each file's bytes decide
  // The results' encoding (kUtf8, kUtf8WithBom or kGbk); none: each point file's.
  std::optional<TextEncoding> output_encoding;
  // The project file whose parameters, height offset and layout are taken
  // instead of --dx, --dy, --angle and --scale; none: those options.
  std::optional<std::string> project;
};

constexpr NamedChoice<Direction> kDirections[] = {
    {"construction", Direction::kSurveyToConstruction},
    {"survey", Direction::kConstructionToSurvey}};

constexpr NamedChoice<ResultFormat> kFormats[] = {
    {"table", ResultFormat::kTable}, {"csv", ResultFormat::kCsv}, {"json", ResultFormat::kJson}};

// The encodings a result can be asked for in: UTF-8 with a byte-order mark
// is what Excel needs to take a CSV file for UTF-8.
constexpr NamedChoice<TextEncoding> kOutputEncodings[] = {{"utf-8", TextEncoding::kUtf8},
                                                          {"utf-8-bom", TextEncoding::kUtf8WithBom},
                                                          {"gbk", TextEncoding::kGbk}};

constexpr const char* kFooter =
    "Examples:\n"
    "  torvane-cli convert --dx=500 --dy=600 --angle=30.1520 pts.csv other.csv\n"
    "  torvane-cli convert --dx=500 --dy=600 --angle=30.1520 --format=csv < pts.csv\n"
    "  torvane-cli convert --dx=500 --dy=600 --angle=30.1520 --dh=1200 pts.csv\n"
    "  torvane-cli convert --project=site.torvane pts.csv\n"
    "  torvane-cli convert --columns=name,code,y,x,h --format=csv -o out/ \\\n"
    "      --dx=500 --dy=600 --angle=30.1520 a.dat b.dat  # South CASS files\n"
    "  torvane-cli convert --dx=500 --dy=600 --angle=30.1520 site.dxf  # gives site转化后.dxf\n"
    "\n"
    "Exit status: 0 success; 1 a file that cannot be read or converted (the other "
    "files are still converted); 2 a usage error.";

// The point files' layout as the options give it, each option given
// replacing that part of `layout`; false after a usage error.
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
  if (options.delimiter_given) layout->delimiter = options.delimiter;
  return true;
}

// Why the plan is refused, as a usage error's message.
std::string RefusalText(const PlanRefusal& refusal, const std::vector<std::string>& point_files,
                        bool into_folder) {
  switch (refusal.kind) {
    case PlanRefusal::kStandardInputToFolder:
      return "-o: a folder has no result name for standard input: give -o FILE or -o -";
    case PlanRefusal::kOneResultForMany:
      return "-o: one result file for " + std::to_string(refusal.files) +
             " point files: name a folder (ending in /) or leave -o out";
    case PlanRefusal::kDrawingToStandardOutput:
      return "-o: a drawing's result is a file: give -o FILE or -o DIR/";
    case PlanRefusal::kClash:
      break;
  }
  const ResultClash& clash = refusal.clash;
  const std::string first = MessageExcerpt(point_files[clash.first]);
  const std::string second = MessageExcerpt(point_files[clash.second]);
  switch (clash.kind) {
    case ResultClash::kOneResult:
      break;
    case ResultClash::kResultIsLaterPointFile:
      return first + ": the result would replace the point file " + second;
    case ResultClash::kResultIsEarlierPointFile:
      return second + ": the result would replace the point file " + first;
  }
  return std::string(into_folder ? "-o: " : "") + first + " and " + second +
         " would both be written to " + MessageExcerpt(refusal.result);
}

// -o naming a folder: a name ending in a separator, or a folder that exists.
bool NamesFolder(const std::string& output) {
  return output.back() == '/' || output.back() == '\\' ||
         KindOf(PathFromUtf8(output)) == PathKind::kFolder;
}

// `options` with the parameters, height offset, layout and encoding of the
// project at options.project, those given on the command line kept, and
// its fitted height model and coverage in *height_model and *height_hull.
// False after telling why the project cannot be used, *status the exit
// status: 1, or 2 for --dh given with a project that has a fitted model.
bool TakeProject(ConvertOptions* options, PointLayout* layout,
                 std::optional<HeightSurface>* height_model, std::vector<PlanePoint>* height_hull,
                 int* status) {
  auto project = ReadProject(*options->project);
  if (!project) {
    Complain(project.error(), kExitFailure);
    return false;
  }
  // A fitted height model and a typed H0 are two answers to one question.
  if (options->dh && project->height_model) {
    *status = Complain("--dh: the project " + EscapeControlBytes(*options->project) +
                           " has a fitted height model (" +
                           HeightModelName(project->height_model->model) +
                           "): heights follow it, not a typed H0",
                       kExitUsage);
    return false;
  }
  if (!project->parameters) {
    Complain(
        EscapeControlBytes(*options->project) + ": the project has no parameters: solve it first",
        kExitFailure);
    return false;
  }
  const ProjectParams& params = *project->parameters;
  options->dx = params.texts.x_offset;
  options->dy = params.texts.y_offset;
  options->angle = params.texts.angle;
  options->scale = params.scale;
  if (!options->dh) options->dh = project->height_offset;
  if (project->height_model) {
    *height_model = SurfaceOf(*project->height_model);
    *height_hull = HullOf(*project->height_model);
  }
  if (!options->encoding) options->encoding = project->encoding;
  if (!options->axis_given) options->axis = project->drawing_axis;
  if (!options->drawing_heights) options->drawing_heights = project->drawing_heights;
  *layout = project->layout;
  return true;
}

// The points a run converted beyond the height model's coverage:
// "2 points with a height lie more than 1.0 m beyond the height model's fit
// points, where it is not known (their heights are extrapolated): P7, P9",
// the first kOutsideNamed named, "and 3 more" after them.
std::string OutsideText(const FileConverted& run) {
  const bool one = run.outside_coverage == 1;
  std::string text = std::to_string(run.outside_coverage) +
                     (one ? " point with a height lies" : " points with a height lie") +
                     " more than " + FormatPattern(kCoverageMargin, "0.0") +
                     " m beyond the height model's fit points, where it is not known (" +
                     (one ? "its height is" : "their heights are") + " extrapolated):";
  for (std::size_t i = 0; i < run.outside_names.size(); ++i) {
    text += (i > 0 ? ", " : " ") + MessageExcerpt(run.outside_names[i]);
  }
  if (run.outside_coverage > run.outside_names.size()) {
    text += " and " + std::to_string(run.outside_coverage - run.outside_names.size()) + " more";
  }
  return text;
}

// What became of a drawing's heights with H0 given, as its note says it;
// "" without H0.
std::string HeightsNote(DrawingHeightsDone done, const ConversionSettings& settings) {
  switch (done) {
    case DrawingHeightsDone::kNoOffset:
      break;
    case DrawingHeightsDone::kNotAsked:
      return "heights kept: not asked (--drawing-heights=move moves them by H0)";
    case DrawingHeightsDone::kPlan:
      return "plan drawing (every z and elevation 0): heights not moved";
    case DrawingHeightsDone::kMoved:
      return "heights moved by H0 " + settings.height_offset.value_or("");
  }
  return {};
}

int RunConvert(ConvertOptions options) {
  ConversionSettings settings;
  int project_status = kExitFailure;
  if (options.project && !TakeProject(&options, &settings.layout, &settings.height_model,
                                      &settings.height_hull, &project_status)) {
    return project_status;
  }
  double dx = 0, dy = 0, angle = 0, scale = 0;
  if (!ReadValue("--dx", options.dx, &dx) || !ReadValue("--dy", options.dy, &dy) ||
      !ReadValue("--angle", options.angle, &angle) ||
      !ReadValue("--scale", options.scale, &scale)) {
    return kExitUsage;
  }
  // Kept as text: heights are shifted by it exactly in decimal.
  if (options.dh) {
    double value = 0;
    if (!ReadValue("--dh", *options.dh, &value)) return kExitUsage;
    auto offset = HeightOffsetText(*options.dh);
    if (!offset) {
      return Complain("--dh: \"" + MessageExcerpt(*options.dh) + "\" has a digit past the " +
                          std::to_string(kMaxExactDecimals) + "th decimal",
                      kExitUsage);
    }
    settings.height_offset = *offset;
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
  const ResultFormat format = options.format;
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
  // A drawing's result is a DXF drawing whatever --format says: a format
  // given for drawings alone, or a result named otherwise, is a mistake.
  const bool only_drawings = std::all_of(options.point_files.begin(), options.point_files.end(),
                                         [](const std::string& f) { return IsDrawingFileName(f); });
  if (!options.point_files.empty() && only_drawings) {
    if (options.format_given) {
      return Complain(
          "--format: a drawing's result is a DXF drawing: give --format only with "
          "point files",
          kExitUsage);
    }
    if (options.output_given && options.output != "-" && !NamesFolder(options.output) &&
        !IsDrawingName(options.output) &&
        KindOf(PathFromUtf8(options.output)) != PathKind::kStream) {
      return Complain("-o: \"" + MessageExcerpt(options.output) +
                          "\" does not end in .dxf: a drawing's result is a DXF drawing",
                      kExitUsage);
    }
  }
  if (options.header && format != ResultFormat::kCsv) {
    return Complain("--header: only for --format=csv", kExitUsage);
  }
  if (options.output_encoding) {
    if (format == ResultFormat::kJson) {
      return Complain("--output-encoding: only for --format=table or csv (json is UTF-8)",
                      kExitUsage);
    }
    if (!options.point_files.empty() && only_drawings) {
      return Complain(
          "--output-encoding: a drawing keeps its own encoding: give it only with "
          "point files",
          kExitUsage);
    }
  }
  if (!ReadLayout(options, &settings.layout)) return kExitUsage;
  settings.encoding = options.encoding;
  settings.result_encoding = options.output_encoding;
  const std::unique_ptr<ResultWriter> writer =
      MakeResultWriter(format, decimals, settings.layout, options.header);
  const std::string_view extension = writer->Extension();
  // No point file: a filter from standard input to standard output.
  std::vector<std::string> point_files = options.point_files;
  if (point_files.empty()) point_files.emplace_back("-");
  const bool into_folder =
      options.output_given && options.output != "-" && NamesFolder(options.output);
  const ResultPlace place{into_folder            ? ResultPlace::kFolder
                          : options.output_given ? ResultPlace::kFile
                                                 : ResultPlace::kBeside,
                          options.output};
  auto plan = PlanConversion(point_files, place, extension);
  if (!plan) return Complain(RefusalText(plan.error(), point_files, into_folder), kExitUsage);
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

  settings.params = *params;
  settings.direction = options.to;
  settings.axis = options.axis;
  settings.drawing_heights = options.drawing_heights.value_or(DrawingHeights::kKept);
  // Each point file on its own: one that fails leaves the others' results
  // as they are, and the worst status is the run's.
  int status = kExitOk;
  for (const FileConversion& file : *plan) {
    auto run = ConvertFile(file, settings, *writer);
    if (run) {
      if (run->encoding_undecided) {
        std::cerr << EscapeControlBytes(file.path)
                  << ": note: every line is valid both as UTF-8 and as GBK, and the names do "
                     "not tell which: read as UTF-8 (give --encoding=gbk if they are GBK)\n";
      }
      if (const std::string note = HeightsNote(run->heights, settings); !note.empty()) {
        std::cerr << EscapeControlBytes(file.path) << ": note: " << note << '\n';
      }
      if (run->outside_coverage > 0) {
        std::cerr << EscapeControlBytes(file.path) << ": warning: " << OutsideText(*run) << '\n';
      }
      continue;
    }
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

}  // namespace

Command AddConvertCommand(CLI::App& program) {
  const auto options = std::make_shared<ConvertOptions>();
  CLI::App* command = program.add_subcommand(
      "convert",
      "Convert every point of each point file (lines \"name, X, Y, H\", or as --columns "
      "says). With no POINTFILE, or -, a filter: standard input to standard output. "
      "Otherwise each table goes beside its point file, named as the window names it "
      "(pts.csv gives pts转化后成果表.txt, .csv or .json for those formats), unless -o says "
      "otherwise. A file ending in .dxf is a drawing: every entity of its model space is "
      "converted, everything else kept byte for byte, into NAME转化后.dxf (--format, "
      "--decimals and the point files' layout do not apply to drawings); a .dwg drawing must "
      "be saved as DXF first.");
  CLI::Option* const dx_opt =
      AddOption(*command, "--dx", options->dx, "METRES",
                "X offset: the survey X of the construction grid's origin, in metres (--dx, --dy "
                "and --angle are required unless --project is given)");
  CLI::Option* const dy_opt =
      AddOption(*command, "--dy", options->dy, "METRES", "Y offset, the same for Y");
  CLI::Option* const angle_opt = AddOption(*command, "--angle", options->angle, "DDD.MMSS",
                                           "rotation in ddd.mmss (30.1520 is 30°15′20″)");
  CLI::Option* const scale_opt =
      AddOption(*command, "--scale", options->scale, "K",
                "scale k of the four-parameter conversion, as solve --model=similarity "
                "prints it: survey = offsets + k times the turned construction coordinates "
                "(default " +
                    ConvertOptions{}.scale + ", rigid)");
  CLI::Option* const project_opt =
      AddTextOption(*command, "--project", options->project,
                    "take the parameters (and scale), H0 and the point files' layout from a "
                    "project file (NAME.torvane, as solve --save-project writes it) instead of "
                    "--dx, --dy, --angle and --scale; --dh and the layout options given "
                    "override the project's")
          ->type_name("FILE");
  const std::vector<CLI::Option*> parameter_opts{dx_opt, dy_opt, angle_opt};
  for (CLI::Option* option : parameter_opts) option->excludes(project_opt);
  scale_opt->excludes(project_opt);
  AddTextOption(*command, "--dh", options->dh,
                "H0, the elevation of the site's ±0.000: construction H = survey H - H0, and "
                "with --to=survey survey H = construction H + H0, exact in decimal; a height "
                "that is not a number is then an error (default: heights as written)")
      ->type_name("METRES");
  AddChoiceOption(*command, "--drawing-heights", options->drawing_heights, kDrawingHeightWords,
                  "drawings only: move: heights follow --dh as a point file's H does, except a "
                  "plan drawing's (every z and elevation 0), which stays flat; keep (default; "
                  "with --project, the project's): heights as drawn");
  AddChoiceOption(*command, "--to", options->to, kDirections,
                  "construction: survey to construction (default); survey: the reverse");
  CLI::Option* const axis_opt =
      AddChoiceOption(*command, "--axis", options->axis, kDrawingAxisWords,
                      "drawings only: east-north (default): DXF x is east (survey Y), DXF y north "
                      "(survey X), as CAD and CASS draw; north-east: DXF x is survey X (default "
                      "with --project: the project's)");
  command
      ->add_option_function<std::string>(
          "-o,--output",
          [&output = options->output, &given = options->output_given](const std::string& value) {
            output = value;
            given = true;
          },
          "result file, or - for standard output; a folder (DIR/, or one that exists) takes "
          "the results of several point files under their usual names")
      ->type_name("FILE|DIR/|-");
  CLI::Option* const format_opt =
      AddChoiceOption(*command, "--format", options->format, kFormats,
                      "table (default): the window's fixed columns; csv: lines \"name,X,Y,H\" in "
                      "the point file's columns, CR LF; json: an array of points {name, x, y, h}, "
                      "UTF-8");
  AddTextOption(*command, "--decimals", options->decimals,
                "decimals of X and Y in csv and json, 0 to " + std::to_string(kMaxResultDecimals) +
                    " (default " + std::to_string(kDefaultResultDecimals) +
                    "); csv copies H as written, or as --dh shifts it")
      ->type_name("N");
  command->add_flag("--header", options->header,
                    "with --format=csv: a first line naming the columns as --columns names them "
                    "(name,x,y,h), for spreadsheets and csv readers; --skip-lines=1 reads it "
                    "back");
  AddChoiceOption(*command, "--output-encoding", options->output_encoding, kOutputEncodings,
                  "table and csv: the results' encoding, utf-8, utf-8-bom (UTF-8 after a byte "
                  "order mark, which Excel needs to open a csv file as UTF-8) or gbk; a name "
                  "GBK has no code for is an error (default: each point file's, UTF-16 and a "
                  "UTF-8 byte order mark kept)");
  AddColumnsOption(*command, options->columns,
                   "what each field holds, in order: name, code, x, y, h, and - or skip for a "
                   "field to ignore (default name,x,y,h; x and y required); csv writes the same "
                   "columns. name,code,y,x,h reads South CASS .dat files");
  AddSkipLinesOption(*command, options->skip_lines,
                     "lines at the start of each point file that are not points (a header)");
  CLI::Option* const delimiter_opt = AddDelimiterOption(
      *command, options->delimiter,
      "what separates the fields: comma (default), whitespace (runs of spaces and "
      "tabs), tab or semicolon");
  AddEncodingOption(*command, options->encoding,
                    "the point files' encoding, for files whose bytes read as both (default: "
                    "each file's bytes decide)");
  AddOption(*command, "POINTFILE", options->point_files, "FILE",
            "point files or DXF drawings; none, or -, for standard input");
  command->footer(kFooter);
  // Required unless --project is given: checked once the command line is
  // parsed, and told as CLI11 tells a missing option.
  command->final_callback([parameter_opts, project_opt] {
    if (project_opt->count() > 0) return;
    for (CLI::Option* option : parameter_opts) {
      if (option->count() == 0) throw CLI::RequiredError(option->get_name());
    }
  });
  return {command,
          [options, format_opt, delimiter_opt, axis_opt] {
            ConvertOptions given = *options;
            given.format_given = format_opt->count() > 0;
            given.delimiter_given = delimiter_opt->count() > 0;
            given.axis_given = axis_opt->count() > 0;
            return RunConvert(std::move(given));
          },
          true};
}

}  // namespace torvane::cli
