// Text written into HTML or XML (SVG): the characters that would end an
// element or an attribute, written as character references, and what
// neither may hold, replaced.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// `text` with &, <, >, " and ' written as character references ("&amp;",
// "&lt;", "&gt;", "&quot;", "&#39;"): safe in element content and in an
// attribute quoted either way, in HTML and in XML alike. What XML 1.0 cannot
// hold, or HTML takes for a fault, is written as U+FFFD, one for each: a
// byte that is not part of well-formed UTF-8 (a GBK name, a file name in
// another encoding), the control characters U+0000 to U+001F but for tab,
// line feed and carriage return, U+007F to U+009F, and U+FFFE and U+FFFF.
// Every other character, a right-to-left override among them, is kept: each
// text is an element of its own, whose end ends the override too.
std::string MarkupEscape(std::string_view text);

}  // namespace torvane
