#include "report/json_text.h"

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

std::string JsonMember(std::string_view key, const std::string& json) {
  return JsonString(key) + ": " + json;
}

std::string JsonArray(const std::vector<std::string>& items, bool lines) {
  if (items.empty()) return "[]";
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ",";
    out += lines ? "\n    " : (i > 0 ? " " : "");
    out += items[i];
  }
  out += lines ? "\n  ]" : "]";
  return out;
}

std::string JsonObject(const std::vector<std::string>& members) {
  std::string json = "{";
  for (std::size_t i = 0; i < members.size(); ++i) {
    json += i > 0 ? ",\n  " : "\n  ";
    json += members[i];
  }
  json += "\n}\n";
  return json;
}

}  // namespace torvane
