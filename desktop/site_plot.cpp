#include "desktop/site_plot.h"

#include <QColor>
#include <QFontMetricsF>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

#include "params/transform.h"

namespace torvane {
namespace {

// The plot's colours: one a kind of mark, told apart on screen and on paper.
const QColor kFitColour(0x1f, 0x3a, 0x93);       // dark blue, filled circle
const QColor kCheckColour(0x1a, 0x8a, 0x2a);     // green, hollow triangle
const QColor kOffColour(0x90, 0x90, 0x90);       // grey, cross
const QColor kWorstColour(0xe0, 0x00, 0x00);     // red ring
const QColor kSelectedColour(0xff, 0xd5, 0x4f);  // amber disc behind the mark
const QColor kSelectedEdge(0xb2, 0x87, 0x04);
const QColor kResidualColour(0xb0, 0x30, 0x9a);  // purple arrows and their bar
const QColor kGridColour(0x00, 0x83, 0x8f);      // teal: the construction grid
const QColor kTextColour(0x30, 0x30, 0x30);
const QColor kHintColour(0x80, 0x80, 0x80);

constexpr double kMarkRadius = 4;
constexpr double kWorstRadius = 9;
constexpr double kSelectedRadius = 11;
constexpr double kAxisLength = 60;  // the construction axes' arrows, units of the plot
constexpr double kEdgeInset = 18;   // the arrow towards an origin off the plot
constexpr int kFontPixels = 12;
// Lengths closer than this share to a round value count as reaching it:
// 0.005 m is 5 mm although 0.005 · 1000 is not exactly 5.
constexpr double kRoundTolerance = 1e-9;

double SmallerSide(QSizeF size) { return std::min(size.width(), size.height()); }

QPointF Unit(QPointF v) {
  const double length = std::hypot(v.x(), v.y());
  return length > 0 ? v / length : QPointF();
}

// An arrow from `from` to `to` with a head of `head` units.
void DrawArrow(QPainter& painter, QPointF from, QPointF to, double head) {
  painter.drawLine(from, to);
  const QPointF back = Unit(from - to) * head;
  const QPointF side(-back.y() * 0.45, back.x() * 0.45);
  painter.drawLine(to, to + back + side);
  painter.drawLine(to, to + back - side);
}

void DrawMark(QPainter& painter, QPointF at, PointRole role) {
  switch (role) {
    case PointRole::kFit:
      painter.setPen(QPen(kFitColour, 1));
      painter.setBrush(kFitColour);
      painter.drawEllipse(at, kMarkRadius, kMarkRadius);
      break;
    case PointRole::kCheck: {
      painter.setPen(QPen(kCheckColour, 1.5));
      painter.setBrush(Qt::NoBrush);
      const QPointF corners[] = {at + QPointF(0, -5), at + QPointF(4.5, 3.5),
                                 at + QPointF(-4.5, 3.5)};
      painter.drawPolygon(corners, 3);
      break;
    }
    case PointRole::kOff:
      painter.setPen(QPen(kOffColour, 1.5));
      painter.drawLine(at + QPointF(-kMarkRadius, -kMarkRadius),
                       at + QPointF(kMarkRadius, kMarkRadius));
      painter.drawLine(at + QPointF(-kMarkRadius, kMarkRadius),
                       at + QPointF(kMarkRadius, -kMarkRadius));
      break;
  }
}

// The construction X and Y axes drawn as arrows from `at` in the
// directions `ux` and `uy` (unit vectors on the plot), labelled.
void DrawAxisArrows(QPainter& painter, QPointF at, QPointF ux, QPointF uy, double length) {
  painter.setPen(QPen(kGridColour, 1.5));
  DrawArrow(painter, at, at + ux * length, 7);
  DrawArrow(painter, at, at + uy * length, 7);
  const QFontMetricsF metrics(painter.font());
  for (const auto& [direction, text] :
       {std::pair{ux, QStringLiteral("施工X")}, std::pair{uy, QStringLiteral("施工Y")}}) {
    // The label centred just beyond the arrow's head.
    const QPointF centre = at + direction * (length + 12);
    const double width = metrics.horizontalAdvance(text);
    painter.drawText(centre + QPointF(-width / 2, metrics.ascent() / 2 - 1), text);
  }
}

// The construction grid: its axes as dashed lines where they cross the
// plot; its origin marked with the axes' arrows when on the plot, else an
// arrow at the edge pointing to it and the axes' arrows in the top-left
// corner.
void PaintConstructionGrid(QPainter& painter, QSizeF size, const RunParams& params,
                           const PlotView& view) {
  const Transform transform(params);
  const double length = kAxisLength * view.metres_per_pixel / params.scale;
  const PlanePoint origin = transform.Inverse({0, 0});
  const PlanePoint x_end = transform.Inverse({length, 0});
  const PlanePoint y_end = transform.Inverse({0, length});
  const QPointF at = ToPixel(view, size, origin.x, origin.y);
  const QPointF ux = Unit(ToPixel(view, size, x_end.x, x_end.y) - at);
  const QPointF uy = Unit(ToPixel(view, size, y_end.x, y_end.y) - at);
  if (!std::isfinite(at.x()) || !std::isfinite(at.y()) || ux.isNull() || uy.isNull()) return;

  const QPointF centre(size.width() / 2, size.height() / 2);
  const double reach = std::hypot(size.width(), size.height());
  painter.setPen(QPen(kGridColour, 1, Qt::DashLine));
  for (const QPointF direction : {ux, uy}) {
    // The foot of the plot's centre on the axis: drawn from there, the line
    // stays short enough to draw exactly however far away the origin is.
    const QPointF to_centre = centre - at;
    const QPointF foot =
        at + direction * (to_centre.x() * direction.x() + to_centre.y() * direction.y());
    if (QLineF(foot, centre).length() < reach / 2) {
      painter.drawLine(foot - direction * reach, foot + direction * reach);
    }
  }

  const QRectF inner =
      QRectF(QPointF(0, 0), size).adjusted(kEdgeInset, kEdgeInset, -kEdgeInset, -kEdgeInset);
  const QString label = QStringLiteral("施工原点");
  const QFontMetricsF metrics(painter.font());
  if (inner.contains(at)) {
    painter.setPen(QPen(kGridColour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at, 5, 5);
    painter.drawPoint(at);
    DrawAxisArrows(painter, at, ux, uy, kAxisLength);
    // The label on the side away from both arrows.
    const QPointF away = Unit(-(ux + uy));
    const double width = metrics.horizontalAdvance(label);
    painter.drawText(at + away * 22 + QPointF(-width / 2, metrics.ascent() / 2 - 1), label);
    return;
  }
  if (inner.isEmpty()) return;
  // Where the line from the centre to the origin leaves the inner rectangle.
  const QPointF towards = Unit(at - centre);
  const double half_w = inner.width() / 2, half_h = inner.height() / 2;
  const double t = std::min(towards.x() != 0 ? half_w / std::abs(towards.x()) : 1e300,
                            towards.y() != 0 ? half_h / std::abs(towards.y()) : 1e300);
  const QPointF tip = centre + towards * t;
  painter.setPen(QPen(kGridColour, 2));
  DrawArrow(painter, tip - towards * 26, tip, 8);
  // The label just inside the arrow's tail, whole on the plot.
  const double width = metrics.horizontalAdvance(label);
  const double height = metrics.height();
  const double half_extent = std::abs(towards.x()) * width / 2 + std::abs(towards.y()) * height / 2;
  const QPointF label_centre = tip - towards * (26 + 4 + half_extent);
  QPointF corner = label_centre - QPointF(width / 2, height / 2);
  corner.setX(std::clamp(corner.x(), 2.0, std::max(2.0, size.width() - width - 2)));
  corner.setY(std::clamp(corner.y(), 2.0, std::max(2.0, size.height() - height - 2)));
  painter.drawText(corner + QPointF(0, metrics.ascent()), label);
  DrawAxisArrows(painter, QPointF(56, 56), ux, uy, 26);
}

// The roles' marks and names, top right.
void PaintLegend(QPainter& painter, QSizeF size) {
  const QFontMetricsF metrics(painter.font());
  const struct {
    PointRole role;
    const char* text;
  } rows[] = {
      {PointRole::kFit, "参与平差"}, {PointRole::kCheck, "检核"}, {PointRole::kOff, "不用"}};
  double text_width = 0;
  for (const auto& row : rows) {
    text_width = std::max(text_width, metrics.horizontalAdvance(QString::fromUtf8(row.text)));
  }
  const double row_height = std::max(18.0, metrics.height() + 4);
  const QRectF box(size.width() - text_width - 38, 8, text_width + 30, row_height * 3 + 8);
  painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 1));
  painter.setBrush(QColor(255, 255, 255, 225));
  painter.drawRect(box);
  double y = box.top() + 4 + row_height / 2;
  for (const auto& row : rows) {
    DrawMark(painter, QPointF(box.left() + 12, y), row.role);
    painter.setPen(kTextColour);
    painter.drawText(QPointF(box.left() + 24, y + metrics.ascent() / 2 - 1),
                     QString::fromUtf8(row.text));
    y += row_height;
  }
}

// A bar of `length` units with end ticks and its label after it, its left
// end at `at`.
void DrawBar(QPainter& painter, QPointF at, double length, const QString& text) {
  painter.drawLine(at, at + QPointF(length, 0));
  painter.drawLine(at + QPointF(0, -4), at + QPointF(0, 4));
  painter.drawLine(at + QPointF(length, -4), at + QPointF(length, 4));
  const QFontMetricsF metrics(painter.font());
  painter.drawText(at + QPointF(length + 6, metrics.ascent() / 2 - 1), text);
}

}  // namespace

