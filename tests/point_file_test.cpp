#include "batch/point_file.h"
#include "batch/name_likeness.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "batch/name_likeness.h"
#include "batch/point_layout.h"
#include "batch/utf16_text.h"
#include "temp_dir.h"
#include "utf16_bytes.h"

namespace torvane {
namespace {

using testing::TempDir;
using testing::Utf16;

std::string ManyAsciiLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "A,1,2,3\r\n";
  return text;
}

// Lines of three-byte characters, so that some character straddles the
// boundary between two chunks of the file.
std::string ManyUtf8Lines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "\xE7\x82\xB9\xE7\x82\xB9,1,2,3\n";
  return text;
}

struct ReadResult {
  std::vector<std::string> names;
  std::vector<std::size_t> lines;
  TextEncoding encoding = TextEncoding::kUtf8;
};

ReadResult ReadAll(const std::string& path, std::optional<TextEncoding> told = std::nullopt) {
  ReadResult result;
  auto reader = PointFileReader::Open(path, PointLayout{}, told);
  EXPECT_TRUE(reader.ok()) << Describe(reader.error());
  if (!reader.ok()) return result;
  for (;;) {
    auto p = reader.value()->Next();
    EXPECT_TRUE(p.ok()) << Describe(p.error());
    if (!p.ok() || !p.value()) break;
    result.names.emplace_back(p.value()->name);
    result.lines.push_back(p.value()->line);
  }
  result.encoding = reader.value()->encoding();
  return result;
}

TEST(PointFileReader, LineEndsAndBlankLines) {
  TempDir dir;
  const struct {
    const char* bytes;
    std::vector<std::string> names;
    std::vector<std::size_t> lines;
  } rows[] = {
      {"A,1,2,3\r\nB,1,2,3\r\n", {"A", "B"}, {1, 2}},
      {"A,1,2,3\nB,1,2,3", {"A", "B"}, {1, 2}},
      {"A,1,2,3\rB,1,2,3\r", {"A", "B"}, {1, 2}},
      {"A,1,2,3\r\n\r\n  \nB,1,2\rC,1,2,3,4\n", {"A", "B", "C"}, {1, 4, 5}},
      {"\r\n\r\nA,1,2,3\r\n\r\n", {"A"}, {3}},
      {"\n\r\r\nA,1,2", {"A"}, {4}},  // LF, CR, CR LF: three line ends
      {"", {}, {}},
  };
  for (const auto& row : rows) {
    const ReadResult r = ReadAll(dir.Write("p.csv", row.bytes));
    EXPECT_EQ(r.names, row.names) << row.bytes;
    EXPECT_EQ(r.lines, row.lines) << row.bytes;
  }
}

TEST(PointFileReader, CrLfAcrossTheReadBuffer) {
  TempDir dir;
  // Lines of 10 bytes: some CR LF pair straddles each 64 KiB chunk.
  std::string bytes;
  const int count = 30000;
  for (int i = 0; i < count; ++i) bytes += "P,1,2,3.4\r\n";
  const ReadResult r = ReadAll(dir.Write("p.csv", bytes));
  ASSERT_EQ(r.lines.size(), static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) ASSERT_EQ(r.lines[i], static_cast<std::size_t>(i + 1));
}

// Lines in the forms files use, many of them read the fast way, over
// several read chunks and ending without a line end: every point must be
// what the usual layout makes of its line.
TEST(PointFileReader, EveryLineReadsAsTheUsualLayoutReadsIt) {
  std::string texts;  // the fields' texts with CSV quoting taken back
  const PointLayout usual;
  std::mt19937 random(5);
  const char* const blanks[] = {"", " ", "  ", "\t"};
  const char* const signs[] = {"", "", "-", "+"};
  const auto pick = [&](const auto& items) {
    return items[random() % (sizeof items / sizeof items[0])];
  };
  const auto number = [&] {
    std::string s = pick(signs);
    s += std::to_string(random() % 100000000);
    if (random() % 4 != 0) s += "." + std::to_string(random() % 100000);
    return s;
  };
  const char* const line_ends[] = {"\n", "\r\n", "\r"};
  std::vector<std::string> lines;
  std::string bytes;
  while (bytes.size() < 700000) {
    std::string line = "P" + std::to_string(lines.size()) + pick(blanks);
    for (int field = 0; field < 2; ++field)
      line += "," + std::string(pick(blanks)) + number() + pick(blanks);
    switch (random() % 6) {
      case 0:
        break;  // no H
      case 1:
        line += ",1.5e2";
        break;  // H not plain
      case 2:
        line += "," + number() + ",code,x";
        break;  // fields after H
      default:
        line += ", " + number();
        break;
    }
    lines.push_back(line);
    bytes += line;
    bytes += pick(line_ends);
  }
  bytes.resize(bytes.size() - (bytes.back() == '\n' && bytes[bytes.size() - 2] == '\r' ? 2 : 1));

  TempDir dir;
  auto reader = PointFileReader::Open(dir.Write("p.csv", bytes));
  ASSERT_TRUE(reader.ok());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    auto got = reader.value()->Next();
    ASSERT_TRUE(got.ok() && got.value() != nullptr) << "line " << i + 1;
    auto want = ParseLayoutLine(lines[i], i + 1, usual, &texts);
    ASSERT_TRUE(want.ok() && want.value());
    const PointRecord& g = *got.value();
    const PointRecord& w = *want.value();
    ASSERT_EQ(g.line, i + 1);
    EXPECT_EQ(g.name, w.name) << lines[i];
    EXPECT_EQ(g.x_text, w.x_text) << lines[i];
    EXPECT_EQ(g.y_text, w.y_text) << lines[i];
    EXPECT_EQ(g.h_text, w.h_text) << lines[i];
    EXPECT_EQ(g.x, w.x) << lines[i];
    EXPECT_EQ(g.y, w.y) << lines[i];
  }
  auto end = reader.value()->Next();
  ASSERT_TRUE(end.ok());
  EXPECT_EQ(end.value(), nullptr);
}

