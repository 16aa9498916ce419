#include "workbench/convert_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cassert>
#include <limits>

#include "desktop/local_path.h"
#include "desktop/run_failure_message.h"
#include "report/coordinate_text.h"
#include "report/height_solve_figures.h"
#include "workbench/convert_job.h"

namespace torvane {
namespace {

constexpr int kProgressSteps = 1000;

// The column lists offered; another may be typed, as --columns takes it.
constexpr const char* kUsualColumns = "name,x,y,h";
constexpr const char* kCassColumns = "name,code,y,x,h";

// A drop-down named `name` of the `choices`, each with its value as the
// item's data, `current` chosen.
template <class Value>
QComboBox* NewChoice(QWidget* parent, const char* name,
                     std::initializer_list<std::pair<const char*, Value>> choices, Value current) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromUtf8(name));
  for (const auto& [text, value] : choices) {
    box->addItem(QString::fromUtf8(text), static_cast<int>(value));
    if (value == current) box->setCurrentIndex(box->count() - 1);
  }
  return box;
}

template <class Value>
Value Chosen(const QComboBox* box) {
  return static_cast<Value>(box->currentData().toInt());
}

// The parameters' source, then their figures two to a row: label, value
// and unit, as the results panel sets them out.
QString ParametersHtml(const ConvertSettings& settings) {
  QString html = QStringLiteral("<p>%1</p><table cellspacing='2'>")
                     .arg(settings.parameters_source.toHtmlEscaped());
  const std::vector<ReportFigure>& figures = settings.parameter_figures;
  const std::size_t rows = (figures.size() + 1) / 2;
  for (std::size_t row = 0; row < rows; ++row) {
    html += QStringLiteral("<tr>");
    for (std::size_t i = row; i < figures.size(); i += rows) {
      const ReportFigure& figure = figures[i];
      html += QStringLiteral("<td>%1</td><td width='8'></td><td>%2</td><td width='24'></td>")
                  .arg(QString::fromStdString(figure.label).toHtmlEscaped(),
                       QString::fromStdString(figure.value +
                                              (figure.unit.empty() ? "" : " " + figure.unit))
                           .toHtmlEscaped());
    }
    html += QStringLiteral("</tr>");
  }
  return html + QStringLiteral("</table>");
}

QString FileName(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).fileName();
}

}  // namespace

QString ConvertDialog::RefusalText(const PlanRefusal& refusal) const {
  // The dialog plans into a folder or beside the files, from files only:
  // only clashes are left.
  assert(refusal.kind == PlanRefusal::kClash);
  const ResultClash& clash = refusal.clash;
  const QString first = FileName(files_[clash.first]);
  const QString second = FileName(files_[clash.second]);
  switch (clash.kind) {
    case ResultClash::kOneResult:
      break;
    case ResultClash::kResultIsLaterPointFile:
      return QStringLiteral("“%1”的成果表会覆盖点文件“%2”。\n未写出成果表。").arg(first, second);
    case ResultClash::kResultIsEarlierPointFile:
      return QStringLiteral("“%1”的成果表会覆盖点文件“%2”。\n未写出成果表。").arg(second, first);
  }
  return QStringLiteral(
             "“%1”和“%2”的成果表都会写到“%3”：请移除其中一个，或分两次转换。"
             "\n未写出成果表。")
      .arg(first, second, QDir::toNativeSeparators(QString::fromStdString(refusal.result)));
}

