// What a common point does in the solution, and its names: 参与平差 (fitted),
// 检核 (checked against the fitted parameters), 不用 (left out); the
// project file names them fit, check and off.
#pragma once

#include <optional>
#include <string_view>

#include "base/named_choice.h"

namespace torvane {

enum class PointRole { kFit, kCheck, kOff };

// Every role, in the order tables, lists and the plot's legend show them.
inline constexpr PointRole kPointRoles[] = {PointRole::kFit, PointRole::kCheck, PointRole::kOff};

// The role's Chinese name, UTF-8 ("参与平差").
const char* RoleText(PointRole role);

// The roles' names in a project file, in the order of kPointRoles.
inline constexpr NamedChoice<PointRole> kRoleWords[] = {
    {"fit", PointRole::kFit}, {"check", PointRole::kCheck}, {"off", PointRole::kOff}};

// The role a text names: its Chinese name, or its project-file name (case
// does not matter), blanks around it aside. None for any other text, the
// empty one included.
std::optional<PointRole> RoleFromText(std::string_view text);

}  // namespace torvane
