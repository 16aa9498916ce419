// The time to paint the workbench's site plot: a made-up site of POINTS
// common points (names, residuals, the three roles, a worst and a chosen
// point, the construction grid's origin on the plot) painted into a
// 1200 x 800 image as the window paints it, ROUNDS times; prints the best
// and the median time of one painting, elapsed and in processor time.
// Usage: torvane-bench-plot [POINTS] [ROUNDS]   (default 1000 points, 50 rounds)
// With PLOT_PARTS=marks in the environment, names and residuals are left
// out, to see what each costs (PLOT_PARTS=names: no residuals,
// PLOT_PARTS=residuals: no names).
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "desktop/site_plot.h"

namespace {

// The processor time this thread has used, in milliseconds: on a busy
// machine it counts what painting costs, not the wait for a core.
double ThreadMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 50;
  if (count < 1 || rounds < 1) {
    std::fprintf(stderr, "usage: torvane-bench-plot [POINTS] [ROUNDS]\n");
    return 2;
  }
  const std::string parts = qEnvironmentVariableIsEmpty("PLOT_PARTS")
                                ? "names,residuals"
                                : qEnvironmentVariable("PLOT_PARTS").toStdString();
  const bool names = parts.find("names") != std::string::npos;
  const bool residuals = parts.find("residuals") != std::string::npos;

  torvane::SitePlot plot;
  std::srand(20240611);
  const auto uniform = [] { return std::rand() / double(RAND_MAX); };
  for (int i = 0; i < count; ++i) {
    torvane::PlotPoint point;
    if (names) point.name = "控制点" + std::to_string(i + 1);
    point.role = i % 7 == 0    ? torvane::PointRole::kCheck
                 : i % 13 == 0 ? torvane::PointRole::kOff
                               : torvane::PointRole::kFit;
    point.x = 3000000 + uniform() * 2000;
    point.y = 500000 + uniform() * 3000;
    if (residuals) {
      point.dx = (uniform() - 0.5) * 0.02;
      point.dy = (uniform() - 0.5) * 0.02;
    }
    plot.points.push_back(point);
  }
  plot.params = torvane::RunParams{3001000, 501500, 0.5627, 1};
  plot.selected = 42 % count;
  plot.worst = 17 % count;

  const QSizeF size(1200, 800);
  QImage image(size.toSize(), QImage::Format_ARGB32_Premultiplied);
  const torvane::PlotView view = torvane::FitView(plot, torvane::ToPlot(size));
  std::vector<double> elapsed, processor;
  for (int round = 0; round < rounds; ++round) {
    const double processor_start = ThreadMilliseconds();
    const auto start = std::chrono::steady_clock::now();
    QPainter painter(&image);
    torvane::PaintSitePlot(painter, size, plot, view);
    painter.end();
    const auto end = std::chrono::steady_clock::now();
    elapsed.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    processor.push_back(ThreadMilliseconds() - processor_start);
  }
  std::sort(elapsed.begin(), elapsed.end());
  std::sort(processor.begin(), processor.end());
  std::printf(
      "site plot, %d points (%s), 1200 x 800, %d rounds:\n"
      "  elapsed:        best %6.2f ms, median %6.2f ms\n"
      "  processor time: best %6.2f ms, median %6.2f ms\n",
      count, parts.c_str(), rounds, elapsed.front(), elapsed[elapsed.size() / 2], processor.front(),
      processor[processor.size() / 2]);
  return 0;
}
