#include "workbench/project_messages.h"

#include <QDir>

namespace torvane {

QString ProjectOpenFailureMessage(const QString& path, const ProjectRefusal& refusal) {
  const QString file = QStringLiteral("项目文件“%1”").arg(QDir::toNativeSeparators(path));
  const QString reason = QString::fromStdString(refusal.reason);
  switch (refusal.fault) {
    case ProjectFault::kCannotOpen:
      return QStringLiteral("无法打开%1：%2。").arg(file, reason);
    case ProjectFault::kCannotRead:
      return QStringLiteral("读取%1时出错：%2。").arg(file, reason);
    case ProjectFault::kTooLarge:
      return QStringLiteral("%1太大，不是项目文件：项目文件最多 %2 字节。")
          .arg(file)
          .arg(refusal.number);
    case ProjectFault::kDamaged:
      return QStringLiteral("%1已损坏：第 %2 字节处不是正确的 JSON。")
          .arg(file)
          .arg(refusal.number);
    case ProjectFault::kForeign:
      return QStringLiteral("%1不是 Torvane 项目文件。").arg(file);
    case ProjectFault::kNewer:
      return QStringLiteral("%1由较新版本的 Torvane 保存（项目版本 %2），本版本只能读取版本 %3。")
          .arg(file)
          .arg(refusal.number)
          .arg(kProjectVersion);
    case ProjectFault::kInvalid:
      break;
  }
  return QStringLiteral("%1的内容有误：%2").arg(file, reason);
}

}  // namespace torvane
