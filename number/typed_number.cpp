#include "number/typed_number.h"

#include <cstddef>
#include <utility>

#include "number/number_text.h"

namespace torvane {
namespace {

// Each full-width character read, in UTF-8, and what it is read as.
constexpr std::pair<std::string_view, char> kFullWidth[] = {
    {"０", '0'}, {"１", '1'}, {"２", '2'}, {"３", '3'}, {"４", '4'}, {"５", '5'},
    {"６", '6'}, {"７", '7'}, {"８", '8'}, {"９", '9'}, {"＋", '+'}, {"－", '-'},
    {"．", '.'}, {"。", '.'}, {"，", ','}, {"ｅ", 'e'}, {"Ｅ", 'E'}, {"\u3000", ' '}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// `text` without the commas of its thousands grouping, when it is grouped
// as TypedNumberText says; none otherwise.
std::optional<std::string> Ungrouped(std::string_view text) {
  std::string plain;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
  std::size_t lead = 0;
  while (i < text.size() && IsDigit(text[i])) {
    plain += text[i++];
    ++lead;
  }
  if (lead < 1 || lead > 3) return std::nullopt;
  std::size_t groups = 0;
  while (i < text.size() && text[i] == ',') {
    ++i;
    for (int k = 0; k < 3; ++k, ++i) {
      if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
      plain += text[i];
    }
    ++groups;
  }
  if (groups == 0 || (i < text.size() && IsDigit(text[i]))) return std::nullopt;
  if (i < text.size() && text[i] == '.') {
    plain += text[i++];
    while (i < text.size() && IsDigit(text[i])) plain += text[i++];
  }
  if (i != text.size()) return std::nullopt;
  return plain;
}

}  // namespace

std::string FullWidthToAscii(std::string_view text) {
  std::string ascii;
  ascii.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    bool mapped = false;
    for (const auto& [wide, narrow] : kFullWidth) {
      if (text.substr(i, wide.size()) == wide) {
        ascii += narrow;
        i += wide.size();
        mapped = true;
        break;
      }
    }
    if (!mapped) ascii += text[i++];
  }
  return ascii;
}

std::optional<std::string> TypedNumberText(std::string_view cell) {
  if (ParseDecimal(cell)) return std::nullopt;
  const std::string ascii = FullWidthToAscii(cell);
  const std::string_view trimmed = TrimBlanks(ascii);
  if (ParseDecimal(trimmed)) return std::string(trimmed);
  auto plain = Ungrouped(trimmed);
  if (plain && ParseDecimal(*plain)) return plain;
  return std::nullopt;
}

}  // namespace torvane
