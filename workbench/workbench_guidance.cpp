// How a newcomer finds the way in the workbench: the toolbar of the main
// actions, the page an empty table shows, the 帮助 menu with the guide
// (workbench/guide.txt, also the Windows users' guide's part on the
// workbench) and 关于, the 窗口 menu that opens the classic window, and the
// status bar's note of where an export wrote.
#include <QAction>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cassert>
#include <utility>

#include "workbench/points_area.h"
#include "workbench/workbench_window.h"
#include "workbench/written_note.h"

namespace torvane {
namespace {

// A menu's action, by the object name BuildMenus gave it.
QAction* Named(QMainWindow& window, const char* name) {
  auto* action = window.findChild<QAction*>(QString::fromUtf8(name));
  assert(action);
  return action;
}

// The toolbar's name of an action and its tip: what it does, then its
// shortcut as the system writes it.
void Describe(QAction* action, const char* short_text, const char* tip) {
  action->setIconText(QString::fromUtf8(short_text));
  QString text = QString::fromUtf8(tip);
  if (!action->shortcut().isEmpty()) {
    text += QStringLiteral("（%1）").arg(action->shortcut().toString(QKeySequence::NativeText));
  }
  action->setToolTip(text);
}

}  // namespace

void WorkbenchWindow::BuildGuidance() {
  QAction* new_project = Named(*this, "new");
  QAction* open = Named(*this, "open");
  QAction* save = Named(*this, "save");
  QAction* paste = Named(*this, "paste");
  QAction* import = Named(*this, "import");
  QAction* convert = Named(*this, "convertFiles");
  QAction* pdf = Named(*this, "exportPdf");
  QAction* html = Named(*this, "exportHtml");
  QAction* add_row = Named(*this, "addRow");
  Describe(new_project, "新建", "新建项目");
  Describe(open, "打开", "打开项目文件（.torvane）");
  Describe(save, "保存", "保存项目");
  Describe(paste, "粘贴", "粘贴从 Excel 或 WPS 表格复制的公共点：点名、测图X、测图Y、施工X、施工Y");
  Describe(import, "导入", "导入公共点文件（CSV 或文本）");
  Describe(convert, "转换点文件", "用当前参数转换点文件或 DXF 图形");
  Describe(pdf, "导出报告", "导出计算报告（PDF）；按右边的箭头可选 HTML");
  Describe(html, "导出报告(HTML)", "导出计算报告（HTML）");
  Describe(add_row, "添加点", "在表末添加一行，逐格输入");

  // The toolbar: the menus' own actions, by their short names.
  QToolBar* tools = addToolBar(QStringLiteral("工具栏"));
  tools->setObjectName(QStringLiteral("mainToolBar"));
  tools->setMovable(false);
  tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
  tools->addActions({new_project, open, save});
  tools->addSeparator();
  tools->addActions({paste, import});
  tools->addSeparator();
  tools->addAction(convert);
  auto* report = new QToolButton(tools);
  report->setObjectName(QStringLiteral("exportReport"));
  report->setPopupMode(QToolButton::MenuButtonPopup);
  auto* formats = new QMenu(report);
  formats->addActions({pdf, html});
  report->setMenu(formats);
  report->setDefaultAction(pdf);
  tools->addWidget(report);

  // The empty table's page, in the table's place.
  auto* split = qobject_cast<QSplitter*>(table_->parentWidget());
  assert(split);
  const int at = split->indexOf(table_);
  const QSizePolicy stretch = table_->sizePolicy();  // the table's share of the splitter
  points_area_ = new PointsArea(
      table_,
      {{paste, "从 Excel 或 WPS 表格复制点名、测图X、测图Y、施工X、施工Y 五列，按 Ctrl+V 粘贴"},
       {import, "导入公共点文件（CSV 或文本，Ctrl+I）"},
       {open, "打开已保存的项目（.torvane，Ctrl+O）"},
       {add_row, "在空表中逐点输入（Ctrl+Ins）"}});
  points_area_->setSizePolicy(stretch);
  split->insertWidget(at, points_area_);
  // Where a newcomer starts: Ctrl+V goes to the points, not into 工程.
  points_area_->setFocus();

  // Where the last export wrote, to the left of the count of rows kept out.
  written_ = new WrittenNote(platform_, this);
  statusBar()->addWidget(written_, 1);

  // 窗口: the classic window, once the program says how to open it.
  windows_menu_ = menuBar()->addMenu(QStringLiteral("窗口(&W)"));
  classic_ = windows_menu_->addAction(QStringLiteral("经典转换窗口(&C)"));
  classic_->setObjectName(QStringLiteral("classicWindow"));
  classic_->setStatusTip(QStringLiteral("打开经典窗口：按已知参数或两点求参数转换坐标文件"));
  connect(classic_, &QAction::triggered, this, [this] {
    if (open_classic_) open_classic_();
  });
  windows_menu_->menuAction()->setVisible(false);

  QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
  QAction* guide = help->addAction(QStringLiteral("使用说明(&G)"));
  guide->setObjectName(QStringLiteral("guide"));
  guide->setShortcut(QKeySequence::HelpContents);
  connect(guide, &QAction::triggered, this, [this] { ShowGuide(); });
  help->addSeparator();
  QAction* about = help->addAction(QStringLiteral("关于坐标转换工作台(&A)"));
  about->setObjectName(QStringLiteral("about"));
  connect(about, &QAction::triggered, this, [this] { ShowAbout(); });
}

void WorkbenchWindow::SetClassicWindow(std::function<void()> open) {
  open_classic_ = std::move(open);
  windows_menu_->menuAction()->setVisible(static_cast<bool>(open_classic_));
}

bool WorkbenchWindow::ShowsStartPage() const { return points_area_->ShowsStartPage(); }

void WorkbenchWindow::ShowGuide() {
  if (!guide_) {
    guide_ = new QDialog(this);
    guide_->setObjectName(QStringLiteral("guideDialog"));
    guide_->setWindowTitle(QStringLiteral("使用说明 - ") + QString::fromUtf8(kWorkbenchTitle));
    auto* layout = new QVBoxLayout(guide_);
    auto* text = new QPlainTextEdit(WorkbenchGuideText(), guide_);
    text->setObjectName(QStringLiteral("guideText"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, guide_);
    connect(close, &QDialogButtonBox::rejected, guide_, &QDialog::reject);
    layout->addWidget(text);
    layout->addWidget(close);
    // Wide enough for the guide's longest line, as high as its lines.
    const QFontMetrics metrics = text->fontMetrics();
    int width = 0;
    const QStringList lines = text->toPlainText().split(u'\n');
    for (const QString& line : lines) width = std::max(width, metrics.horizontalAdvance(line));
    guide_->resize(width + 80, metrics.lineSpacing() * (static_cast<int>(lines.size()) + 2) + 80);
  }
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

void WorkbenchWindow::ShowAbout() {
  platform_.ShowMessage(this,
                        QStringLiteral("坐标转换工作台\nTorvane %1\n\n"
                                       "测图坐标与施工坐标之间的相互转换：由多个公共点解算参数，"
                                       "转换点文件和 DXF 图形，写出计算报告。\n\n"
                                       "MIT 许可证。")
                            .arg(QStringLiteral(TORVANE_VERSION)),
                        QStringLiteral("关于") + QString::fromUtf8(kWorkbenchTitle),
                        MessageIcon::kInformation, MessageButtons::kOk);
}

}  // namespace torvane
