#include "site/common_points.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "number/round_trip.h"
#include "temp_dir.h"

namespace torvane {
namespace {

using testing::TempDir;

TEST(ParseCommonPointLine, FieldsInTheirOrder) {
  const struct {
    const char* line;
    const char* name;
    double xs, ys, xc, yc;
  } rows[] = {
      {"K1, 3412.588, 5127.348, 0.000, 0.000", "K1", 3412.588, 5127.348, 0, 0},
      {"\tK 2 ,1,2,3,4", "K 2", 1, 2, 3, 4},
      {"K3,1,2,3,4,1215.1,code", "K3", 1, 2, 3, 4},  // fields after Yc are ignored
      {"K4,1,2,3,4,", "K4", 1, 2, 3, 4},
      {",-1e3,+2,3.,.5", "", -1000, 2, 3, 0.5},
  };
  for (const auto& row : rows) {
    auto parsed = ParseCommonPointLine(row.line, 4);
    ASSERT_TRUE(parsed.ok()) << row.line;
    ASSERT_TRUE(parsed.value().has_value()) << row.line;
    const CommonPoint& p = *parsed.value();
    EXPECT_EQ(p.name, row.name);
    EXPECT_EQ(p.line, 4u);
    EXPECT_EQ(p.survey.x, row.xs) << row.line;
    EXPECT_EQ(p.survey.y, row.ys) << row.line;
    EXPECT_EQ(p.construction.x, row.xc) << row.line;
    EXPECT_EQ(p.construction.y, row.yc) << row.line;
  }
  for (const char* blank : {"", "  ", "\t"}) {
    auto parsed = ParseCommonPointLine(blank, 1);
    ASSERT_TRUE(parsed.ok());
    EXPECT_FALSE(parsed.value().has_value());
  }
}

TEST(ParseCommonPointLine, ErrorsNameTheField) {
  const struct {
    const char* line;
    RunErrorKind kind;
    const char* field;
    const char* text;
  } rows[] = {
      {"K1,abc,2,3,4", RunErrorKind::kNotANumber, "Xs", "abc"},
      {"K1,1, 2m ,3,4", RunErrorKind::kNotANumber, "Ys", "2m"},
      {"K1,1,2,,4", RunErrorKind::kNotANumber, "Xc", ""},
      {"K1,1,2,3,1e999", RunErrorKind::kNumberTooLarge, "Yc", "1e999"},
      {"K1, 1, 2, 3", RunErrorKind::kNotACommonPoint, "", "K1, 1, 2, 3"},
      {" K1 ", RunErrorKind::kNotACommonPoint, "", "K1"},
  };
  for (const auto& row : rows) {
    auto parsed = ParseCommonPointLine(row.line, 7);
    ASSERT_FALSE(parsed.ok()) << row.line;
    EXPECT_EQ(parsed.error().kind, row.kind) << row.line;
    EXPECT_EQ(parsed.error().line, 7u);
    EXPECT_EQ(parsed.error().field, row.field) << row.line;
    EXPECT_EQ(parsed.error().field_text, row.text) << row.line;
  }
}

std::vector<std::string> Names(const std::vector<CommonPoint>& points) {
  std::vector<std::string> names;
  for (const CommonPoint& p : points) names.push_back(p.name + "@" + std::to_string(p.line));
  return names;
}

TEST(ReadCommonPoints, ReadsAsPointFilesAreRead) {
  TempDir dir;
  const struct {
    std::string bytes;
    std::vector<std::string> names;
  } rows[] = {
      {"K1,1,2,3,4\r\nK2,5,6,7,8\r\n", {"K1@1", "K2@2"}},
      {"\r\n  \nK1,1,2,3,4\rK2,5,6,7,8", {"K1@3", "K2@4"}},
      {"\xEF\xBB\xBFK1,1,2,3,4\n", {"K1@1"}},
      {"\xE6\x8E\xA7\xE5\x88\xB6"
       "1,1,2,3,4\n",
       {"\xE6\x8E\xA7\xE5\x88\xB6"
        "1@1"}},  // UTF-8
      // 控制1 and 控制2 in GBK, after an ASCII line: the names come out in UTF-8.
      {"K1,1,2,3,4\n\xBF\xD8\xD6\xC6"
       "1,1,2,3,4\n\xBF\xD8\xD6\xC6"
       "2,5,6,7,8\n",
       {"K1@1",
        "\xE6\x8E\xA7\xE5\x88\xB6"
        "1@2",
        "\xE6\x8E\xA7\xE5\x88\xB6"
        "2@3"}},
      {"", {}},
      // GBK's user-defined areas as code page 936 maps them, to the private
      // use area, on every system (iconv refused them).
      {"\xAA\xA1,1,2,3,4\n\xFE\xFE,1,2,3,4\n\xA1\x40,1,2,3,4\n\xA7\xA0,1,2,3,4\n",
       {"\xEE\x80\x80@1", "\xEE\x93\x85@2", "\xEE\x93\x86@3", "\xEE\x9D\xA5@4"}},
      // Quoted names, as the CSV result writes them.
      {"\"K \"\"1\"\", east\",1,2,3,4\n\"K;2\" , \"5\",6,7,8\n", {"K \"1\", east@1", "K;2@2"}},
  };
  for (const auto& row : rows) {
    auto points = ReadCommonPoints(dir.Write("c.csv", row.bytes));
    ASSERT_TRUE(points.ok()) << Describe(points.error());
    EXPECT_EQ(Names(*points), row.names) << row.bytes;
  }
}

TEST(ReadCommonPoints, ErrorsNameTheFileAndTheLine) {
  TempDir dir;
  const std::string path = dir / "c.csv";
  const struct {
    std::string bytes;
    std::string message;
  } rows[] = {
      {"K1,1,2,3,4\r\nK2,1,2,x,4\r\n", path + ":2: Xc field \"x\" is not a number"},
      {"K1,1,2,3,4\nK2,1,2,3\n",
       path + ":2: line \"K2,1,2,3\" has fewer than five fields (name, Xs, Ys, Xc, Yc)"},
      {"K1,1,2,3,4\n\nK2,5,6,7,8\n K1 ,9,9,9,9\n",
       path + ":4: point name \"K1\" is used again (first on line 1)"},
      {"K1,1,2,3,4\nK\xFF,1,2,3,4\n", path + ":2: line is neither UTF-8 nor GBK text"},
      // Texts of a GBK file quoted in UTF-8 (they were its GBK bytes), a
      // header told as one.
      {"\xBF\xD8\xD6\xC6"
       "1,1,2,\xB5\xE3,4\n",
       path + ":1: Xc field \"点\" is not a number"},
      {"\xB5\xE3\xC3\xFB,Xs,Ys,Xc,Yc\nK1,1,2,3,4\n",
       path +
           ":1: line \"点名,Xs,Ys,Xc,Yc\" looks like a header, not a point: no number in X and Y "
           "(give --skip-lines=1 to pass over it)"},
  };
  for (const auto& row : rows) {
    dir.Write("c.csv", row.bytes);
    auto points = ReadCommonPoints(path);
    ASSERT_FALSE(points.ok()) << row.message;
    EXPECT_EQ(Describe(points.error()), row.message);
  }
  EXPECT_EQ(Describe(ReadCommonPoints(dir / "none.csv").error()),
            dir / "none.csv" + ": cannot open: No such file or directory");
}

CommonPointLayout TabSeparated() {
  CommonPointLayout layout;
  layout.delimiter = FieldDelimiter::kTab;
  return layout;
}

// The fingerprint a report records is of the bytes read for the points,
// taken as they are read (it was the file read again): sizes and SHA-256
// as Python's hashlib gives them for the same bytes.
TEST(ReadCommonPoints, FingerprintsTheBytesRead) {
  std::string many;  // more than one read of the file's bytes
  for (int i = 1; i <= 30000; ++i) many += "K" + std::to_string(i) + ",1,2,3,4\n";
  const struct {
    const char* what;
    std::string bytes;
    CommonPointLayout layout;
    std::uint64_t size;
    const char* sha256;
  } rows[] = {
      {"UTF-8",
       "K1,1,2,3,4\r\nK2,5,6,7,8\r\n",
       {},
       24,
       "9a0a2c227461fdba41c907db79d6d4d0d748e26ea4df1283278086564f18df00"},
      // A UTF-16 file's own bytes, not the UTF-8 they are read as.
      {"UTF-16 LE with its BOM",
       std::string("\xFF\xFEK\0"
                   "1\0\t\0"
                   "1\0\t\0"
                   "2\0\t\0"
                   "3\0\t\0"
                   "4\0\r\0\n\0"
                   "K\0"
                   "2\0\t\0"
                   "5\0\t\0"
                   "6\0\t\0"
                   "7\0\t\0"
                   "8\0\r\0\n\0",
                   50),
       TabSeparated(), 50, "7fa420e646927aeaaaa690a0143a03ec9819f8622b8c0b10438fae471b49975b"},
      {"30000 points",
       many,
       {},
       438894,
       "1347af86e55f18e0337d9abc155eb87f230d61cf2d551c0d7af8e4ab4c8fc32d"},
  };
  TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const std::string path = dir.Write("c.csv", row.bytes);
    FileFingerprint read;
    auto points = ReadCommonPoints(path, row.layout, nullptr, &read);
    ASSERT_TRUE(points.ok()) << Describe(points.error());
    EXPECT_EQ(read.size, row.size);
    EXPECT_EQ(read.sha256, row.sha256);
  }
}

// Files laid out otherwise, as solve --points reads them with --columns,
// --delimiter and --skip-lines.
TEST(ReadCommonPoints, InALayoutOfItsOwn) {
  TempDir dir;
  const std::string path = dir / "c.txt";
  const struct {
    std::string bytes;
    std::string columns;
    FieldDelimiter delimiter;
    std::size_t skip;
    std::string result;  // the names and lines, or the message
  } rows[] = {
      {"Point;Code;Xs;Ys;Xc;Yc\r\nK1;a;1;2;3;4\r\nK2;b;5;6;7;8\r\n", "name,-,xs,ys,xc,yc",
       FieldDelimiter::kSemicolon, 1, "K1@2 1 2 3 4, K2@3 5 6 7 8"},
      {"1 2 3 4 \"K 1\"\n\t5\t6 7 8 K2\n", "XC,YC,XS,YS,NAME", FieldDelimiter::kWhitespace, 0,
       "K 1@1 3 4 1 2, K2@2 7 8 5 6"},
      {"K1\t1\t2\t3\t4\n", "name,xs,ys,xc,yc", FieldDelimiter::kTab, 0, "K1@1 1 2 3 4"},
      {"K1,a,1,2,3\n", "name,-,xs,ys,xc,yc", FieldDelimiter::kComma, 0,
       path + ":1: line \"K1,a,1,2,3\" has fewer than 6 fields (name, -, xs, ys, xc, yc)"},
      {"K1,1,2,3,4\n", "name,xs,ys,xc,yc", FieldDelimiter::kComma, 3,
       ""},  // every line skipped: no points, told by the run
      // Heights: each grid's where its column is given; blank or left off, none.
      {"K1,1,2,10.5,3,4,-9.25\nK2,5,6,,7,8\nK3,1,1,0,2,2, \n", "name,xs,ys,hs,xc,yc,hc",
       FieldDelimiter::kComma, 0,
       "K1@1 1 2 3 4 h 10.5 -9.25, K2@2 5 6 7 8 h - -, K3@3 1 1 2 2 h 0 -"},
      {"K1,1,2,3,4,12.5x\n", "name,xs,ys,xc,yc,hc", FieldDelimiter::kComma, 0,
       path + ":1: Hc field \"12.5x\" is not a number"},
  };
  for (const auto& row : rows) {
    dir.Write("c.txt", row.bytes);
    CommonPointLayout layout;
    auto fields = ParseCommonColumns(row.columns);
    ASSERT_TRUE(fields.ok()) << fields.error();
    layout.fields = *fields;
    layout.delimiter = row.delimiter;
    layout.skip_lines = row.skip;
    auto points = ReadCommonPoints(path, layout);
    // The coordinates here are whole numbers.
    auto whole = [](double v) { return std::to_string(static_cast<long long>(v)); };
    std::string got;
    if (!points) {
      got = Describe(points.error());
    } else {
      for (const CommonPoint& p : *points) {
        if (!got.empty()) got += ", ";
        got += p.name + "@" + std::to_string(p.line) + " " + whole(p.survey.x) + " " +
               whole(p.survey.y) + " " + whole(p.construction.x) + " " + whole(p.construction.y);
        if (std::count(layout.fields.begin(), layout.fields.end(), CommonField::kHs) +
                std::count(layout.fields.begin(), layout.fields.end(), CommonField::kHc) >
            0) {
          auto height = [](std::optional<double> h) { return h ? RoundTripText(*h) : "-"; };
          got += " h " + height(p.survey_h) + " " + height(p.construction_h);
        }
      }
    }
    EXPECT_EQ(got, row.result) << row.bytes;
  }
  const struct {
    const char* list;
    const char* message;
  } bad[] = {
      {"name,xs,ys,xc", "\"name,xs,ys,xc\" has no yc"},
      {"name,xs,ys,xc,yc,x",
       "\"name,xs,ys,xc,yc,x\": \"x\" is not one of name, xs, ys, xc, yc, hs, hc, - or skip"},
      {"name,xs,xs,xc,yc", "\"name,xs,xs,xc,yc\": xs is given twice"},
      {"xs,ys,xc,yc", "\"xs,ys,xc,yc\" has no name"},
      {"name,,xs,ys,xc,yc", "\"name,,xs,ys,xc,yc\" has an empty item"},
  };
  for (const auto& row : bad) {
    auto fields = ParseCommonColumns(row.list);
    ASSERT_FALSE(fields.ok()) << row.list;
    EXPECT_EQ(fields.error(), row.message);
  }
}

}  // namespace
}  // namespace torvane
