// The common-point table read for a solve: State (the rows) / Expected (the
// points of each role with their rows, and the problems).
#include "site/site_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "site/common_points.h"

namespace torvane {
namespace {

constexpr PointRole kFit = PointRole::kFit, kCheck = PointRole::kCheck, kOff = PointRole::kOff;

std::string Shortest(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// "K1@0" for each point with its table row, and " Hs=12.5", " Hc=-0.5" for
// the heights it has.
std::vector<std::string> Named(const std::vector<CommonPoint>& points,
                               const std::vector<std::size_t>& rows) {
  EXPECT_EQ(points.size(), rows.size());
  std::vector<std::string> named;
  for (std::size_t i = 0; i < points.size() && i < rows.size(); ++i) {
    EXPECT_EQ(points[i].line, 0u);
    named.push_back(points[i].name + "@" + std::to_string(rows[i]));
    if (points[i].survey_h) named.back() += " Hs=" + Shortest(*points[i].survey_h);
    if (points[i].construction_h) named.back() += " Hc=" + Shortest(*points[i].construction_h);
  }
  return named;
}

// The rows' problems, then "height " and the heights' problems.
std::vector<std::string> Messages(const SitePoints& points) {
  std::vector<std::string> messages;
  for (const auto* list : {&points.problems, &points.height_problems}) {
    for (const CellProblem& p : *list) {
      messages.push_back((list == &points.height_problems ? "height " : "") +
                         std::to_string(p.row) + "/" + std::to_string(p.column) + " " + p.message);
    }
  }
  return messages;
}

// Expected values: the problems as the window must word them; rows with a
// problem in no role.
TEST(ReadSitePoints, RolesAndProblems) {
  const struct {
    const char* state;
    std::vector<ProjectPoint> rows;
    std::vector<std::string> fit, check, off, problems;  // problems: "row/column message"
  } cases[] = {
      {"good rows of each role, names trimmed",
       {{"K1", kFit, "1", "2", "3", "4"},
        {" K2 ", kCheck, "1", "2", "3", "4"},
        {"K3", kOff, " 1 ", "2", "3", "4"},
        {"K4", kFit, "1", "2", "3", "4"}},
       {"K1@0", "K4@3"},
       {"K2@1"},
       {"K3@2"},
       {}},
      {"an empty cell, a cell not a number, one too large",
       {{"K1", kFit, "", "2", "3", "4"},
        {"K2", kFit, "12a.5", "2", "3", "4"},
        {"K3", kCheck, "1", "2", "3", "1e999"},
        {"K4", kFit, "1", "2", "3", "4"}},
       {"K4@3"},
       {},
       {},
       {"0/2 第 1 行 测图X 为空", "1/2 第 2 行 测图X “12a.5” 不是数字",
        "2/6 第 3 行 施工Y “1e999” 数值过大"}},
      {"a name used twice: the later row marked, naming the first; a bad row's name counts",
       {{"K1", kFit, "1", "2", "3", "4"},
        {"K2", kFit, "x", "2", "3", "4"},
        {"K1", kCheck, "1", "2", "3", "4"},
        {"K2 ", kFit, "1", "2", "3", "4"}},
       {"K1@0"},
       {},
       {},
       {"1/2 第 2 行 测图X “x” 不是数字", "2/1 第 3 行 点名 “K1” 与第 1 行重复",
        "3/1 第 4 行 点名 “K2” 与第 2 行重复"}},
      {"an empty name; a row empty in every cell is one being typed",
       {{"", kFit, "1", "2", "3", "4"},
        {" ", kFit, "", " ", "", ""},
        {"K2", kOff, "1", "2", "3", "4"}},
       {},
       {},
       {"K2@2"},
       {"0/1 第 1 行 点名 为空"}},
      {"Chinese names and every coordinate cell wrong at once",
       {{"控制点一", kFit, "1", "2", "3", "4"}, {"控制点二", kFit, "a", "", "1,5", "inf"}},
       {"控制点一@0"},
       {},
       {},
       {"1/2 第 2 行 测图X “a” 不是数字", "1/3 第 2 行 测图Y 为空",
        "1/5 第 2 行 施工X “1,5” 不是数字", "1/6 第 2 行 施工Y “inf” 不是数字"}},
      {"heights: an empty one is none; a bad one leaves the point without it, not out",
       {{"K1", kFit, "1", "2", "3", "4", "12.5", " -0.5 "},
        {"K2", kCheck, "1", "2", "3", "4", "", "7"},
        {"K3", kFit, "1", "2", "3", "4", "12a", "1e999"},
        {"K4", kOff, "x", "2", "3", "4", "abc", ""},
        {"K5", kOff, "1", "2", "3", "4", "1,5", "8"}},
       {"K1@0 Hs=12.5 Hc=-0.5", "K3@2"},
       {"K2@1 Hc=7"},
       {"K5@4 Hc=8"},
       {"3/2 第 4 行 测图X “x” 不是数字", "height 2/4 第 3 行 测图H “12a” 不是数字",
        "height 2/7 第 3 行 施工H “1e999” 数值过大", "height 3/4 第 4 行 测图H “abc” 不是数字",
        "height 4/4 第 5 行 测图H “1,5” 不是数字"}},
      {"a row with a height alone is not one being typed",
       {{"", kFit, "", "", "", "", "", " 3 "}},
       {},
       {},
       {},
       {"0/1 第 1 行 点名 为空", "0/2 第 1 行 测图X 为空", "0/3 第 1 行 测图Y 为空",
        "0/5 第 1 行 施工X 为空", "0/6 第 1 行 施工Y 为空"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    const SitePoints points = ReadSitePoints(c.rows);
    EXPECT_EQ(Named(points.fit, points.fit_rows), c.fit);
    EXPECT_EQ(Named(points.check, points.check_rows), c.check);
    EXPECT_EQ(Named(points.off, points.off_rows), c.off);
    EXPECT_EQ(Messages(points), c.problems);
  }
}

// Expected values: torvane-cli's own reading of the same texts as a
// common-point line, compared bit for bit.
TEST(ReadSitePoints, NumbersAreTheCommandLines) {
  const struct {
    const char* xs;
    const char* ys;
    const char* xc;
    const char* yc;
  } cases[] = {
      {"0.1", "4567890.123456789", "-0.000", "1e-7"},
      {"3412586.215", " 501127.353 ", "+420.", ".5"},
      {"0.30000000000000004", "2.5E3", "123456789012345678", "-1.5e-3"},
  };
  for (const auto& c : cases) {
    const ProjectPoint row{"P", kFit, c.xs, c.ys, c.xc, c.yc};
    const SitePoints points = ReadSitePoints(std::vector<ProjectPoint>{row});
    ASSERT_EQ(points.fit.size(), 1u) << c.xs;
    const std::string line = std::string("P,") + c.xs + "," + c.ys + "," + c.xc + "," + c.yc;
    auto cli = ParseCommonPointLine(line, 1);
    ASSERT_TRUE(cli.ok() && cli.value().has_value()) << line;
    const CommonPoint& want = *cli.value();
    const CommonPoint& got = points.fit[0];
    EXPECT_EQ(got.survey.x, want.survey.x) << line;
    EXPECT_EQ(got.survey.y, want.survey.y) << line;
    EXPECT_EQ(got.construction.x, want.construction.x) << line;
    EXPECT_EQ(got.construction.y, want.construction.y) << line;
    EXPECT_EQ(std::signbit(got.construction.x), std::signbit(want.construction.x)) << line;
  }
}

}  // namespace
}  // namespace torvane
