#include "app/main_window.h"

#include <new>
#include <string_view>

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/help_text.h"
#include "app/window_messages.h"
#include "app/window_rules.h"
#include "batch/conversion_run.h"
#include "batch/result_path.h"
#include "desktop/app_icon.h"
#include "desktop/frame_centring.h"
#include "desktop/local_path.h"
#include "number/number_text.h"
#include "os/file_system.h"
#include "params/conversion_params.h"
#include "params/param_texts.h"
#include "params/two_point.h"
#include "report/result_table.h"
#include "report/two_point_report.h"

namespace torvane {

namespace {

// Window geometry is laid out in twips; 15 twips are one logical pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidthTwips = 7275;
constexpr int kClientHeightTwips = 5130;

constexpr const char* kDialogTitle = "选取要转换的坐标文件";
constexpr const char* kHelpClosedCaption = "程序帮助信息";
constexpr const char* kHelpOpenCaption = "关闭算例信息";
constexpr const char* kWarningTitle = "提示信息";
constexpr const char* kReportTitle = "坐标转换参数的求定与检查";
// How a message box's text breaks its lines.
constexpr std::string_view kMessageLineBreak = "\r\n";

enum class Kind { kLabel, kTextBox, kMultiLineTextBox, kFrame, kOption, kButton };

// One control as laid out: position and size in twips inside its container.
struct ControlLayout {
  const char* container;  // "F1" for the window itself
  const char* name;
  Kind kind;
  const char* caption;
  int left, top, width, height;
  int tab;  // place in the tab sequence
};

// Containers come before their contents; within a container the rows run
// from front to back.
constexpr ControlLayout kLayout[] = {
    {"F1", "Text12", Kind::kMultiLineTextBox, "", 120, 360, 6855, 4335, 34},
    {"F1", "Cd2", Kind::kButton, kHelpClosedCaption, 0, 4680, 1815, 495, 0},
    {"F1", "Command1", Kind::kButton, "成   果   浏   览", 5520, 4680, 1815, 495, 33},
    {"F1", "Op2", Kind::kOption, " 施工坐标转化为测图坐标", 480, 840, 2895, 255, 5},
    {"F1", "Op1", Kind::kOption, " 测图坐标转化为施工坐标", 480, 360, 2895, 255, 4},
    {"F1", "Fr2", Kind::kFrame, " 参数的求定方法", 360, 1440, 3015, 3015, 3},
    {"F1", "Fr1", Kind::kFrame, " Torvane参数的求定", 3720, 360, 3255, 4095, 2},
    {"F1", "Com1", Kind::kButton, "坐  标  系  转  换  计  算", 1800, 4680, 3735, 495, 1},

    {"Fr2", "Op4", Kind::kOption, "坐标求定", 1680, 480, 1095, 255, 26},
    {"Fr2", "Op3", Kind::kOption, "已知数据", 240, 480, 1335, 255, 25},
    {"Fr2", "Fr5", Kind::kFrame, "平移、旋转参数(过渡坐标、旋转角)", 0, 960, 3015, 2055, 24},

    {"Fr5", "Text11", Kind::kTextBox, "", 1200, 1560, 1575, 270, 29},
    {"Fr5", "Text10", Kind::kTextBox, "", 1200, 1080, 1575, 270, 28},
    {"Fr5", "Text9", Kind::kTextBox, "", 1200, 600, 1575, 270, 27},
    {"Fr5", "Label9", Kind::kLabel, "转角(°′″)", 120, 1560, 1095, 255, 32},
    {"Fr5", "Label8", Kind::kLabel, "Y偏移量(m)", 240, 1080, 975, 255, 31},
    {"Fr5", "Label7", Kind::kLabel, "X偏移量(m)", 240, 600, 975, 255, 30},

    {"Fr1", "Com3", Kind::kButton, "取   消", 1800, 3480, 1215, 375, 9},
    {"Fr1", "Com2", Kind::kButton, "参数计算", 240, 3480, 1215, 375, 8},
    {"Fr1", "Fr4", Kind::kFrame, "A、B点施工坐标成果", 240, 1680, 2775, 1575, 7},
    {"Fr1", "Fr3", Kind::kFrame, "A、B点测图坐标成果", 240, 360, 2775, 2895, 6},

    {"Fr4", "Text8", Kind::kTextBox, "", 1560, 960, 1095, 270, 17},
    {"Fr4", "Text7", Kind::kTextBox, "", 480, 960, 1095, 270, 16},
    {"Fr4", "Text6", Kind::kTextBox, "", 1560, 600, 1095, 270, 15},
    {"Fr4", "Text5", Kind::kTextBox, "", 480, 600, 1095, 270, 14},
    {"Fr4", "Label6", Kind::kLabel, "A  B", 240, 600, 135, 615, 23},
    {"Fr4", "Label4", Kind::kLabel, "Y坐标", 1800, 360, 495, 255, 21},
    {"Fr4", "Label3", Kind::kLabel, "X坐标", 840, 360, 495, 255, 20},

    {"Fr3", "Text4", Kind::kTextBox, "", 1560, 840, 1095, 270, 13},
    {"Fr3", "Text3", Kind::kTextBox, "", 480, 840, 1095, 270, 12},
    {"Fr3", "Text2", Kind::kTextBox, "", 1560, 480, 1095, 270, 11},
    {"Fr3", "Text1", Kind::kTextBox, "", 480, 480, 1095, 270, 10},
    {"Fr3", "Label5", Kind::kLabel, "A  B", 240, 480, 135, 615, 22},
    {"Fr3", "Label2", Kind::kLabel, "Y坐标", 1800, 240, 495, 255, 19},
    {"Fr3", "Label1", Kind::kLabel, "X坐标", 840, 240, 495, 255, 18},
};

// The eight coordinate boxes as the user knows them, Text1 to Text8.
const char* const kPointBoxNames[] = {
    "A点测图X坐标", "A点测图Y坐标", "B点测图X坐标", "B点测图Y坐标",
    "A点施工X坐标", "A点施工Y坐标", "B点施工X坐标", "B点施工Y坐标",
};

int Pixels(int twips) { return twips / kTwipsPerPixel; }

QWidget* CreateControl(const ControlLayout& layout, QWidget* container) {
  const QString caption = QString::fromUtf8(layout.caption);
  QWidget* control = nullptr;
  switch (layout.kind) {
    case Kind::kLabel: {
      auto* label = new QLabel(caption, container);
      label->setTextFormat(Qt::PlainText);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setWordWrap(true);
      control = label;
      break;
    }
    case Kind::kTextBox:
      control = new TextBox(container);
      break;
    case Kind::kMultiLineTextBox: {
      auto* box = new QPlainTextEdit(container);
      box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      // The 25 help lines were laid out for a smaller font than today's
      // desktops use: a scroll bar appears when they do not fit, so that the
      // sample lines stay within reach.
      box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
      box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
      box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
      // Tab moves on to the next control, as in every other box.
      box->setTabChangesFocus(true);
      control = box;
      break;
    }
    case Kind::kFrame: {
      auto* frame = new QGroupBox(caption, container);
      // Opaque, so that a frame in front hides what lies behind it.
      frame->setAutoFillBackground(true);
      control = frame;
      break;
    }
    case Kind::kOption:
      control = new QRadioButton(caption, container);
      break;
    case Kind::kButton: {
      auto* button = new QPushButton(caption, container);
      // Enter and Escape have no window-wide meaning: no default button.
      button->setAutoDefault(false);
      button->setDefault(false);
      control = button;
      break;
    }
  }
  control->setObjectName(QString::fromUtf8(layout.name));
  control->setGeometry(Pixels(layout.left), Pixels(layout.top), Pixels(layout.width),
                       Pixels(layout.height));
  return control;
}

// Each control of `table` into its member, found by its name.
template <typename Control>
void Bind(const std::map<std::string, QWidget*>& controls,
          std::initializer_list<std::pair<Control**, const char*>> table) {
  for (const auto& [member, name] : table) *member = static_cast<Control*>(controls.at(name));
}

}  // namespace

MainWindow::MainWindow(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
  setObjectName(QStringLiteral("F1"));
  setWindowTitle(QStringLiteral("测图坐标系与施工坐标系的相互转换"));
  setWindowIcon(AppIcon());
  resize(Pixels(kClientWidthTwips), Pixels(kClientHeightTwips));

  std::map<std::string, QWidget*> controls{{"F1", this}};
  std::map<std::string, std::vector<QWidget*>> front_to_back;
  for (const ControlLayout& layout : kLayout) {
    QWidget* control = CreateControl(layout, controls.at(layout.container));
    controls[layout.name] = control;
    front_to_back[layout.container].push_back(control);
  }
  // Stacking: raising each control from the back row to the front row leaves
  // the first row of every container on top.
  for (auto& [container, rows] : front_to_back) {
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) (*row)->raise();
  }
  // Tab order: ascending tab index. Labels and frames hold a place but never
  // take the focus, so only the controls that can are chained.
  std::vector<const ControlLayout*> by_tab;
  for (const ControlLayout& layout : kLayout) by_tab.push_back(&layout);
  std::sort(by_tab.begin(), by_tab.end(),
            [](const ControlLayout* a, const ControlLayout* b) { return a->tab < b->tab; });
  QWidget* previous = nullptr;
  for (const ControlLayout* layout : by_tab) {
    QWidget* control = controls.at(layout->name);
    if (control->focusPolicy() == Qt::NoFocus) continue;
    if (previous != nullptr) setTabOrder(previous, control);
    previous = control;
  }

