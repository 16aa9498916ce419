#include "batch/text_encoding.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <optional>
#include <string>

#include "batch/east_asian_wide.h"
#include "os/gbk.h"

namespace torvane {
namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// Bytes in the UTF-8 sequence that a lead byte (0xC0 or more) starts.
std::size_t SequenceLength(unsigned char lead) { return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2; }

// True for a code point that East Asian Width calls Wide or Fullwidth.
bool IsEastAsianWide(char32_t code) {
  if (code < std::begin(kEastAsianWide)->first) return false;
  // The last range that starts at or before the code point.
  const CodePointRange* after =
      std::upper_bound(std::begin(kEastAsianWide), std::end(kEastAsianWide), code,
                       [](char32_t c, const CodePointRange& range) { return c < range.first; });
  return code <= std::prev(after)->last;
}

}  // namespace

namespace {

// The bytes of the well-formed UTF-8 character at s[i] (no overlongs, no
// surrogates, nothing beyond U+10FFFF); 0 when the bytes there are not one.
std::size_t Utf8CharacterAt(std::string_view s, std::size_t i) {
  const unsigned char c = Byte(s[i]);
  if (c < 0x80) return 1;
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
    return 0;
  }
  if (s.size() - i < length) return 0;
  const unsigned char second = Byte(s[i + 1]);
  if (second < low || second > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if ((Byte(s[i + k]) & 0xC0) != 0x80) return 0;
  }
  return length;
}

}  // namespace

void AppendUtf8(char32_t code, std::string* out) {
  assert(code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF));
  if (code < 0x80) {
    *out += static_cast<char>(code);
  } else if (code < 0x800) {
    *out += static_cast<char>(0xC0 | (code >> 6));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    *out += static_cast<char>(0xE0 | (code >> 12));
    *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (code >> 18));
    *out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

bool IsValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t length = Utf8CharacterAt(s, i);
    if (length == 0) return false;
    i += length;
  }
  return true;
}

std::string Utf8WithReplacements(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    const std::size_t length = Utf8CharacterAt(bytes, i);
    if (length == 0) {
      text += kReplacementCharacter;
      ++i;
    } else {
      text.append(bytes.substr(i, length));
      i += length;
    }
  }
  return text;
}

std::optional<char32_t> GbkUserDefined(unsigned char lead, unsigned char trail) {
  // The three user-defined areas, in the order code page 936 numbers them:
  // rows AA-AF and F8-FE with trail bytes A1-FE, then rows A1-A7 with
  // trail bytes 40-7E and 80-A0.
  if (trail >= 0xA1 && trail <= 0xFE) {
    if (lead >= 0xAA && lead <= 0xAF) return 0xE000 + (lead - 0xAA) * 94 + (trail - 0xA1);
    if (lead >= 0xF8 && lead <= 0xFE) return 0xE234 + (lead - 0xF8) * 94 + (trail - 0xA1);
  }
  if (lead >= 0xA1 && lead <= 0xA7 && trail >= 0x40 && trail <= 0xA0 && trail != 0x7F) {
    return 0xE4C6 + (lead - 0xA1) * 96 + (trail - 0x40) - (trail > 0x7F);
  }
  return std::nullopt;
}

