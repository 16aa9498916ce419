// The 解算结果 tab: the rows kept out of the solve (each a link to its
// cell), the parameters, the solve's figures in two columns (parameters
// beside statistics, label then value), the site's warnings. The page
// scrolls where it is longer than the tab, and each solve brings the
// blunder lines (粗差判断, 剔除检验结论) into view, however many names the
// lines above them list, and so does each change of the panel's size.
#pragma once

#include <QScrollArea>
#include <QString>
#include <set>
#include <utility>
#include <vector>

#include "workbench/solve_summary.h"

class QGridLayout;
class QLabel;

namespace torvane {

class SolvePanel : public QScrollArea {
  Q_OBJECT

 public:
  explicit SolvePanel(QWidget* parent = nullptr);

  // Shows `summary`; `typed`, where not empty, is the text of the typed
  // parameters that converting uses while nothing is solved.
  void Show(const SolveSummary& summary, const QString& typed);
  // The values of the blunder lines shown: 粗差判断 and 剔除检验结论 (or
  // 剔除检验 where the site is too small for it); none before a solve.
  const std::vector<QLabel*>& BlunderLines() const { return blunder_lines_; }
  // Seven lines high, whatever it shows: the page scrolls.
  QSize sizeHint() const override;

 signals:
  // A link of a row kept out of the solve: its cell (0-based row, column).
  void CellChosen(int row, int column);

 protected:
  // Brings the blunder lines into view again at the new size.
  void resizeEvent(QResizeEvent* event) override;

 private:
  void KeepBlunderLinesInView();
  // The grid's label at (row, column), named `name`: the one there
  // already, kept (a solve changes few of the texts, and a label made
  // afresh is laid out afresh), or a new one; its cell added to `placed`.
  QLabel* GridLabel(int row, int column, const char* name, std::set<std::pair<int, int>>& placed);

  QWidget* page_;
  QLabel* head_;      // rows kept out; the parameters or why there are none
  QWidget* figures_;  // the figures' grid
  QGridLayout* grid_;
  QLabel* remarks_;  // typed parameters; warnings
  std::vector<QLabel*> blunder_lines_;
  bool rows_left_out_ = false;  // the head names rows that take no part
};

}  // namespace torvane
