#include "params/millimetre_text.h"

#include <cmath>
#include <limits>
#include <string_view>

#include "number/number_text.h"
#include "number/pattern.h"
#include "params/constants.h"

namespace torvane {
namespace {

constexpr std::string_view kMillimetrePattern = "0.000";

}  // namespace

std::string MillimetreText(double metres) {
  return FormatPattern(metres * kMillimetresPerMetre, kMillimetrePattern);
}

double ShownMillimetres(double metres) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  // "inf" and "nan" have no leading number: they are told apart first.
  if (!std::isfinite(metres * kMillimetresPerMetre)) return kInfinity;
  auto shown = LeadingNumber(MillimetreText(metres));
  return shown ? std::fabs(*shown) : kInfinity;
}

}  // namespace torvane
