// 手工输入参数: parameters typed by hand, for a site whose common points are
// not at hand: X0 and Y0 in metres, the rotation in ddd.mmss and the scale
// (1 for the rigid conversion). They serve while the table gives no
// solution; once its common points solve, the solved parameters take over.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>

#include "base/expected.h"
#include "params/conversion_params.h"
#include "site/project_file.h"

class QLabel;
class QLineEdit;

namespace torvane {

// The conversion parameters of typed texts, read as `torvane-cli convert`
// reads --dx, --dy, --angle and --scale ("." is 0). Rejects, in Chinese and
// quoting the text, one that is not a number, and what RunParamsFromValues
// rejects.
Expected<RunParams, QString> TypedRunParams(const ProjectParams& typed);

class TypedParamsDialog : public QDialog {
  Q_OBJECT

 public:
  // Shows `typed`, or empty boxes and a scale of 1.
  TypedParamsDialog(const std::optional<ProjectParams>& typed, QWidget* parent = nullptr);

  // The texts as typed (blanks around them removed), one typed in full
  // width or grouped in thousands as the number read (TypedNumberText);
  // source kTyped.
  ProjectParams Params() const;

  // OK: accepted when TypedRunParams takes the texts; otherwise its message
  // is shown in the dialog, which stays.
  void accept() override;

  // The boxes, named for tests: "x_offset", "y_offset", "angle", "scale",
  // and "problem".
 private:
  QLineEdit *x_offset_, *y_offset_, *angle_, *scale_;
  QLabel* problem_;
};

}  // namespace torvane
