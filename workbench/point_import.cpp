#include "workbench/point_import.h"

#include <QDir>

#include "desktop/run_failure_message.h"

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
    rows.push_back({points->at(i).name, PointRole::kFit, t[0], t[1], t[2], t[3], t[4], t[5]});
  }
  return rows;
}

namespace {

// How a workbook's points come in, after what the file is.
QString WorkbookText(const QString& path) {
  return QStringLiteral(
             "“%1”是电子表格工作簿，不能直接导入。请在电子表格软件中选中公共点的单元格复制，"
             "再用“粘贴公共点”（Ctrl+V）粘贴到公共点表中；或把工作簿另存为“CSV (逗号分隔)”或"
             "“Unicode 文本”后导入该文件（Unicode 文本以制表符分隔）。\n未导入公共点。")
      .arg(QDir::toNativeSeparators(path));
}

}  // namespace

QStringList ImportFileFilters() {
  return {QStringLiteral("公共点文件 (*.csv *.txt *.dat *.xlsx *.xls *.ods)"),
          QStringLiteral("所有文件 (*)")};
}

std::optional<QString> WorkbookAdvice(const QString& path) {
  for (const char* extension : {".xlsx", ".xls", ".ods"}) {
    if (path.endsWith(QLatin1String(extension), Qt::CaseInsensitive)) return WorkbookText(path);
  }
  return std::nullopt;
}

QString ImportFailureMessage(const RunError& error) {
  if (error.kind == RunErrorKind::kWorkbook) {
    return WorkbookText(QString::fromStdString(error.path));
  }
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
