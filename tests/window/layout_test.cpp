// The window as laid out: controls, captions, containers, geometry,
// stacking, clipping, tab order and the keys that must press nothing.
#include <QApplication>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <map>
#include <memory>

#include "desktop/chinese_ui.h"
#include "window_fixture.h"

namespace torvane::testing {
namespace {

struct Placed {
  const char* name;
  const char* kind;  // Qt class the control is an instance of
  const char* caption;
  const char* container;
  int left, top, width, height;  // twips
};

const Placed kPlaced[] = {
    {"Text12", "QPlainTextEdit", "", "F1", 120, 360, 6855, 4335},
    {"Cd2", "QPushButton", "程序帮助信息", "F1", 0, 4680, 1815, 495},
    {"Command1", "QPushButton", "成   果   浏   览", "F1", 5520, 4680, 1815, 495},
    {"Op2", "QRadioButton", " 施工坐标转化为测图坐标", "F1", 480, 840, 2895, 255},
    {"Op1", "QRadioButton", " 测图坐标转化为施工坐标", "F1", 480, 360, 2895, 255},
    {"Fr2", "QGroupBox", " 参数的求定方法", "F1", 360, 1440, 3015, 3015},
    {"Fr1", "QGroupBox", " Torvane参数的求定", "F1", 3720, 360, 3255, 4095},
    {"Com1", "QPushButton", "坐  标  系  转  换  计  算", "F1", 1800, 4680, 3735, 495},
    {"Op4", "QRadioButton", "坐标求定", "Fr2", 1680, 480, 1095, 255},
    {"Op3", "QRadioButton", "已知数据", "Fr2", 240, 480, 1335, 255},
    {"Fr5", "QGroupBox", "平移、旋转参数(过渡坐标、旋转角)", "Fr2", 0, 960, 3015, 2055},
    {"Text11", "QLineEdit", "", "Fr5", 1200, 1560, 1575, 270},
    {"Text10", "QLineEdit", "", "Fr5", 1200, 1080, 1575, 270},
    {"Text9", "QLineEdit", "", "Fr5", 1200, 600, 1575, 270},
    {"Label9", "QLabel", "转角(°′″)", "Fr5", 120, 1560, 1095, 255},
    {"Label8", "QLabel", "Y偏移量(m)", "Fr5", 240, 1080, 975, 255},
    {"Label7", "QLabel", "X偏移量(m)", "Fr5", 240, 600, 975, 255},
    {"Com3", "QPushButton", "取   消", "Fr1", 1800, 3480, 1215, 375},
    {"Com2", "QPushButton", "参数计算", "Fr1", 240, 3480, 1215, 375},
    {"Fr4", "QGroupBox", "A、B点施工坐标成果", "Fr1", 240, 1680, 2775, 1575},
    {"Fr3", "QGroupBox", "A、B点测图坐标成果", "Fr1", 240, 360, 2775, 2895},
    {"Text8", "QLineEdit", "", "Fr4", 1560, 960, 1095, 270},
    {"Text7", "QLineEdit", "", "Fr4", 480, 960, 1095, 270},
    {"Text6", "QLineEdit", "", "Fr4", 1560, 600, 1095, 270},
    {"Text5", "QLineEdit", "", "Fr4", 480, 600, 1095, 270},
    {"Label6", "QLabel", "A  B", "Fr4", 240, 600, 135, 615},
    {"Label4", "QLabel", "Y坐标", "Fr4", 1800, 360, 495, 255},
    {"Label3", "QLabel", "X坐标", "Fr4", 840, 360, 495, 255},
    {"Text4", "QLineEdit", "", "Fr3", 1560, 840, 1095, 270},
    {"Text3", "QLineEdit", "", "Fr3", 480, 840, 1095, 270},
    {"Text2", "QLineEdit", "", "Fr3", 1560, 480, 1095, 270},
    {"Text1", "QLineEdit", "", "Fr3", 480, 480, 1095, 270},
    {"Label5", "QLabel", "A  B", "Fr3", 240, 480, 135, 615},
    {"Label2", "QLabel", "Y坐标", "Fr3", 1800, 240, 495, 255},
    {"Label1", "QLabel", "X坐标", "Fr3", 840, 240, 495, 255},
};

QString CaptionOf(const QWidget* control) {
  if (auto* label = dynamic_cast<const QLabel*>(control)) return label->text();
  if (auto* frame = dynamic_cast<const QGroupBox*>(control)) return frame->title();
  if (auto* button = dynamic_cast<const QAbstractButton*>(control)) return button->text();
  if (auto* box = dynamic_cast<const QLineEdit*>(control)) return box->text();
  if (auto* box = dynamic_cast<const QPlainTextEdit*>(control)) return box->toPlainText();
  return QStringLiteral("<no caption>");
}

QRect Pixels(const Placed& placed) {
  return QRect(placed.left / 15, placed.top / 15, placed.width / 15, placed.height / 15);
}

using LayoutTest = WindowTest;

// The window's font. Qt lists a font by one name, in the system's language
// where the font has one; the English names used to be compared with that
// list and never matched on a Chinese system.
TEST(InterfaceFontTest, AChineseFontIsFoundByAnyOfItsNames) {
  const struct {
    const char* what;
    const char* desktop;
    QStringList chinese;                   // the families listed as writing Chinese
    std::map<QString, QString> installed;  // a name and the family it stands for
    const char* expected;
  } rows[] = {
      {"Chinese Windows lists YaHei as 微软雅黑",
       "Tahoma",
       {"宋体", "微软雅黑"},
       {{"Tahoma", "Tahoma"}, {"Microsoft YaHei", "微软雅黑"}, {"SimSun", "宋体"}},
       "微软雅黑"},
      {"the desktop's own Chinese font, under its English name",
       "SimSun",
       {"宋体", "微软雅黑"},
       {{"SimSun", "宋体"}, {"Microsoft YaHei", "微软雅黑"}},
       "SimSun"},
      {"English Windows lists the English names",
       "Segoe UI",
       {"Microsoft YaHei", "Microsoft YaHei UI"},
       {{"Segoe UI", "Segoe UI"}, {"Microsoft YaHei UI", "Microsoft YaHei UI"}},
       "Microsoft YaHei UI"},
      {"Linux in a Chinese locale",
       "Sans Serif",
       {"Droid Sans Fallback", "文泉驿微米黑"},
       {{"WenQuanYi Micro Hei", "文泉驿微米黑"}},
       "文泉驿微米黑"},
      {"no Chinese interface font: the desktop's stays",
       "Sans Serif",
       {"Droid Sans Fallback"},
       {{"Sans Serif", "DejaVu Sans"}},
       ""},
  };
  for (const auto& row : rows) {
    const auto installed = [&](const QString& name) {
      const auto found = row.installed.find(name);
      return found == row.installed.end() ? QString() : found->second;
    };
    EXPECT_EQ(ChineseInterfaceFamily(QString::fromUtf8(row.desktop), row.chinese, installed),
              QString::fromUtf8(row.expected))
        << row.what;
  }
}

// This machine's WenQuanYi Micro Hei (Debian's fonts-wqy-microhei), listed
// by one of its two names whatever the locale: both find it, and the window
// took a Chinese font.
TEST(InterfaceFontTest, InstalledFontsAreFoundByTheirOtherName) {
  const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
  const QString english = InstalledFamily(QStringLiteral("WenQuanYi Micro Hei"));
  EXPECT_TRUE(chinese.contains(english)) << english.toStdString();
  EXPECT_EQ(InstalledFamily(QStringLiteral("文泉驿微米黑")), english);
  EXPECT_EQ(InstalledFamily(QStringLiteral("No Such Font Family")), QString());
  EXPECT_TRUE(chinese.contains(InstalledFamily(QApplication::font().family())))
      << QApplication::font().family().toStdString();
}

TEST_F(LayoutTest, WindowHasItsCaptionClientAreaAndIcon) {
  // State: just started.  Expected: the design caption, client area and icon sizes.
  EXPECT_EQ(window_.objectName(), "F1");
  EXPECT_EQ(window_.windowTitle(), "测图坐标系与施工坐标系的相互转换");
  EXPECT_EQ(window_.size(), QSize(7275 / 15, 5130 / 15));
  const QList<QSize> sizes = window_.windowIcon().availableSizes();
  EXPECT_TRUE(sizes.contains(QSize(16, 16)));
  EXPECT_TRUE(sizes.contains(QSize(32, 32)));
}

TEST_F(LayoutTest, EveryControlHasItsKindCaptionContainerAndPlace) {
  for (const Placed& placed : kPlaced) {
    SCOPED_TRACE(placed.name);
    QWidget* control = Control(placed.name);
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->inherits(placed.kind)) << control->metaObject()->className();
    EXPECT_EQ(CaptionOf(control), QString::fromUtf8(placed.caption));
    ASSERT_NE(control->parentWidget(), nullptr);
    EXPECT_EQ(control->parentWidget()->objectName(), placed.container);
    EXPECT_EQ(control->geometry(), Pixels(placed));
  }
}

TEST_F(LayoutTest, ThereAreExactlyThirtyFiveNamedControls) {
  const QRegularExpression control_name(QStringLiteral("^(Text|Label|Fr|Op|Com|Command|Cd)\\d+$"));
  int named = 0;
  for (const QWidget* widget : window_.findChildren<QWidget*>()) {
    if (control_name.match(widget->objectName()).hasMatch()) ++named;
  }
  EXPECT_EQ(named, 35);
}

TEST_F(LayoutTest, EarlierRowsOfAContainerLieInFront) {
  // Expected: within each container a row is stacked above every later row.
  for (std::size_t i = 0; i < std::size(kPlaced); ++i) {
    for (std::size_t j = i + 1; j < std::size(kPlaced); ++j) {
      if (std::string(kPlaced[i].container) != kPlaced[j].container) continue;
      QWidget* front = Control(kPlaced[i].name);
      QWidget* back = Control(kPlaced[j].name);
      const QObjectList& siblings = front->parentWidget()->children();
      EXPECT_GT(siblings.indexOf(front), siblings.indexOf(back))
          << kPlaced[i].name << " should lie in front of " << kPlaced[j].name;
    }
  }
}

TEST_F(LayoutTest, OverlapsShowTheControlInFront) {
  struct Overlap {
    const char* container;
    QPoint point;  // in the container, where both rectangles lie
    const char* seen;
  };
  const Overlap overlaps[] = {
      {"Fr1", QPoint(40, 150), "Fr4"},     // Fr4 covers the lower part of Fr3
      {"Fr2", QPoint(5, 120), "Fr5"},      // Fr5 covers the lower part of Fr2
      {"Fr5", QPoint(80, 110), "Text11"},  // Label9 reaches under Text11
      {"F1", QPoint(120, 320), "Cd2"},     // neighbouring buttons share a column
      {"F1", QPoint(368, 320), "Command1"},
  };
  for (const Overlap& overlap : overlaps) {
    SCOPED_TRACE(overlap.seen);
    QWidget* hit = Control(overlap.container)->childAt(overlap.point);
    ASSERT_NE(hit, nullptr);
    QWidget* seen = Control(overlap.seen);
    EXPECT_TRUE(hit == seen || seen->isAncestorOf(hit)) << hit->objectName().toStdString();
  }
}

TEST_F(LayoutTest, WindowCutsOffTheOuterEdgesOfTheButtonRow) {
  // State: design size.  Expected: 60 twips of Command1 beyond the right edge
  // and 45 twips of the row below the bottom edge are not shown.
  EXPECT_EQ(Control("Command1")->visibleRegion().boundingRect(), QRect(0, 0, 117, 30));
  EXPECT_EQ(Control("Cd2")->visibleRegion().boundingRect().height(), 30);
  EXPECT_EQ(Control("Com1")->visibleRegion().boundingRect().height(), 30);
}

TEST_F(LayoutTest, RowMarksWrapIntoABesideTheTwoRows) {
  for (const char* name : {"Label5", "Label6"}) {
    auto* label = Find<QLabel>(name);
    EXPECT_GE(label->heightForWidth(label->width()), 2 * label->fontMetrics().height()) << name;
  }
}

// The focus path from Cd2 onwards, one Tab at a time, until it returns to Cd2.
std::vector<QString> TabPath(QWidget& window) {
  std::vector<QString> path;
  for (int step = 0; step < 40; ++step) {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr) break;
    if (step > 0 && focus->objectName() == "Cd2") break;
    path.push_back(focus->objectName());
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  (void)window;
  return path;
}

class TabOrderTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    QApplication::setActiveWindow(&window_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }
};

