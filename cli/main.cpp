// torvane-cli: converts point files between the survey grid and a
// construction grid, and derives the conversion parameters from two points
// or from many.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <iostream>

#include "batch/run_error.h"
#include "cli/command.h"
#include "cli/exit_status.h"
#include "cli/help_format.h"
#include "cli/usage_error.h"
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

  const Command commands[] = {AddConvertCommand(app), AddSolveCommand(app)};
  try {
    SetUpHelp(app);
    app.parse(arguments);
  } catch (const CLI::Success& e) {
    // --help, --help-all or --version: printed to standard output.
    return FinishStandardOutput(app.exit(e), false);
  } catch (const CLI::ParseError& e) {
    return ComplainOfCommandLine(e.what());
  }
  // Exactly one command, CLI11 has made sure.
  for (const Command& command : commands) {
    if (!command.app->parsed()) continue;
    const int status = command.run();
    return FinishStandardOutput(status, command.tells_failure && status == kExitFailure);
  }
  assert(false);
  return kExitUsage;
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
