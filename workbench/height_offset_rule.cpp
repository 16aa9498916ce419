#include "workbench/height_offset_rule.h"

#include "batch/height_offset.h"
#include "batch/run_error.h"
#include "number/exact_decimal.h"

namespace torvane {

Expected<std::optional<std::string>, QString> HeightOffsetOfBox(const QString& text) {
  const QString h0 = text.trimmed();
  if (h0.isEmpty()) return std::optional<std::string>();
  auto offset = HeightOffsetText(h0.toStdString());
  if (offset) return std::optional<std::string>(*offset);
  // Quoted as the command line quotes --dh: a long text cut.
  const QString quoted = QString::fromStdString(MessageExcerpt(h0.toStdString()));
  if (offset.error() == HeightOffsetError::kNotANumber) {
    return Fail(QStringLiteral("±0.000 高程 H0“%1”不是数字。").arg(quoted));
  }
  return Fail(
      QStringLiteral("±0.000 高程 H0“%1”的小数位超过 %2 位。").arg(quoted).arg(kMaxExactDecimals));
}

}  // namespace torvane