ConvertDialog::ConvertDialog(Platform& platform, const ConvertSettings& settings, QWidget* parent)
    : QDialog(parent), platform_(platform), settings_(settings), job_(new ConvertJob(this)) {
  setWindowTitle(QStringLiteral("转换点文件"));
  // Wide enough for a folder's path and a summary line.
  setMinimumWidth(600);

  choices_ = new QWidget(this);
  auto* choices = new QVBoxLayout(choices_);
  choices->setContentsMargins(0, 0, 0, 0);

  // The parameters, before anything else: what converting will use. Not
  // among the choices, so that it stays plain while converting.
  auto* parameters_box = new QGroupBox(QStringLiteral("转换参数"), this);
  auto* parameters_layout = new QVBoxLayout(parameters_box);
  auto* parameters = new QLabel(ParametersHtml(settings), parameters_box);
  parameters->setObjectName(QStringLiteral("parameters"));
  parameters->setTextFormat(Qt::RichText);
  parameters->setTextInteractionFlags(Qt::TextSelectableByMouse);
  parameters_layout->addWidget(parameters);

  // The files.
  auto* files_box = new QGroupBox(QStringLiteral("点文件"), choices_);
  auto* files_layout = new QHBoxLayout(files_box);
  file_list_ = new QListWidget(files_box);
  file_list_->setObjectName(QStringLiteral("files"));
  file_list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* file_buttons = new QVBoxLayout;
  auto* add = new QPushButton(QStringLiteral("添加文件(&A)…"), files_box);
  add->setObjectName(QStringLiteral("add"));
  remove_ = new QPushButton(QStringLiteral("移除(&R)"), files_box);
  remove_->setObjectName(QStringLiteral("remove"));
  file_buttons->addWidget(add);
  file_buttons->addWidget(remove_);
  file_buttons->addStretch();
  files_layout->addWidget(file_list_);
  files_layout->addLayout(file_buttons);
  choices->addWidget(files_box);

  // The conversion and the result.
  auto* form = new QFormLayout;
  direction_ = NewChoice(choices_, "direction",
                         {{"测图坐标 → 施工坐标", Direction::kSurveyToConstruction},
                          {"施工坐标 → 测图坐标", Direction::kConstructionToSurvey}},
                         settings.conversion.direction);
  form->addRow(QStringLiteral("转换方向："), direction_);
  axis_ = NewChoice(choices_, "axis",
                    {{"x 向东、y 向北（CAD、CASS 的画法）", DrawingAxis::kEastNorth},
                     {"x 向北、y 向东（x 为测图X）", DrawingAxis::kNorthEast}},
                    settings.conversion.axis);
  axis_->setToolTip(QStringLiteral("只用于 DXF 图形：图中 x、y 各是测图坐标的哪一轴"));
  form->addRow(QStringLiteral("图形坐标轴："), axis_);
  format_ = NewChoice(choices_, "format",
                      {{"表格（固定列宽，.txt）", ResultFormat::kTable},
                       {"CSV（点文件的列，.csv）", ResultFormat::kCsv},
                       {"JSON（.json）", ResultFormat::kJson}},
                      settings.format);
  form->addRow(QStringLiteral("成果表格式："), format_);
  decimals_ = new QSpinBox(choices_);
  decimals_->setObjectName(QStringLiteral("decimals"));
  decimals_->setRange(0, kMaxResultDecimals);
  decimals_->setValue(settings.decimals);
  decimals_->setToolTip(QStringLiteral("CSV 和 JSON 中 X、Y 的小数位数；表格固定为 5 位"));
  form->addRow(QStringLiteral("X、Y 小数位数："), decimals_);
  QString heights = QStringLiteral("按点文件原样写出");
  if (settings.conversion.height_offset) {
    heights = QStringLiteral("按 H0 = %1 换算：施工 H = 测图 H − H0")
                  .arg(QString::fromStdString(*settings.conversion.height_offset));
  }
  if (settings.conversion.height_model) {
    heights =
        QStringLiteral("按高程模型“%1”换算：施工 H = 测图 H − d(X, Y)；DXF 图形的高程不按模型改正")
            .arg(QString::fromStdString(HeightModelText(settings.conversion.height_model->model)));
  }
  auto* heights_shown = new QLabel(heights, choices_);
  heights_shown->setObjectName(QStringLiteral("heights"));
  form->addRow(QStringLiteral("高程："), heights_shown);
  drawing_heights_ = new QCheckBox(QStringLiteral("图形的高程也按 H0 改正"), choices_);
  drawing_heights_->setObjectName(QStringLiteral("drawingHeights"));
  drawing_heights_->setChecked(settings.conversion.drawing_heights == DrawingHeights::kMoved);
  drawing_heights_->setToolTip(
      QStringLiteral("只用于 DXF 图形：勾选时图中各点的 z 和标高按 H0 改正，平面图（所有 z "
                     "和标高为 0）仍不改；不勾选时图形的高程原样保留。点文件的 H 总按 H0 改正"));
  form->addRow(QString(), drawing_heights_);
  choices->addLayout(form);

  // How the point files are laid out, as torvane-cli convert's options say.
  auto* layout_box = new QGroupBox(QStringLiteral("点文件格式"), choices_);
  auto* layout_form = new QFormLayout(layout_box);
  columns_ = new QComboBox(layout_box);
  columns_->setObjectName(QStringLiteral("columns"));
  columns_->setEditable(true);
  columns_->addItem(QString::fromUtf8(kUsualColumns));
  columns_->addItem(QString::fromUtf8(kCassColumns));
  columns_->setEditText(QString::fromStdString(ColumnsText(settings.conversion.layout.fields)));
  columns_->setToolTip(
      QStringLiteral("各列依次是什么：name（点名）、code（编码）、x、y、h，- 为不读的列；"
                     "name,code,y,x,h 读南方 CASS 的 .dat 文件"));
  layout_form->addRow(QStringLiteral("列的顺序："), columns_);
  delimiter_ = NewChoice(layout_box, "delimiter",
                         {{"逗号", FieldDelimiter::kComma},
                          {"空白（空格或制表符）", FieldDelimiter::kWhitespace},
                          {"制表符", FieldDelimiter::kTab},
                          {"分号", FieldDelimiter::kSemicolon}},
                         settings.conversion.layout.delimiter);
  layout_form->addRow(QStringLiteral("分隔符："), delimiter_);
  skip_lines_ = new QSpinBox(layout_box);
  skip_lines_->setObjectName(QStringLiteral("skip_lines"));
  skip_lines_->setRange(0, std::numeric_limits<int>::max());
  skip_lines_->setValue(static_cast<int>(settings.conversion.layout.skip_lines));
  layout_form->addRow(QStringLiteral("跳过开头行数："), skip_lines_);
  encoding_ = new QComboBox(layout_box);
  encoding_->setObjectName(QStringLiteral("encoding"));
  encoding_->addItem(QStringLiteral("自动判断"), -1);
  encoding_->addItem(QStringLiteral("UTF-8"), static_cast<int>(TextEncoding::kUtf8));
  encoding_->addItem(QStringLiteral("GBK"), static_cast<int>(TextEncoding::kGbk));
  if (settings.conversion.encoding) {
    encoding_->setCurrentIndex(
        encoding_->findData(static_cast<int>(*settings.conversion.encoding)));
  }
  layout_form->addRow(QStringLiteral("编码："), encoding_);
  choices->addWidget(layout_box);

  // Where the results go.
  auto* output_box = new QGroupBox(QStringLiteral("成果表位置"), choices_);
  auto* output_layout = new QVBoxLayout(output_box);
  beside_ = new QRadioButton(QStringLiteral("与点文件同一文件夹"), output_box);
  beside_->setObjectName(QStringLiteral("beside"));
  auto* folder_row = new QHBoxLayout;
  in_folder_ = new QRadioButton(QStringLiteral("指定文件夹："), output_box);
  in_folder_->setObjectName(QStringLiteral("in_folder"));
  folder_shown_ = new QLabel(output_box);
  folder_shown_->setObjectName(QStringLiteral("folder"));
  auto* choose_folder = new QPushButton(QStringLiteral("指定文件夹(&F)…"), output_box);
  choose_folder->setObjectName(QStringLiteral("choose_folder"));
  folder_row->addWidget(in_folder_);
  folder_row->addWidget(folder_shown_, 1);
  folder_row->addWidget(choose_folder);
  output_layout->addWidget(beside_);
  output_layout->addLayout(folder_row);
  if (settings.output_folder) {
    in_folder_->setChecked(true);
    folder_shown_->setText(
        QDir::toNativeSeparators(QString::fromStdString(*settings.output_folder)));
  } else {
    beside_->setChecked(true);
  }
  choices->addWidget(output_box);

  // Converting.
  start_ = new QPushButton(QStringLiteral("开始转换(&S)"), this);
  start_->setObjectName(QStringLiteral("start"));
  start_->setDefault(true);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setRange(0, kProgressSteps);
  progress_->setVisible(false);
  current_ = new QLabel(this);
  current_->setObjectName(QStringLiteral("current"));
  cancel_ = new QPushButton(QStringLiteral("取消"), this);
  cancel_->setObjectName(QStringLiteral("cancel"));
  cancel_->setEnabled(false);
  auto* run_row = new QHBoxLayout;
  run_row->addWidget(start_);
  run_row->addWidget(progress_, 1);
  run_row->addWidget(cancel_);
  summary_ = new QPlainTextEdit(this);
  summary_->setObjectName(QStringLiteral("summary"));
  summary_->setReadOnly(true);
  summary_->setPlaceholderText(QStringLiteral("转换结果将显示在这里"));
  auto* close_box = new QDialogButtonBox(QDialogButtonBox::Close, this);

  auto* main = new QVBoxLayout(this);
  main->addWidget(parameters_box);
  main->addWidget(choices_);
  main->addLayout(run_row);
  main->addWidget(current_);
  main->addWidget(summary_, 1);
  main->addWidget(close_box);

  connect(add, &QPushButton::clicked, this, &ConvertDialog::AddFiles);
  connect(remove_, &QPushButton::clicked, this, &ConvertDialog::RemoveFiles);
  connect(file_list_, &QListWidget::itemSelectionChanged, this, &ConvertDialog::UpdateEnabled);
  connect(format_, &QComboBox::currentIndexChanged, this, &ConvertDialog::UpdateEnabled);
  connect(choose_folder, &QPushButton::clicked, this, &ConvertDialog::ChooseFolder);
  connect(in_folder_, &QRadioButton::clicked, this, [this] {
    if (!settings_.output_folder) ChooseFolder();
  });
  connect(start_, &QPushButton::clicked, this, &ConvertDialog::StartConverting);
  connect(cancel_, &QPushButton::clicked, job_, &ConvertJob::Cancel);
  connect(job_, &ConvertJob::Progress, this, &ConvertDialog::ShowProgress);
  connect(job_, &ConvertJob::Finished, this, &ConvertDialog::ShowSummary);
  connect(close_box, &QDialogButtonBox::rejected, this, &ConvertDialog::reject);
  UpdateEnabled();
}

