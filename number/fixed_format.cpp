#include "number/fixed_format.h"

#include <bit>
#include <cassert>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "number/number_text.h"
#include "number/pattern.h"
#include "number/powers_of_ten.h"
#include "number/short_decimal.h"
#include "number/words.h"

namespace torvane {
namespace {

using Uint128 = unsigned __int128;

constexpr int kMantissaBits = 52;
constexpr int kExponentBias = 1023;
constexpr std::uint64_t kMantissaMask = (1ULL << kMantissaBits) - 1;
// The magnitudes that take the fast path: 1 <= |v| < 1e10. Below 1 the
// powers of ten that bound the range are not exact doubles; from 1e10 on a
// 15-digit value has too few decimals beyond those shown.
constexpr double kFastLow = 1.0;
constexpr double kFastHigh = 1e10;
// log10(2) = 0.30103 ~ 1233/4096, as in the integer log base 10 of Sean
// Anderson's "Bit Twiddling Hacks".
constexpr int kLog10TwoTimes4096 = 1233;
constexpr int kLog2TenTimes1024 = 3401;  // log2(10) = 3.3219 ~ 3401/1024, rounded down

// Zeros to fill decimals with, as many as a pattern has at most.
constexpr char kZeroDigits[kMaxFixedDecimals] = {'0', '0', '0', '0', '0', '0',
                                               '0', '0', '0', '0', '0', '0'};

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

// Writes the digits of n from right to left ending at `end`, two at a
// time, `count` of them (leading zeros included) or, with count 0, as many
// as n has (none for 0). Returns where they start.
char* WriteDigitsBackwards(char* end, std::uint64_t n, int count) {
  char* p = end;
  if (count > 0) {
    for (; count >= 2; count -= 2) {
      p -= 2;
      std::memcpy(p, kDigitPairs.text + 2 * (n % 100), 2);
      n /= 100;
    }
    if (count == 1) *--p = static_cast<char>('0' + n);
    return p;
  }
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
  return p;
}

constexpr std::uint64_t kEightDigitLimit = 100000000;

// The eight decimal digits of n (below 10^8), leading zeros included, as
// ASCII in memory order: one 64-bit word is split into lanes of four, two
// and one digits by multiplications that divide each lane at once (Paul
// Khuong's encode_ten_thousands, from "How to print integers really fast").
std::uint64_t EightDigits(std::uint64_t n) {
  assert(n < kEightDigitLimit);
  const std::uint64_t fours = (n / 10000) | ((n % 10000) << 32);
  // x / 100 = (x · 10486) >> 20 and x / 10 = (x · 103) >> 10 for the lane
  // values here (below 10000 and below 100); no lane overflows into the next.
  const std::uint64_t high_pairs = ((fours * 10486) >> 20) & 0x0000007F0000007FULL;
  const std::uint64_t pairs = high_pairs | ((fours - high_pairs * 100) << 16);
  const std::uint64_t tens = ((pairs * 103) >> 10) & 0x000F000F000F000FULL;
  return (tens | ((pairs - tens * 10) << 8)) + kZeros;
}

// Stores the digits of `eight` (as EightDigits gives them) from the one
// numbered `from` (0 to 7) on at `out`; the rest of the eight bytes at `out`
// is scratch. Returns the end.
char* StoreFrom(char* out, std::uint64_t eight, int from) {
  assert(from >= 0 && from < static_cast<int>(kWordBytes));
  const std::uint64_t digits = eight >> (8 * from);
  std::memcpy(out, &digits, sizeof digits);
  return out + (static_cast<int>(kWordBytes) - from);
}

// Writes [-]integer.fraction for `scaled` = value · 10^Decimals; no minus
// when the shown value is zero, nothing before the point when the integer
// part is zero, as "#" placeholders do. The last eight digits of `scaled`
// are made at once, the point put in between as they are stored.
template <int Decimals>
char* WriteScaledAs(char* out, bool negative, std::uint64_t scaled) {
  static_assert(Decimals >= 1 && Decimals <= 8);
  // The minus is stored whether it counts or not (the digits overwrite
  // it), as the sign of a coordinate is a coin toss for branch prediction.
  *out = '-';
  char* p = out + (negative && scaled != 0);
  if (scaled < kEightDigitLimit) {
    const std::uint64_t eight = EightDigits(scaled);
    const int digits = scaled < kPow10[Decimals] ? Decimals : DigitCount(scaled);
    const int integer_digits = digits - Decimals;
    if (integer_digits > 0) {
      // Stores the integer's digits and, for now, the fraction's after them.
      StoreFrom(p, eight, 8 - Decimals - integer_digits);
      p += integer_digits;
    }
    *p++ = '.';
    return StoreFrom(p, eight, 8 - Decimals);
  }
  if (scaled < kEightDigitLimit * kEightDigitLimit) {
    const std::uint64_t high = scaled / kEightDigitLimit;  // the integer's leading digits
    const std::uint64_t eight = EightDigits(scaled % kEightDigitLimit);
    if (high >= 100) {
      p = StoreFrom(p, EightDigits(high), 8 - DigitCount(high));
    } else {
      // One digit or two: the pair's second byte alone, or both; a byte
      // stored beyond them is overwritten next.
      const bool one = high < 10;
      std::memcpy(p, kDigitPairs.text + 2 * high + one, 2);
      p += 2 - one;
    }
    std::memcpy(p, &eight, sizeof eight);  // the integer's last 8 - Decimals digits
    p += 8 - Decimals;
    *p++ = '.';
    return StoreFrom(p, eight, 8 - Decimals);
  }
  const std::uint64_t integer = scaled / kPow10[Decimals];
  char* const end = p + DigitCount(integer) + 1 + Decimals;
  WriteDigitsBackwards(end, scaled % kPow10[Decimals], Decimals);
  end[-Decimals - 1] = '.';
  WriteDigitsBackwards(end - Decimals - 1, integer, 0);
  return end;
}

// The divisions by a power of ten become multiplications where it is known
// at compile time: for the decimals of the result table.
char* WriteScaled(char* out, bool negative, std::uint64_t scaled, int decimals) {
  switch (decimals) {
    case 4:
      return WriteScaledAs<4>(out, negative, scaled);
    case 5:
      return WriteScaledAs<5>(out, negative, scaled);
    default: {
      const int integer_digits = scaled < kPow10[decimals] ? 0 : DigitCount(scaled) - decimals;
      const bool minus = negative && scaled != 0;
      char* const end = out + minus + integer_digits + 1 + decimals;
      WriteDigitsBackwards(end, scaled % kPow10[decimals], decimals);
      end[-decimals - 1] = '.';
      WriteDigitsBackwards(end - decimals - 1, scaled / kPow10[decimals], 0);
      if (minus) *out = '-';
      return end;
    }
  }
}

char* WriteText(char* out, const std::string& text) {
  std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

// value · 10^decimals of FormatPattern(value), when it can be had without
// the general path; false otherwise.
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
  const int integer_digits = guess + 1 + (magnitude >= kExactPow10[guess + 1]);

  // FormatPattern rounds the 15-digit text, which has `dropped` digits
  // more than the pattern shows. That gives the same as rounding the exact
  // value once, unless the exact value lies within one unit of the 15th
  // digit of halfway between two shown values: those few go the general
  // path. (Elsewhere the 15-digit text, within half a unit of the 15th digit
  // of the exact value, lies on the same side of every halfway point, and
  // is none itself. A 15-digit text that is exactly halfway, where the
  // binary tail of the double would decide the other way, is among those
  // sent on.)
  const int dropped = kSignificantDigits - integer_digits - decimals;
  if (dropped < 1) return false;
  // value · 10^decimals · 2^shift, exactly, in two 64-bit halves.
  const Uint128 exact = static_cast<Uint128>(m) * kPow10[decimals];
  const auto high = static_cast<std::uint64_t>(exact >> 64);
  const auto low = static_cast<std::uint64_t>(exact);
  const std::uint64_t one = 1ULL << shift;  // shift < 64: the fraction is in `low`
  const std::uint64_t rest = low & (one - 1);
  const std::uint64_t half = one >> 1;
  const std::uint64_t from_half = rest > half ? rest - half : half - rest;
  // from_half · 10^dropped <= one, tested as from_half <= one / 2^k with
  // 2^k the largest power of two not above 10^dropped: a few more values
  // than needed go the general path, none fewer.
  if (from_half <= (one >> ((dropped * kLog2TenTimes1024) >> 10))) return false;
  *scaled = ((high << (64 - shift)) | (low >> shift)) + (rest > half);
  return true;
}

}  // namespace

char* WriteRound15Fixed(char* out, [[maybe_unused]] const char* room_end, double value,
                        const FixedPattern& pattern) {
  assert(room_end - out >= static_cast<std::ptrdiff_t>(kMaxFixedText));
  assert(pattern.decimals >= 0 && pattern.decimals <= kMaxFixedDecimals);
  std::uint64_t scaled;
  if (Round15Scaled(value < 0 ? -value : value, pattern.decimals, &scaled)) {
    return WriteScaled(out, value < 0, scaled, pattern.decimals);
  }
  return WriteText(out, FormatPattern(value, pattern.text));
}

char* WriteShortDecimalFixed(char* out, [[maybe_unused]] const char* room_end,
                             const ShortDecimal& d, std::string_view text,
                             const FixedPattern& pattern) {
  assert(room_end - out >= static_cast<std::ptrdiff_t>(kMaxFixedText));
  assert(pattern.decimals >= 0 && pattern.decimals <= kMaxFixedDecimals);
  assert(!text.empty());  // a short decimal has a digit at least
  // With fewer than 15 - decimals integer digits the text has at most 15
  // significant digits, so it is the 15-digit text of the double read from
  // it; with no more decimals than shown it prints as it is written.
  if (d.decimals > pattern.decimals ||
      d.digits >= kPow10[kSignificantDigits - pattern.decimals + d.decimals]) {
    return nullptr;
  }
  // A text that starts with a digit from 1 to 9 (after a minus) is already
  // written as the pattern writes it, short only of the point and zeros.
  const std::size_t lead = text[0] == '-';
  if (text.size() > lead && text[lead] >= '1' && text[lead] <= '9') {
    char* p = CopyBytes(out, text.data(), text.size());
    if (d.decimals == 0 && text.back() != '.') *p++ = '.';
    std::memcpy(p, kZeroDigits, sizeof kZeroDigits);
    return p + (pattern.decimals - d.decimals);
  }
  return WriteScaled(out, d.negative, d.digits * kPow10[pattern.decimals - d.decimals],
                     pattern.decimals);
}

char* WriteDecimalFixed(char* out, const char* room_end, std::string_view text,
                        const FixedPattern& pattern) {
  assert(room_end - out >= static_cast<std::ptrdiff_t>(kMaxFixedText));
  if (auto d = ScanShortDecimal(TrimBlanks(text))) {
    if (char* end = WriteShortDecimalFixed(out, room_end, *d, TrimBlanks(text), pattern)) {
      return end;
    }
  }
  auto value = ParseDecimal(text);
  if (!value) return nullptr;
  return WriteText(out, FormatPattern(*value, pattern.text));
}

}  // namespace torvane
