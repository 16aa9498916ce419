// torvane: the window for converting point coordinates between the survey
// grid and the construction grid. Without arguments the classic window,
// which keeps no settings; `torvane --workbench` the workbench.
#include <QApplication>
#include <QStringList>

#include "app/main_window.h"
#include "desktop/chinese_ui.h"
#include "desktop/qt_platform.h"
#include "os/process_io.h"
#include "workbench/workbench_window.h"

int main(int argc, char** argv) {
  // Before anything opens a file: started from a desktop with standard
  // error closed, a result table being written could otherwise take its
  // descriptor and receive Qt's warnings.
  torvane::ReopenClosedStandardStreams();
  QApplication app(argc, argv);
  torvane::SetUpApplication(app);
  torvane::QtPlatform platform;
  if (QApplication::arguments().contains(QStringLiteral("--workbench"))) {
    torvane::WorkbenchWindow workbench(platform);
    workbench.show();
    return QApplication::exec();
  }
  torvane::MainWindow window(platform);
  window.Form_Load();
  window.show();
  return QApplication::exec();
}
