#include "workbench/points_view.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <algorithm>

namespace torvane {

PointsView::PointsView(QWidget* parent) : QTableView(parent) {
  setTextElideMode(Qt::ElideNone);
  setWordWrap(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setTextElideMode(Qt::ElideNone);
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, &PointsView::Follow);
}

int PointsView::ContentWidth(int column) const {
  const QAbstractItemModel* data = model();
  if (!data || column < 0 || column >= data->columnCount()) return 0;
  // The widest text is found by its advance alone; only its cell is asked
  // for the delegate's size hint, which adds the same margins to every
  // cell of the column (and the role's editor to the role column).
  int widest_row = -1, widest = -1;
  const int rows = data->rowCount();
  for (int row = 0; row < rows; ++row) {
    const int advance = Advance(data->index(row, column).data(Qt::DisplayRole).toString());
    if (advance > widest) {
      widest = advance;
      widest_row = row;
    }
  }
  int width = horizontalHeader()->sectionSizeHint(column);
  if (widest_row >= 0) {
    const QModelIndex index = data->index(widest_row, column);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int grid = showGrid() ? 1 : 0;
    width = std::max(width, itemDelegateForIndex(index)->sizeHint(option, index).width() + grid);
  }
  return width;
}

int PointsView::Advance(const QString& text) const {
  // Sites of tens of thousands of points: past that many texts, start over.
  constexpr qsizetype kMostTexts = 200000;
  if (const auto known = advances_.constFind(text); known != advances_.cend()) return *known;
  if (advances_.size() >= kMostTexts) advances_.clear();
  const int advance = QFontMetrics(font()).horizontalAdvance(text);
  advances_.insert(text, advance);
  return advance;
}

void PointsView::FitColumns() {
  const QAbstractItemModel* data = model();
  if (!data) return;
  const int columns = data->columnCount();
  content_.assign(static_cast<std::size_t>(columns), 0);
  chosen_.resize(static_cast<std::size_t>(columns), 0);
  fitting_ = true;
  for (int column = 0; column < columns; ++column) {
    const auto at = static_cast<std::size_t>(column);
    content_[at] = ContentWidth(column);
    horizontalHeader()->resizeSection(column, std::max(content_[at], chosen_[at]));
  }
  fitting_ = false;
}

void PointsView::Follow(int column, int, int new_size) {
  if (fitting_ || column < 0 || static_cast<std::size_t>(column) >= content_.size()) return;
  const auto at = static_cast<std::size_t>(column);
  chosen_[at] = new_size > content_[at] ? new_size : 0;
  if (new_size < content_[at]) {
    fitting_ = true;
    horizontalHeader()->resizeSection(column, content_[at]);
    fitting_ = false;
  }
}

void PointsView::changeEvent(QEvent* event) {
  QTableView::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    // Widths chosen and measured in the old font no longer say what they said.
    advances_.clear();
    std::fill(chosen_.begin(), chosen_.end(), 0);
    FitColumns();
  }
}

}  // namespace torvane
