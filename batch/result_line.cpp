#include "batch/result_line.h"

#include <algorithm>
#include <cstring>

namespace torvane {
namespace {

static_assert(kXPattern.decimals <= kMaxFixedDecimals && kYPattern.decimals <= kMaxFixedDecimals &&
              kHPattern.decimals <= kMaxFixedDecimals);

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kSpaces = "                                                  ";
static_assert(kSpaces.size() >= kHColumn, "enough spaces to reach any column");

// Writes what is needed so that the next item starts at `column`, or, when
// the line has already reached it, one space so that items never touch.
char* MoveTo(char* out, std::size_t& at, std::size_t column) {
  if (at < column) {
    // A fixed-size copy of spaces, of which the first column - at count;
    // the line's room has space for the rest.
    std::memcpy(out, kSpaces.data(), kSpaces.size());
    out += column - at;
    at = column;
  } else {
    *out++ = ' ';
    ++at;
  }
  return out;
}

}  // namespace

std::size_t ResultLineCapacity(std::string_view name, std::string_view h_text) {
  // Spaces up to the H column at most, two numbers, the longer of the H
  // text and its number, the separating spaces and the line end.
  return name.size() + kHColumn + 2 * kMaxFixedText + std::max(h_text.size(), kMaxFixedText) + 3 +
         kLineEnd.size();
}

char* WriteResultLine(char* out, std::string_view name, PlanePoint converted,
                      std::string_view h_text, TextEncoding encoding) {
  std::size_t at = kNameColumn;  // the column of the next character
  std::memcpy(out, name.data(), name.size());
  out += name.size();
  at += DisplayWidth(name, encoding);

  out = MoveTo(out, at, kXColumn);
  char* const x = out;
  out = WriteRound15Fixed(out, converted.x, kXPattern);
  at += out - x;

  out = MoveTo(out, at, kYColumn);
  char* const y = out;
  out = WriteRound15Fixed(out, converted.y, kYPattern);
  at += out - y;

  out = MoveTo(out, at, kHColumn);
  if (char* h = WriteDecimalFixed(out, h_text, kHPattern)) {
    out = h;
  } else {
    // a height that is not a number is kept as written
    std::memcpy(out, h_text.data(), h_text.size());
    out += h_text.size();
  }
  std::memcpy(out, kLineEnd.data(), kLineEnd.size());
  return out + kLineEnd.size();
}

void AppendResultLine(std::string& out, std::string_view name, PlanePoint converted,
                      std::string_view h_text, TextEncoding encoding) {
  const std::size_t start = out.size();
  out.resize(start + ResultLineCapacity(name, h_text));
  char* const end = WriteResultLine(out.data() + start, name, converted, h_text, encoding);
  out.resize(end - out.data());
}

}  // namespace torvane
