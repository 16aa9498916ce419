// The parameter button: filling the parameter boxes, the check report, the
// 10 mm warning and the messages for parameters it cannot act on.
#include "report/two_point_report.h"
#include "window_fixture.h"

namespace torvane::testing {
namespace {

using ParamsTest = WindowTest;

struct Filling {
  const char* name;
  std::array<QString, 8> points;
  const char* x_offset;
  const char* y_offset;
  const char* angle;
};

void PrintTo(const Filling& value, std::ostream* out) { *out << value.name; }

class FillTest : public WindowTest, public ::testing::WithParamInterface<Filling> {};

TEST_P(FillTest, WritesTheDerivedParametersWhenNoneAreComputed) {
  // State: parameter boxes empty, A and B typed in both grids.
  TypeTwoPoints(GetParam().points);
  // Action: press Com2.
  Click("Com2");
  // Expected: the three boxes filled, no box shown.
  EXPECT_EQ(Text("Text9"), GetParam().x_offset);
  EXPECT_EQ(Text("Text10"), GetParam().y_offset);
  EXPECT_EQ(Text("Text11"), GetParam().angle);
  EXPECT_TRUE(platform_.calls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    TwoPoints, FillTest,
    ::testing::Values(Filling{"WorkedExample", kWorkedExample, "1000.000161", "2000.000161", "45."},
                      Filling{"QuarterTurnBack",
                              {"3500", "4200", "3600", "4200", "100", "50", "100", "150"},
                              "3450.",
                              "4300.",
                              "-90."},
                      Filling{"AllEmpty", {"", "", "", "", "", "", "", ""}, ".", ".", "."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParamsTest, SecondClickShowsTheCheckReportAndOkKeepsTheParameters) {
  // State: the worked example computed once.
  TypeTwoPoints(kWorkedExample);
  Click("Com2");
  ASSERT_EQ(Text("Text9"), "1000.000161");
  // Action: press Com2 again and answer OK.
  platform_.AnswerNextMessage(MessageAnswer::kOk);
  Click("Com2");
  // Expected: the report with zero differences, OK and Cancel, no icon.
  const std::vector<Call> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "坐标转换参数的求定与检查");
  EXPECT_EQ(messages[0].icon, MessageIcon::kNone);
  EXPECT_EQ(messages[0].buttons, MessageButtons::kOkCancel);
  const QStringList lines = messages[0].prompt.split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), 12);
  EXPECT_EQ(lines[0], "坐标计算的转化参数为:");
  EXPECT_EQ(lines[2], "   X偏移量为: 1000.000161");
  EXPECT_EQ(lines[3], "   Y偏移量为: 2000.000161");
  EXPECT_EQ(lines[4], "   坐标旋转角为:45°00′00.000″");
  EXPECT_EQ(lines[9], "   X偏移量差异为: ±0.000 mm");
  EXPECT_EQ(lines[10], "   Y偏移量差异为: ±0.000 mm");
  EXPECT_EQ(lines[11], "   旋转角差异量为:0°00′00.000″");
  EXPECT_EQ(Text("Text9"), "1000.000161");
  EXPECT_EQ(Text("Text10"), "2000.000161");
  EXPECT_EQ(Text("Text11"), "45.");
}

class ReportAnswerTest : public WindowTest, public ::testing::WithParamInterface<MessageAnswer> {};

TEST_P(ReportAnswerTest, CancelReplacesTypedParametersAndOkKeepsThem) {
  // State: parameters typed under known data, then the worked example.
  TypeParams("1000.5", "2000.25", "45.3");
  TypeTwoPoints(kWorkedExample);
  // Action: press Com2 and answer the report.
  platform_.AnswerNextMessage(GetParam());
  Click("Com2");
  // Expected: one report; Cancel writes the derived parameters, OK keeps.
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_TRUE(Messages()[0].prompt.contains("   X偏移量差异为: ±499.839 mm"));
  const bool replaced = GetParam() == MessageAnswer::kCancel;
  EXPECT_EQ(Text("Text9"), replaced ? "1000.000161" : "1000.5");
  EXPECT_EQ(Text("Text10"), replaced ? "2000.000161" : "2000.25");
  EXPECT_EQ(Text("Text11"), replaced ? "45." : "45.3");
}

INSTANTIATE_TEST_SUITE_P(Answers, ReportAnswerTest,
                         ::testing::Values(MessageAnswer::kOk, MessageAnswer::kCancel),
                         [](const auto& info) {
                           return info.param == MessageAnswer::kOk ? "Ok" : "Cancel";
                         });

class WarningAnswerTest : public WindowTest, public ::testing::WithParamInterface<MessageAnswer> {};

TEST_P(WarningAnswerTest, OffsetsTwentyMillimetresApartWarnAndGoOn) {
  // State: B 100 m from A in the survey grid, 100.02 m in the construction grid.
  TypeTwoPoints({"1000", "2000", "1100", "2000", "0", "0", "100.02", "0"});
  // Action: press Com2, answer the warning either way.
  platform_.AnswerNextMessage(GetParam());
  Click("Com2");
  // Expected: the warning as a prompt box, then the boxes filled all the same.
  const std::vector<Call> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].prompt, QString::fromUtf8(kOffsetsDisagreeMessage));
  EXPECT_EQ(messages[0].title, "提示信息");
  EXPECT_EQ(messages[0].icon, MessageIcon::kNone);
  EXPECT_EQ(messages[0].buttons, MessageButtons::kOkCancel);
  EXPECT_EQ(Text("Text9"), "999.99");
  EXPECT_EQ(Text("Text10"), "2000.");
  EXPECT_EQ(Text("Text11"), ".");
}

