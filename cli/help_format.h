// How torvane-cli's help looks: CLI11's layout, its lines wrapped at 80
// columns, and the program's help ended by examples and the exit status
// (each command's help has its own, from the command).
#pragma once

#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace torvane::cli {

// CLI11's help text, its lines wrapped at 80 columns, continuations
// indented to its descriptions' column.
class WrappingFormatter : public CLI::Formatter {
 public:
  std::string make_help(const CLI::App* app, std::string name,
                        CLI::AppFormatMode mode) const override;
};

// The help of the whole program and of each of its commands, once they
// have all been added: the wrapping formatter, --version on every command
// (after its own options), and the program's examples and exit status.
void SetUpHelp(CLI::App& app);

}  // namespace torvane::cli
