// torvane-cli: converts point files between the survey grid and a
// construction grid, and derives the conversion parameters from two points.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) {
  using namespace torvane::cli;
  CLI::App app{"Converts point coordinates between the survey grid and a construction grid."};
  app.name("torvane-cli");
  app.set_version_flag("--version", std::string("torvane-cli ") + TORVANE_VERSION);
  app.require_subcommand(1, 1);

  ConvertOptions convert;
  CLI::App* convert_cmd = app.add_subcommand(
      "convert",
      "Convert every point of a point file (lines \"name, X, Y, H\"). The result table goes "
      "beside the point file, named like the window names it, unless -o says otherwise.");
  convert_cmd->add_option("--dx", convert.dx, "X offset in metres")->required();
  convert_cmd->add_option("--dy", convert.dy, "Y offset in metres")->required();
  convert_cmd->add_option("--angle", convert.angle, "rotation in ddd.mmss notation")->required();
  convert_cmd
      ->add_option("--to", convert.to,
                   "construction: survey to construction (default); survey: the reverse")
      ->check(CLI::IsMember({"construction", "survey"}));
  convert_cmd->add_option("-o,--output", convert.output, "result file, or - for standard output");
  convert_cmd->add_option("POINTFILE", convert.point_file, "point file, or - for standard input")
      ->required();

  SolveOptions solve;
  CLI::App* solve_cmd = app.add_subcommand(
      "solve",
      "Derive the X offset, Y offset and rotation from two points known in both grids, or, "
      "with --check, report how parameters at hand differ from them.");
  solve_cmd->add_option("--survey-a", solve.survey_a, "point A in the survey grid: X,Y")
      ->required();
  solve_cmd->add_option("--survey-b", solve.survey_b, "point B in the survey grid: X,Y")
      ->required();
  solve_cmd
      ->add_option("--construction-a", solve.construction_a,
                   "point A in the construction grid: X,Y")
      ->required();
  solve_cmd
      ->add_option("--construction-b", solve.construction_b,
                   "point B in the construction grid: X,Y")
      ->required();
  solve_cmd->add_option("--check", solve.check,
                        "parameters to check: X0,Y0,ANGLE (ANGLE in ddd.mmss)");

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    std::cerr << "torvane-cli: " << e.what() << "\nRun with --help for more information.\n";
    return kExitUsage;
  }
  if (convert_cmd->parsed()) return RunConvert(convert);
  return RunSolve(solve);
}
