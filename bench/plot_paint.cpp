// The time to paint the workbench's site plot: a made-up site of POINTS
// common points (names, residuals, the three roles, a worst and a chosen
// point, the construction grid's origin on the plot) painted into a
// 1200 x 800 image as the window paints it, ROUNDS times; prints the best
// and the median time of one painting.
// Usage: torvane-bench-plot [POINTS] [ROUNDS]   (default 1000 points, 50 rounds)
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "desktop/site_plot.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 50;
  if (count < 1 || rounds < 1) {
    std::fprintf(stderr, "usage: torvane-bench-plot [POINTS] [ROUNDS]\n");
    return 2;
  }
  torvane::SitePlot plot;
  std::srand(20240611);
  const auto noise = [] { return (std::rand() / double(RAND_MAX) - 0.5) * 0.02; };
  for (int i = 0; i < count; ++i) {
    torvane::PlotPoint point;
    point.name = QStringLiteral("控制点%1").arg(i + 1);
    point.role = i % 7 == 0    ? torvane::PointRole::kCheck
                 : i % 13 == 0 ? torvane::PointRole::kOff
                               : torvane::PointRole::kFit;
    point.x = 3000000 + (std::rand() / double(RAND_MAX)) * 2000;
    point.y = 500000 + (std::rand() / double(RAND_MAX)) * 3000;
    point.dx = noise();
    point.dy = noise();
    plot.points.push_back(point);
  }
  plot.params = torvane::RunParams{3001000, 501500, 0.5627, 1};
  plot.selected = 42 % count;
  plot.worst = 17 % count;

  const QSizeF size(1200, 800);
  QImage image(size.toSize(), QImage::Format_ARGB32_Premultiplied);
  const torvane::PlotView view = torvane::FitView(plot, size);
  std::vector<double> times;
  for (int round = 0; round < rounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    QPainter painter(&image);
    torvane::PaintSitePlot(painter, size, plot, view);
    painter.end();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "site plot, %d points with names, 1200 x 800: best %.2f ms, median %.2f ms (%d rounds)\n",
      count, times.front(), times[times.size() / 2], rounds);
  return 0;
}