TEST(PointFileReader, FindsTheEncoding) {
  TempDir dir;
  const struct {
    std::string bytes;
    TextEncoding encoding;
    std::string first_name;
    std::optional<TextEncoding> told = std::nullopt;  // as --encoding tells it
  } rows[] = {
      {"A,1,2,3\r\n", TextEncoding::kUtf8, "A"},
      {"\xE7\x82\xB9"
       "1,1,2,3\r\n",
       TextEncoding::kUtf8,
       "\xE7\x82\xB9"
       "1"},
      {"\xEF\xBB\xBF"
       "A,1,2,3\r\n",
       TextEncoding::kUtf8WithBom, "A"},
      {"\xB5\xE3"
       "1,1,2,3\r\n",
       TextEncoding::kGbk,
       "\xB5\xE3"
       "1"},
      // Line 1 is valid in both; line 2 only in GBK, so the file is GBK.
      {"\xC3\xA9,1,2,3\r\n\xB5\xE3,1,2,3\r\n", TextEncoding::kGbk, "\xC3\xA9"},
      // The first line that is not ASCII comes far into the file, past the
      // first chunk read: what follows it decides.
      {ManyAsciiLines(20000) + "\xB5\xE3,1,2,3\r\n", TextEncoding::kGbk, "A"},
      {ManyAsciiLines(20000) + "\xE7\x82\xB9,1,2,3\r\n" + ManyUtf8Lines(30000), TextEncoding::kUtf8,
       "A"},
      // Valid in both, until a line much later that only GBK reads.
      {ManyAsciiLines(20000) + "\xC3\xA9,1,2,3\r\n" + ManyAsciiLines(30000) + "\xB5\xE3,1,2,3\r\n",
       TextEncoding::kGbk, "A"},
      // Valid in both: the reading whose names look like names. GBK's 施1
      // is the IPA ʩ1 in UTF-8 (read as UTF-8 before); é, Ж, 点Ａ and ｶ😀 in
      // UTF-8 are Chinese in GBK, but UTF-8 has nothing unlikely.
      {"\xCA\xA9"
       "1,1,2,3\r\n",
       TextEncoding::kGbk,
       "\xCA\xA9"
       "1"},
      {"Gr\xC3\xA9,1,2\r\n\xD0\x96,1,2\r\n\xE7\x82\xB9\xEF\xBC\xA1,1,2\r\n", TextEncoding::kUtf8,
       "Gr\xC3\xA9"},
      // A fixed fault: GBK's 微1 and 卤2 were read as UTF-8's "\u03A21" (no
      // character has U+03A2) and "±2". A word of accented or Cyrillic
      // letters stays UTF-8.
      {"\xCE\xA2"
       "1,1,2\r\n\xC2\xB1"
       "2,3,4\r\n",
       TextEncoding::kGbk,
       "\xCE\xA2"
       "1"},
      {"Caf\xC3\xA9,1,2\r\nGr\xC3\xA9,3,4\r\n", TextEncoding::kUtf8, "Caf\xC3\xA9"},
      {"\xD0\xA2\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0"
       "1,1,2\r\n",
       TextEncoding::kUtf8,
       "\xD0\xA2\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0"
       "1"},
      // --encoding decides for such a file, and for an ASCII one.
      {"\xCA\xA9"
       "1,1,2,3\r\n",
       TextEncoding::kUtf8,
       "\xCA\xA9"
       "1",
       TextEncoding::kUtf8},
      {"Gr\xC3\xA9,1,2\r\n", TextEncoding::kGbk, "Gr\xC3\xA9", TextEncoding::kGbk},
      {"\xEF\xBB\xBF\xE7\x82\xB9,1,2\r\n", TextEncoding::kUtf8WithBom, "\xE7\x82\xB9",
       TextEncoding::kUtf8},
      // UTF-16 by its BOM, whatever is told, its names read in UTF-8 (it was
      // a NUL byte).
      {Utf16(u"\uFEFF点1,1,2,3\r\n", false), TextEncoding::kUtf16Le,
       "\xE7\x82\xB9"
       "1"},
      {Utf16(u"\uFEFF点1,1,2,3\r\n", true), TextEncoding::kUtf16Be,
       "\xE7\x82\xB9"
       "1",
       TextEncoding::kGbk},
  };
  for (const auto& row : rows) {
    const ReadResult r = ReadAll(dir.Write("p.csv", row.bytes), row.told);
    EXPECT_EQ(r.encoding, row.encoding) << row.bytes;
    ASSERT_FALSE(r.names.empty());
    EXPECT_EQ(r.names[0], row.first_name);
  }
}

