// Byte searches over large buffers, eight bytes at a time.
#pragma once

#include <cstddef>
#include <string_view>

namespace torvane {

// The first CR or LF in [first, last), or last when there is none.
const char* FindLineEnd(const char* first, const char* last);

// Whether every byte of `bytes` is ASCII (below 0x80).
bool IsAscii(std::string_view bytes);

}  // namespace torvane
