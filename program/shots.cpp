// torvane-shots OUTDIR: renders the window to PNG files for looking at its
// layout: resting.png (just after start-up), two_point.png (the two-point
// method with the worked example computed) and help.png (help shown). The
// window runs on the scripted platform, so no dialog ever appears.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>
#include <memory>

#include "app/main_window.h"
#include "desktop/chinese_ui.h"
#include "desktop/scripted_platform.h"

namespace {

struct Shot {
  torvane::ScriptedPlatform platform;
  std::unique_ptr<torvane::MainWindow> window;

  Shot() : window(std::make_unique<torvane::MainWindow>(platform)) {
    window->Form_Load();
    window->show();
    QApplication::processEvents();
  }

  void Click(const char* name) {
    window->findChild<QAbstractButton*>(QString::fromUtf8(name))->click();
  }
  void Type(const char* box, const char* text) {
    window->findChild<QLineEdit*>(QString::fromUtf8(box))->setText(QString::fromUtf8(text));
  }
  bool Save(const QDir& folder, const char* file) {
    QApplication::processEvents();
    const QString path = folder.filePath(QString::fromUtf8(file));
    if (!window->grab().save(path)) {
      std::fprintf(stderr, "torvane-shots: cannot write %s\n", qPrintable(path));
      return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: torvane-shots OUTDIR\n");
    return 2;
  }
  torvane::SetUpApplication(app);
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "torvane-shots: cannot create %s\n", argv[1]);
    return 1;
  }

  bool saved = true;
  {
    Shot resting;
    saved &= resting.Save(folder, "resting.png");
  }
  {
    Shot two_point;
    two_point.Click("Op4");
    two_point.Type("Text1", "1000");
    two_point.Type("Text2", "2000");
    two_point.Type("Text3", "1070.711");
    two_point.Type("Text4", "2070.711");
    two_point.Type("Text5", "0");
    two_point.Type("Text6", "0");
    two_point.Type("Text7", "100");
    two_point.Type("Text8", "0");
    two_point.Click("Com2");
    saved &= two_point.Save(folder, "two_point.png");
  }
  {
    Shot help;
    help.Click("Cd2");
    saved &= help.Save(folder, "help.png");
  }
  return saved ? 0 : 1;
}
