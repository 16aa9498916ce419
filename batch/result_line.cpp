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

// Copies `text` to `out`; an empty view may have no data at all.
char* Put(char* out, std::string_view text) {
  if (!text.empty()) std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

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

std::size_t ResultLineCapacity(const PointRecord& point) {
  // Spaces up to the H column at most, two numbers, the longer of the H
  // text and its number, the separating spaces and the line end.
  return point.name.size() + kHColumn + 2 * kMaxFixedText +
         std::max(point.h_text.size(), kMaxFixedText) + 3 + kLineEnd.size();
}

char* WriteResultLine(char* out, const PointRecord& point, PlanePoint converted,
                      TextEncoding encoding) {
  std::size_t at = kNameColumn;  // the column of the next character
  out = Put(out, point.name);
  at += point.ascii ? point.name.size() : DisplayWidth(point.name, encoding);

  out = MoveTo(out, at, kXColumn);
  char* const x = out;
  out = WriteRound15Fixed(out, converted.x, kXPattern);
  at += out - x;

  out = MoveTo(out, at, kYColumn);
  char* const y = out;
  out = WriteRound15Fixed(out, converted.y, kYPattern);
  at += out - y;

  out = MoveTo(out, at, kHColumn);
  char* h = point.h_decimal ? WriteShortDecimalFixed(out, *point.h_decimal, point.h_text, kHPattern)
                            : nullptr;
  if (h == nullptr) h = WriteDecimalFixed(out, point.h_text, kHPattern);
  if (h != nullptr) {
    out = h;
  } else {
    out = Put(out, point.h_text);  // a height that is not a number is kept as written
  }
  return Put(out, kLineEnd);
}

void AppendResultLine(std::string& out, std::string_view name, PlanePoint converted,
                      std::string_view h_text, TextEncoding encoding) {
  PointRecord point;
  point.name = name;
  point.h_text = h_text;
  const std::size_t start = out.size();
  out.resize(start + ResultLineCapacity(point));
  char* const end = WriteResultLine(out.data() + start, point, converted, encoding);
  out.resize(end - out.data());
}

}  // namespace torvane
