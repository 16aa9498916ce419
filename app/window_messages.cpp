#include "app/window_messages.h"

#include <QDir>

namespace torvane {

QString NumberTooLargeMessage(const QString& box, const QString& text) {
  return QStringLiteral("%1中的数值“%2”太大，无法读取。\n未进行计算。").arg(box, text);
}

QString NoResultFileMessage(const QString& result_path) {
  if (result_path.isEmpty()) {
    return QStringLiteral("还没有成果表可以浏览：请先进行坐标系转换计算。");
  }
  return QStringLiteral("成果表文件“%1”已不存在：请重新进行坐标系转换计算。")
      .arg(QDir::toNativeSeparators(result_path));
}

QString EditorFailedMessage(const QString& result_path) {
  return QStringLiteral("无法启动文本编辑器打开成果表文件“%1”。")
      .arg(QDir::toNativeSeparators(result_path));
}

}  // namespace torvane
