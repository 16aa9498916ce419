#include "batch/point_layout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "batch/conversion_run.h"
#include "report/result_table.h"
#include "temp_dir.h"

namespace torvane {
namespace {

using testing::TempDir;

constexpr PointField kName = PointField::kName, kCode = PointField::kCode, kX = PointField::kX,
                     kY = PointField::kY, kH = PointField::kH, kSkip = PointField::kSkip;

TEST(ParseColumns, ListsAndTheirFaults) {
  const struct {
    const char* list;
    std::vector<PointField> fields;  // empty: rejected with `error`
    const char* error;
  } rows[] = {
      {"name,code,y,x,h", {kName, kCode, kY, kX, kH}, ""},
      {" Name , X,Y ", {kName, kX, kY}, ""},
      {"-,skip,x,-,y,SKIP", {kSkip, kSkip, kX, kSkip, kY, kSkip}, ""},
      {"x,y", {kX, kY}, ""},
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
  for (const char* blank : {"", " \t "}) {
    for (const PointLayout* layout : {&cass, &spaced}) {
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
  };
  for (const auto& row : rows) {
    auto parsed = ParseLayoutLine(row.line, 3, *row.layout, &texts);
    ASSERT_FALSE(parsed.ok()) << row.line;
    RunError e = parsed.error();
    e.path = "p.dat";
    EXPECT_EQ(Describe(e), row.message);
  }
}

// The usual layout spelt out reads every line as the point-file reader does.
TEST(ParseLayoutLine, UsualLayoutAgreesWithParsePointLine) {
  std::string texts;  // the fields' texts with CSV quoting taken back
  std::string usual_texts;
  const PointLayout usual;
  std::mt19937 random(20261208);
  const std::string alphabet = "P17.-, \te+\"";
  for (int round = 0; round < 200000; ++round) {
    std::string line(random() % 16, ' ');
    for (char& c : line) c = alphabet[random() % alphabet.size()];
    std::size_t fields = 0, usual_fields = 0;
    auto expected = ParsePointLine(line, 2, &texts, &fields);
    auto parsed = ParseLayoutLine(line, 2, usual, &usual_texts, &usual_fields);
    ASSERT_EQ(parsed.ok(), expected.ok()) << '"' << line << '"';
    if (!expected.ok()) {
      EXPECT_EQ(parsed.error().kind, expected.error().kind) << line;
      EXPECT_EQ(parsed.error().field_text, expected.error().field_text) << line;
      continue;
    }
    ASSERT_EQ(parsed->has_value(), expected->has_value()) << line;
    if (!expected->has_value()) continue;
    const PointRecord &a = **parsed, &b = **expected;
    EXPECT_EQ(usual_fields, fields) << line;
    EXPECT_EQ(a.name, b.name) << line;
    EXPECT_EQ(a.x_text, b.x_text) << line;
    EXPECT_EQ(a.y_text, b.y_text) << line;
    EXPECT_EQ(a.h_text, b.h_text) << line;
    EXPECT_EQ(a.x, b.x) << line;
    EXPECT_EQ(a.y, b.y) << line;
  }
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
