// A common point's role as the workbench names it: 参与平差 (fitted), 检核
// (checked against the fitted parameters), 不用 (left out).
#pragma once

#include <optional>
#include <string_view>

#include "batch/project_file.h"

namespace torvane {

// The role's Chinese name, UTF-8.
const char* RoleText(PointRole role);

// The role a text names: its Chinese name, or the project file's name
// (fit, check, off; case does not matter), blanks around it aside. None for
// any other text, the empty one included.
std::optional<PointRole> RoleFromText(std::string_view text);

}  // namespace torvane