PlotView FitView(const SitePlot& plot, QSizeF size) {
  if (plot.points.empty()) return {};
  size = size.expandedTo(QSizeF(1, 1));
  double min_x = plot.points.front().x, max_x = min_x;
  double min_y = plot.points.front().y, max_y = min_y;
  for (const PlotPoint& point : plot.points) {
    min_x = std::min(min_x, point.x);
    max_x = std::max(max_x, point.x);
    min_y = std::min(min_y, point.y);
    max_y = std::max(max_y, point.y);
  }
  const double margin = std::max(16.0, SmallerSide(size) / 8);
  const double inner_w = std::max(1.0, size.width() - 2 * margin);
  const double inner_h = std::max(1.0, size.height() - 2 * margin);
  const double spread = std::max((max_y - min_y) / inner_w, (max_x - min_x) / inner_h);
  PlotView view;
  view.centre_x = min_x + (max_x - min_x) / 2;
  view.centre_y = min_y + (max_y - min_y) / 2;
  view.metres_per_pixel =
      spread > 0 ? std::clamp(spread, kMinMetresPerPixel, kMaxMetresPerPixel) : 0.1;
  return view;
}

QPointF ToPixel(const PlotView& view, QSizeF size, double x, double y) {
  return {size.width() / 2 + (y - view.centre_y) / view.metres_per_pixel,
          size.height() / 2 - (x - view.centre_x) / view.metres_per_pixel};
}

