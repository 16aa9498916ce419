// Application-wide set-up shared by the program and the screenshot tool.
#pragma once

class QApplication;

namespace torvane {

// The application's reverse-DNS id: the name of its desktop entry (without
// ".desktop") and of its AppStream metainfo and icon in the Debian package
// (packaging/linux/), which Wayland compositors match the window to.
inline constexpr const char* kDesktopFileName = "io.github.torvane.Torvane";

// Names the application "Torvane" and its desktop entry, picks a Chinese
// interface font, gives it the window icon and installs Qt's own Simplified
// Chinese translation, so that standard buttons and the file dialog read
// 确定, 取消 and so on. Returns false when the translation could not be found
// (the program still runs, in English dialog buttons).
bool SetUpApplication(QApplication& app);

}  // namespace torvane
