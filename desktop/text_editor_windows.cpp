// windows.h first: the other system headers build on its types.
#include <windows.h>

#include <string>

#include "desktop/text_editor.h"

namespace torvane {

bool OpenInTextEditor(const std::string& utf8_path) {
  const QString path = QString::fromStdString(utf8_path);
  const std::wstring default_notepad = QString::fromUtf8(kDefaultNotepad).toStdWString();
  const bool exists = GetFileAttributesW(default_notepad.c_str()) != INVALID_FILE_ATTRIBUTES;
  wchar_t folder[MAX_PATH + 1] = {};
  const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH + 1);
  const QString windows_folder =
      length > 0 && length <= MAX_PATH ? QString::fromWCharArray(folder, length) : QString();
  std::wstring command =
      NotepadCommandLine(NotepadPath(exists, windows_folder), path).toStdWString();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWMAXIMIZED;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  // The editor lives on by itself; its handles are not needed.
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace torvane
