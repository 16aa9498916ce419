#include "workbench/plot_view.h"

#include <QAction>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <utility>

namespace torvane {
namespace {

// A wheel notch (120 eighths of a degree) zooms by a quarter.
constexpr double kZoomPerNotch = 1.25;
// A press and release closer than this (units of the plot, each way) is a
// click, not a drag.
constexpr double kClickSlack = 3;

}  // namespace

SitePlotView::SitePlotView(QWidget* parent)
    : QWidget(parent), fit_action_(new QAction(QStringLiteral("适合窗口"), this)) {
  setMinimumSize(160, 120);
  setMouseTracking(false);
  setCursor(Qt::OpenHandCursor);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  fit_action_->setToolTip(QStringLiteral("显示全部公共点"));
  addAction(fit_action_);
  connect(fit_action_, &QAction::triggered, this, &SitePlotView::FitToWindow);
}

void SitePlotView::SetPlot(SitePlot plot, PlotFit fit) {
  const bool had_points = !plot_.points.empty();
  plot_ = std::move(plot);
  if (fit == PlotFit::kFitToWindow || !had_points) {
    FitToWindow();
  } else {
    update();
  }
}

void SitePlotView::SetSelected(std::optional<std::size_t> index) {
  plot_.selected = index;
  update();
}

void SitePlotView::FitToWindow() {
  view_ = FitView(plot_, Size());
  follows_fit_ = true;
  update();
}

void SitePlotView::SetView(const PlotView& view) {
  view_ = view;
  follows_fit_ = false;
  update();
}

void SitePlotView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  PaintSitePlot(painter, QSizeF(size()), plot_, view_);
}

void SitePlotView::resizeEvent(QResizeEvent*) {
  if (follows_fit_ && !size().isEmpty()) view_ = FitView(plot_, Size());
}

void SitePlotView::wheelEvent(QWheelEvent* event) {
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  SetView(ZoomAbout(view_, Size(), ToPlot(event->position()), std::pow(kZoomPerNotch, notches)));
  event->accept();
}

void SitePlotView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  press_ = event->position();
  view_at_press_ = view_;
  dragged_ = false;
}

void SitePlotView::mouseMoveEvent(QMouseEvent* event) {
  if (!press_ || !(event->buttons() & Qt::LeftButton)) return;
  const QPointF delta = event->position() - *press_;
  if (!dragged_ && std::abs(delta.x()) <= kClickSlack && std::abs(delta.y()) <= kClickSlack) {
    return;
  }
  if (!dragged_) setCursor(Qt::ClosedHandCursor);
  dragged_ = true;
  SetView(PanBy(view_at_press_, ToPlot(delta)));
}

void SitePlotView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !press_) return QWidget::mouseReleaseEvent(event);
  press_.reset();
  if (dragged_) {
    setCursor(Qt::OpenHandCursor);
    return;
  }
  if (const auto index = PointAt(plot_, view_, Size(), ToPlot(event->position())))
    emit PointClicked(*index);
}

void SitePlotView::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click on a point is two clicks on it; elsewhere it shows all.
  if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
  if (!PointAt(plot_, view_, Size(), ToPlot(event->position()))) FitToWindow();
}

}  // namespace torvane
