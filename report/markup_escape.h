// Text written into HTML or XML (SVG): the characters that would end an
// element or an attribute, written as character references.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// `text` (UTF-8) with &, <, >, " and ' written as character references
// ("&amp;", "&lt;", "&gt;", "&quot;", "&#39;"): safe in element content and
// in an attribute quoted either way, in HTML and in XML alike.
std::string MarkupEscape(std::string_view text);

}  // namespace torvane
