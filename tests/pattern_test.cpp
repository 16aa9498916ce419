#include "number/pattern.h"

#include <gtest/gtest.h>

#include <cmath>

namespace torvane {
namespace {

struct PatternRow {
  double value;
  const char* pattern;
  const char* text;
};

TEST(FormatPattern, PlaceholdersAndPoint) {
  const PatternRow rows[] = {
      {3450, "#########.######", "3450."},
      {0, "#########.######", "."},
      {1000.0001609406726, "#########.######", "1000.000161"},
      {-999.99, "#########.######", "-999.99"},
      {0.5, "#######.00000", ".50000"},
      {-0.25, "########.00000", "-.25000"},
      {0, "####.0000", ".0000"},
      {1215.101, "####.0000", "1215.1010"},
      {291.640659078364, "#######.00000", "291.64066"},
      {-7.11449030764946, "########.00000", "-7.11449"},
      {123456789012.5, "#######.00000", "123456789012.50000"},
      {0, "##0", "0"},
      {-90, "##0", "-90"},
      {5, "00", "05"},
      {5.5, "00.000", "05.500"},
      {59.9994, "00.000", "59.999"},
      {0.32, "0.000", "0.320"},
      {1e21, "#.#", "1000000000000000000000."},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FormatPattern(row.value, row.pattern), row.text)
        << row.value << " with " << row.pattern;
  }
}

TEST(FormatPattern, ExactTiesRoundAwayFromZero) {
  const PatternRow rows[] = {
      {2.5, "##0", "3"},
      {-2.5, "##0", "-3"},
      {0.015625, "#.00000", ".01563"},
      {1215.03125, "####.0000", "1215.0313"},
      {0.125, "0.00", "0.13"},
      // Not ties: the nearest double lies below or above the halfway point.
      {0.0145, "0.000", "0.015"},  // 0.0145000000000000007...
      {1.005, "0.00", "1.00"},     // 1.00499999999999989...
      {0.0155, "0.000", "0.015"},  // 0.0154999999999999998...
      {2.675, "0.00", "2.67"},     // 2.67499999999999982...
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FormatPattern(row.value, row.pattern), row.text)
        << row.value << " with " << row.pattern;
  }
}

TEST(FormatPattern, NoMinusSignForAValueThatRoundsToZero) {
  EXPECT_EQ(FormatPattern(-0.000001, "0.000"), "0.000");
  EXPECT_EQ(FormatPattern(-0.0, "#######.00000"), ".00000");
  EXPECT_EQ(FormatPattern(-0.0004, "#########.######"), "-.0004");
}

TEST(FormatPattern, NonFiniteValues) {
  EXPECT_EQ(FormatPattern(NAN, "0.000"), "nan");
  EXPECT_EQ(FormatPattern(INFINITY, "0.000"), "inf");
  EXPECT_EQ(FormatPattern(-INFINITY, "0.000"), "-inf");
}

}  // namespace
}  // namespace torvane
