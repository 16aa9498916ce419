// The dialog 导入公共点文件: how the common-point file to import is laid
// out, with the command line's choices (--columns, --delimiter,
// --skip-lines, --encoding).
#pragma once

#include <QDialog>
#include <QString>

#include "base/expected.h"
#include "site/common_points.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace torvane {

class ImportDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows the usual layout: name,xs,ys,xc,yc, comma, no line skipped, the
  // encoding found from the file.
  explicit ImportDialog(QWidget* parent = nullptr);

  // Shows `layout`; its fields must be ones ParseCommonColumns gives.
  void ShowLayout(const CommonPointLayout& layout);
  // The layout shown, or why there is none, in Chinese: the columns as
  // ParseCommonColumns reads them, quoting the list and its item.
  Expected<CommonPointLayout, QString> Layout() const;

  // OK: accepted when Layout() has a value, otherwise its message is shown
  // in the dialog and the dialog stays.
  void accept() override;

  // The parts, named for tests: "columns", "delimiter", "skipLines",
  // "encoding", "problem".
 private:
  QLineEdit* columns_;
  QComboBox* delimiter_;
  QSpinBox* skip_lines_;
  QComboBox* encoding_;
  QLabel* problem_;
};

// Why the list of columns `list` is not one ParseCommonColumns takes, in
// Chinese, quoting it; none when it is.
std::optional<QString> ColumnsProblem(const QString& list);

}  // namespace torvane
