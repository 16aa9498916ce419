// Point files and result paths as they come from a bad day in the field:
// every one gives the user an exact message, writes nothing, and leaves an
// earlier result table as it was. Each runs both as the command line runs
// (straight to the table) and as the window runs (the whole file checked
// first, the 4000-field limit).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/window_rules.h"
#include "batch/conversion_run.h"
#include "batch/point_file.h"
#include "report/result_table.h"
#include "temp_dir.h"
#include "utf16_bytes.h"

namespace torvane {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::Utf16;

const RunParams kParams{500, 600, 0.5280590614494144};  // 30.1520 in ddd.mmss
const std::string kEarlier = "an earlier table\r\n";

struct Hostile {
  const char* what;
  std::string bytes;
  std::string message;  // Describe(error) with "P" for the point file's path
};

// The bytes of a string literal, NULs within it included.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

std::string Repeat(const std::string& text, std::size_t times) {
  std::string s;
  s.reserve(text.size() * times);
  for (std::size_t i = 0; i < times; ++i) s += text;
  return s;
}

const std::string kTenMegabytes = Repeat("1234567890", 1024 * 1024);

std::vector<Hostile> Files() {
  return {
      {"empty file", "", "P: no points: the file is empty or holds only blank lines"},
      {"only blank lines", "\r\n  \r\n\t\n\r",
       "P: no points: the file is empty or holds only blank lines"},
      {"binary garbage",
       Bytes("\x7F"
             "ELF\x02\x01\x01\xFF\xFE\x00\x00,1,2"),
       "P:1: line holds a NUL byte: not UTF-8 or GBK text (saved as UTF-16?)"},
      {"NUL bytes in ASCII", Bytes("A,1,2,3\r\nB\0,1,2,3\r\n"),
       "P:2: line holds a NUL byte: not UTF-8 or GBK text (saved as UTF-16?)"},
      // UTF-16 by its BOM, read (it was a NUL byte) but for what is not text
      // in it: the line quoted with U+FFFD for the fault.
      {"UTF-16 LE, a high surrogate without its low one", Utf16(u"\uFEFFA,1,2\r\nB\xD800,1,2\r\n"),
       "P:2: line \"B\uFFFD,1,2\" is not UTF-16 text: a surrogate without its pair"},
      {"UTF-16 BE, a low surrogate alone",
       Utf16(u"\uFEFF\xDC00"
             u"A,1,2\r\n",
             true),
       "P:1: line \"\uFFFDA,1,2\" is not UTF-16 text: a surrogate without its pair"},
      // The line quoted by its start and its whole length (it was cut at
      // 256 bytes).
      {"UTF-16 LE, a surrogate alone in a long line",
       Utf16(u"\uFEFF" + std::u16string(100, u'B') + u"\xD800,1,2\r\n"),
       "P:1: line \"" + std::string(60, 'B') +
           "... (107 bytes)\" is not UTF-16 text: a surrogate without its pair"},
      {"UTF-16 LE, a high surrogate at the end", Utf16(u"\uFEFFA,1,2\r\nB\xD83D"),
       "P:2: line \"B\uFFFD\" is not UTF-16 text: a surrogate without its pair"},
      {"UTF-16 LE, an odd number of bytes", Utf16(u"\uFEFFA,1,2\r\nB,1,2") + "3",
       "P:2: line \"B,1,2\uFFFD\" is not UTF-16 text: the file ends in half a character (an "
       "odd number of bytes)"},
      {"neither UTF-8 nor GBK", "A,1,2,3\r\n\x80\xFF,1,2,3\r\n",
       "P:2: line is neither UTF-8 nor GBK text"},
      // Lines are limited to 1 MiB, so that memory is bounded whatever comes.
      {"a 10 MB line", "A," + kTenMegabytes + ",2,3\r\n",
       "P:1: line is longer than 1048576 bytes: not a point file"},
      {"a line one byte too long after a good one",
       "A,1,2,3\r\n" + std::string(kMaxLineBytes + 1, '7') + "\r\n",
       "P:2: line is longer than 1048576 bytes: not a point file"},
      {"a line of the longest length, without commas", std::string(kMaxLineBytes, '7'),
       "P:1: line \"777777777777777777777777777777777777777777777777777777777777... "
       "(1048576 bytes)\" has fewer than three fields (name, X, Y)"},
      {"10 MB of NUL bytes, as a crash leaves", std::string(10 << 20, '\0'),
       "P:1: line holds a NUL byte: not UTF-8 or GBK text (saved as UTF-16?)"},
      // The line blamed for an encoding error is the one that breaks the
      // encoding the rest of the file is in.
      {"UTF-8, then a byte neither reads", "\xE7\x82\xB9,1,2,3\r\nB\xFF,1,2,3\r\n",
       "P:2: line is neither UTF-8 nor GBK text"},
      {"an overlong UTF-8 form, then UTF-8", "\xC0\xAF,1,2,3\r\n\xE7\x82\xB9,1,2,3\r\n",
       "P:1: line is neither UTF-8 nor GBK text"},
      {"GBK, then a byte neither reads", "\xB5\xE3,1,2,3\r\n\xB5\xE3,4,5,6\r\nB\xFF,1,2,3\r\n",
       "P:3: line is neither UTF-8 nor GBK text"},
      {"1e400", "A,1e400,2,3\r\n", "P:1: X field \"1e400\" is too large"},
      {"-1e400 in Y", "A,1,-1e400,3\r\n", "P:1: Y field \"-1e400\" is too large"},
      {"nan", "A,nan,2,3\r\n", "P:1: X field \"nan\" is not a number"},
      {"inf", "A,1,inf,3\r\n", "P:1: Y field \"inf\" is not a number"},
      {"only commas", ",,,\r\n", "P:1: X field \"\" is not a number"},
      {"full-width commas",
       "A\xEF\xBC\x8C"
       "1\xEF\xBC\x8C"
       "2\r\n",
       "P:1: line \"A\xEF\xBC\x8C"
       "1\xEF\xBC\x8C"
       "2\" has fewer than three fields (name, X, Y)"},
      {"a result table as point file",
       "III11       291.64066         -7.11449           1215.1010\r\n",
       "P:1: line \"III11       291.64066         -7.11449           1215.1010\" has fewer "
       "than three fields (name, X, Y)"},
      {"a bad point after good ones", "A,1,2,3\r\nB,4,5,6\rC,7,8m,9\n",
       "P:3: Y field \"8m\" is not a number"},
      {"converted Y beyond doubles", "A,1.7e308,-1.7e308,0\r\n",
       "P:1: converted Y is too large to write"},
      // Spreadsheets' own files, not text (told as a NUL byte before).
      {"an .xlsx workbook", Bytes("PK\x03\x04\x14\x00\x06\x00\x08\x00\x00\x00!\x00"),
       "P: this is a spreadsheet workbook: save it as CSV (逗号分隔)"},
      {"an .xls workbook", Bytes("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\x00\x00\x00\x00\r\n"),
       "P: this is a spreadsheet workbook: save it as CSV (逗号分隔)"},
      // A spreadsheet's header row, in GBK as Chinese Windows saves it: told
      // as a header, in UTF-8 (it was X field "X" and the GBK bytes of 坐标).
      {"a GBK header",
       "\xB5\xE3\xC3\xFB,X\xD7\xF8\xB1\xEA,Y\xD7\xF8\xB1\xEA,H\r\nA,755.5,740.8,1\r\n",
       "P:1: line \"点名,X坐标,Y坐标,H\" looks like a header, not a point: no number in X and Y "
       "(give --skip-lines=1 to pass over it)"},
      {"a header after blank lines", "\r\nName,X,Y,H\r\nA,755.5,740.8,1\r\n",
       "P:2: line \"Name,X,Y,H\" looks like a header, not a point: no number in X and Y "
       "(give --skip-lines=2 to pass over it)"},
      {"words in X only, on line 1", "A,x,740.8,1\r\n", "P:1: X field \"x\" is not a number"},
      // A BOM says UTF-8: a GBK line after it is an error of its own (the
      // whole file was read as GBK, the first name garbled).
      {"a UTF-8 BOM, then a GBK line", "\xEF\xBB\xBF点1,755.5,740.8\r\n\xB5\xE3,755.5,740.8\r\n",
       "P:2: line is not UTF-8 text, but the file starts with a UTF-8 byte order mark"},
  };
}

std::string WithPath(std::string message, const std::string& path) {
  if (message.rfind("P", 0) == 0) message.replace(0, 1, path);
  return message;
}

class HostileInput : public ::testing::TestWithParam<bool> {
 protected:
  RunRequest Request(const std::string& point_path, const std::string& result_path) const {
    RunRequest r;
    r.point_path = point_path;
    r.result_path = result_path;
    if (GetParam()) ApplyWindowRules(r);  // as the window runs
    return r;
  }
};

TEST_P(HostileInput, FilesGiveAnExactErrorAndWriteNothing) {
  for (const Hostile& h : Files()) {
    SCOPED_TRACE(h.what);
    TempDir dir;
    const std::string points = dir.Write("p.csv", h.bytes);
    const std::string table = dir.Write("table.txt", kEarlier);
    auto run = ConvertRun(Request(points, table), kParams, *MakeTableWriter());
    ASSERT_FALSE(run.ok());
    EXPECT_EQ(Describe(run.error()), WithPath(h.message, points));
    EXPECT_EQ(ReadBytes(table), kEarlier);
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"p.csv", "table.txt"}));
  }
}

