#include "cli/help_format.h"

#include <memory>

#include "batch/text_encoding.h"

namespace torvane::cli {
namespace {

constexpr std::size_t kHelpWidth = 80;

constexpr std::string_view kProgramFooter =
    "Examples:\n"
    "  torvane-cli convert --dx=500 --dy=600 --angle=30.1520 pts.csv\n"
    "  torvane-cli convert --dx=500 --dy=600 --angle=30.1520 < pts.csv > out.txt\n"
    "  torvane-cli solve --points=control-points.csv\n"
    "\n"
    "Exit status: 0 success; 1 a file that cannot be read or converted, or a fit "
    "that fails; 2 a usage error.\n"
    "Run torvane-cli COMMAND --help for a command's options.";

// Columns `text` takes, as DisplayWidth counts them.
std::size_t Columns(std::string_view text) { return DisplayWidth(text, TextEncoding::kUtf8); }

void WrapLine(std::string_view line, std::size_t width, std::size_t indent, std::string& out) {
  const bool continued = !line.empty() && line[0] == ' ';
  std::string rest(line);
  while (Columns(rest) > width) {
    // The last space where the part before it fits; or, for a word wider
    // than the line, the first space after it.
    std::size_t cut = std::string::npos;
    for (std::size_t i = rest.find(' ', 1); i != std::string::npos; i = rest.find(' ', i + 1)) {
      const std::string_view before = std::string_view(rest).substr(0, i);
      if (before.find_first_not_of(' ') == std::string_view::npos) continue;  // the indent
      if (Columns(before) <= width) {
        cut = i;
        continue;
      }
      if (cut == std::string::npos) cut = i;
      break;
    }
    if (cut == std::string::npos) break;
    std::size_t end = cut;
    while (end > 0 && rest[end - 1] == ' ') --end;
    out.append(rest, 0, end);
    out += '\n';
    const std::size_t next = rest.find_first_not_of(' ', cut);
    if (next == std::string::npos) return;
    rest = std::string(continued ? indent : 0, ' ') + rest.substr(next);
  }
  out += rest;
  out += '\n';
}

// `text` with every line wider than `width` columns (as DisplayWidth counts
// them in UTF-8: two for a wide or full-width character, one for any other)
// broken at spaces: the continuation of a line that starts with a blank is
// indented by `indent` columns, of any other line not at all. A word wider
// than the line stays whole.
std::string WrapLines(std::string_view text, std::size_t width, std::size_t indent) {
  std::string out;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    WrapLine(text.substr(start, end - start), width, indent, out);
    start = end + 1;
  }
  if (!text.empty() && text.back() != '\n') out.pop_back();
  return out;
}

}  // namespace

std::string WrappingFormatter::make_help(const CLI::App* app, std::string name,
                                         CLI::AppFormatMode mode) const {
  return WrapLines(CLI::Formatter::make_help(app, std::move(name), mode), kHelpWidth,
                   get_column_width());
}

void SetUpHelp(CLI::App& app) {
  const auto formatter = std::make_shared<WrappingFormatter>();
  const std::string version = std::string("torvane-cli ") + TORVANE_VERSION;
  app.footer(std::string(kProgramFooter));
  app.formatter(formatter);
  for (CLI::App* command : app.get_subcommands([](CLI::App*) { return true; })) {
    command->formatter(formatter);
    command->set_version_flag("--version", version);
  }
}

}  // namespace torvane::cli