// A UTF-16 file's result on its way out: UTF-8 in, UTF-16 out as Python's
// codec encodes it, a character cut off at the end left for the next
// piece, a byte that is not UTF-8 as U+FFFD.
TEST(AppendUtf16, WritesWhatIsWholeAndLeavesTheRest) {
  const struct {
    std::string utf8;
    bool big_endian;
    std::string utf16;
    std::size_t taken;
  } rows[] = {
      {"A\r\n", false, std::string("A\0\r\0\n\0", 6), 3},
      {"\xE7\x82\xB9", true, "\x70\xB9", 3},
      {"\xF0\xA0\x80\x80", false, std::string("\x40\xD8\x00\xDC", 4),
       4},                                             // U+20000, a surrogate pair
      {"A\xE7\x82", false, std::string("A\0", 2), 1},  // 点 cut after two bytes
      {"\xF0\xA0", true, "", 0},
      {"A\xFF", false, std::string("A\0\xFD\xFF", 4), 2},
      {"\xE7\x82"
       "A",
       false,
       std::string("\xFD\xFF\xFD\xFF"
                   "A\0",
                   6),
       3},
  };
  for (const auto& row : rows) {
    std::string out;
    const std::size_t taken = AppendUtf16(
        row.utf8, row.big_endian ? TextEncoding::kUtf16Be : TextEncoding::kUtf16Le, &out);
    EXPECT_EQ(out, row.utf16) << row.utf8;
    EXPECT_EQ(taken, row.taken) << row.utf8;
  }
}

// A result asked for in GBK: UTF-8 in, GBK out as Python's gbk codec
// encodes it; the user-defined areas as code page 936 numbers them (the
// first and last of each area, and A1 80 after A1 7E, 7F being no trail
// byte), read back by GbkToUtf8; no value for what GBK has no code for.
TEST(Utf8ToGbk, EncodesWhatGbkHoldsAndRefusesTheRest) {
  const struct {
    std::string utf8;
    std::optional<std::string> gbk;
  } rows[] = {
      {"", ""},
      {"A,1", "A,1"},
      {"\xE7\x82\xB9"
       "1",
       "\xB5\xE3"
       "1"},                                     // 点1
      {"\xCE\xA9\xD0\x96", "\xA6\xB8\xA7\xA8"},  // ΩЖ
      {"\xEE\x80\x80", "\xAA\xA1"},              // U+E000
      {"\xEE\x88\xB3", "\xAF\xFE"},              // U+E233
      {"A\xEE\x88\xB4"
       "B",
       "A\xF8\xA1"
       "B"},                           // U+E234
      {"\xEE\x93\x85", "\xFE\xFE"},    // U+E4C5
      {"\xEE\x93\x86", "\xA1\x40"},    // U+E4C6
      {"\xEE\x94\x84", "\xA1\x7E"},    // U+E504
      {"\xEE\x94\x85", "\xA1\x80"},    // U+E505
      {"\xEE\x9D\xA5", "\xA7\xA0"},    // U+E765
      {"\xEE\x9D\xA6", std::nullopt},  // U+E766, past the areas (A2 AB in code page 936)
      {"\xEC\xB8\xA1"
       "1",
       std::nullopt},                      // 측1: Hangul
      {"\xF0\x9F\x98\x80", std::nullopt},  // an emoji
      {"A\xFF", std::nullopt},             // not UTF-8
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Utf8ToGbk(row.utf8), row.gbk) << row.utf8;
    if (row.gbk) {
      EXPECT_EQ(GbkToUtf8(*row.gbk), row.utf8) << row.utf8;
    }
  }
}

