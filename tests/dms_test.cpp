#include "params/dms.h"

#include <gtest/gtest.h>

#include <cmath>

#include "number/number_text.h"
#include "params/bearing.h"

namespace torvane {
namespace {

struct AngleRow {
  double input;
  double expected;
};

TEST(DmsToDegrees, ReadsTheDigitsAsWritten) {
  // Compared after 15-digit rounding, as every caller uses them.
  const AngleRow rows[] = {
      // The classic window's worked examples: 30.1520 (30°15′20″) gives
      // 30.255555555555564, rounded 30.2555555555556; 30.3 gives 30.5,
      // 12.3456 gives 12.58222222222222 and 359.5959 359.99972222222215.
      {30.1520, 30.2555555555556},
      {30.3, 30.5},
      {12.3456, 12.5822222222222},
      {-12.3456, -12.5822222222222},
      {359.5959, 359.999722222222},
      {0, 0},
      // An independent model: the digits of the value's shortest text of at
      // most 15 significant digits, (degrees mod 360) + minutes / 60 +
      // seconds / 3600 worked in Python's Decimal, with the sign, rounded to
      // 15 digits. Also a fixed fault: splitting the binary value with
      // floating-point arithmetic loses a minute on some whole-minute values
      // (45.3 as 45°29′, 30.15 as 30°14′, 12.7 as 12°69′); they are read as
      // written.
      {30.15, 30.25},
      {45.3, 45.5},
      {12.7, 13.1666666666667},  // 12°70′: minutes are not validated
      {365.3, 5.5},
      {720, 0},
      {30.1501, 30.2502777777778},
      {7.3, 7.5},
      {0.3, 0.5},
      {12.345678, 12.5824388888889},  // 56.78″
      {45., 45},
      {-0.3, -0.5},
      {10.0001, 10.0002777777778},
      {2147483647.3, 127.5},  // 2147483647 mod 360 = 127
  };
  for (const auto& row : rows) {
    auto degrees = DmsToDegrees(row.input);
    ASSERT_TRUE(degrees.ok()) << row.input;
    EXPECT_EQ(Round15(*degrees), row.expected) << row.input;
  }
}

TEST(DmsDigitsOf, SplitsTheDigitsWithoutValidating) {
  const struct {
    double input;
    bool negative;
    const char* degrees;
    int minutes, seconds;
    const char* decimals;
  } rows[] = {
      // An independent model: the value's shortest text of at most 15
      // significant digits, split at the point; the first two decimals are
      // minutes, the next two seconds, the rest the seconds' decimals.
      {30.152, false, "30", 15, 20, ""},       // trailing zero of the seconds implied
      {30.6, false, "30", 60, 0, ""},          // decimal degrees typed: 60 minutes
      {-0.0075, true, "0", 0, 75, ""},         // 75 seconds
      {12.345678, false, "12", 34, 56, "78"},  // seconds' decimals as written
      {45, false, "45", 0, 0, ""},
  };
  for (const auto& row : rows) {
    const DmsDigits parts = DmsDigitsOf(row.input);
    EXPECT_EQ(parts.negative, row.negative) << row.input;
    EXPECT_EQ(parts.degrees, row.degrees) << row.input;
    EXPECT_EQ(parts.minutes, row.minutes) << row.input;
    EXPECT_EQ(parts.seconds, row.seconds) << row.input;
    EXPECT_EQ(parts.decimals, row.decimals) << row.input;
  }
}

TEST(DmsToDegrees, RejectsWholeDegreesBeyondThe32BitRange) {
  // By hand: 2147483648 is 2^31, one past the largest 32-bit whole degree.
  for (double bad : {2147483648.0, -3e9, 1e300, double(INFINITY), double(NAN)}) {
    EXPECT_FALSE(DmsToDegrees(bad).ok()) << bad;
  }
}

TEST(DegreesToRadians, RoundsTo15DigitsThenDividesFirst) {
  // The classic window's worked example: 30.255555555555564 degrees is
  // 0.5280590614494144 radians; by hand, 180 degrees is its pi, 3.1415926535.
  EXPECT_EQ(DegreesToRadians(30.255555555555564), 0.5280590614494144);
  EXPECT_EQ(DegreesToRadians(-30.255555555555564), -0.5280590614494144);
  EXPECT_EQ(DegreesToRadians(180), 3.1415926535);
  EXPECT_EQ(DegreesToRadians(0), 0);
}

TEST(FormatDms, WritesDddMmssAndSymbols) {
  const struct {
    double degrees;
    const char* number;   // FormatDmsNumber, as written into the rotation box
    const char* symbols;  // FormatDmsSymbols, as the reports show it
  } rows[] = {
      // The classic window's worked examples, both texts.
      {45.5, "45.3", "45°30′00.000″"},
      {-90, "-90.", "-90°00′00.000″"},
      // The classic window's worked examples of the ddd.mmss text; the °′″
      // text from the model below.
      {0.5, ".3", "0°30′00.000″"},
      {-0.5, "-.3", "-0°30′00.000″"},
      {12.58222222222222, "12.3456", "12°34′56.000″"},
      {0, ".", "0°00′00.000″"},
      {45.0000000013, "45.", "45°00′00.000″"},
      // An independent model: the exact product |degrees| x 36000000
      // (ddd.mmss, 0.0001″ steps) or x 3600000 (°′″, 0.001″ steps) to 15
      // significant digits, rounded half up to a whole step in Python's
      // Decimal, split into degrees, minutes and seconds, carried; the
      // ddd.mmss degrees mod 360; a minus only where the steps are not
      // zero. Also a fixed fault: seconds rounded up to 60 are carried, not
      // shown as 10°59′60.000″.
      {10.99999999999, "11.", "11°00′00.000″"},
      {10.99999999, "11.", "11°00′00.000″"},
      {359.99999999999, ".", "360°00′00.000″"},  // 360° is a full turn in the box
      {359.9999999, "359.59599996", "360°00′00.000″"},
      {370.5, "10.3", "370°30′00.000″"},
      {12.582438888888889, "12.345678", "12°34′56.780″"},
      {1.0 / 3600 / 10000, ".00000001", "0°00′00.000″"},
      {1e-9, ".", "0°00′00.000″"},
      {-1e-9, ".", "0°00′00.000″"},
      {0.0000001389, ".00000005", "0°00′00.001″"},
  };
  for (const auto& row : rows) {
    auto text = FormatDmsNumber(row.degrees);
    ASSERT_TRUE(text.ok()) << row.degrees;
    EXPECT_EQ(*text, row.number) << row.degrees;
    EXPECT_EQ(FormatDmsSymbols(row.degrees), row.symbols) << row.degrees;
  }
  EXPECT_FALSE(FormatDmsNumber(3e9).ok());
  EXPECT_FALSE(FormatDmsNumber(NAN).ok());
}

TEST(Bearing, QuadrantsAndAxes) {
  const struct {
    double dx, dy, bearing;
  } rows[] = {
      // The classic window's worked examples, every quadrant and axis.
      {1, 1, 0.7853981633974483},   {-1, 1, 2.3561944901025518},
      {-1, -1, 3.9269908168974483}, {1, -1, 5.497787143602552},
      {0, 5, 1.57079632675},        {0, -5, 4.71238898025},
      {-3, 0, 3.1415926535},        {3, 0, 0},
  };
  for (const auto& row : rows) {
    auto b = Bearing(row.dx, row.dy);
    ASSERT_TRUE(b.has_value()) << row.dx << "," << row.dy;
    EXPECT_EQ(*b, row.bearing) << row.dx << "," << row.dy;
  }
  EXPECT_FALSE(Bearing(0, 0).has_value());
}

}  // namespace
}  // namespace torvane
