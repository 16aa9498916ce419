#include "cli/usage_error.h"

#include <charconv>
#include <iostream>

#include "batch/run_error.h"
#include "cli/exit_status.h"

namespace torvane::cli {
namespace {

// The text the window (and `solve`) writes for a zero value.
constexpr std::string_view kZeroText = ".";

}  // namespace

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
  return Complain(EscapeControlBytes(what) + "\nRun with --help for more information.", kExitUsage);
}

bool ReadValue(const std::string& option, const std::string& text, double* value) {
  if (TrimBlanks(text) == kZeroText) {
    *value = 0;
    return true;
  }
  auto parsed = ParseDecimal(text);
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

}  // namespace torvane::cli
