#include "workbench/workbench_window.h"

namespace torvane {

WorkbenchWindow::WorkbenchWindow(Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
  setObjectName(QStringLiteral("workbench"));
  setWindowTitle(QString::fromUtf8(kWorkbenchTitle));
}

// Stand-in until the workbench reads projects: opens nothing.
bool WorkbenchWindow::OpenProject(const QString& path) {
  Q_UNUSED(path);
  return false;
}

}  // namespace torvane
