// The site plot in the workbench: the points as the table holds them, the
// wheel zooming about the cursor, a left drag moving the plot, a click on a
// point choosing its row, a double click on empty ground or 适合窗口
// showing every point again.
#pragma once

#include <QWidget>
#include <cstddef>
#include <optional>

#include "desktop/site_plot.h"

class QAction;

namespace torvane {

// Whether SetPlot keeps the part of the site shown or shows every point.
enum class PlotFit { kKeepView, kFitToWindow };

class SitePlotView : public QWidget {
  Q_OBJECT

 public:
  explicit SitePlotView(QWidget* parent = nullptr);

  // Shows `plot`. The view is kept unless `fit` asks for every point or
  // nothing was shown before (no points, or never fitted).
  void SetPlot(SitePlot plot, PlotFit fit = PlotFit::kKeepView);
  const SitePlot& Plot() const { return plot_; }
  // The point drawn as chosen; none: no point. An index past the points is
  // drawn as none.
  void SetSelected(std::optional<std::size_t> index);
  // Every point in the window; the view then follows the window's size
  // until zoomed or moved.
  void FitToWindow();
  const PlotView& View() const { return view_; }
  void SetView(const PlotView& view);
  // The 适合窗口 action (also in the plot's context menu), for a tool bar.
  QAction* FitAction() const { return fit_action_; }

 signals:
  // A click (press and release without moving) within kPickRadius of a point.
  void PointClicked(std::size_t index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  PlotSize Size() const { return ToPlot(QSizeF(size())); }

  SitePlot plot_;
  PlotView view_;
  bool follows_fit_ = true;       // refit on resize: not zoomed nor moved since the last fit
  std::optional<QPointF> press_;  // where the left button went down
  PlotView view_at_press_;
  bool dragged_ = false;
  QAction* fit_action_;
};

}  // namespace torvane
