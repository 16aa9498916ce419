#include "number/fixed_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "number/number_text.h"
#include "number/pattern.h"

namespace torvane {
namespace {

constexpr FixedPattern kFive{"#######.00000", 5};
constexpr FixedPattern kFour{"####.0000", 4};

std::string Fast(double value, const FixedPattern& pattern) {
  char text[kMaxFixedText];
  return std::string(text, WriteRound15Fixed(text, std::end(text), value, pattern));
}

std::string General(double value, const FixedPattern& pattern) {
  return FormatPattern(value, pattern.text);
}

// The general path, FormatPattern, is the independent model of the fast
// writer: a separate implementation, with its own rows in pattern_test.cpp.

// Values of every kind that reach the result table: ordinary coordinates,
// values just off and exactly on a rounding boundary of the shown decimals
// and of the 15th digit, and the ends of the fast range.
std::vector<double> Awkward() {
  std::vector<double> values = {
      1.0,          9.999999999,  10.0,        1e10,          9999999999.9,
      99999.999995, 0.5,          0.000005,    123456.000005, 1234567.001953125,
      2.5,          12345.678905, 3456789.123, 1e9 + 0.5,     7.0000049999999,
      0.0};
  const double inf = std::numeric_limits<double>::infinity();
  for (int exponent = -3; exponent <= 10; ++exponent) {
    const double power = std::pow(10.0, exponent);
    for (double v : {power, std::nextafter(power, 0.0), std::nextafter(power, inf)}) {
      values.push_back(v);
    }
  }
  // Exact binary ties: odd multiples of 2^-k land halfway at some decimal.
  for (int k = 1; k <= 20; ++k) {
    for (double base : {0.0, 1.0, 777.0, 123456.0, 3456789.0}) {
      values.push_back(base + std::ldexp(1.0, -k));
      values.push_back(base + 3 * std::ldexp(1.0, -k));
    }
  }
  // Decimal halfway points at five and four decimals, and their neighbours.
  std::mt19937_64 random(12);
  std::uniform_int_distribution<long long> units(0, 9999999999LL);
  for (int i = 0; i < 2000; ++i) {
    const double half = (static_cast<double>(units(random)) + 0.5) / 1e5;
    values.push_back(half);
    values.push_back(std::nextafter(half, 0.0));
    values.push_back(std::nextafter(half, inf));
  }
  return values;
}

TEST(WriteRound15Fixed, GivesTheGeneralPathsTextForAwkwardValues) {
  for (double v : Awkward()) {
    for (double signed_value : {v, -v}) {
      for (const FixedPattern* p : {&kFive, &kFour}) {
        EXPECT_EQ(Fast(signed_value, *p), General(signed_value, *p))
            << std::hexfloat << signed_value << " with " << p->text;
      }
    }
  }
}

TEST(WriteRound15Fixed, GivesTheGeneralPathsTextForRandomCoordinates) {
  std::mt19937_64 random(2026);
  std::uniform_real_distribution<double> magnitude(-2, 10.5);
  for (int i = 0; i < 500000; ++i) {
    const double v = std::pow(10.0, magnitude(random)) * (i % 2 ? -1 : 1);
    ASSERT_EQ(Fast(v, kFive), General(v, kFive)) << std::hexfloat << v;
  }
}

TEST(WriteRound15Fixed, WritesTheTableTexts) {
  // Each row written by the fast writer and by FormatPattern, the X pattern
  // and the Y one (one more #, the same text).
  const struct {
    double value;
    const char* text;
  } rows[] = {
      // The classic window's worked example: 500, 600, 30.1520 turn the
      // survey point 755.5, 740.8 into 291.64066, -7.11449.
      {291.6406590783637, "291.64066"},
      {-7.114490307649461, "-7.11449"},
      // A fixed fault: 1199275.4574049999... showed as 1199275.45740, the
      // binary value rounded; the fast writer sends it to the general path.
      {1199275.457405, "1199275.45741"},
      // An independent model: Python's Decimal(f"{abs(value):.14e}")
      // quantized to five decimals with ROUND_HALF_UP, no zero before the
      // point, a minus only where the rounded value is not zero.
      {0.5, ".50000"},
      {-0.25, "-.25000"},
      {-0.000001, ".00000"},
      {12345.678905, "12345.67891"},
      {1e12, "1000000000000.00000"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Fast(row.value, kFive), row.text) << row.value;
    EXPECT_EQ(General(row.value, kFive), row.text) << row.value;
    EXPECT_EQ(FormatPattern(row.value, "########.00000"), row.text) << row.value;
  }
}

TEST(WriteDecimalFixed, CopiesPlainHeightsAndRoundsTheRest) {
  const struct {
    const char* text;
    const char* expected;  // nullptr: not a number, nothing appended
  } rows[] = {
      // A fixed fault: the binary value was rounded and this showed as
      // 9999.9999.
      {"9999.99995", "10000.0000"},  // the 15-digit text rounded, carried
      // An independent model: the text read as the strict decimal model of
      // number_text_test.cpp does (Python's float() of a full match; no
      // number: nullptr), then rounded to four decimals as in the table
      // above. Each row is also checked against FormatPattern. The first is
      // the height of the classic window's help-text example line
      // "III11 , 755.500 , 740.800 , 1215.101".
      {" 1215.101", "1215.1010"},
      {"0", ".0000"},
      {"-0.000", ".0000"},
      {"-12", "-12.0000"},
      {"+5", "5.0000"},
      {"0.00005", ".0001"},
      {"1.23456", "1.2346"},
      {"12345678901", "12345678901.0000"},
      {"1e3", "1000.0000"},
      {".5", ".5000"},
      {"5.", "5.0000"},
      {"abc", nullptr},
      {"", nullptr},
      {"1e400", nullptr},
  };
  for (const auto& row : rows) {
    char text[kMaxFixedText];
    char* end = WriteDecimalFixed(text, std::end(text), row.text, kFour);
    if (row.expected == nullptr) {
      EXPECT_EQ(end, nullptr) << row.text;
    } else {
      ASSERT_NE(end, nullptr) << row.text;
      const std::string written(text, end);
      EXPECT_EQ(written, row.expected) << row.text;
      EXPECT_EQ(written, FormatPattern(*ParseDecimal(row.text), kFour.text)) << row.text;
    }
  }
}

}  // namespace
}  // namespace torvane
