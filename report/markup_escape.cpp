#include "report/markup_escape.h"

#include <utility>

namespace torvane {
namespace {

// Each character that would end an element or an attribute, and the
// character reference written for it.
constexpr std::pair<char, std::string_view> kReferences[] = {
    {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&#39;"}};

}  // namespace

std::string MarkupEscape(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    std::string_view reference;
    for (const auto& [character, written] : kReferences) {
      if (c == character) reference = written;
    }
    if (reference.empty()) {
      escaped += c;
    } else {
      escaped += reference;
    }
  }
  return escaped;
}

}  // namespace torvane