TEST_F(TabOrderTest, FocusStartsOnCd2) { EXPECT_EQ(QApplication::focusWidget(), Control("Cd2")); }

TEST_F(TabOrderTest, RestingStateSkipsTheDisabledTwoPointPanel) {
  const std::vector<QString> expected = {"Cd2",   "Com1",   "Op1",    "Op3",
                                         "Text9", "Text10", "Text11", "Command1"};
  EXPECT_EQ(TabPath(window_), expected);
}

TEST_F(TabOrderTest, TwoPointStateSkipsTheDisabledParameterBoxes) {
  // Action: choose Op4, then put the focus back on Cd2.
  Click("Op4");
  Control("Cd2")->setFocus();
  const std::vector<QString> expected = {"Cd2",   "Com1",  "Op1",   "Com2",  "Com3",
                                         "Text1", "Text2", "Text3", "Text4", "Text5",
                                         "Text6", "Text7", "Text8", "Op4",   "Command1"};
  EXPECT_EQ(TabPath(window_), expected);
}

TEST_F(TabOrderTest, ShownHelpPanelIsTheLastStop) {
  Click("Cd2");
  Control("Cd2")->setFocus();
  const std::vector<QString> expected = {"Cd2",    "Op1",    "Op3",   "Text9",
                                         "Text10", "Text11", "Text12"};
  EXPECT_EQ(TabPath(window_), expected);
}

