// The encodings point files come in: UTF-8 from elsewhere, GBK (code page
// 936) from Chinese Windows, and UTF-16 with a byte-order mark, a
// spreadsheet's "Unicode text" (utf16_text.h). The result file keeps its
// point file's.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/named_choice.h"

namespace torvane {

enum class TextEncoding {
  kUtf8,
  kUtf8WithBom,
  kGbk,
  // UTF-16 told by its byte-order mark, little-endian (FF FE, as Windows
  // writes it) or big-endian (FE FF). Such a file is read as the same text
  // in UTF-8: names and lines read from it are UTF-8.
  kUtf16Le,
  kUtf16Be,
};

// True for the encodings whose text is read as UTF-8 but written back in
// UTF-16.
constexpr bool IsUtf16(TextEncoding encoding) {
  return encoding == TextEncoding::kUtf16Le || encoding == TextEncoding::kUtf16Be;
}

// The encodings a user names (options, project files): a byte-order mark
// is the file's own, never named.
inline constexpr NamedChoice<TextEncoding> kEncodingNames[] = {{"utf-8", TextEncoding::kUtf8},
                                                               {"gbk", TextEncoding::kGbk}};

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// True when the bytes are well-formed UTF-8 (no overlongs, no surrogates).
bool IsValidUtf8(std::string_view bytes);

// Appends the character `code` to `out` in UTF-8 (one to four bytes).
// `code` must be a Unicode scalar value: at most 0x10FFFF, no surrogate.
void AppendUtf8(char32_t code, std::string* out);

// U+FFFD, in UTF-8: what stands for a byte that is not text.
inline constexpr std::string_view kReplacementCharacter = "\xEF\xBF\xBD";

// `bytes` as UTF-8 text: each byte that is not part of a well-formed UTF-8
// character (as IsValidUtf8 takes them) becomes U+FFFD, as a file dialog
// shows a file name that is not UTF-8; valid UTF-8 comes back as it is.
std::string Utf8WithReplacements(std::string_view bytes);

// True when the bytes are text in GBK (checked by the system's converter),
// the user-defined areas included (see GbkUserDefined).
bool IsValidGbk(std::string_view bytes);

// The character a two-byte code of GBK's user-defined areas stands for, the
// same on every system: the private-use code point code page 936 gives it
// (AA A1 is U+E000, F8 A1 U+E234, A1 40 U+E4C6). No value for any other
// pair of bytes.
std::optional<char32_t> GbkUserDefined(unsigned char lead, unsigned char trail);

// GBK text -> the same text in UTF-8. No value for bytes that are not GBK.
std::optional<std::string> GbkToUtf8(std::string_view bytes);

// UTF-8 text -> the same text in GBK, the private-use characters of the
// user-defined areas as GbkUserDefined reads them, so that it undoes
// GbkToUtf8. No value for bytes that are not UTF-8, nor for text with a
// character GBK has no code for (Hangul, emoji, other private-use ones).
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// Columns the text takes in a fixed-width font. UTF-8: two for a character
// that East Asian Width calls Wide or Fullwidth (Chinese characters among
// them), one for any other, é and Ж included. GBK: one a byte, so one for
// ASCII and two for every two-byte character. The text must be valid in the
// given encoding.
std::size_t DisplayWidth(std::string_view text, TextEncoding encoding);

}  // namespace torvane
