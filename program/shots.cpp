// torvane-shots OUTDIR: renders the windows to PNG files for looking at
// their layout: resting.png (just after start-up), two_point.png (the
// two-point method with the worked example computed) and help.png (help
// shown) of the classic window; workbench.png (a site with a blunder,
// solved with four parameters) and workbench_plot.png (its plot) of the
// workbench. The windows run on the scripted platform, so no dialog ever
// appears.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

#include "app/main_window.h"
#include "desktop/chinese_ui.h"
#include "desktop/scripted_platform.h"
#include "workbench/workbench_window.h"

namespace {

bool SaveWidget(QWidget* widget, const QDir& folder, const char* file) {
  QApplication::processEvents();
  const QString path = folder.filePath(QString::fromUtf8(file));
  if (!widget->grab().save(path)) {
    std::fprintf(stderr, "torvane-shots: cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

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
  bool Save(const QDir& folder, const char* file) { return SaveWidget(window.get(), folder, file); }
};

// A site of eleven common points, K6 off by 7 cm in X, K8 a check point and
// K7 left out, solved with four parameters.
bool SaveWorkbench(const QDir& folder) {
  torvane::ScriptedPlatform platform;
  QTemporaryDir settings;
  torvane::WorkbenchWindow window(platform, settings.filePath(QStringLiteral("recent.txt")));
  using torvane::PointRole;
  window.table().SetRows({
      {"K1", PointRole::kFit, "3412.594", "5127.349", "0.000", "0.000"},
      {"K2", PointRole::kFit, "3624.037", "5260.727", "250.000", "0.000"},
      {"K3", PointRole::kFit, "3528.006", "5412.964", "250.000", "180.000"},
      {"K4", PointRole::kFit, "3316.568", "5279.586", "0.000", "180.000"},
      {"K5", PointRole::kFit, "3470.300", "5270.157", "125.000", "90.000"},
      {"K6", PointRole::kFit, "3617.478", "5327.476", "280.000", "60.000"},
      {"K7", PointRole::kOff, "3379.801", "5366.765", "100.000", "220.000"},
      {"K8", PointRole::kCheck, "3297.822", "5196.825", "-60.000", "120.000"},
      {"K9", PointRole::kFit, "3560.798", "5173.535", "150.000", "-40.000"},
      {"K10", PointRole::kFit, "3393.076", "5233.254", "40.000", "100.000"},
      {"K11", PointRole::kFit, "3517.728", "5335.533", "200.000", "120.000"},
  });
  window.findChild<QComboBox*>(QStringLiteral("model"))->setCurrentIndex(1);
  emit window.findChild<QComboBox*>(QStringLiteral("model"))->activated(1);
  window.findChild<QLineEdit*>(QStringLiteral("site"))->setText(QStringLiteral("一号教学楼"));
  window.resize(1180, 760);
  window.show();
  bool saved = SaveWidget(&window, folder, "workbench.png");
  saved &=
      SaveWidget(window.findChild<QWidget*>(QStringLiteral("plot")), folder, "workbench_plot.png");
  return saved;
}

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
  saved &= SaveWorkbench(folder);
  return saved ? 0 : 1;
}
