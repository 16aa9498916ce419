// JSON text for the reports scripts read: strings, members, arrays and the
// report's outer object, written as torvane-cli lays them out.
#pragma once

#include "batch/json_string.h"

#include <string>
#include <string_view>
#include <vector>

namespace torvane {

// Strings are written by JsonString (batch/json_string.h).

// "\"key\": value", `json` an already-written JSON value.
std::string JsonMember(std::string_view key, const std::string& json);

// "[a, b, c]" of already-written JSON values; with `lines`, one a line,
// indented as a member of the outer object.
std::string JsonArray(const std::vector<std::string>& items, bool lines);

// The outer object: each of the written `members` on a line of its own,
// ended by "\n".
std::string JsonObject(const std::vector<std::string>& members);

}  // namespace torvane
