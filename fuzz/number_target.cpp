#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

#include "fuzz/check.h"
#include "fuzz/fuzz_targets.h"
#include "number/number_text.h"

namespace torvane::fuzz {

void LeadingNumber(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  auto leading = torvane::LeadingNumber(text);
  if (leading) Check(std::isfinite(*leading), "the leading number is not finite");

  auto strict = ParseDecimal(text);
  if (!strict) return;
  Check(std::isfinite(*strict), "a strict number is not finite");
  // A text the strict rule accepts is a number with blanks around it: the
  // leading-number rule reads the same value.
  Check(leading.ok() && *leading == *strict, "the two rules read a number differently");
  // And the value is the correctly rounded one, as from_chars reads it.
  std::string_view s = TrimBlanks(text);
  const bool negative = !s.empty() && s[0] == '-';
  if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
  double reference = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), reference);
  if (ec == std::errc()) {
    Check(end == s.data() + s.size(), "from_chars stops early on a strict number");
    if (negative) reference = -reference;
    Check(*strict == reference && std::signbit(*strict) == std::signbit(reference),
          "ParseDecimal differs from from_chars on \"" + std::string(text) + "\"");
  }
}

}  // namespace torvane::fuzz
