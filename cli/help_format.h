// How torvane-cli's help looks: CLI11's layout, its lines wrapped at 80
// columns, value kinds named, and each command's help ended by examples
// and the exit status.
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

// The help of the whole program and of each command: --version on every
// command, the value kinds of solve's options, and the examples and exit
// status after each command's options.
void SetUpHelp(CLI::App& app, CLI::App& convert, CLI::App& solve);

}  // namespace torvane::cli
