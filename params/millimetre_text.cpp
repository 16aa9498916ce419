#include "params/millimetre_text.h"

#include <string_view>

#include "number/pattern.h"
#include "params/constants.h"

namespace torvane {
namespace {

constexpr std::string_view kMillimetrePattern = "0.000";

}  // namespace

std::string MillimetreText(double metres) {
  return FormatPattern(metres * kMillimetresPerMetre, kMillimetrePattern);
}

}  // namespace torvane
