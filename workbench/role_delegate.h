// The editor of the common-point table's role column: a choice of
// 参与平差, 检核 and 不用 rather than a text to type.
#pragma once

#include <QStyledItemDelegate>

namespace torvane {

class RoleDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // A QComboBox of the three roles; a role chosen in it is committed at
  // once (commitData), the model taking it as one undo step.
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  // The combo box shows the cell's role (its Qt::EditRole text).
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  // The chosen role's text goes to the model as Qt::EditRole.
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
  // At least as wide as the combo box needs to show its widest role whole,
  // so that the column sized to it shows the editor's text uncut.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // The cell's rectangle, made as high as the combo box needs where the row
  // is lower, about the row's middle.
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;
};

}  // namespace torvane