// Every Chinese character of GB 2312 whose GBK bytes are valid UTF-8 too
// (rows C2 to DF, columns A1 to BF: 930), alone and in the names surveyors
// give (微, 微1, K微1, JD微1, 微微2), looks more like a name read as GBK,
// as the reader's vote weighs the two readings (FindsTheEncoding above
// reads 微1 and 卤2 through the reader itself).
TEST(NameLikeness, CommonChineseValidAsUtf8LooksLikeGbk) {
  int misread = 0;
  for (int lead = 0xC2; lead <= 0xDF; ++lead) {
    for (int trail = 0xA1; trail <= 0xBF; ++trail) {
      const std::string hanzi = {static_cast<char>(lead), static_cast<char>(trail)};
      ASSERT_TRUE(IsValidUtf8(hanzi) && IsValidGbk(hanzi));
      for (const std::string& name :
           {hanzi, hanzi + "1", "K" + hanzi + "1", "JD" + hanzi + "1", hanzi + hanzi + "2"}) {
        NameLikeness as_utf8, as_gbk;
        as_utf8.AddUtf8Reading(name);
        as_gbk.AddGbkReading(name, *GbkToUtf8(name));
        if (!as_gbk.MoreLikelyThan(as_utf8)) {
          ADD_FAILURE() << "read as UTF-8: " << name;
          if (++misread > 20) return;
        }
      }
    }
  }
}

TEST(PointFileReader, LineNeitherUtf8NorGbk) {
  // A file valid in neither encoding is read in the one more of its lines
  // are valid in (UTF-8 when as many), and the first line that is not is
  // blamed; the hostile-input table has the Chinese cases.
  TempDir dir;
  auto reader = PointFileReader::Open(dir.Write("p.csv", "A,1,2,3\r\nB\xFF,1,2,3\r\n"));
  ASSERT_TRUE(reader.ok());
  ASSERT_TRUE(reader.value()->Next().ok());
  auto bad = reader.value()->Next();
  EXPECT_EQ(reader.value()->encoding(), TextEncoding::kUtf8);
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(bad.error().kind, RunErrorKind::kBadEncoding);
  EXPECT_EQ(Describe(bad.error()), dir / "p.csv" + ":2: line is neither UTF-8 nor GBK text");
}

// A file whose encoding is told (by --encoding, or by its BOM) blames a
// line not valid in it, even one the other encoding reads.
TEST(PointFileReader, LineNotInTheToldEncoding) {
  TempDir dir;
  const struct {
    std::string bytes;
    std::optional<TextEncoding> told;
    std::string message;
  } rows[] = {
      {"A,1,2,3\r\n\xB5\xE3,1,2,3\r\n", TextEncoding::kUtf8,
       ":2: line is not UTF-8 text (--encoding=utf-8)"},
      {"\xE7\x82\xB9,1,2,3\r\n", TextEncoding::kGbk, ":1: line is not GBK text (--encoding=gbk)"},
      {"\xEF\xBB\xBF"
       "A,1,2,3\r\n\xB5\xE3,1,2,3\r\n",
       std::nullopt,
       ":2: line is not UTF-8 text, but the file starts with a UTF-8 byte order mark"},
  };
  for (const auto& row : rows) {
    const std::string path = dir.Write("p.csv", row.bytes);
    auto reader = PointFileReader::Open(path, PointLayout{}, row.told);
    ASSERT_TRUE(reader.ok());
    Expected<const PointRecord*, RunError> next = nullptr;
    while ((next = reader.value()->Next()) && next.value() != nullptr) {
    }
    ASSERT_FALSE(next.ok()) << row.message;
    EXPECT_EQ(Describe(next.error()), path + row.message);
  }
}

TEST(PointFileReader, CannotOpen) {
  TempDir dir;
  for (const std::string& path : {dir / "missing.csv", dir / ""}) {
    auto reader = PointFileReader::Open(path);
    ASSERT_FALSE(reader.ok()) << path;
    EXPECT_EQ(reader.error().kind, RunErrorKind::kCannotOpen);
    EXPECT_EQ(reader.error().path, path);
  }
  EXPECT_EQ(Describe(PointFileReader::Open(dir / "missing.csv").error()),
            dir / "missing.csv" + ": cannot open: No such file or directory");
}

}  // namespace
}  // namespace torvane