  for (std::size_t i = 0; i < points_.size(); ++i) {
    points_[i] = static_cast<TextBox*>(controls.at("Text" + std::to_string(i + 1)));
  }
  Bind<TextBox>(controls, {{&text9_, "Text9"}, {&text10_, "Text10"}, {&text11_, "Text11"}});
  Bind<QPlainTextEdit>(controls, {{&text12_, "Text12"}});
  Bind<QGroupBox>(controls, {{&fr1_, "Fr1"}, {&fr3_, "Fr3"}, {&fr4_, "Fr4"}, {&fr5_, "Fr5"}});
  Bind<QRadioButton>(controls, {{&op1_, "Op1"}, {&op2_, "Op2"}, {&op3_, "Op3"}, {&op4_, "Op4"}});
  Bind<QPushButton>(controls, {{&com1_, "Com1"},
                               {&com2_, "Com2"},
                               {&com3_, "Com3"},
                               {&command1_, "Command1"},
                               {&cd2_, "Cd2"}});
  cd2_->setFocus();

  // Options are exclusive within their own container only. Qt's automatic
  // exclusivity would take in every option below the window, Op3 and Op4
  // included, so each pair gets a group of its own. Tab then stops only on
  // the selected option of a pair.
  auto* direction = new QButtonGroup(this);
  direction->addButton(op1_);
  direction->addButton(op2_);
  auto* method = new QButtonGroup(this);
  method->addButton(op3_);
  method->addButton(op4_);

