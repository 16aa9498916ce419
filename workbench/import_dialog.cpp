#include "workbench/import_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QVBoxLayout>

#include <algorithm>

#include "batch/line_rule.h"
#include "batch/text_encoding.h"

namespace torvane {
namespace {

// The choices as the command line names them, as the dialog shows them.
constexpr struct {
  FieldDelimiter delimiter;
  const char* text;
} kDelimiters[] = {{FieldDelimiter::kComma, "逗号"},
                   {FieldDelimiter::kTab, "制表符"},
                   {FieldDelimiter::kWhitespace, "空格"},
                   {FieldDelimiter::kSemicolon, "分号"}};

constexpr struct {
  std::optional<TextEncoding> encoding;
  const char* text;
} kEncodings[] = {
    {std::nullopt, "自动"}, {TextEncoding::kUtf8, "UTF-8"}, {TextEncoding::kGbk, "GBK"}};

constexpr int kMostSkippedLines = 9999;
const char* const kUsualColumns = "name,xs,ys,xc,yc";

QString Quoted(const QString& text) { return QStringLiteral("“%1”").arg(text); }

}  // namespace

std::optional<QString> ColumnsProblem(const QString& list) {
  static const QStringList kFields = {"name", "xs", "ys", "xc", "yc"};
  static const QStringList kSkips = {"-", "skip"};
  const QString where = QStringLiteral("列的顺序%1").arg(Quoted(list));
  QStringList seen;
  for (const QString& raw : list.split(u',')) {
    const QString item = raw.trimmed().toLower();
    if (item.isEmpty()) return where + QStringLiteral("中有空项（两个逗号之间什么也没有）。");
    if (kSkips.contains(item)) continue;
    if (!kFields.contains(item)) {
      return where + QStringLiteral("中的%1不是 name、xs、ys、xc、yc、- 或 skip 之一。")
                         .arg(Quoted(raw.trimmed()));
    }
    if (seen.contains(item)) return where + QStringLiteral("中 %1 出现了两次。").arg(item);
    seen << item;
  }
  for (const QString& field : kFields) {
    if (!seen.contains(field)) return where + QStringLiteral("中缺少 %1。").arg(field);
  }
  // The command line's own reading decides; its words where it disagrees.
  auto fields = ParseCommonColumns(list.toStdString());
  if (!fields)
    return where + QStringLiteral("无效：%1").arg(QString::fromStdString(fields.error()));
  return std::nullopt;
}

ImportDialog::ImportDialog(QWidget* parent)
    : QDialog(parent),
      columns_(new QLineEdit(QString::fromLatin1(kUsualColumns))),
      delimiter_(new QComboBox),
      skip_lines_(new QSpinBox),
      encoding_(new QComboBox),
      problem_(new QLabel) {
  setWindowTitle(QStringLiteral("导入公共点文件"));
  columns_->setObjectName("columns");
  columns_->setToolTip(
      QStringLiteral("文件中各列依次是什么，用逗号隔开：name 点名，xs、ys 测图坐标，"
                     "xc、yc 施工坐标，- 或 skip 不读的列"));
  delimiter_->setObjectName("delimiter");
  for (const auto& d : kDelimiters) delimiter_->addItem(QString::fromUtf8(d.text));
  skip_lines_->setObjectName("skipLines");
  skip_lines_->setRange(0, kMostSkippedLines);
  encoding_->setObjectName("encoding");
  for (const auto& e : kEncodings) encoding_->addItem(QString::fromUtf8(e.text));
  problem_->setObjectName("problem");
  problem_->setWordWrap(true);
  problem_->setStyleSheet(QStringLiteral("color: #c00000"));
  problem_->hide();

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("列的顺序："), columns_);
  form->addRow(QStringLiteral("分隔符："), delimiter_);
  form->addRow(QStringLiteral("跳过开头的行数："), skip_lines_);
  form->addRow(QStringLiteral("文字编码："), encoding_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导入"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
  connect(buttons, &QDialogButtonBox::accepted, this, &ImportDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ImportDialog::reject);
  connect(columns_, &QLineEdit::textEdited, problem_, &QLabel::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(problem_);
  layout->addWidget(buttons);
}

void ImportDialog::ShowLayout(const CommonPointLayout& layout) {
  static const char* const kNames[] = {"name", "xs", "ys", "xc", "yc", "-", "hs", "hc"};
  QStringList items;
  for (CommonField field : layout.fields) {
    items << QString::fromLatin1(kNames[static_cast<int>(field)]);
  }
  columns_->setText(items.join(u','));
  for (std::size_t i = 0; i < std::size(kDelimiters); ++i) {
    if (kDelimiters[i].delimiter == layout.delimiter)
      delimiter_->setCurrentIndex(static_cast<int>(i));
  }
  skip_lines_->setValue(
      static_cast<int>(std::min<std::size_t>(layout.skip_lines, kMostSkippedLines)));
  for (std::size_t i = 0; i < std::size(kEncodings); ++i) {
    if (kEncodings[i].encoding == layout.encoding) encoding_->setCurrentIndex(static_cast<int>(i));
  }
  problem_->hide();
}

Expected<CommonPointLayout, QString> ImportDialog::Layout() const {
  if (std::optional<QString> problem = ColumnsProblem(columns_->text())) return Fail(*problem);
  CommonPointLayout layout;
  layout.fields = ParseCommonColumns(columns_->text().toStdString()).value();
  layout.delimiter = kDelimiters[delimiter_->currentIndex()].delimiter;
  layout.skip_lines = static_cast<std::size_t>(skip_lines_->value());
  layout.encoding = kEncodings[encoding_->currentIndex()].encoding;
  return layout;
}

void ImportDialog::accept() {
  auto layout = Layout();
  if (!layout) {
    problem_->setText(layout.error());
    problem_->show();
    columns_->setFocus();
    return;
  }
  QDialog::accept();
}

}  // namespace torvane
