// 坐标转换工作台: the workbench window, for a site of many common points.
// The points in a table, solved again on every change, seen on a plot, and
// kept as a project file; point files converted with the parameters found.
#pragma once

#include <QMainWindow>

#include "desktop/platform.h"

namespace torvane {

// The window's caption, before the project's name.
inline constexpr const char* kWorkbenchTitle = "坐标转换工作台";

class WorkbenchWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit WorkbenchWindow(Platform& platform, QWidget* parent = nullptr);

  // Opens the project file at `path` (NAME.torvane) in the window. False,
  // and the window as it was, when it cannot be opened.
  bool OpenProject(const QString& path);

 private:
  Platform& platform_;
};

}  // namespace torvane
