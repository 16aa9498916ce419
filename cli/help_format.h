// How torvane-cli's help looks: CLI11's layout, its lines wrapped at 80
// columns, value kinds named, and each command's help ended by examples
// and the exit status.
#pragma once

#include <CLI/CLI.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace torvane::cli {

inline constexpr std::size_t kHelpWidth = 80;

// `text` with every line wider than `width` columns (as DisplayWidth counts
// them in UTF-8: two for a wide or full-width character, one for any other)
// broken at spaces: the continuation of a line that starts with a blank is
// indented by `indent` columns, of any other line not at all. A word wider
// than the line stays whole.
std::string WrapLines(std::string_view text, std::size_t width, std::size_t indent);

// CLI11's help text, wrapped by WrapLines with its descriptions' column as
// the indent.
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
