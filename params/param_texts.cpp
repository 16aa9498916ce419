#include "params/param_texts.h"

#include <string_view>

#include "number/number_text.h"
#include "number/pattern.h"
#include "params/constants.h"
#include "params/dms.h"

namespace torvane {
namespace {

constexpr std::string_view kOffsetPattern = "#########.######";

}  // namespace

std::string OffsetText(double metres) { return FormatPattern(metres, kOffsetPattern); }

double OffsetShown(double metres) { return LeadingNumber(OffsetText(metres)).value(); }

double BoxDegrees(double theta) {
  return theta / kPiPrime * kDegreesPerHalfTurn;  // divide first
}

Expected<ParamTexts> MakeParamTexts(double x_offset, double y_offset, double theta) {
  auto angle = FormatDmsNumber(BoxDegrees(theta));
  if (!angle) return Fail(angle.error());
  return ParamTexts{OffsetText(x_offset), OffsetText(y_offset), *angle};
}

}  // namespace torvane
