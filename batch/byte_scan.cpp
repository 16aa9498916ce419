#include "batch/byte_scan.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace torvane {
namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;

std::uint64_t Load(const char* p) {
  std::uint64_t word;
  std::memcpy(&word, p, sizeof word);
  return word;
}

// Non-zero when some byte of `word` is zero (the classic bit trick; exact
// as a yes/no answer).
std::uint64_t HasZeroByte(std::uint64_t word) { return (word - kOnes) & ~word & kHighBits; }

}  // namespace

const char* FindLineEnd(const char* first, const char* last, bool* non_ascii) {
  std::uint64_t seen = 0;
  for (; last - first >= 8; first += 8) {
    // Bytes below 0x0E flag a word that may hold CR or LF (tabs and other
    // controls too, which the exact test then passes over).
    const std::uint64_t word = Load(first);
    seen |= word;
    if (((word - kOnes * 0x0E) & ~word & kHighBits) != 0) {
      const std::uint64_t hits =
          HasZeroByte(word ^ (kOnes * '\n')) | HasZeroByte(word ^ (kOnes * '\r'));
      // A false hit can only follow a true one, so the lowest is the first.
      if (hits != 0) {
        *non_ascii = (seen & kHighBits) != 0;
        return first + std::countr_zero(hits) / 8;
      }
    }
  }
  for (; first != last && *first != '\n' && *first != '\r'; ++first) {
    seen |= static_cast<unsigned char>(*first);
  }
  *non_ascii = (seen & kHighBits) != 0;
  return first;
}

const char* FindByte(const char* first, const char* last, const char* readable, char byte) {
  for (; first < last && readable - first >= 8; first += 8) {
    const std::uint64_t hits =
        HasZeroByte(Load(first) ^ (kOnes * static_cast<unsigned char>(byte)));
    if (hits != 0) {
      const char* found = first + std::countr_zero(hits) / 8;
      return found < last ? found : last;
    }
  }
  for (; first < last; ++first) {
    if (*first == byte) return first;
  }
  return last;
}

bool IsAscii(std::string_view bytes) {
  const char* p = bytes.data();
  const char* last = p + bytes.size();
  std::uint64_t any = 0;
  for (; last - p >= 8; p += 8) any |= Load(p);
  for (; p != last; ++p) any |= static_cast<unsigned char>(*p);
  return (any & kHighBits) == 0;
}

}  // namespace torvane
