// The desktop behind the window: Qt's message boxes and file dialog, the
// system beep and the system text editor.
#pragma once

#include <QString>

#include "app/platform.h"

namespace torvane {

class QtPlatform : public Platform {
 public:
  MessageAnswer ShowMessage(QWidget* owner, const QString& prompt, const QString& title,
                            MessageIcon icon, MessageButtons buttons) override;
  void Beep() override;
  bool ShowOpenDialog(QWidget* owner, OpenFileDialog& dialog) override;
  // OpenInTextEditor: Notepad on Windows, the desktop's editor elsewhere.
  bool StartTextEditor(const std::string& path) override;
};

}  // namespace torvane