INSTANTIATE_TEST_SUITE_P(Answers, WarningAnswerTest,
                         ::testing::Values(MessageAnswer::kOk, MessageAnswer::kCancel),
                         [](const auto& info) {
                           return info.param == MessageAnswer::kOk ? "Ok" : "Cancel";
                         });

TEST_F(ParamsTest, IncompleteParametersAreReportedAndLeftAlone) {
  // State: only the X offset typed, then the worked example.
  Type("Text9", "500");
  TypeTwoPoints(kWorkedExample);
  // Action: press Com2.
  Click("Com2");
  // Expected: one warning that all three must be non-zero; nothing written.
  const std::vector<Call> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].title, "Torvane");
  EXPECT_EQ(messages[0].icon, MessageIcon::kWarning);
  EXPECT_TRUE(messages[0].prompt.contains("X偏移量、Y偏移量和转角必须全部不为零"));
  EXPECT_EQ(Text("Text9"), "500");
  EXPECT_TRUE(Text("Text10").isEmpty());
  EXPECT_TRUE(Text("Text11").isEmpty());
}

TEST_F(ParamsTest, ANumberTooLargeToReadIsNamedAndNothingIsWritten) {
  // State: B's survey X holds a number beyond the range of doubles.
  TypeTwoPoints({"1000", "2000", "1e999", "2070.711", "0", "0", "100", "0"});
  // Action: press Com2.
  Click("Com2");
  // Expected: one warning naming the box and its text; the boxes still empty.
  const std::vector<Call> messages = Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].icon, MessageIcon::kWarning);
  EXPECT_TRUE(messages[0].prompt.contains("B点测图X坐标"));
  EXPECT_TRUE(messages[0].prompt.contains("1e999"));
  for (const char* name : {"Text9", "Text10", "Text11"}) EXPECT_TRUE(Text(name).isEmpty());
}

TEST_F(ParamsTest, Com2CannotBePressedUnderKnownData) {
  // State: resting, the worked example set into the disabled boxes by code.
  for (int i = 0; i < 8; ++i)
    Box(("Text" + std::to_string(i + 1)).c_str())->setText(kWorkedExample[i]);
  // Action: click Com2.  Expected: nothing happens.
  Click("Com2");
  EXPECT_TRUE(Text("Text9").isEmpty());
  EXPECT_TRUE(platform_.calls().empty());
}

}  // namespace
}  // namespace torvane::testing
