#include "batch/common_points.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

}  // namespace
}  // namespace torvane
