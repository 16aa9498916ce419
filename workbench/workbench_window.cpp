#include "workbench/workbench_window.h"

#include "workbench/paste_doubt.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <cassert>
#include <utility>

#include "desktop/chinese_ui.h"
#include "desktop/local_path.h"
#include "desktop/report_source.h"
#include "desktop/run_failure_message.h"
#include "desktop/site_plot.h"
#include "fit/height_coverage.h"
#include "os/user_session.h"
#include "report/calibration_heights.h"
#include "site/site_points.h"
#include "workbench/convert_dialog.h"
#include "workbench/import_dialog.h"
#include "workbench/plot_view.h"
#include "workbench/point_import.h"
#include "workbench/points_view.h"
#include "workbench/project_messages.h"
#include "workbench/role_delegate.h"
#include "workbench/solve_panel.h"
#include "workbench/typed_params_dialog.h"
#include "workbench/written_note.h"

namespace torvane {
namespace {

// The model box's entries, in the order of FitModel.
constexpr const char* kModelTexts[] = {"刚体转换（平移、旋转）", "四参数（平移、旋转、尺度）"};
// The height model box's entries, in the order of HeightChoice.
constexpr const char* kHeightChoiceTexts[] = {"不拟合", "常数改正", "平面拟合", "曲面拟合", "自动"};
constexpr const char* kProjectFilter = "Torvane 项目 (*.torvane)";
constexpr const char* kProjectSuffix = ".torvane";

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

// "现场.torvane" is shown as 现场.
QString ProjectName(const QString& path) {
  return path.isEmpty() ? QString::fromUtf8(kUntitledProject) : QFileInfo(path).completeBaseName();
}

}  // namespace

WorkbenchWindow::WorkbenchWindow(Platform& platform, const QString& recent_file, QWidget* parent)
    : QMainWindow(parent), platform_(platform), recent_(recent_file) {
  setObjectName(QStringLiteral("workbench"));
  BuildControls();
  BuildMenus();
  BuildGuidance();
  connect(&document_, &WorkbenchDocument::Solved, this, [this] {
    summary_ = SummarizeSolve(document_.solve());
    table_->FitColumns();
    ShowSummary();
    UpdatePlot(false);
  });
  connect(&document_, &WorkbenchDocument::FieldsChanged, this, [this] {
    ShowFields();
    ShowSummary();
  });
  connect(&document_.undo_stack(), &QUndoStack::cleanChanged, this, [this] { UpdateTitle(); });
  summary_ = SummarizeSolve(document_.solve());
  ShowFields();
  ShowSummary();
  UpdatePlot(true);
  UpdateTitle();
  // 1100 x 720 where the screen has room; on a smaller screen, or one
  // scaled up, nine tenths of what it has free.
  const QRect free = screen()->availableGeometry();
  resize(std::min(1100, free.width() * 9 / 10), std::min(720, free.height() * 9 / 10));
}

void WorkbenchWindow::BuildControls() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);

  auto* header = new QHBoxLayout;
  site_ = new QLineEdit(central);
  site_->setObjectName(QStringLiteral("site"));
  site_->setPlaceholderText(QStringLiteral("工程名称"));
  operator_ = new QLineEdit(central);
  operator_->setObjectName(QStringLiteral("operator"));
  // Three UTF-8 bytes at most for each UTF-16 unit: within a project's texts.
  operator_->setMaxLength(static_cast<int>(kMaxProjectTextBytes / 3));
  operator_->setPlaceholderText(QString::fromStdString(LoginName()));
  operator_->setToolTip(QStringLiteral("报告中的操作员（计算人）。留空则为登录名。"));
  model_ = new QComboBox(central);
  model_->setObjectName(QStringLiteral("model"));
  for (const char* text : kModelTexts) model_->addItem(QString::fromUtf8(text));
  height_model_ = new QComboBox(central);
  height_model_->setObjectName(QStringLiteral("heightModel"));
  for (const char* text : kHeightChoiceTexts) height_model_->addItem(QString::fromUtf8(text));
  height_model_->setToolTip(
      QStringLiteral("由两套高程都有的公共点拟合高程差 d = H测 − H施：常数改正、平面（倾斜面）或"
                     "曲面；自动按 F 检验取点位支持的最简单模型。施工高程 = 测图高程 − d(X, Y)。"));
  height_offset_ = new QLineEdit(central);
  height_offset_->setObjectName(QStringLiteral("heightOffset"));
  height_offset_->setPlaceholderText(QStringLiteral("不换算高程"));
  height_offset_->setToolTip(
      QStringLiteral("施工 ±0.000 的绝对高程 H0：施工高程 = 测图高程 − H0。留空则高程照原样。"));
  auto* convert = new QPushButton(QStringLiteral("转换点文件…"), central);
  convert->setObjectName(QStringLiteral("convert"));
  header->addWidget(new QLabel(QStringLiteral("工程："), central));
  header->addWidget(site_, 2);
  header->addWidget(new QLabel(QStringLiteral("操作员："), central));
  header->addWidget(operator_, 1);
  header->addWidget(new QLabel(QStringLiteral("模型："), central));
  header->addWidget(model_);
  header->addWidget(new QLabel(QStringLiteral("高程模型："), central));
  header->addWidget(height_model_);
  header->addWidget(new QLabel(QStringLiteral("±0.000 高程 H0："), central));
  header->addWidget(height_offset_, 1);
  header->addWidget(convert);
  layout->addLayout(header);

  auto* split = new QSplitter(Qt::Horizontal, central);
  table_ = new PointsView(split);
  table_->setObjectName(QStringLiteral("points"));
  table_->setModel(&document_.table());
  table_->setItemDelegateForColumn(0, new RoleDelegate(table_));
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  // A header click sorts, through the model: one undo step. No column is
  // sorted at first: the rows stay in their given order.
  table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  table_->setSortingEnabled(true);
  table_->FitColumns();
  plot_ = new SitePlotView(split);
  plot_->setObjectName(QStringLiteral("plot"));
  split->addWidget(table_);
  split->addWidget(plot_);
  split->setStretchFactor(0, 3);
  split->setStretchFactor(1, 2);
  // The table and plot above the results, the line between them movable:
  // the results at their own height at first (SolvePanel::sizeHint), the
  // table and plot taking the rest and all of the window's growth.
  auto* rows = new QSplitter(Qt::Vertical, central);
  rows->setChildrenCollapsible(false);
  rows->addWidget(split);
  layout->addWidget(rows, 1);

  auto* tabs = new QTabWidget(rows);
  panel_ = new SolvePanel(tabs);
  // A row kept out of the solve is a link to the cell that keeps it out.
  connect(panel_, &SolvePanel::CellChosen, this, [this](int row, int column) {
    const QModelIndex index = document_.table().index(row, column);
    table_->setCurrentIndex(index);
    table_->scrollTo(index);
    table_->setFocus();
  });
  notes_ = new QPlainTextEdit(tabs);
  notes_->setObjectName(QStringLiteral("notes"));
  tabs->addTab(panel_, QStringLiteral("解算结果"));
  tabs->addTab(notes_, QStringLiteral("备注"));
  left_out_ = new QLabel(this);
  left_out_->setObjectName(QStringLiteral("leftOut"));
  left_out_->setStyleSheet(QStringLiteral("color:#c00000"));
  statusBar()->addPermanentWidget(left_out_);
  rows->addWidget(tabs);
  rows->setStretchFactor(0, 1);
  rows->setStretchFactor(1, 0);
  // The notes' page would make the tabs as high as an editor's usual size.
  rows->setSizes({1, panel_->sizeHint().height() + tabs->tabBar()->sizeHint().height()});
  setCentralWidget(central);

  connect(site_, &QLineEdit::editingFinished, this,
          [this] { document_.SetSite(site_->text().toStdString()); });
  connect(operator_, &QLineEdit::editingFinished, this,
          [this] { document_.SetOperator(operator_->text().trimmed().toStdString()); });
  connect(height_offset_, &QLineEdit::editingFinished, this,
          [this] { document_.SetHeightOffset(height_offset_->text()); });
  // The choice applies when it is made.
  connect(model_, &QComboBox::activated, this, [this](int index) {
    document_.SetModel(index == 1 ? FitModel::kSimilarity : FitModel::kRigid);
  });
  connect(height_model_, &QComboBox::activated, this,
          [this](int index) { document_.SetHeightChoice(static_cast<HeightChoice>(index)); });
  connect(notes_, &QPlainTextEdit::textChanged, this, [this] {
    notes_changed_ = true;
    UpdateTitle();
  });
  connect(convert, &QPushButton::clicked, this, &WorkbenchWindow::ConvertFiles);
  connect(plot_, &SitePlotView::PointClicked, this, [this](std::size_t index) {
    if (index < plot_rows_.size()) table_->selectRow(static_cast<int>(plot_rows_[index]));
  });
  connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this] { UpdatePlot(false); });
}

