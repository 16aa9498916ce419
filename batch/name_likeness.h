// How much the non-ASCII characters of a line look like the names of
// points, for choosing between two readings of bytes that are valid both
// as UTF-8 and as GBK. Point names hold Chinese characters, their
// punctuation and full-width forms, and words in Latin letters with
// accents, Greek or Cyrillic; GBK's Chinese read as UTF-8 mostly turns
// into IPA, Armenian, Hebrew or Arabic letters (施 as ʩ), and otherwise
// into a lone Latin-1, Greek or Cyrillic letter or symbol, or a code point
// no character has (微 as U+03A2, 卤 as ±). UTF-8's Chinese read as GBK
// gives, besides, Chinese characters outside GB 2312, the set in common use.
#pragma once

#include <cstddef>
#include <string_view>

namespace torvane {

struct NameLikeness {
  std::size_t non_ascii = 0;  // characters that are not ASCII
  std::size_t unlikely = 0;   // of those, the ones names hardly hold
  // Of those, the ones that only this reading explains well: in the UTF-8
  // reading a Chinese character (three bytes) or a letter of a word of
  // three or more (Café, Точка); in the GBK reading a Chinese character
  // of GB 2312, the set in common use.
  std::size_t telling = 0;

  // Adds the characters of `utf8`, bytes read as UTF-8 (valid UTF-8).
  void AddUtf8Reading(std::string_view utf8);
  // Adds the characters of `gbk`, bytes read as GBK (valid GBK), `utf8`
  // being the same text decoded; a Chinese character outside GB 2312 is
  // counted unlikely.
  void AddGbkReading(std::string_view gbk, std::string_view utf8);

  // True when a smaller share of this reading's characters is unlikely
  // than of `other`'s, or the shares are equal and a larger share is
  // telling. False where either holds no character that is not ASCII.
  bool MoreLikelyThan(const NameLikeness& other) const;
};

}  // namespace torvane
