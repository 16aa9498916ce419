#include "workbench/height_offset_rule.h"

#include "batch/height_offset.h"
#include "number/exact_decimal.h"

namespace torvane {

Expected<std::optional<std::string>, QString> HeightOffsetOfBox(const QString& text) {
  const QString h0 = text.trimmed();
  if (h0.isEmpty()) return std::optional<std::string>();
  auto offset = HeightOffsetText(h0.toStdString());
  if (offset) return std::optional<std::string>(*offset);
  if (offset.error() == HeightOffsetError::kNotANumber) {
    return Fail(QStringLiteral("±0.000 高程 H0“%1”不是数字。").arg(h0));
  }
  return Fail(
      QStringLiteral("±0.000 高程 H0“%1”的小数位超过 %2 位。").arg(h0).arg(kMaxExactDecimals));
}

}  // namespace torvane
