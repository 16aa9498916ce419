#include "batch/text_encoding.h"

#include <optional>
#include <string>

#include "os/gbk.h"

namespace torvane {
namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

}  // namespace

bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    const unsigned char c = Byte(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      if (c == 0xE0) low = 0xA0;   // no overlong forms
      if (c == 0xED) high = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      if (c == 0xF0) low = 0x90;
      if (c == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
      return false;
    }
    if (n - i < length) return false;
    const unsigned char second = Byte(s[i + 1]);
    if (second < low || second > high) return false;
    for (std::size_t k = 2; k < length; ++k) {
      if ((Byte(s[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

bool IsValidGbk(std::string_view bytes) { return DecodeGbk(bytes, nullptr); }

std::optional<std::string> GbkToUtf8(std::string_view bytes) {
  std::string utf8;
  if (!DecodeGbk(bytes, &utf8)) return std::nullopt;
  return utf8;
}

std::size_t DisplayWidth(std::string_view text, TextEncoding encoding) {
  if (encoding == TextEncoding::kGbk) return text.size();  // one column a byte
  std::size_t width = 0;
  for (char c : text) {
    const unsigned char b = Byte(c);
    if (b < 0x80) {
      width += 1;
    } else if (b >= 0xC0) {
      width += 2;  // the lead byte of a character that is not ASCII
    }
  }
  return width;
}

}  // namespace torvane
