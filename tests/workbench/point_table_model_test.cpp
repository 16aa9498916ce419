// The common-point table's model: State (the rows) / Action (an edit, as the
// window makes it) / Expected (the rows, after undo and redo too).
#include "workbench/point_table_model.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QComboBox>
#include <QSignalSpy>
#include <QStyleOptionViewItem>
#include <QTableView>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "workbench/role_delegate.h"

namespace torvane {
namespace {

// A solve's result of which only the residual length matters.
RowResult WithLength(const char* length) {
  RowResult result;
  result.length = length;
  return result;
}

constexpr PointRole kFit = PointRole::kFit, kCheck = PointRole::kCheck, kOff = PointRole::kOff;

const std::vector<ProjectPoint> kSite = {
    {"K10", kFit, "3412.588", "5127.348", "0.000", "0.000"},
    {"K2", kCheck, "abc", "5260.721", "250.000", "0.000"},
    {"K1", kOff, "3316.563", "5279.574", "0.000", "180.000"},
};

// Each action is one undo step: undone, the rows are as before, byte for
// byte; redone, as after. Expected rows worked out by hand.
TEST(PointTableModel, EveryEditIsOneUndoStep) {
  const struct {
    const char* action;
    std::function<void(PointTableModel&)> act;
    std::vector<ProjectPoint> after;
  } cases[] = {
      {"edit a coordinate",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.setData(m.index(1, kXsColumn), QString("4567890.123456789"), Qt::EditRole));
       },
       {kSite[0], {"K2", kCheck, "4567890.123456789", "5260.721", "250.000", "0.000"}, kSite[2]}},
      // Numbers as an input method in full-width mode types them, and as a
      // spreadsheet's formatted cell is copied: the cell keeps the number read.
      {"edit a coordinate in full width",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.setData(m.index(1, kXsColumn), QString("－３４１２．５８８"), Qt::EditRole));
       },
       {kSite[0], {"K2", kCheck, "-3412.588", "5260.721", "250.000", "0.000"}, kSite[2]}},
      {"edit a coordinate with thousands separators",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.setData(m.index(0, kYcColumn), QString("3,380,000.123"), Qt::EditRole));
       },
       {{"K10", kFit, "3412.588", "5127.348", "0.000", "3380000.123"}, kSite[1], kSite[2]}},
      {"a comma out of the thousands' places stays as typed",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.setData(m.index(0, kYcColumn), QString("3380,000.123"), Qt::EditRole));
       },
       {{"K10", kFit, "3412.588", "5127.348", "0.000", "3380,000.123"}, kSite[1], kSite[2]}},
      {"a name in full width stays as typed",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.setData(m.index(0, kNameColumn), QString("Ｋ１０"), Qt::EditRole));
       },
       {{"Ｋ１０", kFit, "3412.588", "5127.348", "0.000", "0.000"}, kSite[1], kSite[2]}},
      {"paste full width and thousands below a header: each coordinate as read",
       [](PointTableModel& m) {
         auto added = m.Paste(
             "点名\t测图X\t测图Y\t施工X\t施工Y\r\n"
             "Ｃ１\t３，４１２．５\t\"5,127.3\"\t1,000\t12,34\r\n",
             std::nullopt);
         ASSERT_TRUE(added.ok());
         EXPECT_EQ(*added, 1);
       },
       {kSite[0], kSite[1], kSite[2], {"Ｃ１", kFit, "3412.5", "5127.3", "1000", "12,34"}}},
      {"a first row in full width is a row, not a header",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.Paste("A\t１\t２\t３\t４\nB\t5\t6\t7\t8\n", std::nullopt).ok());
       },
       {kSite[0],
        kSite[1],
        kSite[2],
        {"A", kFit, "1", "2", "3", "4"},
        {"B", kFit, "5", "6", "7", "8"}}},
      {"type a survey height in full width",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.setData(m.index(0, kHsColumn), QString("１２．５"), Qt::EditRole));
       },
       {{"K10", kFit, "3412.588", "5127.348", "0.000", "0.000", "12.5", ""}, kSite[1], kSite[2]}},
      {"type a construction height grouped in thousands",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.setData(m.index(2, kHcColumn), QString("1,012.5"), Qt::EditRole));
       },
       {kSite[0],
        kSite[1],
        {"K1", kOff, "3316.563", "5279.574", "0.000", "180.000", "", "1012.5"}}},
      {"paste seven cells without a header: each grid's height after its Y",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.Paste("A\t1\t2\t12.5\t3\t4\t-0.5\t检核\n", std::nullopt).ok());
       },
       {kSite[0], kSite[1], kSite[2], {"A", kCheck, "1", "2", "3", "4", "12.5", "-0.5"}}},
      {"rename, blanks kept as typed",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.setData(m.index(0, kNameColumn), QString(" 控制点一 "), Qt::EditRole));
       },
       {{" 控制点一 ", kFit, "3412.588", "5127.348", "0.000", "0.000"}, kSite[1], kSite[2]}},
      {"change a role",
       [](PointTableModel& m) {
         ASSERT_TRUE(m.setData(m.index(2, kRoleColumn), QString("检核"), Qt::EditRole));
       },
       {kSite[0], kSite[1], {"K1", kCheck, "3316.563", "5279.574", "0.000", "180.000"}}},
      {"add a row",
       [](PointTableModel& m) { EXPECT_EQ(m.AddRow(), 3); },
       {kSite[0], kSite[1], kSite[2], ProjectPoint{}}},
      {"delete rows given out of order and twice",
       [](PointTableModel& m) {
         m.DeleteRows({2, 0, 2});
       },
       {kSite[1]}},
      {"paste two rows before row 1",
       [](PointTableModel& m) {
         auto added = m.Paste(
             "点名\t测图X\t测图Y\t施工X\t施工Y\r\nA\t1\t2\t3\t4\r\nB\t5\t6\t7\t8\t不用\r\n", 1);
         ASSERT_TRUE(added.ok());
         EXPECT_EQ(*added, 2);
       },
       {kSite[0],
        {"A", kFit, "1", "2", "3", "4"},
        {"B", kOff, "5", "6", "7", "8"},
        kSite[1],
        kSite[2]}},
      {"paste with no selection appends",
       [](PointTableModel& m) { ASSERT_TRUE(m.Paste("A\t1\t2\t3\t4", std::nullopt).ok()); },
       {kSite[0], kSite[1], kSite[2], {"A", kFit, "1", "2", "3", "4"}}},
      {"import appends",
       [](PointTableModel& m) {
         m.Import({{"G1", kFit, "1", "2", "3", "4"}, {"G2", kFit, "5", "6", "7", "8"}});
       },
       {kSite[0],
        kSite[1],
        kSite[2],
        {"G1", kFit, "1", "2", "3", "4"},
        {"G2", kFit, "5", "6", "7", "8"}}},
      {"sort by name: digits by value",
       [](PointTableModel& m) { m.SortBy(kNameColumn, Qt::AscendingOrder); },
       {kSite[2], kSite[1], kSite[0]}},
      {"sort by Xs, descending: a cell without a number last",
       [](PointTableModel& m) { m.SortBy(kXsColumn, Qt::DescendingOrder); },
       {kSite[0], kSite[2], kSite[1]}},
      {"sort by Yc: ties keep their order",
       [](PointTableModel& m) { m.sort(kYcColumn, Qt::DescendingOrder); },
       {kSite[2], kSite[0], kSite[1]}},
      {"sort by 长度(mm) of the last solve: a row without a result last",
       [](PointTableModel& m) {
         m.SetResults({WithLength("1.3"), {}, WithLength("10.3")});
         m.SortBy(kLengthColumn, Qt::DescendingOrder);
       },
       {kSite[2], kSite[0], kSite[1]}},
      {"sort by role, descending",
       [](PointTableModel& m) { m.SortBy(kRoleColumn, Qt::DescendingOrder); },
       {kSite[2], kSite[1], kSite[0]}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action);
    QUndoStack undo;
    PointTableModel model(undo);
    model.SetRows(kSite);
    QSignalSpy changed(&model, &PointTableModel::RowsChanged);
    c.act(model);
    EXPECT_EQ(model.rows(), c.after);
    EXPECT_EQ(undo.count(), 1);
    undo.undo();
    EXPECT_EQ(model.rows(), kSite);
    undo.redo();
    EXPECT_EQ(model.rows(), c.after);
    EXPECT_EQ(changed.count(), 3);  // the action, its undo, its redo
    EXPECT_EQ(model.rowCount(), static_cast<int>(c.after.size()));
  }
}

