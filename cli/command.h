// The commands of torvane-cli. Each declares its options on the program's
// CLI::App, checks the rules between them as the command line is parsed,
// and runs once it has been.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>

namespace torvane::cli {

// The reason given for a failed write to standard output when the program
// was started with it closed, rather than the system's "Bad file descriptor".
inline constexpr const char* kStandardOutputClosed = "standard output is closed";

struct Command {
  CLI::App* app = nullptr;  // parsed() when the command line names the command
  // Runs the parsed command; returns the exit status (exit_status.h).
  std::function<int()> run;
  // A run that returns kExitFailure has told why, a failed write to
  // standard output included.
  bool tells_failure = false;
};

// convert: points converted between the two grids.
Command AddConvertCommand(CLI::App& program);

// solve: the parameters from two points, or from many with --points.
Command AddSolveCommand(CLI::App& program);

}  // namespace torvane::cli
