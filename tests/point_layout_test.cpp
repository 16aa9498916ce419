#include "batch/point_layout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "batch/conversion_run.h"
#include "batch/usual_line.h"
#include "report/result_table.h"
#include "temp_dir.h"

namespace torvane {
namespace {

using testing::TempDir;

constexpr PointField kName = PointField::kName, kCode = PointField::kCode, kX = PointField::kX,
                     kY = PointField::kY, kH = PointField::kH, kSkip = PointField::kSkip;
const std::vector<PointField> kUsual = PointLayout{}.fields;  // name, X, Y, H

// Lists read, and the fields written back as ColumnsText spells them.
TEST(ParseColumns, ListsAndTheirFaults) {
  const struct {
    const char* list;
    std::vector<PointField> fields;  // empty: rejected with `error`
    const char* error;               // or, where read, the list ColumnsText writes
  } rows[] = {
      {"name,code,y,x,h", {kName, kCode, kY, kX, kH}, "name,code,y,x,h"},
      {" Name , X,Y ", {kName, kX, kY}, "name,x,y"},
      {"-,skip,x,-,y,SKIP", {kSkip, kSkip, kX, kSkip, kY, kSkip}, "-,-,x,-,y,-"},
      {"x,y", {kX, kY}, "x,y"},
      {"name,,x,y", {}, "\"name,,x,y\" has an empty item"},
      {"name,x,y,", {}, "\"name,x,y,\" has an empty item"},
      {"", {}, "\"\" has an empty item"},
      {"name,east,x,y",
       {},
       "\"name,east,x,y\": \"east\" is not one of name, code, x, y, h, - or skip"},
      {"name,x,y,x", {}, "\"name,x,y,x\": x is given twice"},
      {"h,x,y,H", {}, "\"h,x,y,H\": h is given twice"},
      {"name,x,h", {}, "\"name,x,h\" has no y"},
      {"name,y", {}, "\"name,y\" has no x"},
      {"n\x1b[1m,x,y",
       {},
       "\"n\\x1b[1m,x,y\": \"n\\x1b[1m\" is not one of name, code, x, y, h, - or skip"},
  };
  for (const auto& row : rows) {
    auto parsed = ParseColumns(row.list);
    if (row.fields.empty()) {
      ASSERT_FALSE(parsed.ok()) << row.list;
      EXPECT_EQ(parsed.error(), row.error);
    } else {
      ASSERT_TRUE(parsed.ok()) << row.list << ": " << parsed.error();
      EXPECT_EQ(*parsed, row.fields) << row.list;
      EXPECT_EQ(ColumnsText(*parsed), row.error);
    }
  }
}

TEST(PointLayout, OnlyNameXYHByCommasIsTheDefault) {
  EXPECT_TRUE(PointLayout{}.IsDefault());
  PointLayout layout;
  layout.fields = {kName, kX, kY};
  EXPECT_FALSE(layout.IsDefault());
  layout = {};
  layout.delimiter = FieldDelimiter::kWhitespace;
  EXPECT_FALSE(layout.IsDefault());
  layout = {};
  layout.skip_lines = 1;
  EXPECT_FALSE(layout.IsDefault());
}

TEST(ParseLayoutLine, FieldsByLayout) {
  std::string texts;  // the fields' texts with CSV quoting taken back
  const std::vector<PointField> cass{kName, kCode, kY, kX, kH};
  const struct {
    const char* line;
    std::vector<PointField> fields;
    FieldDelimiter delimiter;
    const char *name, *code, *x, *y, *h;
    std::size_t count;
  } rows[] = {
      // South CASS: point, code, east (Y), north (X), height; a numeric code stays a code.
      {"1,,53165.478,31377.347,495.48", cass, FieldDelimiter::kComma, "1", "", "31377.347",
       "53165.478", "495.48", 5},
      {"K7, 128 ,53165.478,31377.347,495.48,x", cass, FieldDelimiter::kComma, "K7", "128",
       "31377.347", "53165.478", "495.48", 6},
      {"K7,128,53165.478,31377.347", cass, FieldDelimiter::kComma, "K7", "128", "31377.347",
       "53165.478", "", 4},
      {"  P1 \t 10.5   20.25\t3  ",
       {kName, kX, kY, kH},
       FieldDelimiter::kWhitespace,
       "P1",
       "",
       "10.5",
       "20.25",
       "3",
       4},
      {"P 1\t10.5\t\t3",
       {kName, kX, kSkip, kY},
       FieldDelimiter::kTab,
       "P 1",
       "",
       "10.5",
       "3",
       "",
       4},
      {"P1;1,5;2;3",
       {kName, kCode, kX, kY},
       FieldDelimiter::kSemicolon,
       "P1",
       "1,5",
       "2",
       "3",
       "",
       4},
      {"10,20", {kX, kY}, FieldDelimiter::kComma, "", "", "10", "20", "", 2},
      {"10,20", {kX, kY, kName}, FieldDelimiter::kComma, "", "", "10", "20", "", 2},
      // The usual layout: fields without their blanks, H missing or empty,
      // fields after H counted.
      {"III12 , 761.500 , 782.300 , 1211.210 ", kUsual, FieldDelimiter::kComma, "III12", "",
       "761.500", "782.300", "1211.210", 4},
      {"  III11 , 755.500 , 740.800 , 1215.101", kUsual, FieldDelimiter::kComma, "III11", "",
       "755.500", "740.800", "1215.101", 4},
      {"P1,1,2,3,code,more", kUsual, FieldDelimiter::kComma, "P1", "", "1", "2", "3", 6},
      {"P1, 1, 2", kUsual, FieldDelimiter::kComma, "P1", "", "1", "2", "", 3},
      {"P1,1,2,", kUsual, FieldDelimiter::kComma, "P1", "", "1", "2", "", 4},
      {"\tP 1\t,-0.5,1e3,high", kUsual, FieldDelimiter::kComma, "P 1", "", "-0.5", "1e3", "high",
       4},
      {",1,2,3", kUsual, FieldDelimiter::kComma, "", "", "1", "2", "3", 4},
  };
  for (const auto& row : rows) {
    PointLayout layout;
    layout.fields = row.fields;
    layout.delimiter = row.delimiter;
    std::size_t count = 0;
    auto parsed = ParseLayoutLine(row.line, 4, layout, &texts, &count);
    ASSERT_TRUE(parsed.ok()) << row.line << ": " << Describe(parsed.error());
    ASSERT_TRUE(parsed.value().has_value()) << row.line;
    const PointRecord& p = *parsed.value();
    EXPECT_EQ(p.line, 4u);
    EXPECT_EQ(p.name, row.name) << row.line;
    EXPECT_EQ(p.code, row.code) << row.line;
    EXPECT_EQ(p.x_text, row.x) << row.line;
    EXPECT_EQ(p.y_text, row.y) << row.line;
    EXPECT_EQ(p.h_text, row.h) << row.line;
    EXPECT_EQ(count, row.count) << row.line;
    EXPECT_EQ(p.x, std::stod(row.x));
    EXPECT_EQ(p.y, std::stod(row.y));
  }
}

TEST(ParseLayoutLine, BlankLinesAndFaults) {
  std::string texts;  // the fields' texts with CSV quoting taken back
  PointLayout cass;
  cass.fields = {kName, kCode, kY, kX, kH};
  PointLayout spaced;
  spaced.delimiter = FieldDelimiter::kWhitespace;
  PointLayout usual;
  PointLayout usual_after_a_header;  // read line by line, as a layout of its own
  usual_after_a_header.skip_lines = 1;
  for (const char* blank : {"", " ", " \t "}) {
    for (const PointLayout* layout : {&cass, &spaced, &usual}) {
      auto parsed = ParseLayoutLine(blank, 1, *layout, &texts);
      ASSERT_TRUE(parsed.ok());
      EXPECT_FALSE(parsed.value().has_value());
    }
  }
  const struct {
    const char* line;
    const PointLayout* layout;
    const char* message;
  } rows[] = {
      {"1,,53165.478", &cass,
       "p.dat:3: line \"1,,53165.478\" has fewer than 4 fields (name, code, y, x)"},
      {"P1 10.5", &spaced, "p.dat:3: line \"P1 10.5\" has fewer than 3 fields (name, x, y)"},
      {"1,,53165.478,N31377", &cass, "p.dat:3: X field \"N31377\" is not a number"},
      {"1,,,31377", &cass, "p.dat:3: Y field \"\" is not a number"},
      {"P1 10,5 20", &spaced, "p.dat:3: X field \"10,5\" is not a number"},
      // The usual layout names the three fields in words of its own.
      {"P1,abc,2,3", &usual, "p.dat:3: X field \"abc\" is not a number"},
      {"P1,1,,3", &usual, "p.dat:3: Y field \"\" is not a number"},
      {"P1, 755.5m ,2", &usual, "p.dat:3: X field \"755.5m\" is not a number"},
      {"P1,1e400,2", &usual, "p.dat:3: X field \"1e400\" is too large"},
      {"P1,1,inf", &usual, "p.dat:3: Y field \"inf\" is not a number"},
      {"a,b", &usual, "p.dat:3: line \"a,b\" has fewer than three fields (name, X, Y)"},
      {" P1 ", &usual, "p.dat:3: line \"P1\" has fewer than three fields (name, X, Y)"},
      {"P1，755.5，740.8", &usual,  // full-width commas
       "p.dat:3: line \"P1，755.5，740.8\" has fewer than three fields (name, X, Y)"},
      {",,", &usual, "p.dat:3: X field \"\" is not a number"},
      {"a,b", &usual_after_a_header, "p.dat:3: line \"a,b\" has fewer than 3 fields (name, x, y)"},
  };
  for (const auto& row : rows) {
    auto parsed = ParseLayoutLine(row.line, 3, *row.layout, &texts);
    ASSERT_FALSE(parsed.ok()) << row.line;
    RunError e = parsed.error();
    e.path = "p.dat";
    EXPECT_EQ(Describe(e), row.message);
  }
}

// The one-pass reading of usual lines and the field splitter on the same
// bytes: every line the one-pass reading takes is the point the usual
// layout makes of it, and it leaves every line with a quote, NUL or a byte
// that is not ASCII in a field it does not read as a number.
TEST(ParseUsualLine, TakesOnlyWhatTheUsualLayoutReadsAlike) {
  std::string texts;  // the fields' texts with CSV quoting taken back
  const PointLayout usual;
  std::mt19937 random(20261208);
  // Fields of a few of these bytes, or numbers as files write them, with
  // blanks around them; some lines of bytes alone.
  const std::string alphabet = std::string("P17.-, \te+\"\x80", 12) + '\0';
  const char* const numbers[] = {"17", "-1.7", "+71.", ".17", "1e7", "7.1.1", "-", "1 7"};
  const char* const blanks[] = {"", "", " ", "\t "};
  std::size_t taken = 0;
  for (int round = 0; round < 200000; ++round) {
    std::string line;
    if (random() % 4 == 0) {
      line.assign(random() % 16, ' ');
      for (char& c : line) c = alphabet[random() % alphabet.size()];
    } else {
      for (std::size_t field = 0, count = 1 + random() % 6; field < count; ++field) {
        if (field != 0) line += ',';
        line += blanks[random() % 4];
        if (random() % 3 == 0) {
          for (std::size_t n = random() % 4; n > 0; --n)
            line += alphabet[random() % alphabet.size()];
        } else {
          line += numbers[random() % 8];
        }
        line += blanks[random() % 4];
      }
    }
    // A line end after the line, then room for reading a word at it.
    const std::string bytes = line + "\n" + std::string(8, '\n');
    PointRecord fast;
    std::size_t fast_fields = 0, fields = 0;
    bool unusual = false;
    const char* end =
        ParseUsualLine(bytes.data(), bytes.data() + bytes.size(), 2, &fast, &fast_fields, &unusual);
    if (end == nullptr) continue;
    ASSERT_EQ(end, bytes.data() + line.size()) << '"' << line << '"';
    const bool odd = line.find_first_of(std::string("\"\x80\0", 3)) != std::string::npos;
    ASSERT_EQ(unusual, odd) << '"' << line << '"';
    if (unusual) continue;
    ++taken;
    auto parsed = ParseLayoutLine(line, 2, usual, &texts, &fields);
    ASSERT_TRUE(parsed.ok() && parsed->has_value()) << '"' << line << '"';
    const PointRecord& slow = **parsed;
    EXPECT_EQ(fast_fields, fields) << line;
    EXPECT_EQ(fast.line, slow.line) << line;
    EXPECT_EQ(fast.name, slow.name) << line;
    EXPECT_EQ(fast.x_text, slow.x_text) << line;
    EXPECT_EQ(fast.y_text, slow.y_text) << line;
    EXPECT_EQ(fast.h_text, slow.h_text) << line;
    EXPECT_EQ(fast.x, slow.x) << line;
    EXPECT_EQ(fast.y, slow.y) << line;
  }
  EXPECT_GT(taken, 5000u);  // the lines reach the one-pass reading, not only the splitter
}

TEST(PointFileReader, LayoutSkipsHeaderLinesAndKeepsLineNumbers) {
  TempDir dir;
  PointLayout layout;
  layout.fields = {kName, kCode, kY, kX, kH};
  layout.skip_lines = 2;
  // The header's second line is blank: skipped lines count whether blank or not.
  const std::string path =
      dir.Write("p.dat", "point,code,east,north,h\r\n\r\n\r\nA,1,2,3,4\r\nB,,5,6\r\n");
  auto reader = PointFileReader::Open(path, layout);
  ASSERT_TRUE(reader.ok());
  PointRecord points[4];
  EXPECT_EQ(reader.value()->NextUsualPoints(points, 4), 0u);  // a layout goes line by line
  std::vector<std::string> seen;
  for (;;) {
    auto p = reader.value()->Next();
    ASSERT_TRUE(p.ok()) << Describe(p.error());
    if (!p.value()) break;
    seen.push_back(std::string(p.value()->name) + "/" + std::string(p.value()->code) + " " +
                   std::to_string(p.value()->line) + " " + std::string(p.value()->x_text));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"A/1 4 3", "B/ 5 6"}));

  // Not skipped, the header is a bad point line, told as a header (it was
  // "X field \"north\" is not a number"); skipping past the end is told too.
  const struct {
    std::size_t skip;
    std::string message;
  } rows[] = {
      {0, path + ":1: line \"point,code,east,north,h\" looks like a header, not a point: no number "
                 "in X and Y (give --skip-lines=1 to pass over it)"},
      {9, path + ": no points: the file has 5 lines, and --skip-lines=9 skips them all"},
      {5, path + ": no points: the file has 5 lines, and --skip-lines=5 skips them all"},
  };
  for (const auto& row : rows) {
    RunRequest request;
    request.point_path = path;
    request.result_path = dir / "r.txt";
    request.layout = layout;
    request.layout.skip_lines = row.skip;
    auto run = ConvertRun(request, RunParams{}, *MakeTableWriter());
    ASSERT_FALSE(run.ok()) << row.skip;
    EXPECT_EQ(Describe(run.error()), row.message);
  }
}

}  // namespace
}  // namespace torvane
