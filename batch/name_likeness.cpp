#include "batch/name_likeness.h"

#include <vector>

namespace torvane {
namespace {

unsigned char Byte(char c) { return static_cast<unsigned char>(c); }

// The code points of valid UTF-8.
std::vector<char32_t> CodePoints(std::string_view utf8) {
  std::vector<char32_t> codes;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = Byte(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      code = (code << 6) | (Byte(utf8[i + k]) & 0x3F);
    }
    codes.push_back(code);
    i += length;
  }
  return codes;
}

// The alphabets whose letters make words in names.
enum class Alphabet { kNone, kLatin, kGreek, kCyrillic };

// Greek's code points that no character has.
bool IsUnassignedGreek(char32_t c) {
  return c == 0x378 || c == 0x379 || (c >= 0x380 && c <= 0x383) || c == 0x38B || c == 0x38D ||
         c == 0x3A2;
}

Alphabet AlphabetOf(char32_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return Alphabet::kLatin;
  if ((c >= 0xC0 && c <= 0x17F && c != 0xD7 && c != 0xF7) || (c >= 0x1E00 && c <= 0x1EFF)) {
    return Alphabet::kLatin;
  }
  if (c >= 0x370 && c <= 0x3FF && !IsUnassignedGreek(c)) return Alphabet::kGreek;
  if (c >= 0x400 && c <= 0x4FF) return Alphabet::kCyrillic;
  return Alphabet::kNone;
}

bool IsLowerAscii(char32_t c) { return c >= 'a' && c <= 'z'; }

// The characters other than letters that names hold: the middle dot, CJK, punctuation,
// full-width forms, Hangul, and four-byte characters (CJK extensions,
// emoji), which GBK's two-byte codes hardly make.
bool IsNameCharacter(char32_t c) {
  return c == 0xB7                        // the middle dot of names (张·王)
         || (c >= 0x2000 && c <= 0x27BF)  // punctuation, signs, shapes
         || (c >= 0x2E80 && c <= 0x9FFF)  // CJK radicals to ideographs
         || (c >= 0xAC00 && c <= 0xD7AF)  // Hangul syllables
         || (c >= 0xF900 && c <= 0xFAFF)  // CJK compatibility ideographs
         || (c >= 0xFE30 && c <= 0xFE4F)  // CJK compatibility forms
         || (c >= 0xFF00 && c <= 0xFFEF)  // full-width forms
         || c >= 0x10000;
}

bool IsCjkIdeograph(char32_t c) { return c >= 0x4E00 && c <= 0x9FFF; }

// A word: letters of one alphabet in a row.
struct Word {
  std::size_t letters = 0;
  std::size_t lower_ascii = 0;
};

// The word of `codes` that the letter at `at` stands in.
Word WordAt(const std::vector<char32_t>& codes, std::size_t at) {
  const Alphabet alphabet = AlphabetOf(codes[at]);
  std::size_t first = at, last = at;
  while (first > 0 && AlphabetOf(codes[first - 1]) == alphabet) --first;
  while (last + 1 < codes.size() && AlphabetOf(codes[last + 1]) == alphabet) ++last;
  Word word;
  word.letters = last - first + 1;
  for (std::size_t i = first; i <= last; ++i) word.lower_ascii += IsLowerAscii(codes[i]);
  return word;
}

// The letters of a word of at least this many are taken as a word's.
constexpr std::size_t kWordLetters = 3;
// A Latin word needs a lower-case ASCII letter besides: a point's
// prefix is upper case (JD, ZD, BM), and GBK's Chinese after it, read as
// UTF-8, gives an accented letter ("JD媒1" as "JDý1").
constexpr std::size_t kLatinLowerLetters = 1;

// Counts the non-ASCII characters of `utf8` into `likeness`: all, the
// unlikely, and, with `utf8_telling`, those only a UTF-8 reading explains.
void AddCharacters(std::string_view utf8, bool utf8_telling, NameLikeness& likeness) {
  const std::vector<char32_t> codes = CodePoints(utf8);
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const char32_t c = codes[i];
    if (c < 0x80) continue;
    ++likeness.non_ascii;
    const Alphabet alphabet = AlphabetOf(c);
    if (alphabet == Alphabet::kNone) {
      likeness.unlikely += !IsNameCharacter(c);
      likeness.telling += utf8_telling && IsCjkIdeograph(c);
      continue;
    }
    const Word word = WordAt(codes, i);
    likeness.unlikely += word.letters == 1;  // a letter standing alone
    likeness.telling += utf8_telling && word.letters >= kWordLetters &&
                        (alphabet != Alphabet::kLatin || word.lower_ascii >= kLatinLowerLetters);
  }
}

}  // namespace

void NameLikeness::AddUtf8Reading(std::string_view utf8) { AddCharacters(utf8, true, *this); }

void NameLikeness::AddGbkReading(std::string_view gbk, std::string_view utf8) {
  AddCharacters(utf8, false, *this);
  for (std::size_t i = 0; i < gbk.size();) {
    const unsigned char lead = Byte(gbk[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const unsigned char trail = i + 1 < gbk.size() ? Byte(gbk[i + 1]) : 0;
    // GB 2312's Chinese characters: rows B0 to F7, columns A1 to FE.
    telling += lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1;
    // GBK's own Chinese characters beyond GB 2312 (rows 81 to A0, and
    // columns 40 to A0 of rows AA to FE) are rare in names, and where a
    // line is valid UTF-8 too they are mostly its three-byte characters
    // split across two codes.
    unlikely += lead <= 0xA0 || (lead >= 0xAA && trail < 0xA1);
    i += 2;
  }
}

bool NameLikeness::MoreLikelyThan(const NameLikeness& other) const {
  if (non_ascii == 0 || other.non_ascii == 0) return false;  // nothing to tell by
  // The shares compared without division: a / n < b / m as a·m < b·n.
  const std::size_t mine = unlikely * other.non_ascii, theirs = other.unlikely * non_ascii;
  if (mine != theirs) return mine < theirs;
  return telling * other.non_ascii > other.telling * non_ascii;
}

}  // namespace torvane
