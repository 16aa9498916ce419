#include "workbench/role_delegate.h"

#include <QComboBox>
#include <algorithm>
#include <memory>

#include "site/point_role.h"

namespace torvane {
namespace {

// A combo box of the three roles: the editor, and the measure of one.
QComboBox* RoleBox(QWidget* parent) {
  auto* box = new QComboBox(parent);
  for (PointRole role : kPointRoles) {
    box->addItem(QString::fromUtf8(RoleText(role)));
  }
  return box;
}

}  // namespace

QWidget* RoleDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex&) const {
  auto* box = RoleBox(parent);
  // A role chosen applies at once, not when the cell loses focus: the
  // panel and the plot show the fit with it while the box is still open.
  auto* self = const_cast<RoleDelegate*>(this);  // a signal is no change of the delegate
  connect(box, &QComboBox::activated, self, [self, box] { emit self->commitData(box); });
  return box;
}

void RoleDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* box = static_cast<QComboBox*>(editor);
  const int at = box->findText(index.data(Qt::EditRole).toString());
  if (at >= 0) box->setCurrentIndex(at);
}

void RoleDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                const QModelIndex& index) const {
  model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
}

}  // namespace torvane

namespace torvane {

QSize RoleDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  // Measured in the view's font and style, as the editor will be.
  const std::unique_ptr<QComboBox> box(RoleBox(nullptr));
  box->setFont(option.font);
  if (option.widget) box->setStyle(option.widget->style());
  return size.expandedTo(QSize(box->sizeHint().width(), 0));
}

void RoleDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                        const QModelIndex&) const {
  QRect rect = option.rect;
  const int height = editor->sizeHint().height();
  if (height > rect.height()) rect.adjust(0, -(height - rect.height()) / 2, 0, 0);
  rect.setHeight(std::max(height, rect.height()));
  editor->setGeometry(rect);
}

}  // namespace torvane