ConvertSettings ConvertDialog::settings() const {
  ConvertSettings chosen = settings_;
  chosen.conversion.direction = Chosen<Direction>(direction_);
  chosen.conversion.axis = Chosen<DrawingAxis>(axis_);
  chosen.conversion.drawing_heights =
      drawing_heights_->isChecked() ? DrawingHeights::kMoved : DrawingHeights::kKept;
  chosen.format = Chosen<ResultFormat>(format_);
  chosen.decimals = decimals_->value();
  const int encoding = encoding_->currentData().toInt();
  chosen.conversion.encoding =
      encoding < 0 ? std::nullopt
                   : std::optional<TextEncoding>(static_cast<TextEncoding>(encoding));
  chosen.conversion.layout.delimiter = Chosen<FieldDelimiter>(delimiter_);
  chosen.conversion.layout.skip_lines = static_cast<std::size_t>(skip_lines_->value());
  if (auto fields = ParseColumns(columns_->currentText().toStdString())) {
    chosen.conversion.layout.fields = std::move(*fields);
  }
  if (beside_->isChecked()) chosen.output_folder.reset();
  return chosen;
}

void ConvertDialog::reject() {
  if (job_->IsRunning()) {
    job_->Cancel();
    close_when_done_ = true;
    return;
  }
  QDialog::reject();
}

