// The desktop behind the window: Qt's message boxes and file dialog, the
// system beep and the system text editor.
#pragma once

#include <QString>
#include <QTemporaryDir>

#include "desktop/platform.h"

namespace torvane {

class QtPlatform : public Platform {
 public:
  // Qt's file dialog writes its folder, history and view into Qt's own user
  // settings (QtProject.conf in the user's configuration folder) each time
  // it closes, with no option to stop it; the window keeps no settings. So
  // Qt's user settings files go to a temporary folder, removed with this
  // platform. (Where no temporary folder can be made, Qt's own place stays.)
  // Windows keeps Qt's native settings in the registry, which this leaves.
  QtPlatform();

  MessageAnswer ShowMessage(QWidget* owner, const QString& prompt, const QString& title,
                            MessageIcon icon, MessageButtons buttons) override;
  void Beep() override;
  bool ShowOpenDialog(QWidget* owner, OpenFileDialog& dialog) override;
  QStringList ShowFileDialog(QWidget* owner, const FileDialog& dialog) override;
  // OpenInTextEditor: Notepad on Windows, the desktop's editor elsewhere.
  bool StartTextEditor(const std::string& path) override;
  // The desktop's file manager (Explorer on Windows).
  bool OpenFolder(const QString& folder) override;
  // Qt's print dialog (the system's own on Windows).
  bool ChoosePrinter(QPrinter& printer, QWidget* owner) override;

 private:
  QTemporaryDir qt_settings_;
};

}  // namespace torvane
