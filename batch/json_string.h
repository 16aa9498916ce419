// Text as a JSON string, for the command line's JSON outputs.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// A JSON string of UTF-8 text: double quotes, backslashes and control
// characters escaped, every other byte as it is.
std::string JsonString(std::string_view utf8);

}  // namespace torvane
