// The system text editor that shows a result table: Notepad on Windows,
// started by its command line; the desktop's editor elsewhere.
#pragma once

#include <QString>
#include <string>

namespace torvane {

// Where Windows keeps Notepad on most machines.
inline constexpr char kDefaultNotepad[] = "c:\\windows\\notepad.exe";

// The editor to start: kDefaultNotepad when a program is there, otherwise
// notepad.exe in `windows_folder`, the system's Windows folder (Windows
// installed on another drive).
QString NotepadPath(bool default_notepad_exists, const QString& windows_folder);

// The command line that starts the editor on a result file: the editor's
// path, one space and the path as it is, without quotes.
QString NotepadCommandLine(const QString& editor, const QString& path);

// Opens the file in the editor without waiting for it; false when the
// editor could not be started. `path` is UTF-8, on Linux the system's own
// bytes. Windows: NotepadCommandLine, maximised and activated. Elsewhere
// the desktop's default application for the file, handed its URL with
// every byte of the name kept.
bool OpenInTextEditor(const std::string& path);

}  // namespace torvane