// Actions that change nothing leave no undo step and no signal.
TEST(PointTableModel, NothingChangedNoStep) {
  const struct {
    const char* action;
    std::function<void(PointTableModel&)> act;
  } cases[] = {
      {"the same text typed again",
       [](PointTableModel& m) {
         EXPECT_TRUE(m.setData(m.index(0, kXsColumn), QString("3412.588"), Qt::EditRole));
       }},
      {"a role that is none",
       [](PointTableModel& m) {
         EXPECT_FALSE(m.setData(m.index(0, kRoleColumn), QString("平差"), Qt::EditRole));
       }},
      {"a result cell",
       [](PointTableModel& m) {
         EXPECT_FALSE(m.setData(m.index(0, kDxColumn), QString("1"), Qt::EditRole));
       }},
      {"sorted already", [](PointTableModel& m) { m.SortBy(kRoleColumn, Qt::AscendingOrder); }},
      {"no rows to delete", [](PointTableModel& m) { m.DeleteRows({}); }},
      {"nothing to import", [](PointTableModel& m) { m.Import({}); }},
      {"a short row pasted",
       [](PointTableModel& m) {
         auto added = m.Paste("A\t1\t2\t3\nB\t1\t2\t3\t4\n", 0);
         ASSERT_FALSE(added.ok());
         EXPECT_EQ(added.error().toStdString(),
                   "无法粘贴：第 1 行只有 4 个单元格，公共点要有 5 个（点名、测图X、测图Y、施工X、"
                   "施工Y）：“A”、“1”、“2”、“3”");
       }},
      {"blank rows pasted",
       [](PointTableModel& m) {
         auto added = m.Paste("\r\n", std::nullopt);
         ASSERT_FALSE(added.ok());
         EXPECT_EQ(added.error().toStdString(), "剪贴板中没有公共点。");
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.action);
    QUndoStack undo;
    PointTableModel model(undo);
    model.SetRows(kSite);
    QSignalSpy changed(&model, &PointTableModel::RowsChanged);
    c.act(model);
    EXPECT_EQ(model.rows(), kSite);
    EXPECT_EQ(undo.count(), 0);
    EXPECT_EQ(changed.count(), 0);
  }
}

// State: a project's edits undone and redone. Action: another project
// loaded. Expected: its rows, nothing to undo, a re-solve asked for.
TEST(PointTableModel, LoadingAProjectClearsTheUndoSteps) {
  QUndoStack undo;
  PointTableModel model(undo);
  model.SetRows(kSite);
  model.AddRow();
  model.DeleteRows({0});
  QSignalSpy changed(&model, &PointTableModel::RowsChanged);
  model.SetRows({kSite[1]});
  EXPECT_EQ(model.rows(), std::vector<ProjectPoint>{kSite[1]});
  EXPECT_EQ(undo.count(), 0);
  EXPECT_EQ(changed.count(), 1);
  // Several steps undone in turn, each back to where it was.
  ASSERT_TRUE(model.Paste("A\t1\t2\t3\t4", std::nullopt).ok());
  model.SortBy(kNameColumn, Qt::AscendingOrder);
  model.setData(model.index(0, kYsColumn), QString("7"), Qt::EditRole);
  ASSERT_EQ(undo.count(), 3);
  EXPECT_EQ(model.rows()[0], (ProjectPoint{"A", kFit, "1", "7", "3", "4"}));
  undo.undo();
  EXPECT_EQ(model.rows()[0], (ProjectPoint{"A", kFit, "1", "2", "3", "4"}));
  undo.undo();
  EXPECT_EQ(model.rows(), (std::vector<ProjectPoint>{kSite[1], {"A", kFit, "1", "2", "3", "4"}}));
  undo.undo();
  EXPECT_EQ(model.rows(), std::vector<ProjectPoint>{kSite[1]});
}

// State: a window's stack, its model gone first (a child of the window).
// Action: undo and redo. Expected: nothing happens, nothing is touched.
TEST(PointTableModel, StepsOutliveTheModel) {
  QUndoStack undo;
  {
    PointTableModel model(undo);
    model.SetRows(kSite);
    model.DeleteRows({1});
    model.SortBy(kNameColumn, Qt::AscendingOrder);
  }
  ASSERT_EQ(undo.count(), 2);
  undo.undo();
  undo.undo();
  undo.redo();
  EXPECT_EQ(undo.index(), 1);
}

// State: rows with a bad cell, then a solve's results. Expected: what each
// cell shows (texts, tooltip, colours), and the results gone after an edit.
TEST(PointTableModel, CellsShowProblemsAndResults) {
  QUndoStack undo;
  PointTableModel model(undo);
  model.SetRows(kSite);
  const QModelIndex bad = model.index(1, kXsColumn);
  EXPECT_EQ(model.data(bad, Qt::DisplayRole).toString().toStdString(), "abc");
  EXPECT_EQ(model.data(bad, Qt::ToolTipRole).toString().toStdString(),
            "第 2 行 测图X “abc” 不是数字");
  EXPECT_EQ(model.data(bad, Qt::BackgroundRole).value<QColor>(), QColor(255, 205, 205));
  // A comma out of the thousands' places: the cell is marked, quoting it as typed.
  model.setData(model.index(0, kYsColumn), QString("5,1273.348"), Qt::EditRole);
  EXPECT_EQ(model.data(model.index(0, kYsColumn), Qt::ToolTipRole).toString().toStdString(),
            "第 1 行 测图Y “5,1273.348” 不是数字");
  model.setData(model.index(0, kYsColumn), QString("５１２７．３４８"), Qt::EditRole);
  EXPECT_EQ(model.data(model.index(0, kYsColumn), Qt::DisplayRole).toString().toStdString(),
            "5127.348");
  EXPECT_FALSE(model.data(model.index(0, kYsColumn), Qt::ToolTipRole).isValid());
  EXPECT_FALSE(model.data(model.index(1, kYsColumn), Qt::BackgroundRole).isValid());
  EXPECT_FALSE(model.data(model.index(1, kYsColumn), Qt::ToolTipRole).isValid());
  // A height that is not a number: marked, its row in the solve without it.
  model.setData(model.index(0, kHsColumn), QString("12a"), Qt::EditRole);
  EXPECT_EQ(model.data(model.index(0, kHsColumn), Qt::ToolTipRole).toString().toStdString(),
            "第 1 行 测图H “12a” 不是数字");
  EXPECT_EQ(model.data(model.index(0, kHsColumn), Qt::BackgroundRole).value<QColor>(),
            QColor(255, 205, 205));
  EXPECT_EQ(model.height_problems().size(), 1u);
  EXPECT_EQ(model.points().fit_rows, std::vector<std::size_t>{0});
  EXPECT_FALSE(model.points().fit[0].survey_h.has_value());
  model.setData(model.index(0, kHsColumn), QString(" 12.5 "), Qt::EditRole);
  EXPECT_TRUE(model.height_problems().empty());
  EXPECT_EQ(model.points().fit[0].survey_h, 12.5);
  ASSERT_EQ(model.problems().size(), 1u);
  EXPECT_EQ(model.points().fit_rows, std::vector<std::size_t>{0});
  EXPECT_EQ(model.points().off_rows, std::vector<std::size_t>{2});
  EXPECT_EQ(model.data(model.index(2, kRoleColumn), Qt::DisplayRole).toString().toStdString(),
            "不用");

  model.SetResults(
      {{"1.2", "-0.4", "1.3", "0.5", "0.2", "1.6", "0.6", "0.2", "0.20", false, false, false},
       {},
       {"-3.0", "9.9", "10.3", "3.1", "2.0", "14.7", "5.1", "3.3", "18.40", true, true, true}});
  EXPECT_EQ(model.data(model.index(0, kDxColumn), Qt::DisplayRole).toString().toStdString(), "1.2");
  EXPECT_EQ(model.data(model.index(2, kLengthColumn), Qt::DisplayRole).toString().toStdString(),
            "10.3");
  EXPECT_FALSE(model.data(model.index(0, kWxColumn), Qt::ForegroundRole).isValid());
  EXPECT_EQ(model.data(model.index(2, kWxColumn), Qt::ForegroundRole).value<QColor>(),
            QColor(200, 0, 0));
  EXPECT_EQ(model.data(model.index(2, kWyColumn), Qt::ForegroundRole).value<QColor>(),
            QColor(200, 0, 0));
  EXPECT_FALSE(model.data(model.index(2, kDxColumn), Qt::ForegroundRole).isValid());
  EXPECT_EQ(model.data(model.index(2, kFColumn), Qt::DisplayRole).toString().toStdString(),
            "18.40");
  EXPECT_EQ(model.data(model.index(2, kFColumn), Qt::ForegroundRole).value<QColor>(),
            QColor(200, 0, 0));
  EXPECT_FALSE(model.data(model.index(0, kFColumn), Qt::ForegroundRole).isValid());
  for (int column = 0; column < kPointColumnCount; ++column) {
    EXPECT_EQ(model.data(model.index(2, column), Qt::BackgroundRole).value<QColor>(),
              QColor(255, 240, 170));
  }
  EXPECT_FALSE(model.flags(model.index(0, kDxColumn)) & Qt::ItemIsEditable);
  EXPECT_TRUE(model.flags(model.index(0, kYcColumn)) & Qt::ItemIsEditable);

  // Fixing the bad cell: no problem left, and the results, of other rows, gone.
  model.setData(bad, QString("3624.036"), Qt::EditRole);
  EXPECT_TRUE(model.problems().empty());
  EXPECT_FALSE(model.data(bad, Qt::BackgroundRole).isValid());
  EXPECT_EQ(model.data(model.index(0, kDxColumn), Qt::DisplayRole).toString(), QString());
  EXPECT_FALSE(model.data(model.index(2, kWxColumn), Qt::ForegroundRole).isValid());
  EXPECT_EQ(model.points().check_rows, std::vector<std::size_t>{1});
}

TEST(PointTableModel, Captions) {
  QUndoStack undo;
  PointTableModel model(undo);
  std::string captions;
  for (int column = 0; column < model.columnCount(); ++column) {
    captions += model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString().toStdString();
    captions += "|";
  }
  EXPECT_EQ(
      captions,
      "角色|点名|测图X|测图Y|测图H|施工X|施工Y|施工H|dX(mm)|dY(mm)|长度(mm)|wX|wY|剔除不符(mm)|"
      "tX|tY|F|");
}

// State: a table view with the role editor open on a 检核 row. Action: 不用
// chosen in its combo box, then the editor closed. Expected: the three
// roles offered, the cell's shown; the choice applies as soon as it is
// made (the fit shown with it), as one undo step, closing adds none.
TEST(RoleDelegate, ChoosesARoleThatAppliesAtOnce) {
  QUndoStack undo;
  PointTableModel model(undo);
  model.SetRows(kSite);
  QTableView view;
  view.setModel(&model);
  RoleDelegate delegate;
  view.setItemDelegateForColumn(kRoleColumn, &delegate);
  const QModelIndex cell = model.index(1, kRoleColumn);
  view.openPersistentEditor(cell);
  auto* box = qobject_cast<QComboBox*>(view.indexWidget(cell));
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->count(), 3);
  EXPECT_EQ(box->itemText(0).toStdString() + box->itemText(1).toStdString() +
                box->itemText(2).toStdString(),
            "参与平差检核不用");
  EXPECT_EQ(box->currentText().toStdString(), "检核");
  box->setCurrentIndex(2);
  emit box->activated(2);
  EXPECT_EQ(model.rows()[1].role, kOff);
  EXPECT_EQ(undo.count(), 1);
  view.closePersistentEditor(cell);
  EXPECT_EQ(undo.count(), 1);
  undo.undo();
  EXPECT_EQ(model.rows()[1].role, kCheck);
}

}  // namespace
}  // namespace torvane
