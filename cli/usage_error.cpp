#include "cli/usage_error.h"

#include <charconv>
#include <iostream>
#include <string_view>

#include "batch/run_error.h"
#include "cli/exit_status.h"

namespace torvane::cli {
int Complain(const std::string& message, int status) {
  std::cerr << "torvane-cli: " << message << '\n';
  return status;
}

int ComplainOfNumber(const std::string& option, const std::string& text, DecimalError why) {
  return Complain(option + ": \"" + MessageExcerpt(text) + "\" " +
                      (why == DecimalError::kTooLarge ? "is too large" : "is not a number"),
                  kExitUsage);
}

int ComplainOfCommandLine(std::string_view what) {
  // CLI11 quotes what was typed in full: each run of it without a blank is
  // cut as an option's value is, control bytes escaped.
  std::string told;
  for (;;) {
    const std::size_t blank = what.find(' ');
    told += MessageExcerpt(std::string(what.substr(0, blank)));
    if (blank == std::string_view::npos) break;
    told += ' ';
    what.remove_prefix(blank + 1);
  }
  return Complain(told + "\nRun with --help for more information.", kExitUsage);
}

bool ReadValue(const std::string& option, const std::string& text, double* value) {
  auto parsed = ParseParameterText(text);
  if (parsed) {
    *value = *parsed;
    return true;
  }
  ComplainOfNumber(option, text, parsed.error());
  return false;
}

bool ReadCount(const std::string& option, const std::string& text, std::size_t most,
               std::size_t* count) {
  const std::string_view digits = TrimBlanks(text);
  const auto read = std::from_chars(digits.data(), digits.data() + digits.size(), *count);
  if (read.ec == std::errc() && read.ptr == digits.data() + digits.size() && !digits.empty() &&
      *count <= most) {
    return true;
  }
  std::string message = option + ": \"" + MessageExcerpt(text) + "\" is not a whole number";
  if (most != kNoLimit) message += " from 0 to " + std::to_string(most);
  Complain(message, kExitUsage);
  return false;
}

bool ReadValues(const std::string& option, const std::string& text, std::size_t count,
                std::vector<double>* values) {
  values->clear();
  std::string_view rest = text;
  for (;;) {
    const std::size_t comma = rest.find(',');
    const std::string_view item = rest.substr(0, comma);
    auto value = ParseDecimal(item);
    if (!value) {
      ComplainOfNumber(option, std::string(TrimBlanks(item)), value.error());
      return false;
    }
    values->push_back(*value);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  if (values->size() != count) {
    Complain(option + ": expected " + std::to_string(count) +
                 " numbers separated by commas, got \"" + MessageExcerpt(text) + "\"",
             kExitUsage);
    return false;
  }
  return true;
}

}  // namespace torvane::cli
