// Application-wide set-up shared by both windows and the screenshot tool.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QApplication;

namespace torvane {

// The application's name, and the caption of every box that has no title
// of its own.
inline constexpr const char* kAppTitle = "Torvane";

// The application's reverse-DNS id: the name of its desktop entry (without
// ".desktop") and of its AppStream metainfo and icon in the Debian package
// (packaging/linux/), which Wayland compositors match the window to.
inline constexpr const char* kDesktopFileName = "io.github.torvane.Torvane";
// The workbench's own desktop entry, which `torvane --workbench` names instead.
inline constexpr const char* kWorkbenchDesktopFileName = "io.github.torvane.Torvane.Workbench";

// Names the application "Torvane" and its desktop entry, picks a Chinese
// interface font, gives it the window icon and installs Qt's own Simplified
// Chinese translation, so that standard buttons and the file dialog read
// 确定, 取消 and so on. Returns false when the translation could not be found
// (the program still runs, in English dialog buttons).
bool SetUpApplication(QApplication& app);

// The installed font family that `name` stands for: the name itself, or the
// family it is another name of. Qt lists a font by one of its names only,
// the one in the system's language where the font has it (微软雅黑 on a
// Chinese Windows, Microsoft YaHei elsewhere). Empty when no installed font
// has the name. Needs the application object.
QString InstalledFamily(const QString& name);

// The window's font family: the desktop's own (`desktop`) when it is a
// Simplified Chinese one, otherwise the first installed of the usual
// Chinese interface fonts. `chinese` lists the installed families that
// write Simplified Chinese, `installed` is InstalledFamily or a stand-in.
// Empty: keep the desktop's font, no Chinese one being known.
QString ChineseInterfaceFamily(const QString& desktop, const QStringList& chinese,
                               const std::function<QString(const QString&)>& installed);

// Empty when a Simplified Chinese font is installed; otherwise the message
// that says none is, that Chinese texts will show as boxes, and which
// Debian package to install (in English too, which shows without one).
// Needs the application object.
QString MissingChineseFontMessage();

}  // namespace torvane