void WorkbenchWindow::BuildMenus() {
  const auto add = [this](QMenu* menu, const QString& text, QKeySequence keys, auto slot,
                          const char* name) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromUtf8(name));
    if (!keys.isEmpty()) action->setShortcut(keys);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* project = menuBar()->addMenu(QStringLiteral("项目(&P)"));
  add(
      project, QStringLiteral("新建(&N)"), QKeySequence::New, [this] { NewProject(); }, "new");
  add(
      project, QStringLiteral("打开(&O)…"), QKeySequence::Open, [this] { OpenProjectDialog(); },
      "open");
  recent_menu_ = project->addMenu(QStringLiteral("最近的项目(&R)"));
  add(
      project, QStringLiteral("保存(&S)"), QKeySequence::Save, [this] { SaveProject(); }, "save");
  add(
      project, QStringLiteral("另存为(&A)…"), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
      [this] { SaveProjectDialog(); }, "saveAs");
  project->addSeparator();
  add(
      project, QStringLiteral("手工输入参数(&M)…"), QKeySequence(), [this] { TypeParams(); },
      "typeParams");
  add(
      project, QStringLiteral("转换点文件(&T)…"), QKeySequence(QStringLiteral("Ctrl+T")),
      [this] { ConvertFiles(); }, "convertFiles");
  project->addSeparator();
  add(
      project, QStringLiteral("导出报告(PDF)(&D)…"), QKeySequence(),
      [this] { ExportReportDialog(ReportFormat::kPdf); }, "exportPdf");
  add(
      project, QStringLiteral("导出报告(HTML)(&H)…"), QKeySequence(),
      [this] { ExportReportDialog(ReportFormat::kHtml); }, "exportHtml");
  add(
      project, QStringLiteral("打印报告(&P)…"), QKeySequence::Print, [this] { PrintReport(); },
      "printReport");
  project->addSeparator();
  add(
      project, QStringLiteral("退出(&X)"), QKeySequence::Quit, [this] { close(); }, "quit");

  QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
  QAction* undo = document_.undo_stack().createUndoAction(this, QStringLiteral("撤销"));
  undo->setShortcut(QKeySequence(QStringLiteral("Ctrl+Z")));
  undo->setObjectName(QStringLiteral("undo"));
  QAction* redo = document_.undo_stack().createRedoAction(this, QStringLiteral("重做"));
  redo->setShortcuts(
      {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
  redo->setObjectName(QStringLiteral("redo"));
  edit->addAction(undo);
  edit->addAction(redo);
  edit->addSeparator();
  add(
      edit, QStringLiteral("粘贴公共点(&V)"), QKeySequence::Paste, [this] { PastePoints(); },
      "paste");
  add(
      edit, QStringLiteral("添加点(&A)"), QKeySequence(QStringLiteral("Ctrl+Ins")),
      [this] { document_.table().AddRow(); }, "addRow");
  add(
      edit, QStringLiteral("删除点(&D)"), QKeySequence(QStringLiteral("Ctrl+Del")),
      [this] {
        std::vector<int> rows;
        for (const QModelIndex& index : table_->selectionModel()->selectedRows()) {
          rows.push_back(index.row());
        }
        if (rows.empty() && table_->currentIndex().isValid())
          rows.push_back(table_->currentIndex().row());
        if (!rows.empty()) document_.table().DeleteRows(rows);
      },
      "deleteRows");
  edit->addSeparator();
  add(
      edit, QStringLiteral("导入公共点文件(&I)…"), QKeySequence(QStringLiteral("Ctrl+I")),
      [this] { ImportPoints(); }, "import");

  QMenu* view = menuBar()->addMenu(QStringLiteral("查看(&V)"));
  add(
      view, QStringLiteral("适合窗口(&F)"), QKeySequence(QStringLiteral("Ctrl+0")),
      [this] { plot_->FitToWindow(); }, "fitPlot");
  // The plot's points coloured by their height residual, in place of the
  // plane's residual arrows.
  by_height_ = view->addAction(QStringLiteral("按高程残差着色(&H)"));
  by_height_->setObjectName(QStringLiteral("plotByHeight"));
  by_height_->setCheckable(true);
  connect(by_height_, &QAction::toggled, this, [this] { UpdatePlot(false); });
  UpdateRecentMenu();
}

void WorkbenchWindow::ShowSummary() {
  left_out_->setText(summary_.rows_left_out == 0 ? QString()
                                                 : RowsLeftOutText(summary_.rows_left_out));
  QString typed;
  const std::optional<ProjectParams>& parameters = document_.project().parameters;
  if (!document_.solve().report && parameters && parameters->source == ParamSource::kTyped) {
    typed = QString::fromStdString(parameters->texts.x_offset + ' ' + parameters->texts.y_offset +
                                   ' ' + parameters->texts.angle + ' ' + parameters->scale);
  }
  panel_->Show(summary_, typed);
}

void WorkbenchWindow::UpdatePlot(bool fit_view) {
  const SiteSolve& solve = document_.solve();
  const SitePoints& points = solve.points;
  SitePlot plot = solve.report ? MakeSitePlot(*solve.report, points.fit, points.off, points.check)
                               : MakeSitePlot(points.fit, points.off, points.check);
  // The table row of each plot point, in MakeSitePlot's order.
  plot_rows_.clear();
  for (const auto* rows : {&points.fit_rows, &points.check_rows, &points.off_rows}) {
    plot_rows_.insert(plot_rows_.end(), rows->begin(), rows->end());
  }
  const int current = table_->currentIndex().isValid() ? table_->currentIndex().row() : -1;
  for (std::size_t i = 0; i < plot_rows_.size(); ++i) {
    if (static_cast<int>(plot_rows_[i]) == current) plot.selected = i;
  }
  if (by_height_ && by_height_->isChecked()) ShowHeightResiduals(plot, plot_rows_, solve.heights);
  plot_->SetPlot(std::move(plot), fit_view ? PlotFit::kFitToWindow : PlotFit::kKeepView);
}

bool WorkbenchWindow::Modified() const { return document_.Modified() || notes_changed_; }

void WorkbenchWindow::UpdateTitle() {
  setWindowTitle(ProjectName(path_) + QStringLiteral("[*] - ") +
                 QString::fromUtf8(kWorkbenchTitle));
  setWindowModified(Modified());
}

void WorkbenchWindow::UpdateRecentMenu() {
  recent_menu_->clear();
  for (const QString& path : recent_.paths()) {
    QAction* action = recent_menu_->addAction(Native(path));
    connect(action, &QAction::triggered, this, [this, path] {
      if (!MaySpoilChanges()) return;
      if (!QFileInfo::exists(path)) {
        Warn(QStringLiteral("项目文件“%1”已不存在，已从最近的项目中删去。").arg(Native(path)));
        recent_.Remove(path);
        UpdateRecentMenu();
        return;
      }
      OpenProject(path);
    });
  }
  recent_menu_->setEnabled(!recent_.paths().isEmpty());
}

void WorkbenchWindow::ShowFields() {
  const QString site = QString::fromStdString(document_.site());
  if (site_->text() != site) site_->setText(site);
  const QString name = QString::fromStdString(document_.operator_name());
  if (operator_->text() != name) operator_->setText(name);
  const QString& h0 = document_.height_offset_text();
  if (height_offset_->text() != h0) height_offset_->setText(h0);
  const auto offset = document_.HeightOffset();
  height_offset_->setStyleSheet(offset ? QString() : QStringLiteral("background:#ffd0d0"));
  height_offset_->setToolTip(!offset ? offset.error() + QStringLiteral("转换和保存时不能使用。")
                                     : QStringLiteral("施工 ±0.000 的绝对高程 H0：施工高程 = "
                                                      "测图高程 − H0。留空则高程照原样。"));
  model_->setCurrentIndex(document_.model() == FitModel::kSimilarity ? 1 : 0);
  height_model_->setCurrentIndex(static_cast<int>(document_.height_choice()));
}

void WorkbenchWindow::ShowProject(const Project& project) {
  {
    const QSignalBlocker quiet(notes_);
    notes_->setPlainText(QString::fromStdString(project.notes));
  }
  notes_changed_ = false;
  document_.Load(project);
  UpdatePlot(true);
  UpdateTitle();
}

Project WorkbenchWindow::CurrentProject() const {
  return document_.Current(notes_->toPlainText().toStdString());
}

void WorkbenchWindow::Warn(const QString& message) {
  platform_.ShowMessage(this, message, QString::fromUtf8(kWorkbenchTitle), MessageIcon::kWarning,
                        MessageButtons::kOk);
}

bool WorkbenchWindow::OpenProject(const QString& path) {
  const auto local = LocalPathOf(path);
  if (!local) {
    Warn(AmbiguousNameMessage(local.error()));
    return false;
  }
  ProjectRefusal refusal;
  FileFingerprint read;
  auto project = ReadProject(*local, &refusal, &read);
  if (!project) {
    Warn(ProjectOpenFailureMessage(path, refusal));
    return false;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  path_bytes_ = read;
  ShowProject(*project);
  recent_.Add(path_);
  UpdateRecentMenu();
  return true;
}

bool WorkbenchWindow::SaveProjectAs(const QString& path) {
  const auto local = LocalPathOf(path);
  if (!local) {
    Warn(AmbiguousNameMessage(local.error()));
    return false;
  }
  // A project keeps whole points only: a cell to put right is told first.
  for (const auto* problems :
       {&document_.table().problems(), &document_.table().height_problems()}) {
    if (problems->empty()) continue;
    Warn(QStringLiteral("%1\n项目只保存完整的点，请先改正。\n项目未保存。")
             .arg(QString::fromStdString(problems->front().message)));
    return false;
  }
  if (const auto offset = document_.HeightOffset(); !offset) {
    Warn(offset.error() + QStringLiteral("\n项目未保存。"));
    return false;
  }
  if (!HeightsOneWay(QStringLiteral("项目未保存。"))) return false;
  const Project project = CurrentProject();
  FileFingerprint bytes;
  if (auto written = WriteProject(project, *local, &bytes); !written) {
    Warn(QStringLiteral("项目未保存：\n%1").arg(QString::fromStdString(written.error())));
    return false;
  }
  path_bytes_ = bytes;
  document_.Saved(project);
  written_->ShowWritten(QStringLiteral("项目"), {*local});
  path_ = QFileInfo(path).absoluteFilePath();
  notes_changed_ = false;
  UpdateTitle();
  recent_.Add(path_);
  UpdateRecentMenu();
  return true;
}

void WorkbenchWindow::NewProject() {
  if (!MaySpoilChanges()) return;
  path_.clear();
  ShowProject(Project{});
}

void WorkbenchWindow::OpenProjectDialog() {
  if (!MaySpoilChanges()) return;
  FileDialog dialog;
  dialog.kind = FileDialogKind::kOpen;
  dialog.title = QStringLiteral("打开项目");
  dialog.filters = {QString::fromUtf8(kProjectFilter)};
  dialog.start = path_.isEmpty() ? QString() : QFileInfo(path_).absolutePath();
  const QStringList chosen = platform_.ShowFileDialog(this, dialog);
  if (!chosen.isEmpty()) OpenProject(chosen.front());
}

bool WorkbenchWindow::SaveProject() {
  if (path_.isEmpty()) return SaveProjectDialog();
  return SaveProjectAs(path_);
}

bool WorkbenchWindow::SaveProjectDialog() {
  FileDialog dialog;
  dialog.kind = FileDialogKind::kSave;
  dialog.title = QStringLiteral("项目另存为");
  dialog.filters = {QString::fromUtf8(kProjectFilter)};
  const QString name =
      site_->text().trimmed().isEmpty() ? ProjectName(path_) : site_->text().trimmed();
  dialog.start = path_.isEmpty() ? name + QString::fromUtf8(kProjectSuffix) : path_;
  const QStringList chosen = platform_.ShowFileDialog(this, dialog);
  if (chosen.isEmpty()) return false;
  QString path = chosen.front();
  if (QFileInfo(path).suffix().isEmpty()) path += QString::fromUtf8(kProjectSuffix);
  return SaveProjectAs(path);
}

bool WorkbenchWindow::MaySpoilChanges() {
  if (!Modified()) return true;
  const MessageAnswer answer = platform_.ShowMessage(
      this, QStringLiteral("项目“%1”已修改，是否保存？").arg(ProjectName(path_)),
      QString::fromUtf8(kWorkbenchTitle), MessageIcon::kQuestion,
      MessageButtons::kSaveDiscardCancel);
  if (answer == MessageAnswer::kDiscard) return true;
  if (answer == MessageAnswer::kCancel) return false;
  return SaveProject();
}

void WorkbenchWindow::closeEvent(QCloseEvent* event) {
  if (MaySpoilChanges()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void WorkbenchWindow::PastePoints() {
  const QString text = QApplication::clipboard()->text();
  const std::optional<int> at = table_->currentIndex().isValid()
                                    ? std::optional<int>(table_->currentIndex().row())
                                    : std::nullopt;
  auto pasted = document_.table().Paste(
      text, at, [this](const PastedPoints& read) { return PasteAccepted(read); });
  if (!pasted) Warn(pasted.error());
}

bool WorkbenchWindow::PasteAccepted(const PastedPoints& read) {
  std::string prompt;
  const std::string count = std::to_string(read.points.size());
  if (read.placed) {
    prompt = "按第一行的表头放置各列：\n" + PlacementText(read.placement, read.header) +
             "\n\n粘贴 " + count + " 个点吗？";
  } else if (!read.header.empty()) {
    prompt = "第一行是表头，但无法全部识别：\n" + PlacementText(read.placement, read.header) +
             "\n\n跳过这一行，按表格的顺序（" + PastedOrderText(read) + "）粘贴 " + count +
             " 个点吗？";
  } else if (const auto doubt = PasteDoubt(read.points)) {
    prompt =
        *doubt + "\n\n仍要按表格的顺序（" + PastedOrderText(read) + "）粘贴 " + count + " 个点吗？";
  } else if (read.heights_in_order) {
    // Seven columns without a header are read as having heights: said first.
    prompt = "没有表头，每行至少 7 列：按表格的顺序（" + PastedOrderText(read) +
             "）放置各列，第 8 列为角色。\n\n粘贴 " + count + " 个点吗？";
  } else {
    return true;
  }
  return platform_.ShowMessage(this, QString::fromStdString(prompt),
                               QString::fromUtf8(kWorkbenchTitle), MessageIcon::kQuestion,
                               MessageButtons::kOkCancel) == MessageAnswer::kOk;
}

void WorkbenchWindow::ImportPoints() {
  FileDialog dialog;
  dialog.kind = FileDialogKind::kOpen;
  dialog.title = QStringLiteral("导入公共点文件");
  dialog.filters = ImportFileFilters();
  const QStringList chosen = platform_.ShowFileDialog(this, dialog);
  if (chosen.isEmpty()) return;
  if (const std::optional<QString> advice = WorkbookAdvice(chosen.front())) {
    Warn(*advice);
    return;
  }
  ImportDialog layout_dialog(this);
  layout_dialog.ShowLayout(import_layout_);
  if (layout_dialog.exec() != QDialog::Accepted) return;
  ImportPointsFrom(chosen.front(), *layout_dialog.Layout());
}

bool WorkbenchWindow::ImportPointsFrom(const QString& path, const CommonPointLayout& layout) {
  const auto local = LocalPathOf(path);
  if (!local) {
    Warn(AmbiguousNameMessage(local.error()));
    return false;
  }
  auto points = ImportCommonPoints(*local, layout);
  if (!points) {
    Warn(ImportFailureMessage(points.error()));
    return false;
  }
  import_layout_ = layout;
  document_.table().Import(std::move(*points));
  return true;
}

std::optional<ConvertSettings> WorkbenchWindow::CurrentConvertSettings() {
  ConvertSettings settings;
  const Project& project = document_.project();
  if (document_.solve().report) {
    if (!FewerPointsAccepted(QStringLiteral("转换"))) return std::nullopt;
    settings.conversion.params = document_.solve().report->params;
    // Shown in the dialog as the model box and the panel word them.
    const FitReport& report = *document_.solve().report;
    settings.parameters_source =
        QStringLiteral("模型：%1，由 %2 个参与平差的点解算")
            .arg(model_->itemText(report.model == FitModel::kSimilarity ? 1 : 0),
                 QString::number(document_.solve().points.fit.size()));
    settings.parameter_figures =
        ConversionParameterFigures(report.texts, report.model == FitModel::kSimilarity
                                                     ? std::optional<std::string>(report.scale_text)
                                                     : std::nullopt);
  } else if (project.parameters && project.parameters->source == ParamSource::kTyped) {
    auto params = TypedRunParams(*project.parameters);
    if (!params) {
      Warn(params.error());
      return std::nullopt;
    }
    settings.conversion.params = *params;
    settings.parameters_source = QStringLiteral("手工输入的参数");
    settings.parameter_figures =
        ConversionParameterFigures(project.parameters->texts, project.parameters->scale);
  } else {
    Warn(summary_.failure.isEmpty() ? QStringLiteral("还没有参数：请先输入公共点。")
                                    : summary_.failure);
    return std::nullopt;
  }
  const auto offset = document_.HeightOffset();
  if (!offset) {
    Warn(offset.error() + QStringLiteral("\n未进行转换。"));
    return std::nullopt;
  }
  if (!HeightsOneWay(QStringLiteral("未进行转换。"))) return std::nullopt;
  settings.conversion.height_offset = *offset;
  // Point files' heights follow the fitted model; drawings' do not.
  if (const HeightSolution* heights = AppliedHeights(document_.solve().heights)) {
    settings.conversion.height_model = heights->surface;
    std::vector<PlanePoint> places;
    for (const CommonPoint& p : document_.solve().heights.fitted) places.push_back(p.survey);
    settings.conversion.height_hull = HeightCoverage(places).Vertices();
  }
  settings.conversion.layout = project.layout;
  settings.conversion.encoding = project.encoding;
  settings.conversion.axis = project.drawing_axis;
  settings.conversion.drawing_heights = project.drawing_heights;
  return settings;
}

void WorkbenchWindow::TypeParams() {
  const std::optional<ProjectParams> typed =
      document_.project().parameters &&
              document_.project().parameters->source == ParamSource::kTyped
          ? document_.project().parameters
          : std::nullopt;
  TypedParamsDialog dialog(typed, this);
  if (dialog.exec() == QDialog::Accepted) SetTypedParams(dialog.Params());
}

void WorkbenchWindow::SetTypedParams(const ProjectParams& params) {
  document_.SetTypedParams(params);
}

void WorkbenchWindow::ConvertFiles() {
  const std::optional<ConvertSettings> settings = CurrentConvertSettings();
  if (!settings) return;
  ConvertDialog dialog(platform_, *settings, this);
  dialog.exec();
  written_->ShowWritten(QStringLiteral("成果表"), dialog.written());
  const ConversionSettings chosen = dialog.settings().conversion;
  KeepLayout(chosen.layout, chosen.encoding, chosen.axis, chosen.drawing_heights);
}

void WorkbenchWindow::KeepLayout(const PointLayout& layout,
                                 const std::optional<TextEncoding>& encoding, DrawingAxis axis,
                                 DrawingHeights heights) {
  document_.KeepLayout(layout, encoding, axis, heights);
}

bool WorkbenchWindow::HeightsOneWay(const QString& outcome) {
  const auto offset = document_.HeightOffset();
  if (!offset || !*offset || document_.height_choice() == HeightChoice::kNone) return true;
  Warn(QStringLiteral("已输入 H0（手工的常数改正），又选了高程模型“%1”：两者只能用一个。请清空 H0，"
                      "或把高程模型选为“不拟合”。\n%2")
           .arg(height_model_->currentText(), outcome));
  return false;
}

bool WorkbenchWindow::FewerPointsAccepted(const QString& action) {
  if (summary_.rows_left_out == 0) return true;
  // One pass of arg: a cell's text (a "%3" typed) is never taken for a place.
  QStringList cells;
  for (const CellProblem& problem : summary_.left_out) {
    cells << QString::fromStdString(problem.message);
  }
  return platform_.ShowMessage(
             this,
             QStringLiteral("%1：\n%2\n参数只由其余 %3 个参与平差的点算得。仍要%4吗？")
                 .arg(RowsLeftOutText(summary_.rows_left_out), cells.join('\n'),
                      QString::number(document_.solve().points.fit.size()), action),
             QString::fromUtf8(kWorkbenchTitle), MessageIcon::kQuestion,
             MessageButtons::kOkCancel) == MessageAnswer::kOk;
}

bool WorkbenchWindow::Solved() {
  if (document_.solve().report) return true;
  Warn(QStringLiteral("还没有解算结果，无法生成报告：%1").arg(summary_.failure));
  return false;
}

std::optional<CalibrationDocument> WorkbenchWindow::ReportDocument() {
  if (!Solved() || !FewerPointsAccepted(QStringLiteral("生成报告"))) return std::nullopt;
  // The project file stands for the points only as it was saved, by the
  // bytes read when it was opened or written when it was saved: the file
  // may have changed on disk since.
  std::vector<ReportFile> files;
  std::string project;
  if (!path_.isEmpty() && !Modified()) {
    const auto local = LocalPathOf(path_);
    if (!local) {
      Warn(AmbiguousNameMessage(local.error()));
      return std::nullopt;
    }
    files.push_back({*local, path_bytes_.size, path_bytes_.sha256});
    project = *local;
  }
  const QString site = site_->text().trimmed();
  // The operator as typed; the login name when none is.
  const std::string& name = document_.operator_name();
  const ReportSource source = ReportSourceOf(site.toStdString(), std::move(files), project,
                                             name.empty() ? std::nullopt : std::optional(name));
  const SitePoints& points = document_.solve().points;
  // The report says which of the table's rows took no part, and H0.
  ReportSource shown = source;
  for (const CellProblem& problem : points.problems) {
    shown.rows_left_out.push_back(problem.message + "：该行不参与计算。");
  }
  for (const CellProblem& problem : points.height_problems) {
    shown.rows_left_out.push_back(problem.message + "：该点不参与高程拟合，平面坐标照常参与计算。");
  }
  if (const auto offset = document_.HeightOffset(); offset) shown.height_offset = *offset;
  shown.written = WrittenCoordinates(points, document_.table().rows());
  CalibrationDocument document = MakeCalibrationDocument(shown, *document_.solve().report,
                                                         points.fit, points.off, points.check);
  AddHeightSection(document, document_.solve().heights);
  return document;
}

void WorkbenchWindow::ExportReportDialog(ReportFormat format) {
  if (!Solved()) return;
  const bool pdf = format == ReportFormat::kPdf;
  FileDialog dialog;
  dialog.kind = FileDialogKind::kSave;
  dialog.title = pdf ? QStringLiteral("导出报告(PDF)") : QStringLiteral("导出报告(HTML)");
  dialog.filters = {pdf ? QStringLiteral("PDF 文件 (*.pdf)")
                        : QStringLiteral("HTML 文件 (*.html *.htm)")};
  const QString name =
      site_->text().trimmed().isEmpty() ? ProjectName(path_) : site_->text().trimmed();
  const QString file = name + QStringLiteral("坐标转换报告") +
                       (pdf ? QStringLiteral(".pdf") : QStringLiteral(".html"));
  dialog.start = path_.isEmpty() ? file : QFileInfo(path_).dir().filePath(file);
  const QStringList chosen = platform_.ShowFileDialog(this, dialog);
  if (chosen.isEmpty()) return;
  ExportReport(chosen.front(), format);
}

bool WorkbenchWindow::ExportReport(const QString& path, ReportFormat format) {
  const auto local = LocalPathOf(path);
  if (!local) {
    Warn(AmbiguousNameMessage(local.error()));
    return false;
  }
  const std::optional<CalibrationDocument> document = ReportDocument();
  if (!document) return false;
  if (auto written = WriteCalibrationReport(*local, *document, format); !written) {
    Warn(QString::fromStdString(written.error()));
    return false;
  }
  written_->ShowWritten(QStringLiteral("报告"), {*local});
  return true;
}

void WorkbenchWindow::PrintReport() {
  const std::optional<CalibrationDocument> document = ReportDocument();
  if (!document) return;
  QPrinter printer(QPrinter::HighResolution);
  if (!platform_.ChoosePrinter(printer, this)) return;
  if (auto printed = PrintCalibrationReport(printer, *document); !printed) {
    Warn(QString::fromStdString(printed.error()));
  }
}

}  // namespace torvane
