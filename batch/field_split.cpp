#include "batch/field_split.h"

#include "batch/line_rule.h"
#include "number/number_text.h"

namespace torvane {
namespace {

bool Separates(char c, char separator) {
  return separator == kBlankRuns ? IsBlank(c) : c == separator;
}

// A blank around a field's text: with kBlankRuns blanks are separators.
bool Pad(char c, char separator) { return separator != kBlankRuns && c != separator && IsBlank(c); }

// The end of a field of bytes as they are: the next separator or the line's end.
std::size_t PlainEnd(std::string_view line, std::size_t start, char separator) {
  std::size_t end = start;
  while (end < line.size() && !Separates(line[end], separator)) ++end;
  return end;
}

}  // namespace

SplitField NextField(std::string_view line, std::size_t start, char separator, std::string* texts) {
  std::size_t open = start;
  while (open < line.size() && Pad(line[open], separator)) ++open;
  if (open < line.size() && line[open] == kQuote) {
    // The closing quote: the first one not doubled.
    bool doubled = false;
    std::size_t close = open + 1;
    for (;; close += 2) {
      close = line.find(kQuote, close);
      if (close == std::string_view::npos || close + 1 == line.size() ||
          line[close + 1] != kQuote) {
        break;
      }
      doubled = true;
    }
    if (close != std::string_view::npos) {
      std::size_t end = close + 1;
      while (end < line.size() && Pad(line[end], separator)) ++end;
      if (end == line.size() || Separates(line[end], separator)) {
        std::string_view text = line.substr(open + 1, close - open - 1);
        if (doubled) {
          const std::size_t from = texts->size();
          for (std::size_t i = 0; i < text.size(); ++i) {
            texts->push_back(text[i]);
            if (text[i] == kQuote) ++i;  // the second of ""
          }
          text = std::string_view(*texts).substr(from);
        }
        return {text, end};
      }
    }
  }
  const std::size_t end = PlainEnd(line, start, separator);
  return {TrimBlanks(line.substr(start, end - start)), end};
}

}  // namespace torvane