TEST_P(HostileInput, PathsThatCannotBeUsed) {
  TempDir dir;
  const std::string points = dir.Write("p.csv", "A,1,2,3\r\n");
  std::filesystem::create_directory(dir / "folder");
  const struct {
    const char* what;
    std::string point_path, result_path, message;
  } rows[] = {
      {"a folder as point file", dir / "folder", dir / "t.txt",
       dir / "folder" + ": cannot open: it is a folder, not a file"},
      {"a missing point file", dir / "missing.csv", dir / "t.txt",
       dir / "missing.csv" + ": cannot open: No such file or directory"},
      {"a folder in the result's way", points, dir / "folder",
       dir / "folder" + ": cannot write: a folder of that name is in the way"},
      {"a result in a missing folder", points, dir / "missing/t.txt",
       dir / "missing/t.txt" + ": cannot write: No such file or directory"},
      {"the point file as its own result", points, points,
       points + ": the result would replace the point file itself"},
      {"the point file by another name", points, dir / "./p.csv",
       dir / "./p.csv" + ": the result would replace the point file itself"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    auto run = ConvertRun(Request(row.point_path, row.result_path), kParams, *MakeTableWriter());
    ASSERT_FALSE(run.ok());
    EXPECT_EQ(Describe(run.error()), row.message);
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"folder", "p.csv"}));
    EXPECT_EQ(ReadBytes(points), "A,1,2,3\r\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir / "folder"));
  }
}

