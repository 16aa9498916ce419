#include "report/markup_escape.h"

#include <utility>

#include "batch/text_encoding.h"

namespace torvane {
namespace {

// Each character that would end an element or an attribute, and the
// character reference written for it.
constexpr std::pair<char, std::string_view> kReferences[] = {
    {'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&#39;"}};

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// The bytes of the character at text[i] of well-formed UTF-8 that XML
// cannot hold or HTML takes for a fault (see MarkupEscape); 0 for any other.
std::size_t UnwritableAt(std::string_view text, std::size_t i) {
  const unsigned char c = Byte(text[i]);
  if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0x7F) return 1;
  const std::string_view rest = text.substr(i);
  // U+0080 to U+009F: C2 80 to C2 9F.
  if (c == 0xC2 && rest.size() >= 2 && Byte(rest[1]) <= 0x9F) return 2;
  if (rest.starts_with("\xEF\xBF\xBE") || rest.starts_with("\xEF\xBF\xBF")) return 3;
  return 0;
}

}  // namespace

std::string MarkupEscape(std::string_view raw) {
  const std::string text = Utf8WithReplacements(raw);
  std::string escaped;
  escaped.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t unwritable = UnwritableAt(text, i)) {
      escaped += kReplacementCharacter;
      i += unwritable;
      continue;
    }
    const char c = text[i++];
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
