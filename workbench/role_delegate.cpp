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
