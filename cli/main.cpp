// torvane-cli: converts point files between the survey grid and a
// construction grid, and derives the conversion parameters from two points
// or from many.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>

#include "batch/run_error.h"
#include "cli/commands.h"
#include "cli/help_format.h"
#include "os/process_io.h"

namespace torvane::cli {
namespace {

// "--dx=" becomes "--dx" and an empty value: CLI11 would otherwise take the
// next argument as the value ("--dx= --dy=1" would leave --dy missing), and
// the empty value is then rejected by the option's own check, which names it.
// Arguments after "--" are not options and stay as they are.
std::vector<std::string> SplitEmptyValues(const std::vector<std::string>& arguments) {
  std::vector<std::string> split;
  bool options = true;
  for (const std::string& argument : arguments) {
    if (argument == "--") options = false;
    if (options && argument.size() > 3 && argument.starts_with("--") &&
        argument.find('=') == argument.size() - 1) {
      split.push_back(argument.substr(0, argument.size() - 1));
      split.emplace_back();
    } else {
      split.push_back(argument);
    }
  }
  return split;
}

// After the command: whatever it wrote to standard output flushed, and a
// write that failed, then or earlier, reported as a failure of the run.
// `told`: the command has reported it itself.
int FinishStandardOutput(int status, bool told) {
  std::cout.flush();
  const bool flushed = std::fflush(stdout) == 0;
  const int reason = errno;
  if (flushed && !std::cout.fail() && !std::ferror(stdout)) return status;
  if (!told) {
    RunError e = FileError(RunErrorKind::kCannotWrite, "-", 0);
    // errno 0: the write that failed came before, and its reason is gone.
    e.detail = StandardOutputWasClosed() ? kStandardOutputClosed
               : reason != 0             ? SystemReason(reason)
                                         : "some of it is lost";
    std::cerr << Describe(e) << '\n';
  }
  return status == kExitOk ? kExitFailure : status;
}

int Run(std::vector<std::string> arguments) {
  // CLI11 takes the arguments after the program's name, last first.
  if (!arguments.empty()) arguments.erase(arguments.begin());
  arguments = SplitEmptyValues(arguments);
  std::reverse(arguments.begin(), arguments.end());

  CLI::App app{"Converts point coordinates between the survey grid and a construction grid."};
  app.name("torvane-cli");
  app.set_version_flag("--version", std::string("torvane-cli ") + TORVANE_VERSION);
  app.require_subcommand(1, 1);

  ConvertOptions convert;
  CLI::App* convert_cmd = app.add_subcommand(
      "convert",
      "Convert every point of each point file (lines \"name, X, Y, H\", or as --columns "
      "says). With no POINTFILE, or -, a filter: standard input to standard output. "
      "Otherwise each table goes beside its point file, named as the window names it "
      "(pts.csv gives pts转化后成果表.txt, .csv or .json for those formats), unless -o says "
      "otherwise.");
  convert_cmd
      ->add_option("--dx", convert.dx,
                   "X offset: the survey X of the construction grid's origin, in metres")
      ->type_name("METRES")
      ->required();
  convert_cmd->add_option("--dy", convert.dy, "Y offset, the same for Y")
      ->type_name("METRES")
      ->required();
  convert_cmd->add_option("--angle", convert.angle, "rotation in ddd.mmss (30.1520 is 30°15′20″)")
      ->type_name("DDD.MMSS")
      ->required();
  convert_cmd
      ->add_option("--scale", convert.scale,
                   "scale k of the four-parameter conversion, as solve --model=similarity "
                   "prints it: survey = offsets + k times the turned construction coordinates "
                   "(default 1, rigid)")
      ->type_name("K");
  convert_cmd
      ->add_option("--to", convert.to,
                   "construction: survey to construction (default); survey: the reverse")
      ->type_name("construction|survey")
      ->check(CLI::IsMember({"construction", "survey"}).description(""));
  CLI::Option* const output_opt =
      convert_cmd
          ->add_option("-o,--output", convert.output,
                       "result file, or - for standard output; a folder (DIR/, or one that "
                       "exists) takes the results of several point files under their "
                       "usual names")
          ->type_name("FILE|DIR/|-");
  convert_cmd
      ->add_option("--format", convert.format,
                   "table (default): the window's fixed columns; csv: lines "
                   "\"name,X,Y,H\" in the point file's columns, CR LF; json: an array of "
                   "points {name, x, y, h}, UTF-8")
      ->type_name("table|csv|json")
      ->check(CLI::IsMember({"table", "csv", "json"}).description(""));
  std::string decimals, columns, skip_lines;
  CLI::Option* const decimals_opt =
      convert_cmd
          ->add_option("--decimals", decimals,
                       "decimals of X and Y in csv and json, 0 to 12 (default 5); csv "
                       "copies H as written")
          ->type_name("N");
  CLI::Option* const columns_opt =
      convert_cmd
          ->add_option("--columns", columns,
                       "what each field holds, in order: name, code, x, y, h, and - or skip "
                       "for a field to ignore (default name,x,y,h; x and y required); csv "
                       "writes the same columns. name,code,y,x,h reads South CASS .dat files")
          ->type_name("LIST");
  CLI::Option* const skip_lines_opt =
      convert_cmd
          ->add_option("--skip-lines", skip_lines,
                       "lines at the start of each point file that are not points (a header)")
          ->type_name("N");
  convert_cmd
      ->add_option("--delimiter", convert.delimiter,
                   "what separates the fields: comma (default), whitespace (runs of spaces "
                   "and tabs), tab or semicolon")
      ->type_name("comma|whitespace|tab|semicolon")
      ->check(CLI::IsMember({"comma", "whitespace", "tab", "semicolon"}).description(""));
  convert_cmd
      ->add_option("--encoding", convert.encoding,
                   "the point files' encoding, for files whose bytes read as both (default: "
                   "each file's bytes decide)")
      ->type_name("utf-8|gbk")
      ->check(CLI::IsMember({"utf-8", "gbk"}).description(""));
  convert_cmd
      ->add_option("POINTFILE", convert.point_files, "point files; none, or -, for standard input")
      ->type_name("FILE");

  SolveOptions solve;
  CLI::App* solve_cmd = app.add_subcommand(
      "solve",
      "Derive the X offset, Y offset and rotation from two points known in both grids, or, "
      "with --check, report how parameters at hand differ from them. With --points, fit them "
      "to many common points by least squares and report how every point and distance agrees.");
  // Required unless --points is given: checked after parsing.
  CLI::Option* const two_point_required[] = {
      solve_cmd->add_option("--survey-a", solve.survey_a, "point A in the survey grid: X,Y"),
      solve_cmd->add_option("--survey-b", solve.survey_b, "point B in the survey grid: X,Y"),
      solve_cmd->add_option("--construction-a", solve.construction_a,
                            "point A in the construction grid: X,Y"),
      solve_cmd->add_option("--construction-b", solve.construction_b,
                            "point B in the construction grid: X,Y")};
  std::string solve_check;
  CLI::Option* const check_opt = solve_cmd->add_option(
      "--check", solve_check, "parameters to check: X0,Y0,ANGLE (ANGLE in ddd.mmss)");

  SolvePointsOptions solve_points;
  std::string max_residual;
  CLI::Option* const points_opt =
      solve_cmd
          ->add_option("--points", solve_points.points,
                       "common points, one a line: name, Xs, Ys, Xc, Yc (- for standard input), "
                       "instead of --survey-a and the others")
          ->type_name("FILE");
  for (CLI::Option* option : two_point_required) option->excludes(points_opt);
  check_opt->excludes(points_opt);
  CLI::Option* const max_residual_opt =
      solve_cmd
          ->add_option("--max-residual", max_residual,
                       "with --points: exit status 1 when a residual is larger than MM millimetres")
          ->type_name("MM")
          ->needs(points_opt);
  solve_cmd
      ->add_option("--exclude", solve_points.exclude,
                   "with --points: points to leave out of the fit, names separated by commas")
      ->type_name("NAME[,NAME...]")
      ->needs(points_opt);
  std::string points_columns, points_skip_lines;
  CLI::Option* const points_columns_opt =
      solve_cmd
          ->add_option("--columns", points_columns,
                       "with --points: what each field holds, in order: name, xs, ys, xc, yc, "
                       "and - or skip for a field to ignore (default name,xs,ys,xc,yc)")
          ->type_name("LIST")
          ->needs(points_opt);
  CLI::Option* const points_skip_lines_opt =
      solve_cmd
          ->add_option("--skip-lines", points_skip_lines,
                       "with --points: lines at the start of the file that are not points "
                       "(a header)")
          ->type_name("N")
          ->needs(points_opt);
  solve_cmd
      ->add_option("--delimiter", solve_points.delimiter,
                   "with --points: what separates the fields, as convert's --delimiter")
      ->type_name("comma|whitespace|tab|semicolon")
      ->check(CLI::IsMember({"comma", "whitespace", "tab", "semicolon"}).description(""))
      ->needs(points_opt);
  solve_cmd
      ->add_option("--encoding", solve_points.encoding,
                   "with --points: the file's encoding, as convert's --encoding")
      ->type_name("utf-8|gbk")
      ->check(CLI::IsMember({"utf-8", "gbk"}).description(""))
      ->needs(points_opt);
  std::string solve_format = "text";
  solve_cmd
      ->add_option("--format", solve_format,
                   "text (default), json, or proj for the PROJ pipeline (not with --check)")
      ->type_name("text|json|proj")
      ->check(CLI::IsMember({"text", "json", "proj"}).description(""));
  std::string solve_axis = "north-east";
  CLI::Option* const axis_opt =
      solve_cmd
          ->add_option("--axis", solve_axis,
                       "with --format=proj: the order of the coordinates the pipeline reads and "
                       "writes, north-east (default: X first) or east-north (GIS files, DXF "
                       "drawings)")
          ->type_name("north-east|east-north")
          ->check(CLI::IsMember({"north-east", "east-north"}).description(""));

  std::string solve_model = "rigid";
  solve_cmd
      ->add_option("--model", solve_model,
                   "rigid (default): offsets and rotation, scale 1; similarity: also a "
                   "scale, the four-parameter conversion, printed after the rotation for "
                   "convert --scale (not with --check)")
      ->type_name("rigid|similarity")
      ->check(CLI::IsMember({"rigid", "similarity"}).description(""));

  try {
    SetUpHelp(app, *convert_cmd, *solve_cmd);
    app.parse(arguments);
    if (solve_cmd->parsed() && points_opt->count() == 0) {
      for (CLI::Option* option : two_point_required) {
        if (option->count() == 0) throw CLI::RequiredError(option->get_name());
      }
    }
    if (solve_cmd->parsed()) {
      // A pipeline has no place for the check's differences.
      if (check_opt->count() > 0 && solve_format == "proj") {
        throw CLI::ExcludesError(check_opt->get_name(), "--format=proj");
      }
      // The check compares three parameters with three.
      if (check_opt->count() > 0 && solve_model == "similarity") {
        throw CLI::ExcludesError(check_opt->get_name(), "--model=similarity");
      }
      if (axis_opt->count() > 0 && solve_format != "proj") {
        throw CLI::RequiresError(axis_opt->get_name(), "--format=proj");
      }
    }
  } catch (const CLI::Success& e) {
    // --help, --help-all or --version: printed to standard output.
    return FinishStandardOutput(app.exit(e), false);
  } catch (const CLI::ParseError& e) {
    // CLI11's messages quote what was typed.
    std::cerr << "torvane-cli: " << EscapeControlBytes(e.what())
              << "\nRun with --help for more information.\n";
    return kExitUsage;
  }
  if (convert_cmd->parsed()) {
    convert.output_given = output_opt->count() > 0;
    if (decimals_opt->count() > 0) convert.decimals = decimals;
    if (columns_opt->count() > 0) convert.columns = columns;
    if (skip_lines_opt->count() > 0) convert.skip_lines = skip_lines;
    const int status = RunConvert(convert);
    // A convert that failed has said why, a write to standard output included.
    return FinishStandardOutput(status, status == kExitFailure);
  }
  const AxisOrder solve_axes =
      solve_axis == "east-north" ? AxisOrder::kEastNorth : AxisOrder::kNorthEast;
  const FitModel model = solve_model == "similarity" ? FitModel::kSimilarity : FitModel::kRigid;
  if (points_opt->count() > 0) {
    if (max_residual_opt->count() > 0) solve_points.max_residual = max_residual;
    if (points_columns_opt->count() > 0) solve_points.columns = points_columns;
    if (points_skip_lines_opt->count() > 0) solve_points.skip_lines = points_skip_lines;
    solve_points.format = solve_format;
    solve_points.axes = solve_axes;
    solve_points.model = model;
    return FinishStandardOutput(RunSolvePoints(solve_points), false);
  }
  if (check_opt->count() > 0) solve.check = solve_check;
  solve.format = solve_format;
  solve.axes = solve_axes;
  solve.model = model;
  return FinishStandardOutput(RunSolve(solve), false);
}

}  // namespace
}  // namespace torvane::cli

int main(int argc, char** argv) {
  // First: until then a closed standard descriptor is free for any file.
  torvane::ReopenClosedStandardStreams();
  torvane::UseBinaryStandardStreams();
  torvane::UseConsoleText();
  return torvane::cli::Run(torvane::Utf8Arguments(argc, argv));
}
