#include "desktop/site_plot.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <variant>

namespace torvane {
namespace {

QColor ToQt(PlotColour colour) {
  return QColor(colour.red, colour.green, colour.blue, colour.alpha);
}

QPen Pen(const std::optional<PlotStroke>& stroke) {
  if (!stroke) return Qt::NoPen;
  return QPen(ToQt(stroke->colour), stroke->width, stroke->dashed ? Qt::DashLine : Qt::SolidLine);
}

QBrush Brush(const std::optional<PlotColour>& fill) {
  return fill ? QBrush(ToQt(*fill)) : QBrush(Qt::NoBrush);
}

QPolygonF Polygon(const std::vector<PlotXY>& points) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const PlotXY& p : points) polygon << ToQt(p);
  return polygon;
}

void Paint(QPainter& painter, const PlotLine& line) {
  painter.setPen(Pen(line.stroke));
  painter.setBrush(Qt::NoBrush);
  // Segment by segment: Qt strokes separate short lines much faster than a
  // joined polyline, and the arrows' heads look the same.
  for (std::size_t i = 1; i < line.points.size(); ++i) {
    painter.drawLine(ToQt(line.points[i - 1]), ToQt(line.points[i]));
  }
}

void Paint(QPainter& painter, const PlotCircle& circle) {
  painter.setPen(Pen(circle.edge));
  painter.setBrush(Brush(circle.fill));
  painter.drawEllipse(ToQt(circle.centre), circle.radius, circle.radius);
}

void Paint(QPainter& painter, const PlotPolygon& polygon) {
  painter.setPen(Pen(polygon.edge));
  painter.setBrush(Brush(polygon.fill));
  painter.drawPolygon(Polygon(polygon.corners));
}

// A box wide and high enough for any one-line text of the plot, about
// `at`: a text aligned in it lies where its anchor says without its width
// being measured.
constexpr double kTextReach = 4000;

void Paint(QPainter& painter, const PlotText& text) {
  const int pixels = std::max(1, static_cast<int>(std::lround(text.size)));
  if (painter.font().pixelSize() != pixels) {
    QFont font = painter.font();
    font.setPixelSize(pixels);
    painter.setFont(font);
  }
  painter.setPen(ToQt(text.colour));
  const QString string = QString::fromStdString(text.text);
  if (text.anchor == TextAnchor::kStart && text.baseline == TextBaseline::kBaseline) {
    painter.drawText(ToQt(text.at), string);  // the names: the quick way
    return;
  }
  const Qt::Alignment across = text.anchor == TextAnchor::kStart    ? Qt::AlignLeft
                               : text.anchor == TextAnchor::kMiddle ? Qt::AlignHCenter
                                                                    : Qt::AlignRight;
  const double left = text.anchor == TextAnchor::kStart    ? text.at.x
                      : text.anchor == TextAnchor::kMiddle ? text.at.x - kTextReach / 2
                                                           : text.at.x - kTextReach;
  if (text.baseline == TextBaseline::kCentre) {
    painter.drawText(QRectF(left, text.at.y - kTextReach / 2, kTextReach, kTextReach),
                     across | Qt::AlignVCenter | Qt::TextDontClip, string);
  } else {
    // A line's top is the font's ascent above its baseline.
    const double ascent = QFontMetricsF(painter.font()).ascent();
    painter.drawText(QRectF(left, text.at.y - ascent, kTextReach, kTextReach),
                     across | Qt::AlignTop | Qt::TextDontClip, string);
  }
}

}  // namespace

void PaintPlotDrawing(QPainter& painter, const PlotDrawing& drawing) {
  const QRectF area(0, 0, drawing.size.width, drawing.size.height);
  if (area.isEmpty()) return;
  painter.save();
  painter.setClipRect(area);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  for (const PlotPrimitive& item : drawing.items) {
    std::visit([&painter](const auto& primitive) { Paint(painter, primitive); }, item);
  }
  painter.restore();
}

void PaintSitePlot(QPainter& painter, QSizeF size, const SitePlot& plot, const PlotView& view) {
  PaintPlotDrawing(painter, DrawSitePlot(plot, view, ToPlot(size)));
}

}  // namespace torvane
