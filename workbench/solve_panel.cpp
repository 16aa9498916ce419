#include "workbench/solve_panel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace torvane {
namespace {

// The labels of the figures that say whether a point is a blunder, as
// StatisticFigures words them.
bool IsBlunderLine(const std::string& label) {
  return label == "粗差判断" || label == "剔除检验结论" || label == "剔除检验";
}

QString Red(const QString& text) {
  return QStringLiteral("<span style='color:#c00000'>%1</span>").arg(text.toHtmlEscaped());
}

QLabel* Label(QWidget* parent, const char* name) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setTextFormat(Qt::RichText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
  label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  label->setWordWrap(true);
  return label;
}

// The width that keeps `text` on one line in `label`, up to `most`
// characters' width: a longer text wraps.
int OneLine(const QLabel* label, const QString& text, int most) {
  return std::min(label->fontMetrics().horizontalAdvance(text) + 1,
                  most * label->fontMetrics().height());
}

// The columns of the figures' grid: parameters' label and value, a gap,
// statistics' label and value.
constexpr int kParameterColumn = 0, kStatisticColumn = 3;

}  // namespace

SolvePanel::SolvePanel(QWidget* parent)
    : QScrollArea(parent),
      page_(new QWidget(this)),
      head_(Label(page_, "solution")),
      figures_(new QWidget(page_)),
      grid_(new QGridLayout(figures_)),
      remarks_(Label(page_, "solutionRemarks")) {
  setObjectName(QStringLiteral("solutionPanel"));
  figures_->setObjectName(QStringLiteral("figures"));
  grid_->setContentsMargins(0, 0, 0, 0);
  grid_->setHorizontalSpacing(8);
  grid_->setVerticalSpacing(2);
  grid_->setColumnMinimumWidth(kStatisticColumn - 1, 16);
  grid_->setColumnStretch(kStatisticColumn + 1, 1);
  auto* layout = new QVBoxLayout(page_);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(head_);
  layout->addWidget(figures_);
  layout->addWidget(remarks_);
  layout->addStretch(1);
  setWidget(page_);
  setWidgetResizable(true);
  setFrameShape(QFrame::NoFrame);
  connect(head_, &QLabel::linkActivated, this, [this](const QString& link) {
    const QStringList cell = link.split(':');
    if (cell.size() != 3 || cell[0] != QStringLiteral("cell")) return;
    emit CellChosen(cell[1].toInt(), cell[2].toInt());
  });
}

