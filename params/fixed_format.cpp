#include "params/fixed_format.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "params/number_text.h"
#include "params/pattern.h"
#include "params/short_decimal.h"

namespace torvane {
namespace {

using Uint128 = unsigned __int128;

constexpr int kRoundDigits = 15;
constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1023;
constexpr std::uint64_t kMantissaMask = (1ULL << kMantissaBits) - 1;
// The magnitudes that take the fast path: 1 <= |v| < 1e10. Below 1 the
// powers of ten that bound the range are not exact doubles; from 1e10 on a
// 15-digit value has too few decimals beyond those shown.
constexpr double kFastLow = 1.0;
constexpr double kFastHigh = 1e10;
constexpr int kLog10TwoTimes4096 = 1233;  // log10(2) = 0.30103 ~ 1233/4096
constexpr int kMaxFastHeightIntegerDigits = 10;

// Two decimal digits at a time, "00" to "99".
constexpr auto kDigitPairs = [] {
  struct Pairs {
    char text[200];
  } pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs.text[2 * i] = static_cast<char>('0' + i / 10);
    pairs.text[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return pairs;
}();

// Decimal digits of n, at least 1.
int DigitCount(std::uint64_t n) {
  // bit_width·1233 >> 12 is floor(log10) of the power of two at or below
  // n, plus one; n below that power of ten has one digit fewer.
  const int guess = (std::bit_width(n | 1) * kLog10TwoTimes4096) >> 12;
  return guess + (n >= kPow10[guess]);
}

// Writes [-]integer.fraction for `scaled` = value · 10^decimals, right to
// left two digits at a time; no minus when the shown value is zero, nothing
// before the point when the integer part is zero, as "#" placeholders do.
char* WriteScaled(char* out, bool negative, std::uint64_t scaled, int decimals) {
  const int integer_digits = scaled < kPow10[decimals] ? 0 : DigitCount(scaled) - decimals;
  const bool minus = negative && scaled != 0;
  char* const end = out + minus + integer_digits + 1 + decimals;
  char* p = end;
  std::uint64_t n = scaled;
  int left = decimals;
  for (; left >= 2; left -= 2) {
    p -= 2;
    std::memcpy(p, kDigitPairs.text + 2 * (n % 100), 2);
    n /= 100;
  }
  if (left == 1) {
    *--p = static_cast<char>('0' + n % 10);
    n /= 10;
  }
  *--p = '.';
  for (; n >= 100; n /= 100) {
    p -= 2;
    std::memcpy(p, kDigitPairs.text + 2 * (n % 100), 2);
  }
  if (n >= 10) {
    p -= 2;
    std::memcpy(p, kDigitPairs.text + 2 * n, 2);
  } else if (n > 0) {
    *--p = static_cast<char>('0' + n);
  }
  if (minus) *--p = '-';
  return end;
}

char* WriteText(char* out, const std::string& text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// value · 10^decimals of FormatPattern(Round15(value)), when it can be had
// without the general path; false otherwise.
bool Round15Scaled(double magnitude, int decimals, std::uint64_t* scaled) {
  if (!(magnitude >= kFastLow && magnitude < kFastHigh)) return false;
  // magnitude = m · 2^-shift exactly, shift from 19 to 52 in this range.
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const std::uint64_t m = (bits & kMantissaMask) | (1ULL << kMantissaBits);
  const int exponent = static_cast<int>(bits >> kMantissaBits) - kExponentBias;
  const int shift = kMantissaBits - exponent;
  // floor(log10(2^exponent)) is exponent·1233 >> 12 here; the integer
  // digits are one more, or two when magnitude reaches the next power of ten.
  const int guess = (exponent * kLog10TwoTimes4096) >> 12;
  const int integer_digits = guess + 1 + (magnitude >= static_cast<double>(kPow10[guess + 1]));

  // Round15 keeps 15 significant digits, `dropped` more than the pattern
  // shows. Rounding to 15 digits and then to the pattern's decimals gives
  // the same as rounding the exact value once, unless the exact value lies
  // within one unit of the 15th digit of halfway between two shown values:
  // those few go the general path. (Past the first rounding, the double of
  // a 15-digit value lies within half an ulp of it, far nearer than any
  // rounding boundary of the pattern, so it rounds as the decimal does.)
  const int dropped = kRoundDigits - integer_digits - decimals;
  if (dropped < 1) return false;
  const Uint128 exact =
      static_cast<Uint128>(m) * kPow10[decimals];  // value · 10^decimals · 2^shift
  const Uint128 one = static_cast<Uint128>(1) << shift;
  const Uint128 rest = exact & (one - 1);
  const Uint128 half = one >> 1;
  const Uint128 from_half = rest > half ? rest - half : half - rest;
  if (from_half * kPow10[dropped] <= one) return false;
  *scaled = static_cast<std::uint64_t>(exact >> shift) + (rest > half);
  return true;
}

}  // namespace

char* WriteRound15Fixed(char* out, double value, const FixedPattern& pattern) {
  std::uint64_t scaled;
  if (Round15Scaled(value < 0 ? -value : value, pattern.decimals, &scaled)) {
    return WriteScaled(out, value < 0, scaled, pattern.decimals);
  }
  return WriteText(out, FormatPattern(Round15(value), pattern.text));
}

char* WriteDecimalFixed(char* out, std::string_view text, const FixedPattern& pattern) {
  if (auto d = ScanShortDecimal(TrimBlanks(text));
      d && d->decimals <= pattern.decimals &&
      d->digits < kPow10[kMaxFastHeightIntegerDigits + d->decimals]) {
    return WriteScaled(out, d->negative, d->digits * kPow10[pattern.decimals - d->decimals],
                       pattern.decimals);
  }
  auto value = ParseDecimal(text);
  if (!value) return nullptr;
  return WriteText(out, FormatPattern(*value, pattern.text));
}

}  // namespace torvane
