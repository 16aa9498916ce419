// torvane: the window for converting point coordinates between the survey
// grid and the construction grid. It takes no arguments and keeps no
// settings.
#include <QApplication>

#include "app/chinese_ui.h"
#include "app/main_window.h"
#include "app/qt_platform.h"
#include "os/process_io.h"

int main(int argc, char** argv) {
  // Before anything opens a file: started from a desktop with standard
  // error closed, a result table being written could otherwise take its
  // descriptor and receive Qt's warnings.
  torvane::ReopenClosedStandardStreams();
  QApplication app(argc, argv);
  torvane::SetUpApplication(app);
  torvane::QtPlatform platform;
  torvane::MainWindow window(platform);
  window.Form_Load();
  window.show();
  return QApplication::exec();
}
