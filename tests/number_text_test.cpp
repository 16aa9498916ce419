#include "number/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "number/exact_decimal.h"
#include "number/typed_number.h"

namespace torvane {
namespace {

struct NumberRow {
  std::string text;
  double value;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfABox) {
  const NumberRow rows[] = {
      // The classic window's leading-number rule as its worked examples give
      // it: blanks ignored wherever they stand, reading stops silently at the
      // first character that does not fit, no leading number reads 0.
      {"  12.5m", 12.5},
      {"1 2", 12},
      {"abc", 0},
      {"1.5E2", 150},
      {"1 000.5", 1000.5},
      {"", 0},
      {",5", 0},
      // An independent model: Python's float() of the longest prefix that
      // matches [+-]?[0-9]*(\.[0-9]*)?([EeDd][+-]?[0-9]+)? once blanks, tabs
      // and line feeds are removed, D read as E; 0 where it holds no digit.
      {"-.5", -0.5},
      {"1.5D2", 150},
      {"1.5d-1", 0.15},
      {"1.5E", 1.5},
      {"1.5E+", 1.5},
      {"12.3.4", 12.3},
      {"+7", 7},
      {"\t3\n", 3},
      {"- 4", -4},
      {"1e-400", 0},
      {"0.000", 0},
      {".", 0},
      {"-", 0},
      {"30.1520", 30.152},
      {"1e2e3", 100},
      {"5,5", 5},
      {"１２", 0},  // full-width digits are not digits
      {"0." + std::string(400, '0') + "1", 0},
      {"0." + std::string(400, '9'), 1},
      // The same model; a fixed fault: an exponent near 2^63 - 1 overflowed
      // when the digit count was added to it (found by fuzzing).
      {"5e-9223372036854775807", 0},
  };
  for (const auto& row : rows) {
    auto value = LeadingNumber(row.text);
    ASSERT_TRUE(value.ok()) << row.text;
    EXPECT_EQ(*value, row.value) << '"' << row.text << '"';
  }
}

TEST(LeadingNumber, RejectsNumbersTooLargeForADouble) {
  // Python's float() of the same prefix is infinite; the message is this
  // program's, recorded.
  const std::string rows[] = {
      "1e400",
      "-1e309",
      "1D999999999999",
      std::string(400, '9'),
      // A fixed fault: an exponent near 2^63 - 1 overflowed when the digit
      // count was added to it (found by fuzzing).
      "8.e9223372036854775807",
      "39e000000000000009223372036854775807",
  };
  for (const std::string& text : rows) {
    auto value = LeadingNumber(text);
    ASSERT_FALSE(value.ok()) << text;
    EXPECT_EQ(value.error(), "number \"" + text + "\" is too large");
  }
}

TEST(ParseDecimal, AcceptsOnlyADecimalNumberInFull) {
  // An independent model: the text with blanks and tabs around it removed
  // must match [+-]?([0-9]+\.?[0-9]*|\.[0-9]+)([eE][+-]?[0-9]+)? in full, and
  // is then read by Python's float(); an infinite result is too large.
  const NumberRow good[] = {
      {" 755.500 ", 755.5},
      {"-0", -0.0},
      {"1e3", 1000},
      {".5", 0.5},
      {"5.", 5},
      {"\t-12.25\t", -12.25},
      {"+3", 3},
      {"2E-2", 0.02},
      {"1e-400", 0},
      // 20 digits, more than a short decimal holds (2^64 + 1 here).
      {"18446744073709551617", 18446744073709551617.0},
      {"1.8446744073709551617", 1.8446744073709551617},
  };
  for (const auto& row : good) {
    auto value = ParseDecimal(row.text);
    ASSERT_TRUE(value.ok()) << row.text;
    EXPECT_EQ(*value, row.value) << row.text;
  }
  EXPECT_TRUE(std::signbit(*ParseDecimal("-0")));
  const struct {
    const char* text;
    DecimalError error;
  } bad[] = {
      {"755.5m", DecimalError::kNotANumber}, {"", DecimalError::kNotANumber},
      {"  ", DecimalError::kNotANumber},     {"III12", DecimalError::kNotANumber},
      {"inf", DecimalError::kNotANumber},    {"nan", DecimalError::kNotANumber},
      {"0x10", DecimalError::kNotANumber},   {"1,5", DecimalError::kNotANumber},
      {"1 000", DecimalError::kNotANumber},  {"+", DecimalError::kNotANumber},
      {".", DecimalError::kNotANumber},      {"1e", DecimalError::kNotANumber},
      {"1D2", DecimalError::kNotANumber},    {"--1", DecimalError::kNotANumber},
      {"1.2.3", DecimalError::kNotANumber},  {"e5", DecimalError::kNotANumber},
      {"1e400", DecimalError::kTooLarge},
  };
  for (const auto& row : bad) {
    auto value = ParseDecimal(row.text);
    ASSERT_FALSE(value.ok()) << row.text;
    EXPECT_EQ(value.error(), row.error) << row.text;
  }
}

TEST(Round15, KeepsFifteenSignificantDigitsWrittenByPlainDecimal15) {
  // Each value's 15-digit text: PlainDecimal15 writes it (of the magnitude,
  // without exponent), Round15 gives the value it reads back as.
  const struct {
    double value;
    std::string text;
  } rows[] = {
      // The classic window's worked example: 30°15′20″ as 30.255555555555564
      // degrees, rounded 30.2555555555556, and its construction X and Y.
      {30.255555555555564, "30.2555555555556"},
      {291.6406590783637, "291.640659078364"},
      {-7.114490307649461, "7.11449030764946"},
      // An independent model: Python's Decimal(f"{abs(value):.14e}")
      // written with format "f", trailing zeros and a bare point dropped.
      {0.1 + 0.2, "0.3"},
      {1e300, "1" + std::string(300, '0')},
      {0, "0"},
      {30.152, "30.152"},
      {720, "720"},
      {0.0003, "0.0003"},
      {1e20, "100000000000000000000"},
      {1.5e-7, "0.00000015"},
      {-12.3456, "12.3456"},
      {359.99999999999997, "360"},
      {123456.789012345678, "123456.789012346"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PlainDecimal15(row.value), row.text) << row.value;
    EXPECT_EQ(Round15(row.value), std::copysign(*ParseDecimal(row.text), row.value)) << row.value;
  }
  EXPECT_TRUE(std::isnan(Round15(NAN)));
}

TEST(ExactDecimalSum, AddsAndSubtractsDecimalTextsDigitByDigit) {
  // Expected: an independent model, Python's Decimal (precision 2000) of
  // a + b or a - b, written format(r.normalize(), "f"), "0" for zero.
  const struct {
    const char* a;
    const char* b;
    bool subtract;
    const char* sum;
  } rows[] = {
      // A height above a site's ±0.000 at 1200 m, both ways; in doubles the
      // difference is 15.101000000000113.
      {"1215.101", "1200", true, "15.101"},
      {"15.101", "1200", false, "1215.101"},
      {"1200", "1215.101", true, "-15.101"},
      // Zeros that change nothing go; zero is "0", never "-0".
      {"1200.000", "1200", true, "0"},
      {"-0", "0", false, "0"},
      {"1e-400", "-1e-400", false, "0"},
      {"0e-999999999999", "1", false, "1"},
      // Below the smallest double: 0, as ParseDecimal reads it (the one row
      // where Decimal, which keeps 1e-999, is not the model).
      {"1e-999", "1", true, "-1"},
      // Carries and borrows across the point and through every digit.
      {" 99.9995 ", "-0.0005", true, "100"},
      {"999.999", "0.001", false, "1000"},
      {"0.001", "0.0015", true, "-0.0005"},
      {"-1200.5", "-1200.25", true, "-0.25"},
      {"0.1", "0.2", false, "0.3"},
      // Signs, exponents and bare points as ParseDecimal reads them; no
      // exponent in the result.
      {"1.2e3", "1199.99", true, "0.01"},
      {"1E-5", "0", true, "0.00001"},
      {"+5", "5.5", true, "-0.5"},
      {".5", "1.", true, "-0.5"},
      // More digits than a double or a 64-bit integer holds.
      {"12345678901234567890.123", "0.123", true, "12345678901234567890"},
      {"3.1415926535897932384626", "-2.7182818284590452353602", false, "0.4233108251307480031024"},
  };
  for (const auto& row : rows) {
    auto sum = ExactDecimalSum(row.a, row.b, row.subtract);
    ASSERT_TRUE(sum.ok()) << row.a << (row.subtract ? " - " : " + ") << row.b;
    EXPECT_EQ(*sum, row.sum) << row.a << (row.subtract ? " - " : " + ") << row.b;
  }
  // Rejected with the error of the first text at fault.
  const struct {
    const char* a;
    const char* b;
    DecimalError error;
  } bad[] = {
      {"abc", "1200", DecimalError::kNotANumber},
      {"", "1200", DecimalError::kNotANumber},
      {"1215.101", "12m", DecimalError::kNotANumber},
      {"1e400", "abc", DecimalError::kTooLarge},
      // A digit at the 402nd decimal of a number a double holds.
      {"1.0000000000"
       "0000000000"
       "0000000000"
       "0000000000"
       "0000000000"
       "0000000000"
       "0000000000"
       "0000000000"
       "01e-320",
       "0", DecimalError::kNotANumber},
  };
  for (const auto& row : bad) {
    auto sum = ExactDecimalSum(row.a, row.b, true);
    ASSERT_FALSE(sum.ok()) << row.a << " - " << row.b;
    EXPECT_EQ(sum.error(), row.error) << row.a << " - " << row.b;
  }
}

// Each character from the Unicode code chart of the Halfwidth and Fullwidth
// Forms (U+FF0B, U+FF0C, U+FF0D, U+FF0E, U+FF10-U+FF19, U+FF25, U+FF45) and
// of CJK Symbols and Punctuation (U+3000, U+3002) beside the ASCII character
// it stands for; characters outside the table pass unchanged.
TEST(FullWidthToAscii, MapsTheCharactersOfANumber) {
  const struct {
    std::string text, ascii;
  } rows[] = {
      {"\uFF10\uFF11\uFF12\uFF13\uFF14\uFF15\uFF16\uFF17\uFF18\uFF19", "0123456789"},
      {"\uFF0B\uFF0D\uFF0E\u3002\uFF0C\uFF45\uFF25\u3000", "+-..,eE "},
      {"１２３．４５", "123.45"},
      // Not a digit or a sign: full-width letters, the minus sign U+2212,
      // the fullwidth solidus, Chinese names.
      {"\uFF41\u2212\uFF0F点名", "\uFF41\u2212\uFF0F点名"},
      // Bytes that are no UTF-8 are kept; a cut full-width digit too.
      {"\xEF\xBC", "\xEF\xBC"},
      {"1\xEF\xBC\x91", "11"},
      {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(FullWidthToAscii(row.text), row.ascii) << row.text;
}

// What a workbench cell as typed is read as (none: kept as typed). From the
// rule: full width read as ASCII, thousands grouped as 1 to 3 digits, then
// groups of exactly 3, nothing else changed.
TEST(TypedNumberText, ReadsFullWidthAndThousandsSeparators) {
  const struct {
    std::string cell;
    std::optional<std::string> read;
  } rows[] = {
      {"１２３．４５", "123.45"},
      {"－１２３．４５", "-123.45"},
      {"＋７", "+7"},
      {"１．５Ｅ２", "1.5E2"},
      {"123。45", "123.45"},
      {"\u3000３３８００００．１\u3000", "3380000.1"},
      {"3,380,000.123", "3380000.123"},
      {"３，３８０，０００．１２３", "3380000.123"},
      {" -1,234 ", "-1234"},
      {"999,999,999.", "999999999."},
      // A number as it stands is kept as typed, blanks and all.
      {"3380000.123", std::nullopt},
      {" 12.5 ", std::nullopt},
      // Not a grouping: the cell stays as typed, for the table to mark.
      {"12,34", std::nullopt},
      {"1,2345", std::nullopt},
      {"1234,567", std::nullopt},
      {",123", std::nullopt},
      {"1,,234", std::nullopt},
      {"1,234,5", std::nullopt},
      {"1,234e3", std::nullopt},
      {"1,234.5,6", std::nullopt},
      {"1.234,5", std::nullopt},
      {"+", std::nullopt},
      {"12o3.45", std::nullopt},
      {"１２ｏ３", std::nullopt},
      {"", std::nullopt},
      // A number too large for a double, in full width: kept as typed, for
      // the table to mark.
      {"１e400", std::nullopt},
  };
  for (const auto& row : rows) EXPECT_EQ(TypedNumberText(row.cell), row.read) << row.cell;
}

}  // namespace
}  // namespace torvane