// Files that look odd but are good: exact tables, not errors.
TEST_P(HostileInput, OddButGoodFilesConvert) {
  const struct {
    const char* what;
    std::string bytes, table;
  } rows[] = {
      {"minus zero", "A,-0,-0,-0\r\n",
       "A           -734.20797        -266.34313         .0000\r\n"},
      {"CR only and mixed line ends", "A,755.5,740.8,1\rB,755.5,740.8,2\nC,755.5,740.8,3\r\n",
       "A           291.64066         -7.11449           1.0000\r\n"
       "B           291.64066         -7.11449           2.0000\r\n"
       "C           291.64066         -7.11449           3.0000\r\n"},
      {"no line end at the end", "A,755.5,740.8,1",
       "A           291.64066         -7.11449           1.0000\r\n"},
      // A spreadsheet's "Unicode text": the result in the file's UTF-16,
      // its BOM first; 点 and 𠀀 (beyond U+FFFF, a surrogate pair) two
      // columns wide.
      {"UTF-16 LE with its BOM, CR LF",
       Utf16(u"\uFEFFA,755.5,740.8,1\r\n点,755.5,740.8\r\n\U00020000,755.5,740.8,3\r\n"),
       Utf16(u"\uFEFFA           291.64066         -7.11449           1.0000\r\n"
             u"点          291.64066         -7.11449           \r\n"
             u"\U00020000          291.64066         -7.11449           3.0000\r\n")},
      {"UTF-16 BE with its BOM, LF", Utf16(u"\uFEFF点,755.5,740.8,1\n", true),
       Utf16(u"\uFEFF点          291.64066         -7.11449           1.0000\r\n", true)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    TempDir dir;
    const std::string points = dir.Write("p.csv", row.bytes);
    const std::string table = dir / "table.txt";
    auto run = ConvertRun(Request(points, table), kParams, *MakeTableWriter());
    ASSERT_TRUE(run.ok()) << Describe(run.error());
    EXPECT_EQ(ReadBytes(table), row.table);
  }
}

INSTANTIATE_TEST_SUITE_P(CommandLineAndWindow, HostileInput, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Window" : "CommandLine"; });

}  // namespace
}  // namespace torvane
