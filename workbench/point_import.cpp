#include "workbench/point_import.h"

#include <QDir>

#include "desktop/run_failure_message.h"
#include "number/number_text.h"

namespace torvane {
Expected<std::vector<ProjectPoint>, RunError> ImportCommonPoints(const std::string& path,
                                                                 const CommonPointLayout& layout) {
  std::vector<CoordinateTexts> texts;
  auto points = ReadCommonPoints(path, layout, &texts);
  if (!points) return Fail(points.error());
  if (points->empty()) return Fail(FileError(RunErrorKind::kNoPoints, path, 0));
  std::vector<ProjectPoint> rows;
  for (std::size_t i = 0; i < points->size(); ++i) {
    const CoordinateTexts& t = texts[i];
    // Each text is the one the point's numbers were read from.
    rows.push_back({points->at(i).name, PointRole::kFit, t[0], t[1], t[2], t[3]});
  }
  return rows;
}

QString ImportFailureMessage(const RunError& error) {
  if (error.kind == RunErrorKind::kHeaderLine) {
    return QStringLiteral(
               "坐标文件“%1”第 %2 行“%3”像是表头，不是公共点：测图X 和 测图Y 都不是数字。\n"
               "请把“跳过开头的行数”设为 %2 后再导入。\n未导入公共点。")
        .arg(QDir::toNativeSeparators(QString::fromStdString(error.path)))
        .arg(error.line)
        .arg(QString::fromStdString(MessageExcerpt(error.field_text)));
  }
  QString message = RunFailureMessage(error);
  const QString not_written = QStringLiteral("\n未写出成果表。");
  if (message.endsWith(not_written)) message.chop(not_written.size());
  return message + QStringLiteral("\n未导入公共点。");
}

}  // namespace torvane
