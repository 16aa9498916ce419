// Test input in UTF-16, as Excel's "Unicode 文本" holds it.
#pragma once

#include <string>
#include <string_view>

namespace torvane::testing {

// `text` in UTF-16, little- or big-endian: the compiler's own code units
// of u"...", a byte-order mark written as U+FEFF.
inline std::string Utf16(std::u16string_view text, bool big_endian = false) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? high : low;
    bytes += big_endian ? low : high;
  }
  return bytes;
}

}  // namespace torvane::testing
