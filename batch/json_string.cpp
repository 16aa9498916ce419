#include "batch/json_string.h"

#include <charconv>

namespace torvane {
namespace {

constexpr int kHex = 16;

}  // namespace

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char digits[2];
          const auto written =
              std::to_chars(digits, digits + sizeof digits, static_cast<unsigned>(c), kHex);
          out += written.ptr - digits == 1 ? "\\u000" : "\\u00";
          out.append(digits, written.ptr);
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

}  // namespace torvane
