// The word-at-a-time scans against plain byte loops, on random buffers rich
// in the bytes that matter: CR, LF, tab, comma, digits, 0x80 and above.
#include "batch/byte_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "number/short_decimal.h"

namespace torvane {
namespace {

constexpr char kAlphabet[] = {'\r', '\n', '\t', ',',    ' ',    '.',    '0',    '5',    '9',   '/',
                              ':',  'A',  '\0', '\x0B', '\x0E', '\x7F', '\x80', '\xB5', '\xFF'};

std::string RandomBytes(std::mt19937& random, std::size_t size) {
  std::uniform_int_distribution<std::size_t> pick(0, sizeof kAlphabet - 1);
  std::string s(size, ' ');
  for (char& c : s) c = kAlphabet[pick(random)];
  return s;
}

TEST(ByteScan, AgreesWithByteLoops) {
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    const std::string buffer = RandomBytes(random, 40);
    const std::size_t length = random() % 33;
    const char* first = buffer.data();
    const char* last = first + length;
    SCOPED_TRACE(std::to_string(round));

    std::size_t line_end = 0;
    while (line_end < length && buffer[line_end] != '\r' && buffer[line_end] != '\n') ++line_end;
    bool non_ascii = false, non_ascii_before = false;
    for (std::size_t i = 0; i < line_end; ++i) {
      non_ascii_before |= static_cast<unsigned char>(buffer[i]) >= 0x80;
    }
    EXPECT_EQ(FindLineEnd(first, last, &non_ascii) - first, static_cast<long>(line_end));
    if (non_ascii_before) {
      EXPECT_TRUE(non_ascii);
    }
    if (IsAscii(std::string_view(first, length))) {
      EXPECT_FALSE(non_ascii);
    }

    bool ascii = true;
    for (std::size_t i = 0; i < length; ++i) ascii &= static_cast<unsigned char>(buffer[i]) < 0x80;
    EXPECT_EQ(IsAscii(std::string_view(first, length)), ascii);

    std::size_t digits = 0;
    std::uint64_t expected = 0;
    while (digits < length && buffer[digits] >= '0' && buffer[digits] <= '9') {
      expected = expected * 10 + static_cast<unsigned>(buffer[digits] - '0');
      ++digits;
    }
    std::uint64_t value = 0;
    EXPECT_EQ(LeadingDigits(first, last, &value), digits);
    EXPECT_EQ(value, expected);
  }
}

TEST(ByteScan, LeadingDigitsOfLongRuns) {
  const struct {
    std::string text;
    std::size_t count;
    std::uint64_t value;
  } rows[] = {
      {"12345678", 8, 12345678},
      {"123456789.5", 9, 123456789},
      {"9999999999999999999,", 19, 9999999999999999999ULL},
      {"00000001x", 8, 1},
      {"", 0, 0},
      {"x1", 0, 0},
  };
  for (const auto& row : rows) {
    std::uint64_t value = 99;
    const char* first = row.text.data();
    EXPECT_EQ(LeadingDigits(first, first + row.text.size(), &value), row.count) << row.text;
    EXPECT_EQ(value, row.value) << row.text;
  }
}

// DigitRun reads with no bound but the non-digit after the run; the rows
// carry words of slack after it, as the reader's buffer does.
TEST(ByteScan, DigitRunCountsToTheFirstNonDigit) {
  const struct {
    std::string text;
    std::size_t count;
    std::uint64_t value;  // checked for counts up to 19
  } rows[] = {
      {",", 0, 0},
      {"7\n", 1, 7},
      {"3448690.414", 7, 3448690},
      {"00000001x", 8, 1},
      {"38448690.4", 8, 38448690},
      {"123456789 ", 9, 123456789},
      {"1234567890123456.", 16, 1234567890123456ULL},
      {"9999999999999999999,", 19, 9999999999999999999ULL},
      {"12345678901234567890\r", 20, 0},
      {"1234567890123456789012345", 24, 0},  // more than 19: the count stops at 24
  };
  for (const auto& row : rows) {
    const std::string buffer = row.text + std::string(24, '\n');
    const DigitRunValue run = DigitRun(buffer.data());
    EXPECT_EQ(run.count, row.count) << row.text;
    if (row.count <= 19) {
      EXPECT_EQ(run.value, row.value) << row.text;
    }
  }
}

TEST(ByteScan, DigitRunAgreesWithLeadingDigits) {
  std::mt19937 random(11);
  for (int round = 0; round < 20000; ++round) {
    std::string buffer = RandomBytes(random, 24);
    // Runs of every length up to 19, then random bytes and a line end.
    const std::size_t digits = random() % 20;
    for (std::size_t i = 0; i < digits; ++i) buffer[i] = static_cast<char>('0' + random() % 10);
    buffer += std::string(24, '\n');
    const char* first = buffer.data();
    std::uint64_t expected = 0;
    const std::size_t count = LeadingDigits(first, first + buffer.size(), &expected);
    const DigitRunValue run = DigitRun(first);
    ASSERT_EQ(run.count, std::min<std::size_t>(count, 24)) << buffer;
    if (count <= 19) {
      EXPECT_EQ(run.value, expected) << buffer;
    }
  }
}

}  // namespace
}  // namespace torvane
