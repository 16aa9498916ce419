// The site plot painted with Qt: the window's view, the PDF and the
// printed report copy the plot's drawing (report/plot_drawing.h) onto a
// QPainter. The plot's units are the painter's; a printer or PDF painter
// is scaled to them (pixels at 96 dpi) before painting.
#pragma once

#include <QPointF>
#include <QSizeF>

#include "report/plot_drawing.h"
#include "report/plot_geometry.h"
#include "report/site_plot.h"

class QPainter;

namespace torvane {

// The plain plot geometry and Qt's, one to the other.
inline PlotSize ToPlot(QSizeF size) { return {size.width(), size.height()}; }
inline PlotXY ToPlot(QPointF point) { return {point.x(), point.y()}; }
inline QPointF ToQt(PlotXY point) { return {point.x, point.y}; }

// Paints `drawing` on the rectangle (0, 0, drawing.size) of `painter`,
// cutting off what lies outside it. Leaves the painter's state as it found
// it.
void PaintPlotDrawing(QPainter& painter, const PlotDrawing& drawing);

// Paints `plot` as `view` shows it on the rectangle (0, 0, size) of
// `painter` (DrawSitePlot, then PaintPlotDrawing). An empty `size` paints
// nothing.
void PaintSitePlot(QPainter& painter, QSizeF size, const SitePlot& plot, const PlotView& view);

}  // namespace torvane
