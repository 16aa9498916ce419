// torvane: the window for converting point coordinates between the survey
// grid and the construction grid. It takes no arguments and keeps no
// settings.
#include <QApplication>

#include "app/chinese_ui.h"
#include "app/main_window.h"
#include "app/qt_platform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  torvane::SetUpApplication(app);
  torvane::QtPlatform platform;
  torvane::MainWindow window(platform);
  window.Form_Load();
  window.show();
  return QApplication::exec();
}
