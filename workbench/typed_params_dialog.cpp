#include "workbench/typed_params_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "batch/run_error.h"
#include "number/number_text.h"
#include "number/typed_number.h"

namespace torvane {

Expected<RunParams, QString> TypedRunParams(const ProjectParams& typed) {
  const std::pair<const std::string*, const char*> boxes[] = {{&typed.texts.x_offset, "X偏移量"},
                                                              {&typed.texts.y_offset, "Y偏移量"},
                                                              {&typed.texts.angle, "转角"},
                                                              {&typed.scale, "尺度"}};
  double values[4] = {};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::string& text = *boxes[i].first;
    auto value = ParseParameterText(text);
    if (!value) {
      return Fail(QStringLiteral("%1“%2”不是数字。")
                      .arg(QString::fromUtf8(boxes[i].second),
                           QString::fromStdString(MessageExcerpt(text))));
    }
    values[i] = *value;
  }
  auto params = RunParamsFromValues(values[0], values[1], values[2], values[3]);
  if (!params) {
    return Fail(QStringLiteral("参数无法使用：%1").arg(QString::fromStdString(params.error())));
  }
  return *params;
}

TypedParamsDialog::TypedParamsDialog(const std::optional<ProjectParams>& typed, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("手工输入参数"));
  auto* form = new QFormLayout;
  const auto box = [&](const char* name, const char* label, const std::string& text) {
    auto* edit = new QLineEdit(QString::fromStdString(text), this);
    edit->setObjectName(QString::fromUtf8(name));
    form->addRow(QString::fromUtf8(label), edit);
    return edit;
  };
  const ProjectParams shown = typed.value_or(ProjectParams{});
  x_offset_ = box("x_offset", "X偏移量 X0 (m)：", shown.texts.x_offset);
  y_offset_ = box("y_offset", "Y偏移量 Y0 (m)：", shown.texts.y_offset);
  angle_ = box("angle", "转角 (ddd.mmss)：", shown.texts.angle);
  scale_ = box("scale", "尺度 k：", shown.scale);
  problem_ = new QLabel(this);
  problem_->setObjectName(QStringLiteral("problem"));
  problem_->setStyleSheet(QStringLiteral("color:#c00000"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TypedParamsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TypedParamsDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral("没有公共点时用于转换；公共点求出参数后，以求出的参数为准。"), this));
  layout->addLayout(form);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
}

ProjectParams TypedParamsDialog::Params() const {
  ProjectParams params;
  // A number typed in full width or grouped in thousands, as read.
  const auto read = [](const QLineEdit* box) {
    const std::string text = box->text().trimmed().toStdString();
    return TypedNumberText(text).value_or(text);
  };
  params.texts.x_offset = read(x_offset_);
  params.texts.y_offset = read(y_offset_);
  params.texts.angle = read(angle_);
  params.scale = read(scale_);
  params.source = ParamSource::kTyped;
  return params;
}

void TypedParamsDialog::accept() {
  auto params = TypedRunParams(Params());
  if (!params) {
    problem_->setText(params.error());
    return;
  }
  QDialog::accept();
}

}  // namespace torvane
