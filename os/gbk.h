// GBK (code page 936), the multi-byte code page of Chinese Windows, decoded
// and encoded by the system's own converter: iconv on POSIX systems, code page 936 of
// Windows itself there.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// Whether the bytes are GBK text; when they are and `utf8` is not null, the
// same text in UTF-8 is appended to it. A lead byte without its trail byte
// at the end is not GBK.
bool DecodeGbk(std::string_view bytes, std::string* utf8);

// Whether the UTF-8 text `utf8` has a GBK code for every character; when
// it has and `gbk` is not null, the same text in GBK is appended to it.
// Rejects text that is not UTF-8 and a character code page 936 does not
// hold (Ω is held, ㄱ and 😀 are not), never written as a stand-in.
bool EncodeGbk(std::string_view utf8, std::string* gbk);

}  // namespace torvane
