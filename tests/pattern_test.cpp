#include "number/pattern.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>

#include "params/dms.h"

namespace torvane {
namespace {

struct PatternRow {
  double value;
  const char* pattern;
  const char* text;
};

TEST(FormatPattern, PlaceholdersPointAndSign) {
  // The result table's own patterns are in fixed_format_test.cpp, where
  // each row is written by both writers.
  const PatternRow rows[] = {
      // The classic window's worked examples: a whole offset keeps its point
      // (3450 gives "3450."), zero is a lone point, and the two-point worked
      // example's X offset (1000,2000 / 1070.711,2070.711) is 1000.000161.
      {3450, "#########.######", "3450."},
      {0, "#########.######", "."},
      {1000.0001609406726, "#########.######", "1000.000161"},
      // An independent model: Python's Decimal(f"{abs(value):.14e}")
      // quantized to the pattern's decimals with ROUND_HALF_UP, a "0"
      // placeholder always written, a "#" one only where significant, and a
      // minus only where the rounded value is not zero.
      {-999.99, "#########.######", "-999.99"},
      {0, "####.0000", ".0000"},
      {1215.101, "####.0000", "1215.1010"},
      {123456789012.5, "#######.00000", "123456789012.50000"},
      {0, "##0", "0"},
      {-90, "##0", "-90"},
      {5, "00", "05"},
      {5.5, "00.000", "05.500"},
      {59.9994, "00.000", "59.999"},
      {0.32, "0.000", "0.320"},
      {1e21, "#.#", "1000000000000000000000."},
      {-0.000001, "0.000", "0.000"},
      {-0.0, "#######.00000", ".00000"},
      {-0.0004, "#########.######", "-.0004"},
      // Recorded from this program: what a value that is not finite shows.
      {NAN, "0.000", "nan"},
      {INFINITY, "0.000", "inf"},
      {-INFINITY, "0.000", "-inf"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FormatPattern(row.value, row.pattern), row.text)
        << row.value << " with " << row.pattern;
  }
}

// How a value is shown: a FormatPattern pattern, or one of the angle texts.
std::string Shown(double value, std::string_view how) {
  if (how == "ddd.mmss") return FormatDmsNumber(value).value();
  if (how == "d°m′s″") return FormatDmsSymbols(value);
  return FormatPattern(value, how);
}

TEST(FormatPattern, RoundsTheFifteenDigitTextAsASpreadsheetsRound) {
  // Each row is checked with both signs; the negative shows a minus before
  // the same text. Expected: a spreadsheet's ROUND of the value's 15-digit
  // text at the last shown place, a 5 rounding away from zero, as an
  // independent model works it: Python's Decimal(f"{abs(value):.14e}")
  // quantized with ROUND_HALF_UP. For the angles the same of the 15-digit
  // count of shown second steps, the exact product |value| x 36000000
  // (ddd.mmss, 0.0001″ steps) or x 3600000 (°′″, 0.001″ steps), then split
  // into degrees, minutes and seconds.
  const struct {
    double value;
    const char* how;
    const char* text;
  } rows[] = {
      // The 15-digit text ends in 5 just after the shown digits while the
      // double lies below it (1.005 is 1.00499999999999989...): ROUND goes
      // up where the binary value would go down. In every pattern shown.
      // A fixed fault: the binary value was rounded, and these two showed
      // as 1199275.45740 and 9999.9999.
      {1199275.457405, "#######.00000", "1199275.45741"},  // result X
      {9999.99995, "####.0000", "10000.0000"},             // height, carried
      {438465.123455, "########.00000", "438465.12346"},   // result Y
      {1000.0001605, "#########.######", "1000.000161"},   // offset
      {3449.9999995, "#########.######", "3450."},         // offset, carried
      {1.0005, "0.000", "1.001"},                          // millimetres, ppm
      {0.0155, "0.000", "0.016"},                          // 0.015499999999999999...
      {5.0005, "00.000", "05.001"},                        // seconds
      {30.00140930575, "0.0000000000", "30.0014093058"},   // fit degrees
      {100.00365, "0.0000", "100.0037"},                   // fit distance
      {0.9999637025, "0.000000000", "0.999963703"},        // fit scale
      {1.005, "0.00", "1.01"},                             // standardized, F
      {2.675, "0.00", "2.68"},                             // 2.6749999999999998...
      {12.582441402777775, "ddd.mmss", "12.34567891"},     // 452967890.5 steps
      {1.3888888888888887e-08, "ddd.mmss", ".00000001"},   // 0.5 steps
      {12.582441527777776, "d°m′s″", "12°34′56.790″"},     // 45296789.5 steps
      {45.99999986111111, "d°m′s″", "46°00′00.000″"},      // carried to degrees
      {1.3888888888888885e-07, "d°m′s″", "0°00′00.001″"},  // 0.5 steps
      // The sixteenth digit makes the 15-digit text a tie, which goes up;
      // a tie missed by the fifteenth digit goes down.
      {1.000499999999999, "0.000", "1.001"},
      {1.00049999999999, "0.000", "1.000"},
      // Exact binary ties, and a double above the halfway point.
      {2.5, "##0", "3"},
      {0.015625, "#.00000", ".01563"},
      {1215.03125, "####.0000", "1215.0313"},
      {0.125, "0.00", "0.13"},
      {0.0145, "0.000", "0.015"},  // 0.0145000000000000007...
      // Integer digits beyond the fifteenth are zeros (the double is
      // 123456789012345680).
      {123456789012345678.0, "0", "123456789012346000"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Shown(row.value, row.how), row.text) << row.value << " as " << row.how;
    EXPECT_EQ(Shown(-row.value, row.how), std::string("-") + row.text)
        << -row.value << " as " << row.how;
  }
}

}  // namespace
}  // namespace torvane