GridPoint FromPixel(const PlotView& view, QSizeF size, QPointF pixel) {
  return {view.centre_x - (pixel.y() - size.height() / 2) * view.metres_per_pixel,
          view.centre_y + (pixel.x() - size.width() / 2) * view.metres_per_pixel};
}

PlotView ZoomAbout(const PlotView& view, QSizeF size, QPointF pixel, double factor) {
  assert(factor > 0 && std::isfinite(factor));
  const GridPoint under = FromPixel(view, size, pixel);
  PlotView zoomed;
  zoomed.metres_per_pixel =
      std::clamp(view.metres_per_pixel / factor, kMinMetresPerPixel, kMaxMetresPerPixel);
  zoomed.centre_x = under.x + (pixel.y() - size.height() / 2) * zoomed.metres_per_pixel;
  zoomed.centre_y = under.y - (pixel.x() - size.width() / 2) * zoomed.metres_per_pixel;
  return zoomed;
}

PlotView PanBy(const PlotView& view, QPointF delta) {
  PlotView moved = view;
  moved.centre_x += delta.y() * view.metres_per_pixel;
  moved.centre_y -= delta.x() * view.metres_per_pixel;
  return moved;
}

std::optional<std::size_t> PointAt(const SitePlot& plot, const PlotView& view, QSizeF size,
                                   QPointF pixel) {
  std::optional<std::size_t> nearest;
  double nearest_squared = kPickRadius * kPickRadius;
  for (std::size_t i = 0; i < plot.points.size(); ++i) {
    const QPointF d = ToPixel(view, size, plot.points[i].x, plot.points[i].y) - pixel;
    const double squared = d.x() * d.x() + d.y() * d.y();
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
  if (unit == BarUnit::kMillimetre) {
    return {value / 1000, QString::number(value, 'g', 12) + QStringLiteral(" mm")};
  }
  if (value >= 1000) return {value, QString::number(value / 1000, 'g', 12) + QStringLiteral(" km")};
  return {value, QString::number(value, 'g', 12) + QStringLiteral(" m")};
}

std::optional<double> ResidualExaggeration(const SitePlot& plot, QSizeF size) {
  double largest = 0;
  for (const PlotPoint& point : plot.points) {
    if (point.dx && point.dy) largest = std::max(largest, std::hypot(*point.dx, *point.dy));
  }
  if (!(largest > 0) || !std::isfinite(largest) || !(SmallerSide(size) > 0)) return std::nullopt;
  return SmallerSide(size) / 8 / largest;
}

void PaintSitePlot(QPainter& painter, QSizeF size, const SitePlot& plot, const PlotView& view) {
  const QRectF area(QPointF(0, 0), size);
  if (area.isEmpty()) return;
  painter.save();
  painter.setClipRect(area);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.fillRect(area, Qt::white);
  QFont font = painter.font();
  font.setPixelSize(kFontPixels);
  painter.setFont(font);
  if (plot.points.empty()) {
    painter.setPen(kHintColour);
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("没有公共点"));
    painter.restore();
    return;
  }
  if (plot.params) PaintConstructionGrid(painter, size, *plot.params, view);

  std::vector<QPointF> at(plot.points.size());
  for (std::size_t i = 0; i < plot.points.size(); ++i) {
    at[i] = ToPixel(view, size, plot.points[i].x, plot.points[i].y);
  }
  // Only what can reach the plot is drawn: a mark, its ring or its name
  // (which starts right of the mark, a name of up to 200 units).
  const QRectF near = area.adjusted(-200, -kSelectedRadius, kSelectedRadius, kSelectedRadius);
  const std::optional<double> exaggeration = ResidualExaggeration(plot, size);
  if (exaggeration) {
    painter.setPen(QPen(kResidualColour, 1.5));
    for (std::size_t i = 0; i < plot.points.size(); ++i) {
      const PlotPoint& point = plot.points[i];
      if (!point.dx || !point.dy) continue;
      // dX is north, up the plot; dY east, to the right.
      const QPointF tip = at[i] + QPointF(*point.dy, -*point.dx) * *exaggeration;
      if (!area.intersects(QRectF(at[i], tip).normalized().adjusted(-1, -1, 1, 1))) continue;
      if (QLineF(at[i], tip).length() >= 3) DrawArrow(painter, at[i], tip, 5);
    }
  }
  if (plot.selected && *plot.selected < plot.points.size() && near.contains(at[*plot.selected])) {
    painter.setPen(QPen(kSelectedEdge, 1.5));
    painter.setBrush(kSelectedColour);
    painter.drawEllipse(at[*plot.selected], kSelectedRadius, kSelectedRadius);
  }
  for (std::size_t i = 0; i < plot.points.size(); ++i) {
    if (near.contains(at[i])) DrawMark(painter, at[i], plot.points[i].role);
  }
  if (plot.worst && *plot.worst < plot.points.size() && near.contains(at[*plot.worst])) {
    painter.setPen(QPen(kWorstColour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(at[*plot.worst], kWorstRadius, kWorstRadius);
  }
  painter.setPen(kTextColour);
  for (std::size_t i = 0; i < plot.points.size(); ++i) {
    if (near.contains(at[i])) painter.drawText(at[i] + QPointF(8, -5), QString::fromStdString(plot.points[i].name));
  }

  PaintLegend(painter, size);
  const ScaleBar map = RoundScaleBar(size.width() / 4 * view.metres_per_pixel, BarUnit::kMetre);
  painter.setPen(QPen(kTextColour, 1.5));
  DrawBar(painter, QPointF(12, size.height() - 14), map.metres / view.metres_per_pixel, map.text);
  if (exaggeration) {
    const ScaleBar residual =
        RoundScaleBar(SmallerSide(size) / 8 / *exaggeration, BarUnit::kMillimetre);
    painter.setPen(QPen(kResidualColour, 1.5));
    DrawBar(painter, QPointF(12, size.height() - 34), residual.metres * *exaggeration,
            QStringLiteral("残差 ") + residual.text);
  }
  painter.restore();
}

}  // namespace torvane
