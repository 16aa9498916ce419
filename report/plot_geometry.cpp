#include "report/plot_geometry.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>

namespace torvane {
namespace {

// Lengths closer than this share to a round value count as reaching it:
// 0.005 m is 5 mm although 0.005 · 1000 is not exactly 5.
constexpr double kRoundTolerance = 1e-9;

// `value` in the shortest of up to 12 significant digits: "0.2", "500".
std::string Round(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.12g", value);
  return text;
}

}  // namespace

double SmallerSide(PlotSize size) { return std::min(size.width, size.height); }

PlotView FitView(const SitePlot& plot, PlotSize size) {
  if (plot.points.empty()) return {};
  size = {std::max(size.width, 1.0), std::max(size.height, 1.0)};
  double min_x = plot.points.front().x, max_x = min_x;
  double min_y = plot.points.front().y, max_y = min_y;
  for (const PlotPoint& point : plot.points) {
    min_x = std::min(min_x, point.x);
    max_x = std::max(max_x, point.x);
    min_y = std::min(min_y, point.y);
    max_y = std::max(max_y, point.y);
  }
  const double margin = std::max(16.0, SmallerSide(size) / 8);
  const double inner_w = std::max(1.0, size.width - 2 * margin);
  const double inner_h = std::max(1.0, size.height - 2 * margin);
  const double spread = std::max((max_y - min_y) / inner_w, (max_x - min_x) / inner_h);
  PlotView view;
  view.centre_x = min_x + (max_x - min_x) / 2;
  view.centre_y = min_y + (max_y - min_y) / 2;
  view.metres_per_pixel =
      spread > 0 ? std::clamp(spread, kMinMetresPerPixel, kMaxMetresPerPixel) : 0.1;
  return view;
}

PlotXY ToPixel(const PlotView& view, PlotSize size, double x, double y) {
  return {size.width / 2 + (y - view.centre_y) / view.metres_per_pixel,
          size.height / 2 - (x - view.centre_x) / view.metres_per_pixel};
}

GridPoint FromPixel(const PlotView& view, PlotSize size, PlotXY pixel) {
  return {view.centre_x - (pixel.y - size.height / 2) * view.metres_per_pixel,
          view.centre_y + (pixel.x - size.width / 2) * view.metres_per_pixel};
}

PlotView ZoomAbout(const PlotView& view, PlotSize size, PlotXY pixel, double factor) {
  assert(factor > 0 && std::isfinite(factor));
  const GridPoint under = FromPixel(view, size, pixel);
  PlotView zoomed;
  zoomed.metres_per_pixel =
      std::clamp(view.metres_per_pixel / factor, kMinMetresPerPixel, kMaxMetresPerPixel);
  zoomed.centre_x = under.x + (pixel.y - size.height / 2) * zoomed.metres_per_pixel;
  zoomed.centre_y = under.y - (pixel.x - size.width / 2) * zoomed.metres_per_pixel;
  return zoomed;
}

PlotView PanBy(const PlotView& view, PlotXY delta) {
  PlotView moved = view;
  moved.centre_x += delta.y * view.metres_per_pixel;
  moved.centre_y -= delta.x * view.metres_per_pixel;
  return moved;
}

std::optional<std::size_t> PointAt(const SitePlot& plot, const PlotView& view, PlotSize size,
                                   PlotXY pixel) {
  std::optional<std::size_t> nearest;
  double nearest_squared = kPickRadius * kPickRadius;
  for (std::size_t i = 0; i < plot.points.size(); ++i) {
    const PlotXY at = ToPixel(view, size, plot.points[i].x, plot.points[i].y);
    const double dx = at.x - pixel.x, dy = at.y - pixel.y;
    const double squared = dx * dx + dy * dy;
    if (squared < nearest_squared || (!nearest && squared == nearest_squared)) {
      nearest = i;
      nearest_squared = squared;
    }
  }
  return nearest;
}

ScaleBar RoundScaleBar(double max_metres, BarUnit unit) {
  assert(std::isfinite(max_metres) && max_metres > 0);
  const double measure = unit == BarUnit::kMillimetre ? max_metres * 1000 : max_metres;
  const double reach = measure * (1 + kRoundTolerance);
  double power = std::pow(10.0, std::floor(std::log10(measure)));
  if (reach < power) power /= 10;
  if (reach >= 10 * power) power *= 10;
  const double step = reach >= 5 * power ? 5 : reach >= 2 * power ? 2 : 1;
  const double value = step * power;
  if (unit == BarUnit::kMillimetre) return {value / 1000, Round(value) + " mm"};
  if (value >= 1000) return {value, Round(value / 1000) + " km"};
  return {value, Round(value) + " m"};
}

std::optional<double> ResidualExaggeration(const SitePlot& plot, PlotSize size) {
  double largest = 0;
  for (const PlotPoint& point : plot.points) {
    if (point.dx && point.dy) largest = std::max(largest, std::hypot(*point.dx, *point.dy));
  }
  if (!(largest > 0) || !std::isfinite(largest) || !(SmallerSide(size) > 0)) return std::nullopt;
  return SmallerSide(size) / 8 / largest;
}

}  // namespace torvane