TEST_F(TabOrderTest, EnterAndEscapePressNoButton) {
  // State: resting, then the two-point method, each control focused in turn.
  std::vector<std::unique_ptr<QSignalSpy>> spies;
  for (const char* name : {"Cd2", "Com1", "Com2", "Com3", "Command1"}) {
    spies.push_back(std::make_unique<QSignalSpy>(Find<QPushButton>(name), &QPushButton::clicked));
  }
  auto press_everywhere = [&](const std::vector<const char*>& names) {
    for (const char* name : names) {
      QWidget* control = Control(name);
      control->setFocus();
      for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(control, key);
      }
    }
  };
  // Action: Enter, Return and Escape on every control that takes the focus.
  press_everywhere({"Cd2", "Com1", "Op1", "Op3", "Text9", "Text10", "Text11", "Command1"});
  Click("Op4");
  press_everywhere({"Com2", "Com3", "Text1", "Text4", "Text8", "Op4"});
  // Expected: no button fired, no box or dialog shown, the state unchanged.
  for (const auto& spy : spies) EXPECT_EQ(spy->count(), 0);
  EXPECT_TRUE(platform_.calls().empty());
  EXPECT_TRUE(Find<QRadioButton>("Op4")->isChecked());
  EXPECT_EQ(Find<QPushButton>("Cd2")->text(), "程序帮助信息");
}

}  // namespace
}  // namespace torvane::testing
