// GBK (code page 936), the multi-byte code page of Chinese Windows, decoded
// by the system's own converter: iconv on POSIX systems, code page 936 of
// Windows itself there.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// Whether the bytes are GBK text; when they are and `utf8` is not null, the
// same text in UTF-8 is appended to it. A lead byte without its trail byte
// at the end is not GBK.
bool DecodeGbk(std::string_view bytes, std::string* utf8);

}  // namespace torvane
