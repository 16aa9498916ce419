#include "batch/usual_line.h"

#include <bit>
#include <cassert>
#include <cstdint>

#include "batch/line_rule.h"
#include "number/short_decimal.h"
#include "number/words.h"

namespace torvane {
namespace {

// Text up to the next comma or line end, eight bytes at a time; sets
// *unusual when a byte of it is one the field splitter alone reads (see
// UnusualByteFlags). The bytes up to `readable` may be read.
const char* TextField(const char* p, [[maybe_unused]] const char* readable, bool* unusual) {
  for (;; p += kWordBytes) {
    assert(readable - p >= static_cast<std::ptrdiff_t>(kWordBytes));
    const std::uint64_t word = LoadWord(p);
    const std::uint64_t stops = ZeroByteFlags(word ^ (kEachByte * kComma)) |
                                ZeroByteFlags(word ^ (kEachByte * kLineFeed)) |
                                ZeroByteFlags(word ^ (kEachByte * kCarriageReturn));
    // A zero byte flagged by mistake lies above a real one, itself unusual.
    const std::uint64_t odd = UnusualByteFlags(word);
    if (stops != 0) {
      const std::uint64_t before = (stops & (0 - stops)) - 1;  // the bytes before the stop
      *unusual |= (odd & before) != 0;
      return p + std::countr_zero(stops) / 8;
    }
    *unusual |= odd != 0;
  }
}

// [first, last) without the blanks at either end, as TrimBlanks takes them
// off, in a loop of its own for speed.
std::string_view Trimmed(const char* first, const char* last) {
  while (last != first && IsBlank(last[-1])) --last;
  while (first != last && IsBlank(*first)) ++first;
  return std::string_view(first, static_cast<std::size_t>(last - first));
}

// A number field as most files write it: blanks, a plain decimal of at
// most 19 digits, blanks, then a comma or a line end. Sets the number's
// text and digits and returns where the field ends, or nullptr for
// anything else.
const char* UsualDecimalField(const char* p, const char* readable, std::string_view* text,
                              ShortDecimal* d) {
  while (IsBlank(*p)) ++p;
  const char* const start = p;
  p = ReadShortDecimal<ReadTo::kStopByte>(p, readable, d);
  if (p == nullptr) return nullptr;
  *text = std::string_view(start, static_cast<std::size_t>(p - start));
  while (IsBlank(*p)) ++p;
  if (*p != kComma && !IsLineEnd(*p)) return nullptr;
  return p;
}

// A coordinate field: a usual decimal field whose value (the same as
// ParseDecimal's) is one exact division.
const char* UsualNumberField(const char* p, const char* readable, std::string_view* text,
                             double* value) {
  ShortDecimal d;
  p = UsualDecimalField(p, readable, text, &d);
  if (p == nullptr) return nullptr;
  const auto exact = ExactDoubleOf(d);
  if (!exact) return nullptr;
  *value = *exact;
  return p;
}

}  // namespace

const char* ParseUsualLine(const char* first, const char* readable, std::size_t line_number,
                           PointRecord* point, std::size_t* fields, bool* unusual) {
  *unusual = false;
  const char* p = TextField(first, readable, unusual);
  if (*p != kComma) return nullptr;
  point->name = Trimmed(first, p);
  p = UsualNumberField(p + 1, readable, &point->x_text, &point->x);
  if (p == nullptr || *p != kComma) return nullptr;
  p = UsualNumberField(p + 1, readable, &point->y_text, &point->y);
  if (p == nullptr) return nullptr;
  std::size_t count = 3;
  point->h_text = {};
  point->h_decimal.reset();
  if (*p == kComma) {
    const char* const h = ++p;
    ShortDecimal d;
    if (const char* after = UsualDecimalField(h, readable, &point->h_text, &d)) {
      point->h_decimal = d;
      p = after;
    } else {
      p = TextField(h, readable, unusual);
      point->h_text = Trimmed(h, p);
    }
    ++count;
    while (*p == kComma) {
      ++count;
      p = TextField(p + 1, readable, unusual);
    }
  }
  point->line = line_number;
  *fields = count;
  return p;
}

}  // namespace torvane
