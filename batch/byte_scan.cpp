#include "batch/byte_scan.h"

#include <bit>
#include <cstdint>

#include "batch/line_rule.h"
#include "number/words.h"

namespace torvane {

const char* FindLineEnd(const char* first, const char* last, bool* non_ascii) {
  std::uint64_t seen = 0;
  for (; last - first >= static_cast<std::ptrdiff_t>(kWordBytes); first += kWordBytes) {
    // Bytes below 0x0E flag a word that may hold CR or LF (tabs and other
    // controls too, which the exact test then passes over).
    static_assert(kLineFeed < 0x0E && kCarriageReturn < 0x0E);
    const std::uint64_t word = LoadWord(first);
    seen |= word;
    if (((word - kEachByte * 0x0E) & ~word & kByteHighBits) != 0) {
      const std::uint64_t hits = ZeroByteFlags(word ^ (kEachByte * kLineFeed)) |
                                 ZeroByteFlags(word ^ (kEachByte * kCarriageReturn));
      // A false hit can only follow a true one, so the lowest is the first.
      if (hits != 0) {
        *non_ascii = (seen & kByteHighBits) != 0;
        return first + std::countr_zero(hits) / 8;
      }
    }
  }
  for (; first != last && !IsLineEnd(*first); ++first) {
    seen |= static_cast<unsigned char>(*first);
  }
  *non_ascii = (seen & kByteHighBits) != 0;
  return first;
}

bool IsAscii(std::string_view bytes) {
  const char* p = bytes.data();
  const char* last = p + bytes.size();
  std::uint64_t any = 0;
  for (; last - p >= static_cast<std::ptrdiff_t>(kWordBytes); p += kWordBytes) any |= LoadWord(p);
  if (p != last) any |= LoadWordBefore(p, last);
  return (any & kByteHighBits) == 0;
}

}  // namespace torvane
