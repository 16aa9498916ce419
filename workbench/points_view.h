// The common-point table's view: every number shown whole. No text is
// elided; each column is at least as wide as its widest cell and its
// heading with the sort arrow, the table scrolling sideways where the
// columns are wider than the window. A column the user widens keeps its
// width; one narrowed below its content springs back to it.
#pragma once

#include <QHash>
#include <QString>
#include <QTableView>
#include <vector>

namespace torvane {

class PointsView : public QTableView {
  Q_OBJECT

 public:
  explicit PointsView(QWidget* parent = nullptr);

  // Sizes every column to its content (FitColumn), as after each solve.
  void FitColumns();
  // The least width (pixels) `column` may have: its widest cell's size hint
  // (every row measured, the grid line included) and its heading's,
  // which holds the sort arrow. 0 for a column the model does not have.
  int ContentWidth(int column) const;

 protected:
  void changeEvent(QEvent* event) override;

 private:
  void Follow(int column, int old_size, int new_size);  // a section resized
  // The advance of `text` in the view's font, measured once: a solve
  // changes the residuals of every row, but few of their texts.
  int Advance(const QString& text) const;

  std::vector<int> content_;              // ContentWidth of each column at the last fit
  std::vector<int> chosen_;               // the width the user gave each column; 0: none
  bool fitting_ = false;                  // the view itself is resizing the sections
  mutable QHash<QString, int> advances_;  // in the font they were measured in
};

}  // namespace torvane
