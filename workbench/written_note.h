// The status bar's note of the file an export last wrote: what was written
// and where, and a link that shows the folder in the system's file manager
// (through the platform, so that tests see it asked for and nothing opens).
#pragma once

#include <QLabel>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "desktop/platform.h"

namespace torvane {

class WrittenNote : public QLabel {
  Q_OBJECT

 public:
  explicit WrittenNote(Platform& platform, QWidget* parent = nullptr);

  // Says that `files` (paths as the core names them, UTF-8; one or more)
  // were written, in place of what was said before: one file as
  // "`what`已写到 PATH", several as "N 个`what`已写到 FOLDER" (or "… 已写到
  // K 个文件夹"), each folder with a link 打开文件夹 that shows it. None:
  // the note stays as it was.
  void ShowWritten(const QString& what, const std::vector<std::string>& files);

  // The folders the links show, in the order of the links (native
  // separators).
  const QStringList& folders() const { return folders_; }

 private:
  Platform& platform_;
  QStringList folders_;
};

}  // namespace torvane
