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
      {30.15, 30.25},
      {45.3, 45.5},
      {12.7, 13.1666666666667},  // 12°70′: minutes are not validated
      {30.1520, 30.2555555555556},
      {-12.3456, -12.5822222222222},
      {359.5959, 359.999722222222},
      {365.3, 5.5},
      {720, 0},
      {30.3, 30.5},
      {0, 0},
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
  for (double bad : {2147483648.0, -3e9, 1e300, double(INFINITY), double(NAN)}) {
    EXPECT_FALSE(DmsToDegrees(bad).ok()) << bad;
  }
}

TEST(DegreesToRadians, RoundsTo15DigitsThenDividesFirst) {
  EXPECT_EQ(DegreesToRadians(30.255555555555564), 0.5280590614494144);
  EXPECT_EQ(DegreesToRadians(-30.255555555555564), -0.5280590614494144);
  EXPECT_EQ(DegreesToRadians(180), 3.1415926535);
  EXPECT_EQ(DegreesToRadians(0), 0);
}

TEST(FormatDmsNumber, WritesDddMmss) {
  const struct {
    double degrees;
    const char* text;
  } rows[] = {
      {45.5, "45.3"},
      {-90, "-90."},
      {0.5, ".3"},
      {-0.5, "-.3"},
      {12.58222222222222, "12.3456"},
      {0, "."},
      {45.0000000013, "45."},
      {10.99999999999, "11."},  // rounded at the eighth decimal, carried
      {359.99999999999, "."},   // 360° is a full turn
      {370.5, "10.3"},
      {12.582438888888889, "12.345678"},
      {1.0 / 3600 / 10000, ".00000001"},
  };
  for (const auto& row : rows) {
    auto text = FormatDmsNumber(row.degrees);
    ASSERT_TRUE(text.ok()) << row.degrees;
    EXPECT_EQ(*text, row.text) << row.degrees;
  }
  EXPECT_FALSE(FormatDmsNumber(3e9).ok());
  EXPECT_FALSE(FormatDmsNumber(NAN).ok());
}

TEST(FormatDmsSymbols, RoundsSecondsAndCarries) {
  const struct {
    double degrees;
    const char* text;
  } rows[] = {
      {45.5, "45°30′00.000″"},
      {-90, "-90°00′00.000″"},
      {10.99999999, "11°00′00.000″"},
      {-0.5, "-0°30′00.000″"},
      {12.58222222222222, "12°34′56.000″"},
      {1e-9, "0°00′00.000″"},
      {-1e-9, "0°00′00.000″"},
      {0.0000001389, "0°00′00.001″"},
      {359.9999999, "360°00′00.000″"},
  };
  for (const auto& row : rows) EXPECT_EQ(FormatDmsSymbols(row.degrees), row.text) << row.degrees;
}

TEST(Bearing, QuadrantsAndAxes) {
  const struct {
    double dx, dy, bearing;
  } rows[] = {
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
