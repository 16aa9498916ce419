// The desktop behind the window: Qt's message boxes and file dialog, the
// system beep and the system text editor.
#pragma once

#include <QString>

#include "app/platform.h"

namespace torvane {

// The command line that starts the Windows editor on a result file: the
// editor's path, one space and the path as it is, without quotes.
QString NotepadCommandLine(const QString& path);

class QtPlatform : public Platform {
 public:
  MessageAnswer ShowMessage(QWidget* owner, const QString& prompt, const QString& title,
                            MessageIcon icon, MessageButtons buttons) override;
  void Beep() override;
  bool ShowOpenDialog(QWidget* owner, OpenFileDialog& dialog) override;
  // Windows: NotepadCommandLine(path), maximised and activated. Elsewhere the
  // desktop's default application for the file, normally its text editor.
  bool StartTextEditor(const QString& path) override;
};

}  // namespace torvane
