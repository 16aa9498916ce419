// Byte searches over large buffers, eight bytes at a time.
#pragma once

#include <string_view>

namespace torvane {

// The first CR or LF in [first, last), or last when there is none. Sets
// *non_ascii when some byte before it (or after it within the same eight)
// is not ASCII; clears it only when none is.
const char* FindLineEnd(const char* first, const char* last, bool* non_ascii);

// Whether every byte of `bytes` is ASCII (below 0x80).
bool IsAscii(std::string_view bytes);

}  // namespace torvane