  connect(cd2_, &QPushButton::clicked, this, [this] { Guarded(&MainWindow::Cd2_Click); });
  connect(com1_, &QPushButton::clicked, this, [this] { Guarded(&MainWindow::Com1_Click); });
  connect(com2_, &QPushButton::clicked, this, [this] { Guarded(&MainWindow::Com2_Click); });
  connect(com3_, &QPushButton::clicked, this, [this] { Guarded(&MainWindow::Com3_Click); });
  connect(command1_, &QPushButton::clicked, this, [this] { Guarded(&MainWindow::Command1_Click); });
  // An option's click behaviour runs whenever it becomes selected, by the
  // user or from code, and only then.
  connect(op3_, &QRadioButton::toggled, this, [this](bool selected) {
    if (selected) Op3_Click();
  });
  connect(op4_, &QRadioButton::toggled, this, [this](bool selected) {
    if (selected) Op4_Click();
  });
}

void MainWindow::Select(QRadioButton* option) { option->setChecked(true); }

void MainWindow::Form_Load() {
  // Where the system tells the frame before the window is shown (Windows),
  // making the native window is enough to centre it now. A window manager
  // that frames the window only once it is mapped (X11) has told the frame
  // by the first exposure, and the frame is centred again then.
  winId();
  CentreOuterFrame();
  if (!windowHandle()->isExposed()) windowHandle()->installEventFilter(this);

  text12_->hide();
  Select(op1_);
  Select(op3_);
  DisableTwoPointPanel();
}

