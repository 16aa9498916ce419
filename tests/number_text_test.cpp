#include "number/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace torvane {
namespace {

struct NumberRow {
  const char* text;
  double value;
};

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfABox) {
  const NumberRow rows[] = {
      {"  12.5m", 12.5},   {"1 2", 12},      {"abc", 0},    {"1.5E2", 150},
      {"1 000.5", 1000.5}, {"", 0},          {",5", 0},     {"-.5", -0.5},
      {"1.5D2", 150},      {"1.5d-1", 0.15}, {"1.5E", 1.5}, {"1.5E+", 1.5},
      {"12.3.4", 12.3},    {"+7", 7},        {"\t3\n", 3},  {"- 4", -4},
      {"1e-400", 0},       {"0.000", 0},     {".", 0},      {"-", 0},
      {"30.1520", 30.152}, {"1e2e3", 100},   {"5,5", 5},    {"１２", 0},
  };
  for (const auto& row : rows) {
    auto value = LeadingNumber(row.text);
    ASSERT_TRUE(value.ok()) << row.text;
    EXPECT_EQ(*value, row.value) << '"' << row.text << '"';
  }
}

TEST(LeadingNumber, RejectsNumbersTooLargeForADouble) {
  for (const char* text : {"1e400", "-1e309", "1D999999999999", "8.e9223372036854775807",
                           "39e000000000000009223372036854775807"}) {
    auto value = LeadingNumber(text);
    ASSERT_FALSE(value.ok()) << text;
    EXPECT_EQ(value.error(), "number \"" + std::string(text) + "\" is too large");
  }
  const std::string many_digits(400, '9');
  EXPECT_FALSE(LeadingNumber(many_digits).ok());
  EXPECT_TRUE(LeadingNumber("0." + many_digits).ok());
  EXPECT_EQ(*LeadingNumber("0." + std::string(400, '0') + "1"), 0.0);
  EXPECT_EQ(*LeadingNumber("5e-9223372036854775807"), 0.0);
}

TEST(ParseDecimal, AcceptsOnlyADecimalNumberInFull) {
  const NumberRow good[] = {
      {" 755.500 ", 755.5},
      {"-0", -0.0},
      {"1e3", 1000},
      {".5", 0.5},
      {"5.", 5},
      {"\t-12.25\t", -12.25},
      {"+3", 3},
      {"2E-2", 0.02},
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
  for (const char* text : {"755.5m", "", "  ", "III12", "inf", "nan", "0x10", "1,5", "1 000", "+",
                           ".", "1e", "1D2", "--1", "1.2.3", "e5"}) {
    auto value = ParseDecimal(text);
    ASSERT_FALSE(value.ok()) << text;
    EXPECT_EQ(value.error(), DecimalError::kNotANumber) << text;
  }
  ASSERT_FALSE(ParseDecimal("1e400").ok());
  EXPECT_EQ(ParseDecimal("1e400").error(), DecimalError::kTooLarge);
  EXPECT_EQ(*ParseDecimal("1e-400"), 0.0);
}

TEST(Round15, KeepsFifteenSignificantDigits) {
  const NumberRow rows[] = {
      {"30.255555555555564", 30.2555555555556},
      {"291.6406590783637", 291.640659078364},
      {"0.30000000000000004", 0.3},
      {"-7.114490307649461", -7.11449030764946},
      {"1e300", 1e300},
      {"0", 0},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(Round15(*ParseDecimal(row.text)), row.value) << row.text;
  }
  EXPECT_TRUE(std::isnan(Round15(NAN)));
}

TEST(PlainDecimal15, WritesDigitsWithoutExponent) {
  const struct {
    double value;
    const char* text;
  } rows[] = {
      {30.152, "30.152"},
      {720, "720"},
      {0.0003, "0.0003"},
      {1e20, "100000000000000000000"},
      {1.5e-7, "0.00000015"},
      {-12.3456, "12.3456"},
      {0, "0"},
      {359.99999999999997, "360"},
      {0.1 + 0.2, "0.3"},
      {123456.789012345678, "123456.789012346"},
  };
  for (const auto& row : rows) EXPECT_EQ(PlainDecimal15(row.value), row.text) << row.value;
}

}  // namespace
}  // namespace torvane
