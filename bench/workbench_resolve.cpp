// torvane-bench-workbench [POINTS] [EDITS]: how long the workbench takes,
// with POINTS common points (default 1000), from a cell edited to the
// window solved again and painted, table and plot, the heights fitted by
// 自动 (all three models and their tests); the median and the
// largest of EDITS edits (default 41). Runs on whichever Qt platform the
// environment names (offscreen by default).
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "desktop/chinese_ui.h"
#include "desktop/scripted_platform.h"
#include "number/pattern.h"
#include "workbench/workbench_window.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  torvane::SetUpApplication(app);
  const int points = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int edits = argc > 2 ? std::atoi(argv[2]) : 41;
  if (points < 3 || edits < 1) {
    std::fprintf(stderr, "usage: torvane-bench-workbench [POINTS>=3] [EDITS>=1]\n");
    return 2;
  }
  // A site over 2 km, turned by 30°, with 4 mm of noise.
  std::mt19937_64 random(1);
  std::uniform_real_distribution<double> unit(0, 2000);
  std::normal_distribution<double> noise(0, 0.004);
  const double c = std::cos(M_PI / 6), s = std::sin(M_PI / 6);
  std::vector<torvane::ProjectPoint> rows;
  for (int i = 0; i < points; ++i) {
    const double xc = unit(random), yc = unit(random);
    // Heights on a site tilted 1 % to X and curved 10 mm over it.
    const double hs = 40 + 20 * std::sin(xc / 300) + noise(random);
    const double d = 1.5 + 0.01 * (xc - 1000) / 1000 + 0.01 * std::pow((yc - 1000) / 1000, 2);
    rows.push_back({"P" + std::to_string(i + 1), torvane::PointRole::kFit,
                    torvane::FormatPattern(3400000 + xc * c - yc * s + noise(random), "0.0000"),
                    torvane::FormatPattern(500000 + xc * s + yc * c + noise(random), "0.0000"),
                    torvane::FormatPattern(xc, "0.0000"), torvane::FormatPattern(yc, "0.0000"),
                    torvane::FormatPattern(hs, "0.0000"),
                    torvane::FormatPattern(hs - d + noise(random), "0.0000")});
  }
  torvane::ScriptedPlatform platform;
  QTemporaryDir settings;
  torvane::WorkbenchWindow window(platform, settings.filePath(QStringLiteral("recent.txt")));
  window.resize(1100, 720);
  window.show();
  window.table().SetRows(rows);
  // Both fits, the heights' three models with their tests (自动).
  auto* heights = window.findChild<QComboBox*>(QStringLiteral("heightModel"));
  heights->setCurrentIndex(static_cast<int>(torvane::HeightChoice::kAuto));
  emit heights->activated(static_cast<int>(torvane::HeightChoice::kAuto));
  QApplication::processEvents();

  std::vector<double> ms;
  QElapsedTimer timer;
  for (int i = 0; i < edits; ++i) {
    // An X typed 1 mm off and back again, alternately.
    const QModelIndex cell = window.table().index(i % points, 2);
    const QString text =
        QString::fromStdString(rows[i % points].xs) + (i % 2 ? QString() : QStringLiteral("1"));
    timer.start();
    window.table().setData(cell, text, Qt::EditRole);
    window.repaint();
    QApplication::processEvents();
    ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%d common points, %d edits: re-solve and redraw median %.1f ms, largest %.1f ms\n",
              points, edits, ms[ms.size() / 2], ms.back());
  return 0;
}