void ConvertDialog::AddFiles() {
  FileDialog dialog;
  dialog.kind = FileDialogKind::kOpenMany;
  dialog.title = QStringLiteral("添加点文件");
  dialog.filters = {QStringLiteral("点文件 (*.csv *.txt *.dat)"),
                    QStringLiteral("CAD 图形 (*.dxf)"), QStringLiteral("所有文件 (*)")};
  for (const QString& chosen : platform_.ShowFileDialog(this, dialog)) {
    auto local = LocalPathOf(chosen);
    if (!local) {
      Warn(AmbiguousNameMessage(local.error()));
      continue;
    }
    // A file listed once is converted once.
    if (std::find(files_.begin(), files_.end(), *local) != files_.end()) continue;
    files_.push_back(*local);
    file_list_->addItem(QDir::toNativeSeparators(chosen));
  }
  UpdateEnabled();
}

void ConvertDialog::RemoveFiles() {
  for (int row = file_list_->count() - 1; row >= 0; --row) {
    if (!file_list_->item(row)->isSelected()) continue;
    delete file_list_->takeItem(row);
    files_.erase(files_.begin() + row);
  }
  UpdateEnabled();
}

void ConvertDialog::ChooseFolder() {
  FileDialog dialog;
  dialog.kind = FileDialogKind::kFolder;
  dialog.title = QStringLiteral("成果表存放的文件夹");
  if (settings_.output_folder) dialog.start = QString::fromStdString(*settings_.output_folder);
  const QStringList chosen = platform_.ShowFileDialog(this, dialog);
  if (!chosen.isEmpty()) {
    auto local = LocalPathOf(chosen.front());
    if (!local) {
      Warn(AmbiguousNameMessage(local.error()));
    } else {
      settings_.output_folder = *local;
      folder_shown_->setText(QDir::toNativeSeparators(chosen.front()));
    }
  }
  // No folder chosen yet: the results stay beside the point files.
  (settings_.output_folder ? in_folder_ : beside_)->setChecked(true);
}