void SolvePanel::Show(const SolveSummary& s, const QString& typed) {
  QString head;
  if (s.rows_left_out > 0) {
    head += QStringLiteral("<p>") + Red(RowsLeftOutText(s.rows_left_out) + QStringLiteral("："));
    for (const CellProblem& problem : s.left_out) {
      head += QStringLiteral("<br><a href='cell:%1:%2'>%3</a>")
                  .arg(problem.row)
                  .arg(problem.column)
                  .arg(QString::fromStdString(problem.message).toHtmlEscaped());
    }
    head += QStringLiteral("</p>");
  }
  head += s.failure.isEmpty()
              ? QStringLiteral("参数（X0 Y0 ddd.mmss）：%1").arg(s.parameters.toHtmlEscaped())
              : s.failure.toHtmlEscaped();
  head_->setText(head);
  rows_left_out_ = s.rows_left_out > 0;

  // The figures as the calibration report has them, the parameters beside
  // the statistics: label, then value and unit.
  blunder_lines_.clear();
  std::set<std::pair<int, int>> placed;  // the grid's cells this solve fills
  const auto add = [this, &placed](const std::vector<ReportFigure>& shown, int column, int first) {
    for (std::size_t i = 0; i < shown.size(); ++i) {
      const ReportFigure& figure = shown[i];
      const QString value =
          QString::fromStdString(figure.value + (figure.unit.empty() ? "" : " " + figure.unit));
      const int row = first + static_cast<int>(i);
      QLabel* caption = GridLabel(row, column, "", placed);
      caption->setText(QString::fromStdString(figure.label).toHtmlEscaped());
      // On one line up to a dozen characters' width; a longer one wraps.
      caption->setMinimumWidth(OneLine(caption, QString::fromStdString(figure.label), 10));
      QLabel* shown_value = GridLabel(row, column + 1, "", placed);
      shown_value->setText(figure.alarm ? Red(value) : value.toHtmlEscaped());
      shown_value->setMinimumWidth(OneLine(shown_value, value, 8));
      if (IsBlunderLine(figure.label)) blunder_lines_.push_back(shown_value);
    }
  };
  if (s.failure.isEmpty()) {
    add(s.parameter_figures, kParameterColumn, 0);
    add(s.statistics, kStatisticColumn, 0);
  }
  // The heights below the plane's figures under a heading of their own,
  // parameters beside statistics.
  const int plane_rows =
      s.failure.isEmpty()
          ? static_cast<int>(std::max(s.parameter_figures.size(), s.statistics.size()))
          : 0;
  if (!s.height_parameters.empty()) {
    QLabel* heading = GridLabel(plane_rows, kParameterColumn, "heightHeading", placed);
    heading->setText(QStringLiteral("<b>高程</b>"));
    heading->setMinimumWidth(0);  // where a caption stood before
    add(s.height_parameters, kParameterColumn, plane_rows + 1);
    add(s.height_statistics, kStatisticColumn, plane_rows + 1);
  }
  // The labels of an earlier solve that this one has no figure for.
  std::vector<QWidget*> stale;
  for (int i = 0; i < grid_->count(); ++i) {
    int row = 0, column = 0, rows = 0, columns = 0;
    grid_->getItemPosition(i, &row, &column, &rows, &columns);
    if (!placed.contains({row, column})) stale.push_back(grid_->itemAt(i)->widget());
  }
  for (QWidget* widget : stale) {
    grid_->removeWidget(widget);
    delete widget;
  }
  figures_->setVisible(s.failure.isEmpty() || !s.height_parameters.empty());

  QString remarks;
  if (!typed.isEmpty()) {
    remarks += QStringLiteral("<p>转换使用手工输入的参数：%1</p>").arg(typed.toHtmlEscaped());
  }
  if (!s.height_failure.isEmpty()) {
    remarks += QStringLiteral("<p>") + Red(s.height_failure + QStringLiteral("。")) +
               QStringLiteral("</p>");
  }
  if (!s.rows_without_heights.isEmpty() && !s.height_parameters.empty()) {
    remarks += QStringLiteral("<p>%1。</p>").arg(s.rows_without_heights.toHtmlEscaped());
  }
  for (const QString& warning : s.warnings) {
    remarks +=
        QStringLiteral("<p>") + Red(QStringLiteral("注意：") + warning) + QStringLiteral("</p>");
  }
  remarks_->setText(remarks);
  remarks_->setVisible(!remarks.isEmpty());
  KeepBlunderLinesInView();
}

QLabel* SolvePanel::GridLabel(int row, int column, const char* name,
                              std::set<std::pair<int, int>>& placed) {
  placed.insert({row, column});
  if (QLayoutItem* item = grid_->itemAtPosition(row, column)) {
    if (auto* label = qobject_cast<QLabel*>(item->widget())) {
      label->setObjectName(QString::fromUtf8(name));
      return label;
    }
  }
  QLabel* label = Label(figures_, name);
  grid_->addWidget(label, row, column);
  // Shown now, not when the layout's queued call comes: laid out at once.
  label->show();
  return label;
}

void SolvePanel::resizeEvent(QResizeEvent* event) {
  QScrollArea::resizeEvent(event);
  // Once the new size's layout is done.
  QTimer::singleShot(0, this, &SolvePanel::KeepBlunderLinesInView);
}

QSize SolvePanel::sizeHint() const {
  return {QScrollArea::sizeHint().width(), 7 * fontMetrics().lineSpacing()};
}

void SolvePanel::KeepBlunderLinesInView() {
  // Rows that take no part come first: the parameters are from fewer
  // points than the table shows, whatever the blunder test says of them.
  if (rows_left_out_) {
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
    return;
  }
  if (blunder_lines_.empty()) return;
  // Laid out now, not when the events queued get their turn: the page at
  // the height its new lines need at the viewport's width, then the lines
  // where the page puts them.
  page_->layout()->invalidate();
  page_->layout()->activate();
  QEvent relayout(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(this, &relayout);
  page_->layout()->invalidate();
  page_->layout()->activate();
  QRect lines;
  for (QLabel* value : blunder_lines_) {
    lines |= QRect(value->mapTo(page_, QPoint(0, 0)), value->size());
  }
  // Up to the page's left edge, where the captions are.
  lines.setLeft(0);
  ensureVisible(lines.center().x(), lines.center().y(), lines.width() / 2, lines.height() / 2 + 4);
}

}  // namespace torvane
