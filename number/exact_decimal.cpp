#include "number/exact_decimal.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cstdint>
#include <system_error>

namespace torvane {
namespace {

// ±digits · 10^exponent: digits without zeros in front or behind, empty
// for zero (then exponent 0 and not negative).
struct Exact {
  bool negative = false;
  std::string digits;
  std::int64_t exponent = 0;
};

// Beyond the exponent of any digit a text can hold; keeps sums in range.
constexpr std::int64_t kHugeExponent = std::int64_t{1} << 40;

// A text that ParseDecimal reads, as an exact decimal; rejects what
// ExactDecimalSum rejects.
Expected<Exact, DecimalError> ReadExact(std::string_view text) {
  const auto value = ParseDecimal(text);
  if (!value) return Fail(value.error());
  if (*value == 0) return Exact{};  // zero, or below the smallest double as doubles read it
  std::string_view s = TrimBlanks(text);
  Exact e;
  if (s.front() == '+' || s.front() == '-') {
    e.negative = s.front() == '-';
    s.remove_prefix(1);
  }
  std::int64_t decimals = 0;
  bool after_point = false;
  std::size_t i = 0;
  for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
    if (s[i] == '.') {
      after_point = true;
      continue;
    }
    if (!(e.digits.empty() && s[i] == '0')) e.digits += s[i];
    if (after_point) ++decimals;
  }
  std::int64_t power = 0;
  if (i < s.size()) {
    const char* first = s.data() + i + 1;
    const char* last = s.data() + s.size();
    const bool minus = *first == '-';
    if (*first == '+' || *first == '-') ++first;
    if (std::from_chars(first, last, power).ec == std::errc::result_out_of_range) {
      power = kHugeExponent;
    }
    power = std::min(power, kHugeExponent);
    if (minus) power = -power;
  }
  std::size_t kept = e.digits.size();
  while (e.digits[kept - 1] == '0') --kept;
  e.exponent = power - decimals + static_cast<std::int64_t>(e.digits.size() - kept);
  e.digits.resize(kept);
  if (e.exponent < -kMaxExactDecimals) return Fail(DecimalError::kNotANumber);
  return e;
}

// `digits` with `zeros` zeros behind.
std::string Widened(const std::string& digits, std::int64_t zeros) {
  return digits + std::string(static_cast<std::size_t>(zeros), '0');
}

// Whether the whole number `a` is less than `b` (both without zeros in front).
bool LessThan(const std::string& a, const std::string& b) {
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// The plain text of ±digits · 10^exponent.
std::string PlainText(bool negative, std::string digits, std::int64_t exponent) {
  const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
  digits.erase(0, first);
  if (digits.empty()) return "0";
  std::size_t kept = digits.size();
  while (digits[kept - 1] == '0') --kept;
  exponent += static_cast<std::int64_t>(digits.size() - kept);
  digits.resize(kept);
  std::string text = negative ? "-" : "";
  if (exponent >= 0) return text + Widened(digits, exponent);
  const std::int64_t point = static_cast<std::int64_t>(digits.size()) + exponent;
  if (point > 0) {
    const auto p = static_cast<std::size_t>(point);
    return text + digits.substr(0, p) + "." + digits.substr(p);
  }
  return text + "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
}

}  // namespace

Expected<std::string, DecimalError> ExactDecimalSum(std::string_view a, std::string_view b,
                                                    bool subtract) {
  auto read_a = ReadExact(a);
  if (!read_a) return Fail(read_a.error());
  auto read_b = ReadExact(b);
  if (!read_b) return Fail(read_b.error());
  const Exact* x = &*read_a;
  Exact b_signed = *read_b;
  if (subtract && !b_signed.digits.empty()) b_signed.negative = !b_signed.negative;
  const Exact* y = &b_signed;
  if (y->digits.empty()) return PlainText(x->negative, x->digits, x->exponent);
  if (x->digits.empty()) return PlainText(y->negative, y->digits, y->exponent);
  // Both as whole numbers of the finer one's unit, right-aligned.
  const std::int64_t unit = std::min(x->exponent, y->exponent);
  std::string p = Widened(x->digits, x->exponent - unit);
  std::string q = Widened(y->digits, y->exponent - unit);
  bool negative = x->negative;
  if (x->negative != y->negative && LessThan(p, q)) {
    std::swap(p, q);
    negative = y->negative;
  }
  // p is now the longer (or, for a difference, the larger) of the two.
  if (p.size() < q.size()) std::swap(p, q);
  const bool add = x->negative == y->negative;
  std::string sum(p.size() + 1, '0');
  int carry = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    const int d = p[p.size() - 1 - i] - '0';
    const int e = i < q.size() ? q[q.size() - 1 - i] - '0' : 0;
    int r = add ? d + e + carry : d - e - carry;
    carry = 0;
    if (r >= 10) {
      r -= 10;
      carry = 1;
    } else if (r < 0) {
      r += 10;
      carry = 1;
    }
    sum[sum.size() - 1 - i] = static_cast<char>('0' + r);
  }
  assert(add || carry == 0);
  sum[0] = static_cast<char>('0' + carry);
  return PlainText(negative, std::move(sum), unit);
}

}  // namespace torvane
