#include "workbench/role_delegate.h"

#include <QComboBox>

#include "site/point_role.h"

namespace torvane {

QWidget* RoleDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                    const QModelIndex&) const {
  auto* box = new QComboBox(parent);
  for (PointRole role : kPointRoles) {
    box->addItem(QString::fromUtf8(RoleText(role)));
  }
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
