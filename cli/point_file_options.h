// The options both commands take for how a file of points is laid out:
// --columns, --skip-lines, --delimiter and --encoding, each declared here
// once, with the help text each command gives it.
#pragma once

#include <CLI/CLI.hpp>

#include <cstddef>
#include <optional>
#include <string>

#include "batch/point_layout.h"
#include "batch/text_encoding.h"

namespace torvane::cli {

// --columns LIST: kept as typed, for the command's own column names to read.
CLI::Option* AddColumnsOption(CLI::App& command, std::optional<std::string>& columns,
                              const std::string& description);

// --skip-lines N: kept as typed, for ReadSkipLines.
CLI::Option* AddSkipLinesOption(CLI::App& command, std::optional<std::string>& skip_lines,
                                const std::string& description);

// --delimiter: comma, whitespace, tab or semicolon.
CLI::Option* AddDelimiterOption(CLI::App& command, FieldDelimiter& delimiter,
                                const std::string& description);

// --encoding: utf-8 or gbk; `encoding` stays empty unless it is given.
CLI::Option* AddEncodingOption(CLI::App& command, std::optional<TextEncoding>& encoding,
                               const std::string& description);

// The --skip-lines value: a whole number of lines, blanks around it
// allowed. False after a usage error, told on standard error.
bool ReadSkipLines(const std::string& text, std::size_t* lines);

}  // namespace torvane::cli
