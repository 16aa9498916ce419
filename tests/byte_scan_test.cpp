// The word-at-a-time scans against an independent model, plain byte loops
// written here, on random buffers rich in the bytes that matter: CR, LF,
// tab, comma, digits, 0x80 and above.
#include "batch/byte_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "number/digit_run.h"

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
  }
}

// By hand: the digits before the first non-digit or the end, counted and
// read as a number. Each text is read twice: held alone, and with digits
// after its end, which the run must not take in.
TEST(DigitRun, CountsEveryDigitUpToANonDigitOrTheEnd) {
  const struct {
    std::string text;
    std::size_t count;
    std::uint64_t value;  // checked for counts up to 19
  } rows[] = {
      {"", 0, 0},
      {",", 0, 0},
      {"x1", 0, 0},
      {"7", 1, 7},
      {std::string("12\0003", 4), 2, 12},
      {"3448690.414", 7, 3448690},
      {"12345678", 8, 12345678},
      {"00000001x", 8, 1},
      {"123456789", 9, 123456789},
      {"1234567890123456.", 16, 1234567890123456ULL},
      {"9999999999999999999,", 19, 9999999999999999999ULL},
      {"12345678901234567890\r", 20, 0},
      {std::string(40, '5') + "\n", 40, 0},
  };
  for (const auto& row : rows) {
    const std::vector<char> alone(row.text.begin(), row.text.end());
    const std::string followed = row.text + "99999999";
    for (const char* first : {alone.data(), followed.data()}) {
      const DigitRunValue run = DigitRun(first, first + row.text.size());
      EXPECT_EQ(run.count, row.count) << row.text;
      if (row.count <= 19) {
        EXPECT_EQ(run.value, row.value) << row.text;
      }
    }
  }
}

// Against the model, a byte loop: bounded by `last`, and, with a line end
// and slack after the bytes, as the one-pass line reader reads: up to the
// first non-digit.
TEST(DigitRun, AgreesWithAByteLoop) {
  std::mt19937 random(11);
  for (int round = 0; round < 20000; ++round) {
    std::string buffer = RandomBytes(random, 40);
    // Runs of every length up to 30, ended by a random byte or by `last`.
    const std::size_t digits = random() % 31;
    for (std::size_t i = 0; i < digits; ++i) buffer[i] = static_cast<char>('0' + random() % 10);
    const std::size_t length = random() % (buffer.size() + 1);
    auto run_in = [&](std::size_t size) {
      DigitRunValue run;
      for (; run.count < size && buffer[run.count] >= '0' && buffer[run.count] <= '9';
           ++run.count) {
        run.value = run.value * 10 + static_cast<unsigned>(buffer[run.count] - '0');
      }
      return run;
    };
    const DigitRunValue bounded = run_in(length), whole = run_in(buffer.size());
    const DigitRunValue run = DigitRun(buffer.data(), buffer.data() + length);
    ASSERT_EQ(run.count, bounded.count) << buffer.substr(0, length);
    if (bounded.count <= 19) {
      EXPECT_EQ(run.value, bounded.value) << buffer.substr(0, length);
    }
    const std::string line = buffer + "\n" + std::string(8, '0');
    const DigitRunValue stopped =
        DigitRun<ReadTo::kStopByte>(line.data(), line.data() + line.size());
    ASSERT_EQ(stopped.count, whole.count) << buffer;
    if (whole.count <= 19) {
      EXPECT_EQ(stopped.value, whole.value) << buffer;
    }
  }
}

}  // namespace
}  // namespace torvane
