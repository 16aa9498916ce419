#include "report/json_text.h"

namespace torvane {

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
