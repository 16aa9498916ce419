#include "workbench/points_area.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace torvane {

PointsArea::PointsArea(QTableView* table, const QList<Step>& first_steps, QWidget* parent)
    : QStackedWidget(parent), table_(table), start_(new QWidget(this)) {
  setObjectName(QStringLiteral("pointsArea"));
  start_->setObjectName(QStringLiteral("startPage"));
  start_->setAutoFillBackground(true);
  start_->setBackgroundRole(QPalette::Base);
  // The page holds the window's focus while it is shown, so that Ctrl+V
  // pastes points rather than into the first text box.
  start_->setFocusPolicy(Qt::StrongFocus);
  auto* page = new QVBoxLayout(start_);
  auto* heading = new QLabel(QStringLiteral("还没有公共点"), start_);
  QFont bigger = heading->font();
  bigger.setPointSizeF(bigger.pointSizeF() * 1.4);
  bigger.setBold(true);
  heading->setFont(bigger);
  auto* lead = new QLabel(
      QStringLiteral("先输入至少两个公共点（点名、测图X、测图Y、施工X、施工Y），参数随即算出："),
      start_);
  lead->setObjectName(QStringLiteral("startText"));
  lead->setWordWrap(true);
  auto* steps = new QGridLayout;
  steps->setHorizontalSpacing(12);
  for (const Step& step : first_steps) {
    auto* button = new QToolButton(start_);
    button->setDefaultAction(step.action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* sentence = new QLabel(QString::fromUtf8(step.sentence), start_);
    sentence->setWordWrap(true);
    sentence->setBuddy(button);
    const int row = steps->rowCount();
    steps->addWidget(button, row, 0);
    steps->addWidget(sentence, row, 1);
  }
  steps->setColumnStretch(1, 1);
  page->addStretch(1);
  page->addWidget(heading);
  page->addWidget(lead);
  page->addSpacing(8);
  page->addLayout(steps);
  page->addStretch(2);
  page->setContentsMargins(24, 12, 24, 12);
  addWidget(start_);
  addWidget(table_);

  QAbstractItemModel* model = table_->model();
  connect(model, &QAbstractItemModel::rowsInserted, this, &PointsArea::Follow);
  connect(model, &QAbstractItemModel::rowsRemoved, this, &PointsArea::Follow);
  connect(model, &QAbstractItemModel::modelReset, this, &PointsArea::Follow);
  Follow();
}

bool PointsArea::ShowsStartPage() const { return currentWidget() == start_; }

QSize PointsArea::sizeHint() const { return table_->sizeHint(); }

QSize PointsArea::minimumSizeHint() const { return table_->minimumSizeHint(); }

void PointsArea::Follow() {
  const bool empty = table_->model()->rowCount() == 0;
  if (empty == ShowsStartPage() && focusProxy() != nullptr) return;
  QWidget* shown = empty ? start_ : static_cast<QWidget*>(table_);
  const bool had_focus = hasFocus() || (focusProxy() != nullptr && focusProxy()->hasFocus());
  setCurrentWidget(shown);
  setFocusProxy(shown);
  if (had_focus) shown->setFocus();
}

}  // namespace torvane
