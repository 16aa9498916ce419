// Bytes handled eight at a time, as one 64-bit word: loads, the constants
// that put one byte in every lane, the zero-byte test, and short copies.
#pragma once

#include <bit>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace torvane {

static_assert(std::endian::native == std::endian::little, "the first byte of a word is its lowest");

inline constexpr std::size_t kWordBytes = sizeof(std::uint64_t);
inline constexpr std::uint64_t kEachByte = 0x0101010101010101ULL;  // times c: c in every byte
inline constexpr std::uint64_t kByteHighBits = 0x8080808080808080ULL;
inline constexpr std::uint64_t kZeros = kEachByte * '0';  // "00000000"

// The eight bytes at `p` as one word, the first in the lowest byte.
inline std::uint64_t LoadWord(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// LoadWord for [p, last): where fewer than eight bytes are left, those
// there and zero bytes after them. Reads only [p, last).
inline std::uint64_t LoadWordBefore(const char* p, const char* last) {
  assert(p <= last);
  if (last - p >= static_cast<std::ptrdiff_t>(kWordBytes)) return LoadWord(p);
  // Byte by byte into a register: a copy would need the word in memory.
  std::uint64_t word = 0;
  for (unsigned shift = 0; p != last; ++p, shift += 8) {
    word |= std::uint64_t{static_cast<unsigned char>(*p)} << shift;
  }
  return word;
}

// The high bit of each zero byte of `word` (the classic bit trick); a byte
// above a zero one may be flagged too, so only the lowest flag is sure.
inline std::uint64_t ZeroByteFlags(std::uint64_t word) {
  return (word - kEachByte) & ~word & kByteHighBits;
}

// Copies n bytes from `from` to `to` (not overlapping) and returns the end
// of the copy. Reads only [from, from + n). Up to 16 bytes are copied as
// two fixed-size pieces that overlap in the middle, without a call into the
// library's memcpy for each name or number.
inline char* CopyBytes(char* to, const char* from, std::size_t n) {
  assert(n == 0 ||
         reinterpret_cast<std::uintptr_t>(to + n) <= reinterpret_cast<std::uintptr_t>(from) ||
         reinterpret_cast<std::uintptr_t>(from + n) <= reinterpret_cast<std::uintptr_t>(to));
  if (n >= kWordBytes && n <= 2 * kWordBytes) {
    std::memcpy(to, from, kWordBytes);
    std::memcpy(to + n - kWordBytes, from + n - kWordBytes, kWordBytes);
  } else if (n >= kWordBytes / 2 && n < kWordBytes) {
    std::memcpy(to, from, kWordBytes / 2);
    std::memcpy(to + n - kWordBytes / 2, from + n - kWordBytes / 2, kWordBytes / 2);
  } else if (n != 0) {
    std::memcpy(to, from, n);
  }
  return to + n;
}

}  // namespace torvane
