#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>
#include <string>

#include "fuzz/check.h"
#include "fuzz/fuzz_targets.h"
#include "number/fixed_format.h"
#include "number/number_text.h"
#include "number/pattern.h"

namespace torvane::fuzz {

void Pattern(const std::uint8_t* data, std::size_t size) {
  if (size < sizeof(double) + 1) return;
  double value;
  std::memcpy(&value, data, sizeof value);
  const std::string pattern(reinterpret_cast<const char*>(data) + sizeof value,
                            size - sizeof value);
  (void)FormatPattern(value, pattern);

  // The table's fast writers against the general path, for a pattern of
  // "#" and `decimals` zeros taken from the first pattern byte.
  if (!std::isfinite(value)) return;
  const int decimals = static_cast<unsigned char>(pattern[0]) % (kMaxFixedDecimals + 1);
  const std::string fixed = "#." + std::string(static_cast<std::size_t>(decimals), '0');
  const FixedPattern p{fixed, decimals};
  char text[kMaxFixedText];
  const std::string fast(text, WriteRound15Fixed(text, std::end(text), value, p));
  Check(fast == FormatPattern(value, fixed), "the fast writer differs for " + fixed);

  // A height read from the text of the value.
  char digits[64];
  auto [end, ec] = std::to_chars(digits, digits + sizeof digits, value);
  Check(ec == std::errc(), "to_chars failed");
  const std::string_view height(digits, end - digits);
  char* written = WriteDecimalFixed(text, std::end(text), height, p);
  auto read = ParseDecimal(height);
  Check((written != nullptr) == read.ok(), "the height writer accepts what the reader rejects");
  if (written != nullptr) {
    Check(std::string(text, written) == FormatPattern(*read, fixed),
          "the height writer differs for " + std::string(height));
  }
}

}  // namespace torvane::fuzz
