#include "batch/result_line.h"

#include "params/number_text.h"
#include "params/pattern.h"

namespace torvane {
namespace {

// Writes what is needed so that the next item starts at `column`, or, when
// the line has already reached it, one space so that items never touch.
void MoveTo(std::string& out, std::size_t& at, std::size_t column) {
  if (at < column) {
    out.append(column - at, ' ');
    at = column;
  } else {
    out.push_back(' ');
    ++at;
  }
}

}  // namespace

void AppendResultLine(std::string& out, std::string_view name, PlanePoint converted,
                      std::string_view h_text, TextEncoding encoding) {
  std::size_t at = kNameColumn;  // the column of the next character
  out.append(name);
  at += DisplayWidth(name, encoding);

  const std::string x = FormatPattern(Round15(converted.x), kXPattern);
  MoveTo(out, at, kXColumn);
  out.append(x);
  at += x.size();

  const std::string y = FormatPattern(Round15(converted.y), kYPattern);
  MoveTo(out, at, kYColumn);
  out.append(y);
  at += y.size();

  MoveTo(out, at, kHColumn);
  if (auto h = ParseDecimal(h_text)) {
    out.append(FormatPattern(*h, kHPattern));
  } else {
    out.append(h_text);  // a height that is not a number is kept as written
  }
  out.append("\r\n");
}

}  // namespace torvane
