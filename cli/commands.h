// The subcommands of torvane-cli. Each returns the process exit status:
// 0 success, 1 a file that cannot be read or converted, 2 a usage error.
#pragma once

#include <string>

namespace torvane::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

struct ConvertOptions {
  std::string dx, dy, angle;
  std::string to = "construction";
  std::string output;  // empty: beside the point file
  std::string point_file;
};
int RunConvert(const ConvertOptions& options);

struct SolveOptions {
  std::string survey_a, survey_b, construction_a, construction_b;
  std::string check;  // empty: no check
};
int RunSolve(const SolveOptions& options);

// "torvane-cli: message" on standard error; returns `status`.
int Complain(const std::string& message, int status);

}  // namespace torvane::cli
