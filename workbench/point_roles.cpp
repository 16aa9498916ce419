#include "workbench/point_roles.h"

#include <algorithm>
#include <cctype>

#include "number/number_text.h"

namespace torvane {
namespace {

constexpr struct {
  PointRole role;
  const char* chinese;
  const char* english;
} kRoles[] = {{PointRole::kFit, "参与平差", "fit"},
              {PointRole::kCheck, "检核", "check"},
              {PointRole::kOff, "不用", "off"}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const char* RoleText(PointRole role) {
  for (const auto& r : kRoles) {
    if (r.role == role) return r.chinese;
  }
  return kRoles[0].chinese;  // not reached: every role is listed
}

std::optional<PointRole> RoleFromText(std::string_view text) {
  text = TrimBlanks(text);
  for (const auto& r : kRoles) {
    if (text == r.chinese || SameIgnoringCase(text, r.english)) return r.role;
  }
  return std::nullopt;
}

}  // namespace torvane
