#include "site/point_role.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <iterator>

#include "number/number_text.h"

namespace torvane {
namespace {

static_assert(
    [] {
      for (std::size_t i = 0; i < std::size(kPointRoles); ++i) {
        if (kRoleWords[i].value != kPointRoles[i]) return false;
      }
      return std::size(kRoleWords) == std::size(kPointRoles);
    }(),
    "the project file's words follow the roles' order");

// In the order of kPointRoles and kRoleWords.
constexpr const char* kChinese[] = {"参与平差", "检核", "不用"};

std::size_t IndexOf(PointRole role) {
  const auto* at = std::find(std::begin(kPointRoles), std::end(kPointRoles), role);
  assert(at != std::end(kPointRoles));
  return static_cast<std::size_t>(at - std::begin(kPointRoles));
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const char* RoleText(PointRole role) { return kChinese[IndexOf(role)]; }

std::optional<PointRole> RoleFromText(std::string_view text) {
  text = TrimBlanks(text);
  for (std::size_t i = 0; i < std::size(kPointRoles); ++i) {
    if (text == kChinese[i] || SameIgnoringCase(text, kRoleWords[i].name)) return kPointRoles[i];
  }
  return std::nullopt;
}

}  // namespace torvane