std::optional<PointLayout> ConvertDialog::ChosenLayout() {
  auto fields = ParseColumns(columns_->currentText().toStdString());
  if (!fields) {
    Warn(QStringLiteral("列的顺序“%1”无法识别：请按顺序列出 name（点名）、code（编码）、x、y、h，"
                        "以逗号分隔，不读的列写 -；x 和 y 必须有，每项只能出现一次。")
             .arg(columns_->currentText()));
    return std::nullopt;
  }
  PointLayout layout;
  layout.fields = std::move(*fields);
  layout.delimiter = Chosen<FieldDelimiter>(delimiter_);
  layout.skip_lines = static_cast<std::size_t>(skip_lines_->value());
  return layout;
}

void ConvertDialog::StartConverting() {
  if (files_.empty()) {
    Warn(QStringLiteral("请先添加要转换的点文件。"));
    return;
  }
  const std::optional<PointLayout> layout = ChosenLayout();
  if (!layout) return;
  const ConvertSettings chosen = settings();
  ConversionSettings conversion = chosen.conversion;
  conversion.layout = *layout;
  // The table always has five decimals.
  const int decimals =
      chosen.format == ResultFormat::kTable ? kDefaultResultDecimals : chosen.decimals;
  // Results that would replace each other, or a point file before it is
  // read, are refused before anything is written, as on the command line.
  auto plan = PlanConvert(files_, chosen.output_folder, conversion, chosen.format, decimals);
  if (!plan) {
    Warn(RefusalText(plan.error()));
    return;
  }
  settings_.conversion.layout = *layout;
  summary_->clear();
  progress_->setValue(0);
  progress_->setVisible(true);
  job_->Start(std::move(*plan));
  UpdateEnabled();
}

void ConvertDialog::ShowProgress(double share, const QString& point_file) {
  progress_->setValue(static_cast<int>(share * kProgressSteps));
  current_->setText(QStringLiteral("正在转换：%1").arg(QDir::toNativeSeparators(point_file)));
}

void ConvertDialog::ShowSummary() {
  current_->clear();
  progress_->setVisible(false);
  summary_->setPlainText(ConvertSummaryText(job_->outcomes()));
  for (const FileOutcome& outcome : job_->outcomes()) {
    if (outcome.state == FileOutcome::kConverted) written_.push_back(outcome.result_path);
  }
  UpdateEnabled();
  if (close_when_done_) QDialog::reject();
}

void ConvertDialog::UpdateEnabled() {
  const bool running = job_->IsRunning();
  choices_->setEnabled(!running);
  start_->setEnabled(!running);
  cancel_->setEnabled(running);
  remove_->setEnabled(!file_list_->selectedItems().isEmpty());
  decimals_->setEnabled(Chosen<ResultFormat>(format_) != ResultFormat::kTable);
}

void ConvertDialog::Warn(const QString& text) {
  platform_.ShowMessage(this, text, windowTitle(), MessageIcon::kWarning, MessageButtons::kOk);
}

}  // namespace torvane
