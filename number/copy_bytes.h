// Copies of the few bytes a name or a number takes, without a call into the
// library's memcpy for each.
#pragma once

#include <cstddef>
#include <cstring>

namespace torvane {

// Copies n bytes from `from` to `to` (not overlapping) and returns the end
// of the copy. Reads only [from, from + n). Up to 16 bytes are copied as
// two fixed-size pieces that overlap in the middle.
inline char* CopyBytes(char* to, const char* from, std::size_t n) {
  if (n >= 8 && n <= 16) {
    std::memcpy(to, from, 8);
    std::memcpy(to + n - 8, from + n - 8, 8);
  } else if (n >= 4 && n < 8) {
    std::memcpy(to, from, 4);
    std::memcpy(to + n - 4, from + n - 4, 4);
  } else if (n != 0) {
    std::memcpy(to, from, n);
  }
  return to + n;
}

}  // namespace torvane
