#include "workbench/workbench_window.h"

namespace torvane {

WorkbenchWindow::WorkbenchWindow(Platform& platform, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
  setObjectName(QStringLiteral("workbench"));
  setWindowTitle(QString::fromUtf8(kWorkbenchTitle));
}

}  // namespace torvane
