// Cells copied from a spreadsheet and pasted into the common-point table:
// State (the clipboard's text, as Excel and WPS put it there) / Expected
// (the rows, or the message).
#include "site/pasted_points.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace torvane {
namespace {

constexpr PointRole kFit = PointRole::kFit, kCheck = PointRole::kCheck, kOff = PointRole::kOff;

TEST(ParsePastedPoints, Rows) {
  const struct {
    const char* state;
    std::string text;
    std::vector<ProjectPoint> rows;
  } cases[] = {
      {"header, CR LF, a last row end",
       "点名\t测图X\t测图Y\t施工X\t施工Y\r\nK1\t3412.588\t5127.348\t0.000\t0.000\r\n"
       "K2\t3624.036\t5260.721\t250.000\t0\r\n",
       {{"K1", kFit, "3412.588", "5127.348", "0.000", "0.000"},
        {"K2", kFit, "3624.036", "5260.721", "250.000", "0"}}},
      {"no header, LF, no last row end, blanks around cells, a blank row",
       "K1 \t 1\t2\t3\t4\n\n\t\t\t\t\nK2\t5\t6\t7\t8",
       {{"K1", kFit, "1", "2", "3", "4"}, {"K2", kFit, "5", "6", "7", "8"}}},
      {"a 6th role cell, both spellings, empty, and cells after it",
       "K1\t1\t2\t3\t4\t检核\nK2\t1\t2\t3\t4\tOff\nK3\t1\t2\t3\t4\t\nK4\t1\t2\t3\t4\t不用\t1215.1\n"
       "K5\t1\t2\t3\t4\tfit",
       {{"K1", kCheck, "1", "2", "3", "4"},
        {"K2", kOff, "1", "2", "3", "4"},
        {"K3", kFit, "1", "2", "3", "4"},
        {"K4", kOff, "1", "2", "3", "4"},
        {"K5", kFit, "1", "2", "3", "4"}}},
      // A fixed fault: construction-first columns were taken in the table's
      // order, and the site solved as the inverse transformation.
      {"a header of construction-first columns places them",
       "点名\tX施\tY施\tX测\tY测\r\nK2\t250.000\t0\t3624.036\t5260.721\r\n",
       {{"K2", kFit, "3624.036", "5260.721", "250.000", "0"}}},
      {"a header of 建筑坐标 A, B and survey north, east, a height after the survey's",
       "点号\t建筑坐标A\t建筑坐标B\t北\t东\tH\nK2\t250\t0\t3624.036\t5260.721\t12.5\n",
       {{"K2", kFit, "3624.036", "5260.721", "250", "0", "12.5", ""}}},
      {"a header of heights after each grid's X and Y; a short row has no last height",
       "点名\tX\tY\t高程\tX\tY\tH\nK1\t1\t2\t１２．５\t3\t4\t-0.5\nK2\t1\t2\t\t3\t4\n",
       {{"K1", kFit, "1", "2", "3", "4", "12.5", "-0.5"}, {"K2", kFit, "1", "2", "3", "4"}}},
      {"a header naming each height's grid, construction first",
       "施工H\t点名\t测图X\t测图Y\t施工X\t施工Y\t测图H\n9\tK1\t1\t2\t3\t4\t8\n",
       {{"K1", kFit, "1", "2", "3", "4", "8", "9"}}},
      {"no header, seven cells: name, Xs, Ys, Hs, Xc, Yc, Hc, then the role",
       "K1\t1\t2\t12.5\t3\t4\t-0.5\nK2\t1\t2\t\t3\t4\t\t检核\nK3\t1\t2\tx\ty\t4\t0\n",
       {{"K1", kFit, "1", "2", "3", "4", "12.5", "-0.5"},
        {"K2", kCheck, "1", "2", "3", "4"},
        {"K3", kFit, "1", "2", "y", "4", "x", "0"}}},
      {"seven cells under a header that places not every field: the order with heights",
       "名称\t测图X\t测图Y\tZ\tA\tB\tZ\nK1\t1\t2\t12.5\t3\t4\t-0.5\n",
       {{"K1", kFit, "1", "2", "3", "4", "12.5", "-0.5"}}},
      {"seven cells with no number in the 6th: the role there, the 7th ignored",
       "K1\t1\t2\t3\t4\t检核\t12.5\nK2\t1\t2\t3\t4\t\t7\n",
       {{"K1", kCheck, "1", "2", "3", "4"}, {"K2", kFit, "1", "2", "3", "4"}}},
      {"a row of six cells among seven: no heights, the role in the 6th",
       "K1\t1\t2\t3\t4\t不用\nK2\t1\t2\t3\t4\t\t5\n",
       {{"K1", kOff, "1", "2", "3", "4"}, {"K2", kFit, "1", "2", "3", "4"}}},
      {"an English header, east first, with units",
       "Name\tSurvey E (m)\tSurvey N (m)\tSite X\tSite Y\nK2\t5260.721\t3624.036\t250\t0\n",
       {{"K2", kFit, "3624.036", "5260.721", "250", "0"}}},
      {"a header that places not every field: the table's order, to be asked about",
       "名称\t测图X\t测图Y\tA\tB\nK2\t3624.036\t5260.721\t250\t0\n",
       {{"K2", kFit, "3624.036", "5260.721", "250", "0"}}},
      {"a header with a role caption",
       "点名\t测图X\t测图Y\t施工X\t施工Y\t角色\nK1\t1\t2\t3\t4\t检核\n",
       {{"K1", kCheck, "1", "2", "3", "4"}}},
      {"quoted cells: a line end, a quote and a TAB inside",
       "\"K\r\n1\"\t1\t2\t3\t4\r\n\"P \"\"7\"\"\"\t5\t6\t7\t8\r\n\"a\tb\"\t1\t2\t3\t4\r\n",
       {{"K\r\n1", kFit, "1", "2", "3", "4"},
        {"P \"7\"", kFit, "5", "6", "7", "8"},
        {"a\tb", kFit, "1", "2", "3", "4"}}},
      {"a quote that opens no quoted cell is text",
       "K\"1\t1\t2\t3\t4\n\"K2\t1\t2\t3\t4\n",
       {{"K\"1", kFit, "1", "2", "3", "4"}, {"\"K2", kFit, "1", "2", "3", "4"}}},
      {"Chinese names kept byte for byte",
       "控制点一\t3412.588\t5127.348\t0\t0\n控制点二\t1\t2\t3\t4\n",
       {{"控制点一", kFit, "3412.588", "5127.348", "0", "0"},
        {"控制点二", kFit, "1", "2", "3", "4"}}},
      {"bad numbers go into the table as they are, to be marked there",
       "K1\t12a.5\t\t1e999\t4\n",
       {{"K1", kFit, "12a.5", "", "1e999", "4"}}},
      {"a first row of words alone is no header: nothing below has a number",
       "点名\t测图X\t测图Y\t施工X\t施工Y\n",
       {{"点名", kFit, "测图X", "测图Y", "施工X", "施工Y"}}},
      {"a first row with an empty coordinate is a point, not a header",
       "K1\t\tx\tx\tx\nK2\t1\t2\t3\t4\n",
       {{"K1", kFit, "", "x", "x", "x"}, {"K2", kFit, "1", "2", "3", "4"}}},
      {"nothing but blank rows", "\r\n\r\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    auto rows = ParsePastedPoints(c.text);
    ASSERT_TRUE(rows.ok()) << rows.error();
    EXPECT_EQ(rows->points, c.rows);
  }
}

// The order an unplaced paste was taken in, as the paste asks before it is
// taken: State (the clipboard's text) / Expected (the order told).
TEST(ParsePastedPoints, TellsTheOrderTaken) {
  const struct {
    std::string text;
    const char* order;
  } cases[] = {
      {"K1\t1\t2\t3\t4\n", "点名、测图X、测图Y、施工X、施工Y"},
      {"K1\t1\t2\t3\t4\t检核\t12.5\n", "点名、测图X、测图Y、施工X、施工Y"},
      {"K1\t1\t2\t12.5\t3\t4\t-0.5\n", "点名、测图X、测图Y、测图H、施工X、施工Y、施工H"},
  };
  for (const auto& c : cases) {
    auto rows = ParsePastedPoints(c.text);
    ASSERT_TRUE(rows.ok()) << rows.error();
    EXPECT_EQ(PastedOrderText(*rows), c.order) << c.text;
  }
}

// A header's captions / how they are placed, as the paste shows it before
// it is taken, and whether the paste may take the columns so.
TEST(ReadHeader, PlacesTheColumns) {
  const struct {
    std::vector<std::string> captions;
    std::string placement;
    bool complete;
  } cases[] = {
      {{"点名", "X施", "Y施", "X测", "Y测"},
       "点名 ← 第 1 列“点名”\n测图X ← 第 4 列“X测”\n测图Y ← 第 5 列“Y测”\n"
       "施工X ← 第 2 列“X施”\n施工Y ← 第 3 列“Y施”",
       true},
      {{"点", "X", "Y", "X", "Y", "角色"},
       "点名 ← 第 1 列“点”\n测图X ← 第 2 列“X”\n测图Y ← 第 3 列“Y”\n"
       "施工X ← 第 4 列“X”\n施工Y ← 第 5 列“Y”\n角色 ← 第 6 列“角色”",
       true},
      {{"编号", "东", "北", "高程", "备注"},
       "点名 ← 第 1 列“编号”\n测图X ← 第 3 列“北”\n测图Y ← 第 2 列“东”\n测图H ← 第 4 列“高程”\n"
       "施工X ← （找不到）\n施工Y ← （找不到）\n第 5 列“备注”无法识别",
       false},
      {{"点名", "X", "Y", "H", "X", "Y", "高程(m)"},
       "点名 ← 第 1 列“点名”\n测图X ← 第 2 列“X”\n测图Y ← 第 3 列“Y”\n测图H ← 第 4 列“H”\n"
       "施工X ← 第 5 列“X”\n施工Y ← 第 6 列“Y”\n施工H ← 第 7 列“高程(m)”",
       true},
      {{"H", "点名", "测图X", "施工X", "测图Y", "施工Y", "施工H", "Z"},
       "点名 ← 第 2 列“点名”\n测图X ← 第 3 列“测图X”\n测图Y ← 第 5 列“测图Y”\n"
       "施工X ← 第 4 列“施工X”\n施工Y ← 第 6 列“施工Y”\n施工H ← 第 7 列“施工H”\n"
       "第 1 列“H”是高程，不使用\n第 8 列“Z”无法识别",
       false},
      {{"点名", "测图X", "测图X", "施工X", "施工Y"},
       "点名 ← 第 1 列“点名”\n测图X ← 第 2 列“测图X”\n测图Y ← （找不到）\n"
       "施工X ← 第 4 列“施工X”\n施工Y ← 第 5 列“施工Y”\n第 3 列“测图X”无法识别",
       false},
  };
  for (const auto& c : cases) {
    const HeaderPlacement placement = ReadHeader(c.captions);
    EXPECT_EQ(PlacementText(placement, c.captions), c.placement);
    EXPECT_EQ(placement.Complete(), c.complete) << c.placement;
  }
}

TEST(ParsePastedPoints, Rejects) {
  const struct {
    const char* state;
    std::string text;
    const char* message;
  } cases[] = {
      {"a short row, counted with the blank rows before it", "K1\t1\t2\t3\t4\n\nK2\t1\t2\t3\n",
       "第 3 行只有 4 个单元格，公共点要有 5 个（点名、测图X、测图Y、施工X、施工Y）："
       "“K2”、“1”、“2”、“3”"},
      {"a single cell", "3412.588",
       "第 1 行只有 1 个单元格，公共点要有 5 个（点名、测图X、测图Y、"
       "施工X、施工Y）：“3412.588”"},
      {"a role that is none", "K1\t1\t2\t3\t4\t平差\n",
       "第 1 行的角色 “平差” 不是 参与平差、检核、不用（或 fit、check、off）之一"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    auto rows = ParsePastedPoints(c.text);
    ASSERT_FALSE(rows.ok());
    EXPECT_EQ(rows.error(), c.message);
  }
}

}  // namespace
}  // namespace torvane
