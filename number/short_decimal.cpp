#include "number/short_decimal.h"

namespace torvane {

std::optional<ShortDecimal> ScanShortDecimal(std::string_view text) {
  const char* const last = text.data() + text.size();
  ShortDecimal d;
  const char* const end = ReadShortDecimal(text.data(), last, &d);
  // An empty text may have no data at all: nullptr is then its end too.
  if (end == nullptr || end != last) return std::nullopt;
  return d;
}

}  // namespace torvane
