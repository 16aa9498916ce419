#include "params/two_point.h"

#include <gtest/gtest.h>

#include "report/two_point_report.h"

namespace torvane {
namespace {

// The classic window's worked example: A at 1000,2000 and B at
// 1070.711,2070.711 in the survey grid, at 0,0 and 100,0 in the
// construction grid, give 1000.000161 2000.000161 45.
const TwoPoints kWorkedExample{1000, 2000, 1070.711, 2070.711, 0, 0, 100, 0};

TEST(SolveTwoPoints, FillsTheBoxesWhenNotComputed) {
  const struct {
    TwoPoints points;
    const char *x, *y, *angle;
    bool warns;
  } rows[] = {
      // The classic window's worked examples: the offsets 0.32 mm apart; a
      // turn of -90°; X0 from A and from B 20 mm apart (a warning), no turn;
      // all eight point boxes empty, every value 0.
      {kWorkedExample, "1000.000161", "2000.000161", "45.", false},
      {{3500, 4200, 3600, 4200, 100, 50, 100, 150}, "3450.", "4300.", "-90.", false},
      {{1000, 2000, 1100, 2000, 0, 0, 100.02, 0}, "999.99", "2000.", ".", true},
      {{}, ".", ".", ".", false},
  };
  for (const auto& row : rows) {
    auto s = SolveTwoPoints(row.points, {});
    ASSERT_TRUE(s.ok());
    const ParamTexts texts = TwoPointBoxTexts(*s);
    EXPECT_EQ(texts.x_offset, row.x);
    EXPECT_EQ(texts.y_offset, row.y);
    EXPECT_EQ(texts.angle, row.angle);
    EXPECT_EQ(s->offsets_disagree, row.warns) << row.x;
    EXPECT_EQ(s->present_state, ParamState::kNotComputed);
    EXPECT_EQ(TwoPointCheckReport(*s, "\r\n"), "");
  }
}

TEST(SolveTwoPoints, WarnsOnlyBeyondTenMillimetres) {
  // By hand: B's construction coordinate off along one axis, with no turn:
  // the offsets from A and from B differ by as much along it, A's minus B's
  // in millimetres. The classic window's rule: strictly more than 10 mm
  // warns (its worked example: 10.001 mm does).
  const struct {
    TwoPoints points;
    double x_mm, y_mm;
    bool warns;
  } rows[] = {
      {{1000, 2000, 1100, 2000, 0, 0, 99.990001, 0}, -9.999, 0, false},
      {{1000, 2000, 1100, 2000, 0, 0, 100.009999, 0}, 9.999, 0, false},
      {{1000, 2000, 1100, 2000, 0, 0, 99.989999, 0}, -10.001, 0, true},
      {{1000, 2000, 1100, 2000, 0, 0, 100.010001, 0}, 10.001, 0, true},
      {{1000, 2000, 1000, 2100, 0, 0, 0, 100.009999}, 0, 9.999, false},
      {{1000, 2000, 1000, 2100, 0, 0, 0, 100.010001}, 0, 10.001, true},
  };
  for (const auto& row : rows) {
    auto s = SolveTwoPoints(row.points, {});
    ASSERT_TRUE(s.ok());
    EXPECT_NEAR(s->x_disagreement_mm, row.x_mm, 1e-6);
    EXPECT_NEAR(s->y_disagreement_mm, row.y_mm, 1e-6);
    EXPECT_EQ(s->offsets_disagree, row.warns) << row.x_mm << ' ' << row.y_mm;
  }
}

TEST(SolveTwoPoints, CheckReportAgainstParametersPresent) {
  // The classic window's worked example clicked a second time, with its own
  // parameters entered: the check report, every difference zero.
  auto s = SolveTwoPoints(kWorkedExample, {1000.000161, 2000.000161, 45.});
  ASSERT_TRUE(s.ok());
  EXPECT_EQ(s->present_state, ParamState::kSet);
  EXPECT_EQ(TwoPointCheckReport(*s, "\r\n"),
            "坐标计算的转化参数为:\r\n"
            "\r\n"
            "   X偏移量为: 1000.000161\r\n"
            "   Y偏移量为: 2000.000161\r\n"
            "   坐标旋转角为:45°00′00.000″\r\n"
            "\r\n"
            "\r\n"
            "转化参数差异量为:\r\n"
            "\r\n"
            "   X偏移量差异为: ±0.000 mm\r\n"
            "   Y偏移量差异为: ±0.000 mm\r\n"
            "   旋转角差异量为:0°00′00.000″");
}

TEST(SolveTwoPoints, CheckReportShowsTheDifferences) {
  // By hand: the worked example, entered 45°30′ and offsets 12.5 mm and
  // 3 mm off; derived 45°.
  auto s = SolveTwoPoints(kWorkedExample, {1000.012661, 1999.997161, 45.3});
  ASSERT_TRUE(s.ok());
  const std::string r = TwoPointCheckReport(*s, "\r\n");
  EXPECT_NE(r.find("   X偏移量差异为: ±12.500 mm\r\n"), std::string::npos) << r;
  EXPECT_NE(r.find("   Y偏移量差异为: ±3.000 mm\r\n"), std::string::npos) << r;
  EXPECT_TRUE(r.ends_with("   旋转角差异量为:-0°30′00.000″")) << r;
  // The same as numbers, derived minus entered, with the sign the report drops.
  EXPECT_NEAR(s->x_offset_gap, -0.0125, 1e-9);
  EXPECT_NEAR(s->y_offset_gap, 0.003, 1e-9);
  EXPECT_NEAR(s->angle_gap, -0.5, 1e-8);
}

TEST(SolveTwoPoints, IncompleteParametersGetNoReport) {
  // The classic window's rule: incomplete parameters get no check and no
  // new boxes' texts; the worked example's texts are still derived.
  for (PresentParams present :
       {PresentParams{500, 0, 30.3}, PresentParams{500, 600, 0}, PresentParams{0, 0, 30.3}}) {
    auto s = SolveTwoPoints(kWorkedExample, present);
    ASSERT_TRUE(s.ok());
    EXPECT_EQ(s->present_state, ParamState::kIncomplete);
    EXPECT_EQ(TwoPointCheckReport(*s, "\r\n"), "");
    EXPECT_EQ(TwoPointBoxTexts(*s).x_offset, "1000.000161");
  }
}

TEST(SolveTwoPoints, SamePlaceIsAnErrorOnlyWhenAsked) {
  const struct {
    TwoPoints points;
    const char* error;  // with SamePlace::kReject; "" for none
  } rows[] = {
      // The messages are recorded from this program.
      {{1050, 2000, 1050, 2000, 0, 0, 100, 0},
       "A and B are both at 1050,2000 in the survey grid: the rotation cannot be determined"},
      {{1000, 2000, 1100, 2000, 12.5, -3, 12.5, -3},
       "A and B are both at 12.5,-3 in the construction grid: the rotation cannot be determined"},
      {{1050, 2000, 1050, 2000, 0, 0, 0, 0},
       "A and B are both at 1050,2000 in the survey grid and both at 0,0 in the construction "
       "grid: the rotation cannot be determined"},
      // Apart along one axis only: a bearing of 90° in the survey grid.
      {{1000, 2000, 1000, 2100, 0, 0, 100, 0}, ""},
  };
  for (const auto& row : rows) {
    auto strict = SolveTwoPoints(row.points, {}, SamePlace::kReject);
    EXPECT_EQ(strict.ok() ? "" : strict.error(), row.error);
    // The window's button still fills its boxes, whatever the points.
    EXPECT_TRUE(SolveTwoPoints(row.points, {}).ok()) << row.error;
  }
}

TEST(SolveTwoPoints, RejectsArithmeticBeyondDoubles) {
  // By hand: 1e308 − (−1e308) is beyond a double; 3e9 whole degrees are
  // beyond the 32-bit range.
  EXPECT_FALSE(SolveTwoPoints({1e308, 0, -1e308, 0, 0, 0, 1, 0}, {}).ok());
  EXPECT_FALSE(SolveTwoPoints(kWorkedExample, {1, 1, 3e9}).ok());
}

}  // namespace
}  // namespace torvane
