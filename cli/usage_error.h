// Usage errors of torvane-cli: the one place that writes them, after
// "torvane-cli: " on standard error, and the readers of option values that
// tell what they reject that way.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "number/number_text.h"

namespace torvane::cli {

// "torvane-cli: message" on standard error; returns `status`.
int Complain(const std::string& message, int status);

// The usage error for an option's number that ParseDecimal rejected for
// `why`: "OPTION: \"TEXT\" is not a number" or "... is too large", the text
// quoted as MessageExcerpt shows it. Returns kExitUsage.
int ComplainOfNumber(const std::string& option, const std::string& text, DecimalError why);

// A command line CLI11 rejected, `what` being its message (which quotes what
// was typed: here each run of it without a blank longer than a message
// quotes is cut as MessageExcerpt cuts it, control bytes escaped), and the
// hint to --help. Returns kExitUsage.
int ComplainOfCommandLine(std::string_view what);

// An option value that must be a decimal number in full, or "." (the
// window's text for zero, as `solve` prints it), blanks around it allowed.
// False after a usage error that names `option`.
bool ReadValue(const std::string& option, const std::string& text, double* value);

// No upper limit for ReadCount.
inline constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();

// An option value that must be a whole number from 0 to `most`, blanks
// around it allowed. False after a usage error that names `option`.
bool ReadCount(const std::string& option, const std::string& text, std::size_t most,
               std::size_t* count);

// An option value of `count` decimal numbers separated by commas ("X,Y",
// "X0,Y0,ANGLE"), blanks around each allowed. False after a usage error that
// names `option`: a field that is not a number (quoted alone), or a list of
// another length.
bool ReadValues(const std::string& option, const std::string& text, std::size_t count,
                std::vector<double>* values);

}  // namespace torvane::cli
