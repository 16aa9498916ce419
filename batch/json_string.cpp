#include "batch/json_string.h"

namespace torvane {
namespace {

constexpr int kHex = 16;
constexpr char kHexDigits[] = "0123456789abcdef";

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
          // Four hex digits, from a table: appending a literal chosen by the
          // digit count sets off a false -Wrestrict in GCC 12.
          const auto byte = static_cast<unsigned char>(c);
          out += "\\u00";
          out += kHexDigits[byte / kHex];
          out += kHexDigits[byte % kHex];
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

}  // namespace torvane
