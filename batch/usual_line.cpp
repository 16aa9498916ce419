#include "batch/usual_line.h"

#include "params/number_text.h"
#include "params/short_decimal.h"

namespace torvane {
namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }
bool LineEnd(char c) { return c == '\n' || c == '\r'; }
// Bytes the one-pass reader leaves to the line-by-line one: those that are
// not ASCII (the encoding decides) and NUL (an error there).
bool Unusual(char c) { return static_cast<unsigned char>(c) >= 0x80 || c == '\0'; }

// A number field as most files write it: blanks, a plain decimal of at
// most 19 digits, blanks, then a comma, a line end or the end of the range.
// Sets the number's text and digits and returns where the field ends, or
// nullptr for anything else. Memory up to `readable` may be read.
const char* UsualDecimalField(const char* p, const char* end, const char* readable,
                              std::string_view* text, ShortDecimal* d) {
  while (p != end && Blank(*p)) ++p;
  const char* const start = p;
  *d = ShortDecimal();
  if (p != end && (*p == '-' || *p == '+')) d->negative = *p++ == '-';
  const std::size_t integer = LeadingDigits(p, end, readable, &d->digits);
  p += integer;
  std::size_t digits = integer;
  if (p != end && *p == '.') {
    ++p;
    std::uint64_t fraction;
    const std::size_t decimals = LeadingDigits(p, end, readable, &fraction);
    p += decimals;
    digits += decimals;
    if (digits > static_cast<std::size_t>(kShortDecimalDigits)) return nullptr;
    d->digits = d->digits * kPow10[decimals] + fraction;
    d->decimals = static_cast<int>(decimals);
  }
  if (digits == 0 || digits > static_cast<std::size_t>(kShortDecimalDigits)) return nullptr;
  *text = std::string_view(start, p - start);
  while (p != end && Blank(*p)) ++p;
  if (p != end && *p != ',' && !LineEnd(*p)) return nullptr;
  return p;
}

// A coordinate field: a usual decimal field whose value (the same as
// ParseDecimal's) is one exact division.
const char* UsualNumberField(const char* p, const char* end, const char* readable,
                             std::string_view* text, double* value) {
  ShortDecimal d;
  p = UsualDecimalField(p, end, readable, text, &d);
  if (p == nullptr) return nullptr;
  const auto exact = ExactDoubleOf(d);
  if (!exact) return nullptr;
  *value = *exact;
  return p;
}

// Text up to the next comma, line end or the end of the range; sets
// *unusual when a byte of it is Unusual.
const char* TextField(const char* p, const char* end, bool* unusual) {
  for (; p != end && *p != ',' && !LineEnd(*p); ++p) *unusual |= Unusual(*p);
  return p;
}

}  // namespace

const char* ParseUsualLine(const char* first, const char* end, const char* readable,
                           std::size_t line_number, PointRecord* point, std::size_t* fields,
                           bool* unusual) {
  *unusual = false;
  const char* p = TextField(first, end, unusual);
  if (p == end || *p != ',') return nullptr;
  point->name = TrimBlanks(std::string_view(first, p - first));
  p = UsualNumberField(p + 1, end, readable, &point->x_text, &point->x);
  if (p == nullptr || p == end || *p != ',') return nullptr;
  p = UsualNumberField(p + 1, end, readable, &point->y_text, &point->y);
  if (p == nullptr) return nullptr;
  std::size_t count = 3;
  point->h_text = {};
  point->h_decimal.reset();
  if (p != end && *p == ',') {
    const char* const h = ++p;
    ShortDecimal d;
    if (const char* after = UsualDecimalField(h, end, readable, &point->h_text, &d)) {
      point->h_decimal = d;
      p = after;
    } else {
      p = TextField(h, end, unusual);
      point->h_text = TrimBlanks(std::string_view(h, p - h));
    }
    ++count;
    while (p != end && *p == ',') {
      ++count;
      p = TextField(p + 1, end, unusual);
    }
  }
  point->line = line_number;
  *fields = count;
  return p;
}

}  // namespace torvane
