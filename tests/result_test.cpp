#include <gtest/gtest.h>

#include "batch/result_path.h"
#include "report/result_table.h"

namespace torvane {
namespace {

TEST(ResultPathFor, ReplacesOnlyARealExtension) {
  // folder: nullptr beside the point file (ResultPathFor), else ResultPathIn.
  const struct {
    const char *point, *result;
    const char* extension = ".txt";
    const char* folder = nullptr;
  } rows[] = {
      {"D:\\data\\pts.csv", "D:\\data\\pts转化后成果表.txt"},
      {"D:\\data\\pts.dat", "D:\\data\\pts转化后成果表.txt"},
      {"D:\\data\\list", "D:\\data\\list转化后成果表.txt"},
      {"pts.xlsx", "pts转化后成果表.txt"},
      // Names are taken as given: " p.csv" is not "p.csv", and "p.csv " has
      // no extension, so neither takes the table of "p.csv".
      {" p.csv", " p转化后成果表.txt"},
      {"p.csv ", "p.csv 转化后成果表.txt"},
      {"pts ", "pts 转化后成果表.txt"},
      {"/home/s/my pts.v2 final", "/home/s/my pts.v2 final转化后成果表.txt"},
      {"/home/s.v1/list", "/home/s.v1/list转化后成果表.txt"},
      {"/home/s/.points", "/home/s/.points转化后成果表.txt"},
      {"/home/s/a.b.csv", "/home/s/a.b转化后成果表.txt"},
      {"D:\\data\\pts转化后成果表.txt", "D:\\data\\pts转化后成果表转化后成果表.txt"},
      {"/home/测量/点.csv", "/home/测量/点转化后成果表.txt"},
      // Other formats, and results gathered in a folder under the same names.
      {"/home/s/pts.csv", "/home/s/pts转化后成果表.csv", ".csv"},
      {"pts", "pts转化后成果表.json", ".json"},
      {"/home/s/pts.dat", "out/pts转化后成果表.txt", ".txt", "out/"},
      {"D:\\data\\pts.dat", "out/pts转化后成果表.csv", ".csv", "out"},
      {"a/b.c/pts", "D:\\out\\pts转化后成果表.txt", ".txt", "D:\\out\\"},
      {" p.csv", "/r/ p转化后成果表.json", ".json", "/r"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(row.folder ? ResultPathIn(row.folder, row.point, row.extension)
                         : ResultPathFor(row.point, row.extension),
              row.result)
        << row.point;
  }
}

// The table line of a point given by its name and height texts.
std::string Line(std::string_view name, PlanePoint p, std::string_view h,
                 TextEncoding encoding = TextEncoding::kUtf8) {
  PointRecord point;
  point.name = name;
  point.h_text = h;
  std::string out(ResultLineCapacity(point), '\0');
  out.resize(WriteResultLine(out.data(), point, p, encoding) - out.data());
  return out;
}

TEST(ResultLine, ColumnsThirteenThirtyOneFifty) {
  //         1234567890123456789012345678901234567890123456789
  EXPECT_EQ(Line("III11", {291.6406590783637, -7.114490307649461}, "1215.101"),
            "III11       291.64066         -7.11449           1215.1010\r\n");
  EXPECT_EQ(Line("", {0.5, -0.25}, "0"),
            "            .50000            -.25000            .0000\r\n");
  EXPECT_EQ(Line("P", {1, 2}, ""), "P           1.00000           2.00000            \r\n");
  EXPECT_EQ(Line("P", {1, 2}, "12.5m"),
            "P           1.00000           2.00000            12.5m\r\n");
  EXPECT_EQ(Line("P", {1, 2}, "-1e3"),
            "P           1.00000           2.00000            -1000.0000\r\n");
}

TEST(ResultLine, ItemsThatCannotStartAtTheirColumnFollowAfterOneSpace) {
  EXPECT_EQ(Line("ABCDEFGHIJK", {1, 2}, "3"),  // 11 columns: fits
            "ABCDEFGHIJK 1.00000           2.00000            3.0000\r\n");
  EXPECT_EQ(Line("ABCDEFGHIJKL", {1, 2}, "3"),  // 12 columns: one space
            "ABCDEFGHIJKL 1.00000          2.00000            3.0000\r\n");
  EXPECT_EQ(Line("A-NAME-OF-20-COLUMNS", {1, 2}, "3"),
            "A-NAME-OF-20-COLUMNS 1.00000  2.00000            3.0000\r\n");
  EXPECT_EQ(Line("P", {12345678901234.5, 2}, "3"),
            "P           12345678901234.50000 2.00000         3.0000\r\n");
  // X is rounded to 15 digits before its five decimals.
  EXPECT_EQ(Line("P", {123456789012345.5, 2}, "3"),
            "P           123456789012346.00000 2.00000        3.0000\r\n");
}

TEST(ResultLine, NamesTakeTheirDisplayColumns) {
  // UTF-8: two columns for a Wide or Fullwidth character, one for any other;
  // GBK: one a byte. The X column lines up after the name's columns.
  const struct {
    const char* name;
    TextEncoding encoding;
    const char* line;
  } rows[] = {
      {"点1", TextEncoding::kUtf8, "点1         1.00000           2.00000            3.0000\r\n"},
      {"\xB5\xE3"  // 点 in GBK
       "1",
       TextEncoding::kGbk,
       "\xB5\xE3"
       "1         1.00000           2.00000            3.0000\r\n"},
      {"控制点测量一", TextEncoding::kUtf8WithBom,
       "控制点测量一 1.00000          2.00000            3.0000\r\n"},
      {"Gré1", TextEncoding::kUtf8, "Gré1        1.00000           2.00000            3.0000\r\n"},
      {"Ж1", TextEncoding::kUtf8, "Ж1          1.00000           2.00000            3.0000\r\n"},
      {"Ａ1", TextEncoding::kUtf8, "Ａ1         1.00000           2.00000            3.0000\r\n"},
      {"ｶ1", TextEncoding::kUtf8, "ｶ1          1.00000           2.00000            3.0000\r\n"},
      {"😀1", TextEncoding::kUtf8, "😀1         1.00000           2.00000            3.0000\r\n"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Line(row.name, {1, 2}, "3", row.encoding), row.line) << row.name;
  }
}

}  // namespace
}  // namespace torvane
