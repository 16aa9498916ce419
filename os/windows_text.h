// Text between UTF-8, held everywhere in the program, and UTF-16, taken and
// given by Windows' wide-character calls. Windows only.
#pragma once

#include <string>
#include <string_view>

namespace torvane {

// Both assume valid input; an unpaired surrogate or a byte that is not
// UTF-8 becomes U+FFFD.
std::string Utf8FromUtf16(std::wstring_view utf16);
std::wstring Utf16FromUtf8(std::string_view utf8);

}  // namespace torvane
