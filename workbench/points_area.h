// The common-point table's place in the workbench: while the table has no
// row, a page that says how to begin (paste or import common points, or
// open a project), each way a button that runs the menu's own action; the
// table itself as soon as it has a row.
#pragma once

#include <QList>
#include <QStackedWidget>

class QAction;
class QTableView;

namespace torvane {

class PointsArea : public QStackedWidget {
  Q_OBJECT

 public:
  // `table` (its model set) is taken into the area. `first_steps` are the
  // actions offered on the empty page, paste, import, open and add a row,
  // each beside the sentence that tells what it does.
  struct Step {
    QAction* action;
    const char* sentence;  // UTF-8
  };
  PointsArea(QTableView* table, const QList<Step>& first_steps, QWidget* parent = nullptr);

  // Whether the page for an empty table is shown in place of the table.
  bool ShowsStartPage() const;

  // The table's: the page takes the room the table would have, as the
  // window lays it out, and wraps its lines to fit.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 private:
  void Follow();  // the page or the table, as the table's rows are

  QTableView* table_;
  QWidget* start_;
};

}  // namespace torvane