namespace {

// Decodes GBK as DecodeGbk does, the user-defined areas by GbkUserDefined:
// the system's converter is given only the pieces between them.
bool DecodeGbkText(std::string_view bytes, std::string* utf8) {
  std::size_t piece = 0;  // start of the bytes not yet decoded
  for (std::size_t i = 0; i < bytes.size();) {
    const unsigned char lead = Byte(bytes[i]);
    if (lead < 0x81 || lead == 0xFF || i + 1 == bytes.size()) {
      ++i;
      continue;
    }
    const auto code = GbkUserDefined(lead, Byte(bytes[i + 1]));
    if (!code) {
      i += 2;
      continue;
    }
    if (!DecodeGbk(bytes.substr(piece, i - piece), utf8)) return false;
    if (utf8 != nullptr) AppendUtf8(*code, utf8);
    i += 2;
    piece = i;
  }
  return DecodeGbk(bytes.substr(piece), utf8);
}

// The GBK bytes of a private-use character of the user-defined areas, the
// reverse of GbkUserDefined; none for any other character.
std::optional<std::string> GbkUserDefinedBytes(char32_t code) {
  auto pair = [](unsigned lead, unsigned trail) {
    return std::string{static_cast<char>(lead), static_cast<char>(trail)};
  };
  if (code >= 0xE000 && code < 0xE234) {
    return pair(0xAA + (code - 0xE000) / 94, 0xA1 + (code - 0xE000) % 94);
  }
  if (code >= 0xE234 && code < 0xE4C6) {
    return pair(0xF8 + (code - 0xE234) / 94, 0xA1 + (code - 0xE234) % 94);
  }
  if (code >= 0xE4C6 && code < 0xE4C6 + 7 * 96) {
    const unsigned k = (code - 0xE4C6) % 96;  // 0x7F is no trail byte
    return pair(0xA1 + (code - 0xE4C6) / 96, 0x40 + k + (k >= 0x3F ? 1 : 0));
  }
  return std::nullopt;
}

// Encodes UTF-8 as EncodeGbk does, the user-defined areas' characters by
// GbkUserDefinedBytes, so that GbkToUtf8 and Utf8ToGbk undo each other on
// every system: the system's converter is given only the pieces between them.
bool EncodeGbkText(std::string_view utf8, std::string* gbk) {
  std::size_t piece = 0;  // start of the text not yet encoded
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = Byte(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : std::min(SequenceLength(lead), utf8.size() - i);
    // Private-use characters, U+E000 to U+F8FF, are three bytes from EE 80 80
    // to EF A3 BF. Those past the user-defined areas are refused here: code
    // page 936 gives some of them codes that iconv does not know.
    std::optional<std::string> bytes;
    if (length == 3 && (lead == 0xEE || lead == 0xEF)) {
      const char32_t code =
          ((lead & 0x0F) << 12) | ((Byte(utf8[i + 1]) & 0x3F) << 6) | (Byte(utf8[i + 2]) & 0x3F);
      if (code >= 0xE000 && code <= 0xF8FF) {
        bytes = GbkUserDefinedBytes(code);
        if (!bytes) return false;
      }
    }
    if (bytes) {
      if (!EncodeGbk(utf8.substr(piece, i - piece), gbk)) return false;
      *gbk += *bytes;
      piece = i + length;
    }
    i += length;
  }
  return EncodeGbk(utf8.substr(piece), gbk);
}

}  // namespace

bool IsValidGbk(std::string_view bytes) { return DecodeGbkText(bytes, nullptr); }

std::optional<std::string> GbkToUtf8(std::string_view bytes) {
  std::string utf8;
  if (!DecodeGbkText(bytes, &utf8)) return std::nullopt;
  return utf8;
}

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
  std::string gbk;
  if (!IsValidUtf8(utf8) || !EncodeGbkText(utf8, &gbk)) return std::nullopt;
  return gbk;
}

std::size_t DisplayWidth(std::string_view text, TextEncoding encoding) {
  if (encoding == TextEncoding::kGbk) return text.size();  // one column a byte
  std::size_t width = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const unsigned char lead = Byte(text[i]);
    if (lead < 0x80) {
      width += 1;
      ++i;
      continue;
    }
    if (lead < 0xC0) {  // a stray continuation byte takes no column
      ++i;
      continue;
    }
    const std::size_t length = std::min(SequenceLength(lead), text.size() - i);
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (Byte(text[i + k]) & 0x3F);
    width += IsEastAsianWide(code) ? 2 : 1;
    i += length;
  }
  return width;
}

}  // namespace torvane
