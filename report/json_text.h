// JSON text for what scripts read: strings, members, arrays and a report's
// outer object, written as torvane-cli lays them out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// A JSON string of UTF-8 text: double quotes, backslashes and control
// characters escaped, every other byte as it is.
std::string JsonString(std::string_view utf8);

// "\"key\": value", `json` an already-written JSON value.
std::string JsonMember(std::string_view key, const std::string& json);

// "[a, b, c]" of already-written JSON values; with `lines`, one a line,
// indented as a member of the outer object.
std::string JsonArray(const std::vector<std::string>& items, bool lines);

// The outer object: each of the written `members` on a line of its own,
// ended by "\n".
std::string JsonObject(const std::vector<std::string>& members);

}  // namespace torvane
