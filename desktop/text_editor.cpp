#include "desktop/text_editor.h"

namespace torvane {

QString NotepadPath(bool default_notepad_exists, const QString& windows_folder) {
  if (default_notepad_exists || windows_folder.isEmpty()) return QString::fromUtf8(kDefaultNotepad);
  QString folder = windows_folder;
  if (!folder.endsWith(QLatin1Char('\\'))) folder += QLatin1Char('\\');
  return folder + QStringLiteral("notepad.exe");
}

QString NotepadCommandLine(const QString& editor, const QString& path) {
  return editor + QLatin1Char(' ') + path;
}

}  // namespace torvane
