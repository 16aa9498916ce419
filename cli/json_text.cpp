#include "cli/json_text.h"

namespace torvane::cli {
namespace {

constexpr int kHex = 16;
constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
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
          out += "\\u00";
          out += kHexDigits[static_cast<unsigned char>(c) / kHex];
          out += kHexDigits[static_cast<unsigned char>(c) % kHex];
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

}  // namespace torvane::cli
