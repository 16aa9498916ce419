#include <cmath>
#include <cstring>
#include <string>

#include "fuzz/check.h"
#include "fuzz/fuzz_targets.h"
#include "number/number_text.h"
#include "params/dms.h"

namespace torvane::fuzz {
namespace {

constexpr double kFullTurn = 360;

void OneAngle(double dms) {
  auto degrees = DmsToDegrees(dms);
  auto mirrored = DmsToDegrees(-dms);
  Check(degrees.ok() == mirrored.ok(), "a negative angle is read differently");
  if (!degrees) return;
  Check(std::isfinite(*degrees) && std::fabs(*degrees) < kFullTurn + 1,
        "DmsToDegrees left the turn");
  Check(*mirrored == -*degrees, "a negative angle does not mirror the positive one");
  (void)DegreesToRadians(*degrees);
  const std::string symbols = FormatDmsSymbols(*degrees);
  Check(symbols.find("60.000") == std::string::npos, "seconds shown as 60");
  auto number = FormatDmsNumber(*degrees);
  Check(number.ok(), "an angle DmsToDegrees read cannot be written back");
}

}  // namespace

void Dms(const std::uint8_t* data, std::size_t size) {
  if (size == sizeof(double)) {
    double dms;
    std::memcpy(&dms, data, sizeof dms);
    OneAngle(dms);
    return;
  }
  auto value = torvane::LeadingNumber(std::string_view(reinterpret_cast<const char*>(data), size));
  if (value) OneAngle(*value);
}

}  // namespace torvane::fuzz
