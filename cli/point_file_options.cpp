#include "cli/point_file_options.h"

#include "cli/option_kinds.h"
#include "cli/usage_error.h"

namespace torvane::cli {

CLI::Option* AddColumnsOption(CLI::App& command, std::optional<std::string>& columns,
                              const std::string& description) {
  return AddTextOption(command, "--columns", columns, description)->type_name("LIST");
}

CLI::Option* AddSkipLinesOption(CLI::App& command, std::optional<std::string>& skip_lines,
                                const std::string& description) {
  return AddTextOption(command, "--skip-lines", skip_lines, description)->type_name("N");
}

CLI::Option* AddDelimiterOption(CLI::App& command, FieldDelimiter& delimiter,
                                const std::string& description) {
  return AddChoiceOption(command, "--delimiter", delimiter, kDelimiterNames, description);
}

CLI::Option* AddEncodingOption(CLI::App& command, std::optional<TextEncoding>& encoding,
                               const std::string& description) {
  return AddChoiceOption(command, "--encoding", encoding, kEncodingNames, description);
}

bool ReadSkipLines(const std::string& text, std::size_t* lines) {
  return ReadCount("--skip-lines", text, kNoLimit, lines);
}

}  // namespace torvane::cli
