#include "report/coordinate_text.h"

#include "number/pattern.h"

namespace torvane {

std::string CoordinatePattern(int decimals) {
  if (decimals <= 0) return "0";
  return "0." + std::string(static_cast<std::size_t>(decimals), '0');
}

std::string CoordinateText(double metres, std::string_view pattern) {
  return FormatPattern(metres, pattern);
}

}  // namespace torvane
