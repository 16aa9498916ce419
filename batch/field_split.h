// The fields of one line of a delimited file, with CSV quoting taken back:
// what spreadsheets write for a text that holds the delimiter or a double
// quote ("P ""7"", east",1000.5,2000.25 is the name P "7", east).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "batch/line_rule.h"
#include "number/number_text.h"

namespace torvane {

// Calls take(text) with each field of `line` (without its line end), in
// order, the blanks around it removed. `separator` is a delimiter's byte
// (SeparatorOf, line_rule.h), or kBlankRuns for runs of blanks, blanks at
// either end of the line separating nothing. A field that, blanks aside,
// starts with a double quote and whose closing quote is followed by nothing
// but blanks up to the separator or the line's end is quoted: its text is
// what the quotes enclose, each "" in it read as one ", separators and
// blanks included. With kBlankRuns, a quoted field ends at its closing quote
// followed by a blank or the line's end. Any other field, one with an
// unclosed quote among them, is its bytes as they are. Texts with a ""
// taken back are kept in *texts (cleared first); every text is a view into
// `line` or into *texts, valid while both are unchanged.
template <class Take>
void SplitFields(std::string_view line, char separator, std::string* texts, Take take);

// The field of `line` at `start` (which may be at blanks): its text as
// SplitFields takes it, and where the field ends (at its separator, or the
// line's end). Texts with "" taken back are appended to *texts.
struct SplitField {
  std::string_view text;
  std::size_t end = 0;
};
SplitField NextField(std::string_view line, std::size_t start, char separator, std::string* texts);

template <class Take>
void SplitFields(std::string_view line, char separator, std::string* texts, Take take) {
  texts->clear();
  // Room for every text taken back, so that views into it stay valid.
  if (line.find(kQuote) != std::string_view::npos) texts->reserve(line.size());
  std::size_t start = 0;
  if (separator == kBlankRuns) {
    for (;;) {
      while (start < line.size() && IsBlank(line[start])) ++start;
      if (start == line.size()) return;
      const SplitField field = NextField(line, start, separator, texts);
      take(field.text);
      start = field.end;
    }
  }
  for (;;) {
    const SplitField field = NextField(line, start, separator, texts);
    take(field.text);
    if (field.end == line.size()) return;
    start = field.end + 1;
  }
}

}  // namespace torvane
