#include "workbench/written_note.h"

#include <QDir>
#include <QFileInfo>

namespace torvane {
namespace {

QString Native(const std::string& path) {
  return QDir::toNativeSeparators(QString::fromStdString(path));
}

}  // namespace

WrittenNote::WrittenNote(Platform& platform, QWidget* parent)
    : QLabel(parent), platform_(platform) {
  setObjectName(QStringLiteral("written"));
  setTextFormat(Qt::RichText);
  setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  setToolTip(QStringLiteral("点“打开文件夹”在文件管理器中查看"));
  connect(this, &QLabel::linkActivated, this, [this](const QString& link) {
    bool number = false;
    const int index = link.toInt(&number);
    if (number && index >= 0 && index < folders_.size()) platform_.OpenFolder(folders_[index]);
  });
}

void WrittenNote::ShowWritten(const QString& what, const std::vector<std::string>& files) {
  if (files.empty()) return;
  folders_.clear();
  for (const std::string& file : files) {
    const QString folder =
        QDir::toNativeSeparators(QFileInfo(QString::fromStdString(file)).absolutePath());
    if (!folders_.contains(folder)) folders_ << folder;
  }
  QString html;
  if (files.size() == 1) {
    html = QStringLiteral("%1已写到 %2").arg(what, Native(files.front())).toHtmlEscaped();
  } else if (folders_.size() == 1) {
    html = QStringLiteral("%1 个%2已写到 %3")
               .arg(QString::number(files.size()), what, folders_.front())
               .toHtmlEscaped();
  } else {
    html = QStringLiteral("%1 个%2已写到 %3 个文件夹")
               .arg(QString::number(files.size()), what, QString::number(folders_.size()))
               .toHtmlEscaped();
  }
  for (int i = 0; i < folders_.size(); ++i) {
    const QString name = folders_.size() == 1
                             ? QStringLiteral("打开文件夹")
                             : QStringLiteral("打开“%1”").arg(folders_[i]).toHtmlEscaped();
    html += QStringLiteral("　<a href='%1'>%2</a>").arg(QString::number(i), name);
  }
  setText(html);
}

}  // namespace torvane
