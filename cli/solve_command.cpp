#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/option_kinds.h"
#include "cli/point_file_options.h"
#include "cli/solve_points_command.h"
#include "cli/usage_error.h"
#include "fit/common_point.h"
#include "fit/fit_report.h"
#include "fit/proj_pipeline.h"
#include "params/dms.h"
#include "params/param_texts.h"
#include "params/two_point.h"
#include "report/angle_warning.h"
#include "report/two_point_json.h"
#include "report/two_point_report.h"

namespace torvane::cli {
namespace {

// The two points, each "X,Y", and the parameters to check.
struct TwoPointOptions {
  std::string survey_a, survey_b, construction_a, construction_b;
  std::optional<std::string> check;  // "X0,Y0,ANGLE"; none: no check
};

struct SolveOptions {
  TwoPointOptions two_points;  // without --points
  SolvePointsOptions points;   // with --points
  std::string project;         // with --project: the project file
  FitChoices fit;
  std::vector<std::string> height_check_names;  // --height-check-points as given
};

constexpr NamedChoice<SolveFormat> kFormats[] = {
    {"text", SolveFormat::kText}, {"json", SolveFormat::kJson}, {"proj", SolveFormat::kProj}};

constexpr NamedChoice<AxisOrder> kAxisOrders[] = {{"north-east", AxisOrder::kNorthEast},
                                                  {"east-north", AxisOrder::kEastNorth}};

constexpr const char* kFooter =
    "Examples:\n"
    "  torvane-cli solve --survey-a=1000,2000 --survey-b=1070.711,2070.711 \\\n"
    "      --construction-a=0,0 --construction-b=100,0\n"
    "  torvane-cli solve --points=control-points.csv --exclude=K4\n"
    "  torvane-cli solve --points=control-points.csv --check-points=K2,K5\n"
    "  torvane-cli solve --points=control-points.csv --format=proj\n"
    "  torvane-cli solve --points=control-points.csv --model=similarity\n"
    "  torvane-cli solve --points=control-points.csv --exclude=K4 --save-project=site.torvane\n"
    "  torvane-cli solve --project=site.torvane\n"
    "  torvane-cli solve --points=control-points.csv --report=site.html\n"
    "  torvane-cli solve --points=control-points.csv --columns=name,xs,ys,hs,xc,yc,hc \\\n"
    "      --height-model=auto\n"
    "\n"
    "The pipeline of --format=proj runs in PROJ's cct (Debian package proj-bin) and "
    "GDAL's ogr2ogr (gdal-bin) as a transformation; torvane-cli needs neither.\n"
    "\n"
    "Exit status: 0 success; 1 a file that cannot be read, or a fit that fails or "
    "has a residual beyond --max-residual; 2 a usage error.";

int RunSolve(const TwoPointOptions& options, const FitChoices& fit) {
  std::vector<double> sa, sb, ca, cb, check;
  if (!ReadValues("--survey-a", options.survey_a, 2, &sa) ||
      !ReadValues("--survey-b", options.survey_b, 2, &sb) ||
      !ReadValues("--construction-a", options.construction_a, 2, &ca) ||
      !ReadValues("--construction-b", options.construction_b, 2, &cb)) {
    return kExitUsage;
  }
  PresentParams present;
  if (options.check) {
    if (!ReadValues("--check", *options.check, 3, &check)) return kExitUsage;
    present = {check[0], check[1], check[2]};
    if (StateOf(present.x_offset, present.y_offset, present.angle_dms) != ParamState::kSet) {
      return Complain("--check: X offset, Y offset and rotation must all be non-zero", kExitUsage);
    }
    // The angle as convert's --angle takes it, and told the same way.
    auto degrees = DmsToDegrees(present.angle_dms);
    if (!degrees) return Complain("--check: " + degrees.error(), kExitUsage);
    // Told as convert tells it.
    if (const std::string warning = DmsBeyond60Warning(present.angle_dms); !warning.empty()) {
      Complain(warning, kExitOk);
    }
  }
  const CommonPoint named[] = {{"A", 0, {sa[0], sa[1]}, {ca[0], ca[1]}, {}, {}},
                               {"B", 0, {sb[0], sb[1]}, {cb[0], cb[1]}, {}, {}}};
  if (fit.model == FitModel::kSimilarity) {
    // The exact four parameters through A and B, the scale being the ratio
    // of the distances: the offsets from A and from B agree by construction,
    // so the 10 mm warning has nothing to say.
    auto report = ReportFit(named, {}, {}, FitModel::kSimilarity);
    if (!report) return Complain(report.error(), kExitFailure);
    if (fit.format == SolveFormat::kProj) {
      std::cout << ProjPipeline(report->params, fit.axes) << '\n';
    } else if (fit.format == SolveFormat::kJson) {
      std::cout << TwoPointJson(*report, named, nullptr);
    } else {
      std::cout << report->texts.x_offset << ' ' << report->texts.y_offset << ' '
                << report->texts.angle << ' ' << report->scale_text << '\n';
    }
    return kExitOk;
  }
  const TwoPoints points{sa[0], sa[1], sb[0], sb[1], ca[0], ca[1], cb[0], cb[1]};
  auto solution = SolveTwoPoints(points, present, SamePlace::kReject);
  if (!solution) return Complain(solution.error(), kExitFailure);
  if (solution->offsets_disagree) Complain(kOffsetsDisagreeMessage, kExitOk);

  if (fit.format == SolveFormat::kText) {
    if (!options.check) {
      const ParamTexts texts = TwoPointBoxTexts(*solution);
      std::cout << texts.x_offset << ' ' << texts.y_offset << ' ' << texts.angle << '\n';
      return kExitOk;
    }
    std::cout << TwoPointCheckReport(*solution, "\n") << '\n';
    return kExitOk;
  }

  // JSON and PROJ as solve --points gives them for a file of A and B: the fit
  // to two points has the two-point solve's texts, and is checked with them.
  auto report = ReportFit(named, {});
  if (!report) return Complain(report.error(), kExitFailure);
  if (fit.format == SolveFormat::kProj) {
    std::cout << ProjPipeline(report->params, fit.axes) << '\n';
    return kExitOk;
  }
  std::cout << TwoPointJson(*report, named, options.check ? &*solution : nullptr);
  return kExitOk;
}

}  // namespace

Command AddSolveCommand(CLI::App& program) {
  const auto options = std::make_shared<SolveOptions>();
  TwoPointOptions& two = options->two_points;
  SolvePointsOptions& many = options->points;
  FitChoices& fit = options->fit;
  std::vector<std::string>& height_check_names = options->height_check_names;
  CLI::App* command = program.add_subcommand(
      "solve",
      "Derive the X offset, Y offset and rotation from two points known in both grids, or, "
      "with --check, report how parameters at hand differ from them. With --points, fit them "
      "to many common points by least squares and report how every point and distance agrees.");
  // Required unless --points is given: checked once the command line is parsed.
  CLI::Option* const two_point_required[] = {
      command->add_option("--survey-a", two.survey_a, "point A in the survey grid: X,Y"),
      command->add_option("--survey-b", two.survey_b, "point B in the survey grid: X,Y"),
      command->add_option("--construction-a", two.construction_a,
                          "point A in the construction grid: X,Y"),
      command->add_option("--construction-b", two.construction_b,
                          "point B in the construction grid: X,Y")};
  for (CLI::Option* option : two_point_required) option->type_name("X,Y");
  CLI::Option* const check_opt =
      AddTextOption(*command, "--check", two.check,
                    "parameters to check: X0,Y0,ANGLE (ANGLE in ddd.mmss)")
          ->type_name("X0,Y0,DDD.MMSS");
  CLI::Option* const points_opt =
      AddOption(*command, "--points", many.points, "FILE",
                "common points, one a line: name, Xs, Ys, Xc, Yc (- for standard input), "
                "instead of --survey-a and the others");
  CLI::Option* const project_opt =
      AddOption(*command, "--project", options->project, "FILE",
                "a project file (NAME.torvane, as --save-project writes it): its common "
                "points, their roles and its model, instead of --points and the options "
                "that go with it");
  for (CLI::Option* option : two_point_required) option->excludes(points_opt);
  check_opt->excludes(points_opt);
  // Everything the project holds, or that reads a common-point file.
  for (CLI::Option* option : two_point_required) option->excludes(project_opt);
  check_opt->excludes(project_opt);
  points_opt->excludes(project_opt);
  AddTextOption(*command, "--max-residual", many.max_residual,
                "with --points: exit status 1 when a fitted point's residual is larger than MM "
                "millimetres (check points are reported, not limited)")
      ->type_name("MM")
      ->needs(points_opt);
  CLI::Option* const exclude_opt =
      AddOption(*command, "--exclude", many.exclude, "NAME[,NAME...]",
                "with --points: points to leave out of the fit, names separated by commas")
          ->needs(points_opt);
  CLI::Option* const check_points_opt =
      AddOption(*command, "--check-points", many.check_points, "NAME[,NAME...]",
                "with --points: points to leave out of the fit and report as check points, "
                "their misclosures, RMS and largest; names separated by commas")
          ->needs(points_opt);
  CLI::Option* const columns_opt =
      AddColumnsOption(
          *command, many.columns,
          "with --points: what each field holds, in order: name, xs, ys, xc, yc, hs and hc "
          "(heights, optional), and - or skip for a field to ignore (default "
          "name,xs,ys,xc,yc)")
          ->needs(points_opt);
  CLI::Option* const skip_lines_opt =
      AddSkipLinesOption(*command, many.skip_lines,
                         "with --points: lines at the start of the file that are not points (a "
                         "header)")
          ->needs(points_opt);
  CLI::Option* const delimiter_opt =
      AddDelimiterOption(*command, many.delimiter,
                         "with --points: what separates the fields, as convert's --delimiter")
          ->needs(points_opt);
  CLI::Option* const encoding_opt =
      AddEncodingOption(*command, many.encoding,
                        "with --points: the file's encoding, as convert's --encoding")
          ->needs(points_opt);
  AddTextOption(*command, "--save-project", many.save_project,
                "with --points: after the fit, write the site's project file (NAME.torvane): "
                "the points with their roles, the model and the parameters; an existing file "
                "is replaced only when it is a project")
      ->type_name("FILE")
      ->needs(points_opt);
  CLI::Option* const report_opt =
      AddTextOption(*command, "--report", fit.report.path,
                    "with --points or --project: also write the calibration report, in Chinese, "
                    "as one HTML file to print or file (the PDF is the window program's: "
                    "torvane --report=OUT.pdf); the usual report still goes to standard output")
          ->type_name("OUT.html");
  AddTextOption(*command, "--operator", fit.report.operator_name,
                "with --report: the operator the report names (default: the login name)")
      ->type_name("NAME")
      ->needs(report_opt);
  CLI::Option* const height_model_opt =
      AddChoiceOption(*command, "--height-model", many.height_model, kHeightChoices,
                      "with --points: fit the difference d = Hs - Hc of the points' heights "
                      "(hs and hc in --columns): none (default, heights are not fitted), offset "
                      "(one constant), plane (constant and slopes to X and Y), quadric (six "
                      "terms), or auto (the simplest the points support)")
          ->needs(points_opt);
  CLI::Option* const height_check_opt =
      AddOption(*command, "--height-check-points", height_check_names, "NAME[,NAME...]",
                "with --height-model: points to leave out of the height fit and report as "
                "height check points (default: the --check-points that have both heights)")
          ->needs(height_model_opt);
  AddChoiceOption(*command, "--format", fit.format, kFormats,
                  "text (default), json, or proj for the PROJ pipeline (not with --check)");
  CLI::Option* const axis_opt = AddChoiceOption(
      *command, "--axis", fit.axes, kAxisOrders,
      "with --format=proj: the order of the coordinates the pipeline reads and writes, "
      "north-east (default: X first) or east-north (GIS files, DXF drawings)");
  CLI::Option* const model_opt = AddChoiceOption(
      *command, "--model", fit.model, kModelNames,
      "rigid (default): offsets and rotation, scale 1; similarity: also a scale, the "
      "four-parameter conversion, printed after the rotation for convert --scale "
      "(not with --check)");
  for (CLI::Option* option : {exclude_opt, check_points_opt, columns_opt, skip_lines_opt,
                              delimiter_opt, encoding_opt, model_opt}) {
    option->excludes(project_opt);
  }
  command->footer(kFooter);

  // The rules CLI11 cannot state, told as its own are, after the whole
  // command line has been parsed.
  command->final_callback(
      [&fit, two_point_required, check_opt, points_opt, project_opt, axis_opt, report_opt] {
        if (points_opt->count() == 0 && project_opt->count() == 0) {
          for (CLI::Option* option : two_point_required) {
            if (option->count() == 0) throw CLI::RequiredError(option->get_name());
          }
        }
        // A pipeline has no place for the check's differences.
        if (check_opt->count() > 0 && fit.format == SolveFormat::kProj) {
          throw CLI::ExcludesError(check_opt->get_name(), "--format=proj");
        }
        // The check compares three parameters with three.
        if (check_opt->count() > 0 && fit.model == FitModel::kSimilarity) {
          throw CLI::ExcludesError(check_opt->get_name(), "--model=similarity");
        }
        // The two-point solve reads no file whose fingerprint the report could give.
        if (report_opt->count() > 0 && points_opt->count() == 0 && project_opt->count() == 0) {
          throw CLI::RequiresError(report_opt->get_name(), "--points or --project");
        }
        if (axis_opt->count() > 0 && fit.format != SolveFormat::kProj) {
          throw CLI::RequiresError(axis_opt->get_name(), "--format=proj");
        }
      });
  return {command,
          [options, points_opt, project_opt, height_check_opt] {
            if (project_opt->count() > 0) return RunSolveProject(options->project, options->fit);
            if (height_check_opt->count() > 0) {
              options->points.height_check_points = options->height_check_names;
            }
            return points_opt->count() > 0 ? RunSolvePoints(options->points, options->fit)
                                           : RunSolve(options->two_points, options->fit);
          },
          false};
}

}  // namespace torvane::cli
