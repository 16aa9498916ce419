// The workbench's common-point table: the site's points as typed, pasted or
// imported, each edit an undo step, each cell that keeps its row out of the
// solve marked, and each row's result of the last solve beside it.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <optional>
#include <vector>

#include "base/expected.h"
#include "site/pasted_points.h"
#include "site/point_columns.h"
#include "site/project_file.h"
#include "site/site_points.h"

namespace torvane {

// A row's result of a solve, as the window writes it with the report's
// formatters: residuals in millimetres and the normalized residuals.
struct RowResult {
  QString dx, dy, length, wx, wy;
  QString left_out, tx, ty, f;  // left out of the fit: its miss (mm), tX, tY, F
  bool blunder = false;         // wX or wY beyond the limit: those two cells red
  bool tested_blunder = false;  // named by the blunder test: its four cells red
  bool worst = false;           // the row of the largest residual: the row highlighted
};

class PointTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Every change but SetRows goes through `undo`, which the model uses while
  // it lives; the model holds the rows. Steps left on the stack after the
  // model is gone do nothing.
  explicit PointTableModel(QUndoStack& undo, QObject* parent = nullptr);

  const std::vector<ProjectPoint>& rows() const { return rows_; }
  // The rows read for a solve (ReadSitePoints), kept up to date.
  const SitePoints& points() const { return points_; }
  const std::vector<CellProblem>& problems() const { return points_.problems; }
  const std::vector<CellProblem>& height_problems() const { return points_.height_problems; }

  // Replaces every row, as opening a project does: no undo step, and the
  // undo stack is cleared (an undo must not reach into the project before).
  void SetRows(std::vector<ProjectPoint> rows);
  // Appends an empty fitted row; returns its row.
  int AddRow();
  // Deletes the rows (0-based, each in the table, in any order, repeats
  // allowed), one undo step; none: no step.
  void DeleteRows(std::vector<int> rows);
  // Inserts the points of a spreadsheet's copied cells (ParsePastedPoints)
  // before `at_row` (0 to rowCount(); none: after the last), one undo step,
  // once `accept` (where given) has seen them read and said yes. Returns how
  // many were inserted (0 when `accept` said no), or why none were, in
  // Chinese.
  Expected<int, QString> Paste(const QString& clipboard_text, std::optional<int> at_row,
                               const std::function<bool(const PastedPoints&)>& accept = nullptr);
  // Appends `points` after the last row, one undo step; none: no step.
  void Import(std::vector<ProjectPoint> points);
  // Orders the rows by `column`, stably, one undo step (none when the order
  // stays): the name by its text, digits as numbers (K2 before K10); the
  // coordinates and results by value, cells without one last; the role as
  // 参与平差, 检核, 不用.
  void SortBy(int column, Qt::SortOrder order);
  // The results of the solve of the rows as they are, one a row or none at
  // all; cleared by every change to the rows.
  void SetResults(std::vector<RowResult> results);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Qt::EditRole: a typed cell's text, a coordinate's or height's as TypedNumberText
  // reads it ("１２３．４５" is kept as "123.45"); the role column takes
  // 参与平差, 检核 or 不用. One undo step; false for anything else.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  // The view's header click: SortBy.
  void sort(int column, Qt::SortOrder order) override;

 signals:
  // After every change to the rows, undo and redo included.
  void RowsChanged();

 private:
  class Step;
  class Edit;
  class Insert;
  class Remove;
  class Reorder;

  // What the undo commands call; each command ends with one Changed().
  void ReplaceRow(int row, const ProjectPoint& point);
  void InsertAt(int row, const std::vector<ProjectPoint>& points);
  void RemoveAt(const std::vector<int>& ascending_rows);
  void Permute(const std::vector<int>& order);  // new row i is old row order[i]
  void Changed();

  QUndoStack& undo_;
  std::vector<ProjectPoint> rows_;
  SitePoints points_;
  std::vector<RowResult> results_;
};

}  // namespace torvane
