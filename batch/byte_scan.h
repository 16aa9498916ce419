// Byte searches over large buffers, eight bytes at a time.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace torvane {

static_assert(std::endian::native == std::endian::little, "bytes are scanned as words");

inline constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;  // times c: c in every byte
inline constexpr std::uint64_t kByteHighBits = 0x8080808080808080ULL;

// The eight bytes at `p` as one word, the first in the lowest byte.
inline std::uint64_t LoadWord(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// The high bit of each zero byte of `word` (the classic bit trick); a byte
// above a zero one may be flagged too, so only the lowest flag is sure.
inline std::uint64_t ZeroByteFlags(std::uint64_t word) {
  return (word - kEachByte) & ~word & kByteHighBits;
}

// The first CR or LF in [first, last), or last when there is none. Sets
// *non_ascii when some byte before it (or after it within the same eight)
// is not ASCII; clears it only when none is.
const char* FindLineEnd(const char* first, const char* last, bool* non_ascii);

// Whether every byte of `bytes` is ASCII (below 0x80).
bool IsAscii(std::string_view bytes);

}  // namespace torvane
