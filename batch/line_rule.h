// What the bytes of a point file's line are, the one rule that every reading
// of point and common-point lines follows: the field splitter
// (field_split.h) under every layout (point_layout.h), and the one-pass
// reading of usual lines (usual_line.h), which takes the same bytes eight
// at a time.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/named_choice.h"
#include "number/number_text.h"
#include "number/words.h"

namespace torvane {

// A line ends at a CR or an LF; CR LF is one line end.
inline constexpr char kCarriageReturn = '\r';
inline constexpr char kLineFeed = '\n';
inline constexpr std::string_view kLineEnds = "\r\n";  // both, for find_first_of
static_assert(kLineEnds[0] == kCarriageReturn && kLineEnds[1] == kLineFeed);
constexpr bool IsLineEnd(char c) { return c == kLineFeed || c == kCarriageReturn; }

// How a line's fields are told apart: the usual file's comma, or another
// delimiter a layout names.
enum class FieldDelimiter {
  kComma,
  kWhitespace,  // runs of spaces and tabs; blanks at either end of the line separate nothing
  kTab,
  kSemicolon,
};

// The delimiters as options and project files name them.
inline constexpr NamedChoice<FieldDelimiter> kDelimiterNames[] = {
    {"comma", FieldDelimiter::kComma},
    {"whitespace", FieldDelimiter::kWhitespace},
    {"tab", FieldDelimiter::kTab},
    {"semicolon", FieldDelimiter::kSemicolon}};

// The byte a delimiter is, as the field splitter (field_split.h) takes it:
// kBlankRuns stands for runs of blanks.
inline constexpr char kComma = ',';
inline constexpr char kBlankRuns = '\0';
constexpr char SeparatorOf(FieldDelimiter delimiter) {
  switch (delimiter) {
    case FieldDelimiter::kTab:
      return '\t';
    case FieldDelimiter::kSemicolon:
      return ';';
    case FieldDelimiter::kWhitespace:
      return kBlankRuns;
    case FieldDelimiter::kComma:
      break;
  }
  return kComma;
}

// A field's text may be quoted, as CSV quotes it ("P ""7"", east").
inline constexpr char kQuote = '"';

// The blanks around a field, which are not part of its text, are IsBlank's
// (number_text.h): spaces and tabs. A line of blanks alone, or empty, is
// not a point.
constexpr bool IsBlankLine(std::string_view line) {
  for (char c : line) {
    if (!IsBlank(c)) return false;
  }
  return true;
}

// The bytes of a line that only the field splitter reads, the one-pass
// reading leaving their line to it: a byte that is not ASCII (the file's
// encoding decides what it is), NUL (a line's error of its own) and the
// quote (a quoted field). For a word of eight bytes: the high bit of each
// such byte; a byte above one of them may be flagged too, so only the
// lowest flag is sure.
inline std::uint64_t UnusualByteFlags(std::uint64_t word) {
  return (word & kByteHighBits) | ZeroByteFlags(word) | ZeroByteFlags(word ^ (kEachByte * kQuote));
}

}  // namespace torvane