void MainWindow::CentreOuterFrame() {
  centred_with_ = windowHandle()->frameMargins();
  setGeometry(QRect(
      CentredClientPosition(QGuiApplication::primaryScreen()->geometry(), centred_with_, size()),
      size()));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    windowHandle()->removeEventFilter(this);
    if (windowHandle()->frameMargins() != centred_with_) CentreOuterFrame();
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::Form_Unload() {
  // Nothing to release or refuse: every run closes its files before it returns.
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Form_Unload();
  event->accept();
}

void MainWindow::Cd2_Click() {
  if (help_ == Help::kHidden) {
    help_ = Help::kShown;
    com1_->hide();
    command1_->hide();
    // Over the upper part of the whole window as it is now, leaving the
    // bottom row of buttons free.
    const QRect outer = frameGeometry();
    text12_->setGeometry(0, 0, outer.width(), outer.height() - cd2_->height() - cd2_->height());
    text12_->show();
    text12_->setPlainText(HelpText());
    cd2_->setText(QString::fromUtf8(kHelpOpenCaption));
  } else {
    help_ = Help::kHidden;
    text12_->hide();
    com1_->show();
    command1_->show();
    cd2_->setText(QString::fromUtf8(kHelpClosedCaption));
  }
}

void MainWindow::Com1_Click() {
  PresentParams present;
  if (!ReadParamBoxes(&present)) return;
  const Expected<RunParams> params =
      RunParamsFromValues(present.x_offset, present.y_offset, present.angle_dms);
  if (!params.ok()) {
    Warn(QStringLiteral("转角“%1”的整度数超出范围，无法换算。\n未写出成果表。")
             .arg(text11_->text()));
    return;
  }

  RunRequest request;
  if (op1_->isChecked()) {
    request.direction = Direction::kSurveyToConstruction;
  } else if (op2_->isChecked()) {
    request.direction = Direction::kConstructionToSurvey;
  } else {
    return;
  }

  w1_.title = QString::fromUtf8(kDialogTitle);
  w1_.filters = QStringList{QStringLiteral("Excel文件(*.csv)"), QStringLiteral("记事本(*.dat)"),
                            QStringLiteral("文本文件(*.txt)"), QStringLiteral("所有文件(*.*)")};
  if (!platform_.ShowOpenDialog(this, w1_)) return;

  const Expected<std::string, AmbiguousName> local_path = LocalPathOf(w1_.file_name);
  if (!local_path.ok()) {
    Warn(AmbiguousNameMessage(local_path.error()));
    return;
  }
  const std::unique_ptr<ResultWriter> table = MakeTableWriter();
  request.point_path = local_path.value();
  request.result_path = ResultPathFor(request.point_path, table->Extension());
  ApplyWindowRules(request);
  const Expected<RunSummary, RunError> run = ConvertRun(request, params.value(), *table);
  if (run.ok()) {
    result_file_path_ = request.result_path;
    return;
  }
  if (run.error().kind == RunErrorKind::kParamsNotComputed) {
    platform_.Beep();
    platform_.ShowMessage(this, QString::fromUtf8(kParamsNotComputedMessage),
                          QString::fromUtf8(kAppTitle), MessageIcon::kQuestion,
                          MessageButtons::kOk);
    return;
  }
  Warn(RunFailureMessage(run.error()));
}

void MainWindow::Com2_Click() {
  double coordinates[8] = {};
  for (std::size_t i = 0; i < points_.size(); ++i) {
    if (!ReadBox(points_[i], QString::fromUtf8(kPointBoxNames[i]), &coordinates[i])) return;
  }
  PresentParams present;
  if (!ReadParamBoxes(&present)) return;
  const TwoPoints points{coordinates[0], coordinates[1], coordinates[2], coordinates[3],
                         coordinates[4], coordinates[5], coordinates[6], coordinates[7]};
  const Expected<TwoPointSolution> solved = SolveTwoPoints(points, present);
  if (!solved.ok()) {
    Warn(QStringLiteral("由两点求定参数时数值超出可计算的范围。\n参数未改动。"));
    return;
  }
  const TwoPointSolution& solution = solved.value();

  if (solution.offsets_disagree) {
    // A warning only: the click goes on whichever button is pressed.
    platform_.ShowMessage(this, QString::fromUtf8(kOffsetsDisagreeMessage),
                          QString::fromUtf8(kWarningTitle), MessageIcon::kNone,
                          MessageButtons::kOkCancel);
  }
  auto write_params = [&] {
    const ParamTexts texts = TwoPointBoxTexts(solution);
    text9_->setText(QString::fromStdString(texts.x_offset));
    text10_->setText(QString::fromStdString(texts.y_offset));
    text11_->setText(QString::fromStdString(texts.angle));
  };
  switch (solution.present_state) {
    case ParamState::kNotComputed:
      write_params();
      break;
    case ParamState::kSet:
      // OK keeps the parameters present; Cancel (or closing the report)
      // replaces them with the derived ones.
      if (platform_.ShowMessage(
              this, QString::fromStdString(TwoPointCheckReport(solution, kMessageLineBreak)),
              QString::fromUtf8(kReportTitle), MessageIcon::kNone,
              MessageButtons::kOkCancel) == MessageAnswer::kCancel) {
        write_params();
      }
      break;
    case ParamState::kIncomplete:
      Warn(QString::fromUtf8(kCheckParamsIncompleteMessage));
      break;
  }
}

void MainWindow::Com3_Click() {
  Select(op1_);
  Select(op3_);
  DisableTwoPointPanel();
}

void MainWindow::Command1_Click() {
  // Only Op1 and Op3 are looked at: with Op2 and Op4 both selected the
  // button does nothing.
  if (!op1_->isChecked() && !op3_->isChecked()) return;
  if (result_file_path_.empty() || KindOf(PathFromUtf8(result_file_path_)) == PathKind::kMissing) {
    platform_.ShowMessage(this, NoResultFileMessage(ResultFilePath()), QString::fromUtf8(kAppTitle),
                          MessageIcon::kInformation, MessageButtons::kOk);
    return;
  }
  if (!platform_.StartTextEditor(result_file_path_)) Warn(EditorFailedMessage(ResultFilePath()));
}

void MainWindow::Op3_Click() {
  fr5_->setEnabled(true);
  DisableTwoPointPanel();
}

void MainWindow::Op4_Click() {
  fr1_->setEnabled(true);
  fr3_->setEnabled(true);
  fr4_->setEnabled(true);
  com2_->setEnabled(true);
  com3_->setEnabled(true);
  fr5_->setEnabled(false);
  ColourBoxes(SystemColour::kWindow, SystemColour::kButtonFace);
}

void MainWindow::DisableTwoPointPanel() {
  fr1_->setEnabled(false);
  fr3_->setEnabled(false);
  fr4_->setEnabled(false);
  com2_->setEnabled(false);
  com3_->setEnabled(false);
  ColourBoxes(SystemColour::kButtonFace, SystemColour::kWindow);
}

void MainWindow::ColourBoxes(SystemColour points, SystemColour params) {
  for (TextBox* box : points_) box->SetBackColour(points);
  for (TextBox* box : {text9_, text10_, text11_}) box->SetBackColour(params);
}

bool MainWindow::ReadBox(const TextBox* box, const QString& name, double* value) {
  const Expected<double> number = LeadingNumber(box->text().toStdString());
  if (!number.ok()) {
    Warn(NumberTooLargeMessage(name, box->text()));
    return false;
  }
  *value = number.value();
  return true;
}

bool MainWindow::ReadParamBoxes(PresentParams* params) {
  return ReadBox(text9_, QStringLiteral("X偏移量"), &params->x_offset) &&
         ReadBox(text10_, QStringLiteral("Y偏移量"), &params->y_offset) &&
         ReadBox(text11_, QStringLiteral("转角"), &params->angle_dms);
}

void MainWindow::Guarded(void (MainWindow::*handler)()) {
  // The last resort when memory runs out: the step is given up, the window
  // and everything typed into it stay.
  try {
    (this->*handler)();
  } catch (const std::bad_alloc&) {
    Warn(QString::fromUtf8(kOutOfMemoryMessage));
  }
}

void MainWindow::Warn(const QString& message) {
  platform_.ShowMessage(this, message, QString::fromUtf8(kAppTitle), MessageIcon::kWarning,
                        MessageButtons::kOk);
}

}  // namespace torvane
