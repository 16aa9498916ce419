// Start-up, the two option groups, the method switch with its enabled states
// and colours, cancel, and the help panel.
#include <QApplication>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

#include "app/help_text.h"
#include "window_fixture.h"

namespace torvane::testing {
namespace {

// The colour a box is painted with, sampled inside its border.
QColor PaintedBack(QWidget* box) {
  const QImage image = box->grab().toImage();
  return image.pixelColor(image.width() - 4, image.height() / 2);
}

QColor Face() { return QApplication::palette().color(QPalette::Active, QPalette::Button); }
QColor White() { return QApplication::palette().color(QPalette::Active, QPalette::Base); }

class StateTest : public WindowTest {
 protected:
  // Own enabled flag, as set on the control itself.
  bool OwnEnabled(const char* name) const {
    return !Control(name)->testAttribute(Qt::WA_ForceDisabled);
  }
  bool Usable(const char* name) const { return Control(name)->isEnabled(); }
  bool Selected(const char* name) const { return Find<QRadioButton>(name)->isChecked(); }

  // The state the known-data method (and start-up, and cancel) leaves.
  void ExpectKnownDataState() {
    for (const char* frame : {"Fr1", "Fr3", "Fr4"}) EXPECT_FALSE(OwnEnabled(frame)) << frame;
    for (const char* button : {"Com2", "Com3"}) EXPECT_FALSE(OwnEnabled(button)) << button;
    EXPECT_TRUE(OwnEnabled("Fr5"));
    for (int i = 1; i <= 8; ++i) {
      const std::string name = "Text" + std::to_string(i);
      SCOPED_TRACE(name);
      EXPECT_TRUE(OwnEnabled(name.c_str()));
      EXPECT_FALSE(Usable(name.c_str()));
      EXPECT_EQ(Box(name.c_str())->BackColour(), SystemColour::kButtonFace);
    }
    for (const char* name : {"Text9", "Text10", "Text11"}) {
      EXPECT_TRUE(Usable(name)) << name;
      EXPECT_EQ(Box(name)->BackColour(), SystemColour::kWindow) << name;
    }
  }
  void ExpectTwoPointState() {
    for (const char* name : {"Fr1", "Fr3", "Fr4", "Com2", "Com3"})
      EXPECT_TRUE(Usable(name)) << name;
    EXPECT_FALSE(OwnEnabled("Fr5"));
    for (int i = 1; i <= 8; ++i) {
      const std::string name = "Text" + std::to_string(i);
      EXPECT_TRUE(Usable(name.c_str())) << name;
      EXPECT_EQ(Box(name.c_str())->BackColour(), SystemColour::kWindow) << name;
    }
    for (const char* name : {"Text9", "Text10", "Text11"}) {
      EXPECT_FALSE(Usable(name)) << name;
      EXPECT_EQ(Box(name)->BackColour(), SystemColour::kButtonFace) << name;
    }
  }
};

TEST_F(StateTest, StartUpLeavesTheRestingState) {
  // State: just started.
  // Expected: Op1 and Op3 selected; the two-point panel off and grey; the
  // parameter boxes white and usable; help hidden; the rest as created.
  EXPECT_TRUE(Selected("Op1"));
  EXPECT_FALSE(Selected("Op2"));
  EXPECT_TRUE(Selected("Op3"));
  EXPECT_FALSE(Selected("Op4"));
  ExpectKnownDataState();
  EXPECT_FALSE(Control("Text12")->isVisible());
  for (const char* name : {"Fr2", "Com1", "Command1", "Cd2", "Op1", "Op2", "Op3", "Op4"}) {
    EXPECT_TRUE(Usable(name) && Control(name)->isVisible()) << name;
  }
  EXPECT_EQ(Find<QPushButton>("Cd2")->text(), "程序帮助信息");
  for (int i = 1; i <= 11; ++i) EXPECT_TRUE(Text(("Text" + std::to_string(i)).c_str()).isEmpty());
  EXPECT_TRUE(Find<QPlainTextEdit>("Text12")->toPlainText().isEmpty());
  EXPECT_TRUE(window_.ResultFilePath().isEmpty());
  EXPECT_TRUE(platform_.calls().empty());
}

TEST_F(StateTest, StartUpCentresTheOuterFrameOnThePrimaryScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QRect outer = window_.frameGeometry();
  EXPECT_LE(std::abs(outer.center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(outer.center().y() - screen.center().y()), 1);
}

TEST_F(StateTest, StartUpNamesTheDesktopEntryOfThePackage) {
  // Expected: the name of the Debian package's desktop entry, without
  // ".desktop", through which a Wayland desktop finds the icon.
  EXPECT_EQ(QGuiApplication::desktopFileName(), "io.github.torvane.Torvane");
}

TEST_F(StateTest, CentringDoesNotHoldAnOversizedWindowOnTheScreen) {
  // State: a window 200 pixels taller and wider than the screen.
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  window_.resize(screen.width() + 200 - (window_.frameGeometry().width() - window_.width()),
                 screen.height() + 200 - (window_.frameGeometry().height() - window_.height()));
  // Action: the start-up handler runs.
  window_.Form_Load();
  // Expected: half the excess lies beyond the top and left edges.
  EXPECT_EQ(window_.frameGeometry().topLeft(), screen.topLeft() - QPoint(100, 100));
}

TEST_F(StateTest, OptionGroupsAreIndependent) {
  struct Step {
    const char* choose;
    bool op1, op2, op3, op4;
  };
  const Step steps[] = {
      {"Op2", false, true, true, false},
      {"Op4", false, true, false, true},
      {"Op1", true, false, false, true},
      {"Op3", true, false, true, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.choose);
    Click(step.choose);
    EXPECT_EQ(Selected("Op1"), step.op1);
    EXPECT_EQ(Selected("Op2"), step.op2);
    EXPECT_EQ(Selected("Op3"), step.op3);
    EXPECT_EQ(Selected("Op4"), step.op4);
  }
}

TEST_F(StateTest, Op4AndOp3SwitchPanelsAndColoursButKeepTexts) {
  // State: 500 typed as X offset under known data.
  Type("Text9", "500");
  // Action: choose Op4.  Expected: the two-point state; Text9 keeps 500.
  Click("Op4");
  ExpectTwoPointState();
  EXPECT_EQ(Text("Text9"), "500");
  // Action: type into both panels.  Expected: only the usable one takes it.
  Type("Text9", "7");
  Type("Text1", "1000");
  EXPECT_EQ(Text("Text9"), "500");
  EXPECT_EQ(Text("Text1"), "1000");
  // Action: choose Op4 again, then Op3.
  Click("Op4");
  ExpectTwoPointState();
  Click("Op3");
  ExpectKnownDataState();
  Type("Text1", "5");
  EXPECT_EQ(Text("Text1"), "1000");
  EXPECT_EQ(Text("Text9"), "500");
}

TEST_F(StateTest, BoxesInADisabledFrameKeepTheirColourAndReadableText) {
  // Resting: Text1 (frame disabled) is painted button-face grey, Text9 white.
  EXPECT_EQ(PaintedBack(Box("Text1")), Face());
  EXPECT_EQ(PaintedBack(Box("Text9")), White());
  // Two-point: Text9 (frame disabled) is grey, Text1 white.
  Click("Op4");
  EXPECT_EQ(PaintedBack(Box("Text9")), Face());
  EXPECT_EQ(PaintedBack(Box("Text1")), White());
  const QPalette& palette = Box("Text9")->palette();
  EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::Text),
            QApplication::palette().color(QPalette::Active, QPalette::Text));
}

TEST_F(StateTest, BackColoursFollowAChangeOfColourScheme) {
  const QPalette original = QApplication::palette();
  QPalette scheme = original;
  scheme.setColor(QPalette::Button, QColor(10, 20, 30));
  scheme.setColor(QPalette::Base, QColor(200, 210, 220));
  QApplication::setPalette(scheme);
  QApplication::processEvents();
  const QColor grey = Box("Text1")->palette().color(QPalette::Disabled, QPalette::Base);
  const QColor white = Box("Text9")->palette().color(QPalette::Active, QPalette::Base);
  QApplication::setPalette(original);
  QApplication::processEvents();
  EXPECT_EQ(grey, QColor(10, 20, 30));
  EXPECT_EQ(white, QColor(200, 210, 220));
}

TEST_F(StateTest, CancelReturnsToTheRestingStateAndClearsNothing) {
  // State: help shown, Op2 chosen, the two-point method with A and B typed,
  // parameters computed.
  Click("Cd2");
  Click("Op2");
  TypeTwoPoints(kWorkedExample);
  Click("Com2");
  ASSERT_EQ(Text("Text9"), "1000.000161");
  // Action: cancel.
  Click("Com3");
  // Expected: Op1 and Op3 again, the known-data state, every text kept, the
  // help panel left shown.
  EXPECT_TRUE(Selected("Op1"));
  EXPECT_FALSE(Selected("Op2"));
  EXPECT_TRUE(Selected("Op3"));
  ExpectKnownDataState();
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(Text(("Text" + std::to_string(i + 1)).c_str()), kWorkedExample[i]);
  }
  EXPECT_EQ(Text("Text9"), "1000.000161");
  EXPECT_TRUE(Control("Text12")->isVisible());
  EXPECT_EQ(Find<QPushButton>("Cd2")->text(), "关闭算例信息");
  // Action: choose Op4 again.  Expected: the typed points usable as before.
  Click("Op4");
  EXPECT_EQ(Text("Text3"), "1070.711");
  EXPECT_TRUE(Usable("Text3"));
}

TEST_F(StateTest, HelpPanelOpensClosesAndOpensAgain) {
  auto* panel = Find<QPlainTextEdit>("Text12");
  auto* cd2 = Find<QPushButton>("Cd2");
  const QRect outer = window_.frameGeometry();
  const QRect over_window(0, 0, outer.width(), outer.height() - 2 * cd2->height());

  // Action: first click.  Expected: the panel over the window with the 25
  // lines, Com1 and Command1 hidden, Cd2 offering to close.
  Click("Cd2");
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->geometry(), over_window);
  const QStringList lines = panel->toPlainText().split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 25);
  EXPECT_EQ(lines, HelpLines());
  EXPECT_EQ(lines[2], QString(30, QLatin1Char(' ')) + "Torvane");
  EXPECT_EQ(lines[10], "  " + QString(76, QLatin1Char('-')));
  EXPECT_EQ(lines[18], "             III11 , 755.500 , 740.800 , 1215.101 ");
  EXPECT_EQ(lines[21], "             III14 , 691.500 , 757.150 , 1270.221");
  EXPECT_FALSE(lines[24].trimmed().isEmpty());
  EXPECT_EQ(HelpText().count(QStringLiteral("\r\n")), 24);
  EXPECT_FALSE(HelpText().endsWith(QLatin1Char('\n')));
  EXPECT_FALSE(Control("Com1")->isVisible());
  EXPECT_FALSE(Control("Command1")->isVisible());
  EXPECT_EQ(cd2->text(), "关闭算例信息");
  QWidget* centre_hit = window_.childAt(window_.rect().center());
  EXPECT_TRUE(centre_hit == panel || panel->isAncestorOf(centre_hit));

  // Action: type into the panel, then the second click.  Expected: hidden,
  // geometry and text kept, the buttons back.
  QTest::keyClicks(panel, "note");
  Click("Cd2");
  EXPECT_FALSE(panel->isVisible());
  EXPECT_EQ(panel->geometry(), over_window);
  EXPECT_TRUE(panel->toPlainText().contains("note"));
  EXPECT_TRUE(Control("Com1")->isVisible());
  EXPECT_TRUE(Control("Command1")->isVisible());
  EXPECT_EQ(cd2->text(), "程序帮助信息");

  // State: the window made larger.  Action: third click.  Expected: the
  // panel takes the new outer size and the help text afresh.
  window_.resize(window_.width() + 40, window_.height() + 30);
  const QRect bigger = window_.frameGeometry();
  Click("Cd2");
  EXPECT_TRUE(panel->isVisible());
  EXPECT_EQ(panel->geometry(), QRect(0, 0, bigger.width(), bigger.height() - 2 * cd2->height()));
  EXPECT_EQ(panel->toPlainText().split(QLatin1Char('\n')), HelpLines());
  EXPECT_EQ(cd2->text(), "关闭算例信息");
  EXPECT_TRUE(platform_.calls().empty());
}

TEST_F(StateTest, HelpTextTallerThanThePanelCanBeScrolledToTheSampleLines) {
  // State: the help panel shown at the window's design size.
  auto* panel = Find<QPlainTextEdit>("Text12");
  Click("Cd2");
  panel->document()->adjustSize();
  QApplication::processEvents();
  // Action: scroll to the end.  Expected: whenever the 25 lines are taller
  // than the panel, a scroll bar is there to reach the last sample line.
  const int text_height = static_cast<int>(panel->document()->size().height());
  const int lines_in_view = panel->viewport()->height() / panel->fontMetrics().lineSpacing();
  if (lines_in_view < 25) {
    EXPECT_TRUE(panel->verticalScrollBar()->isVisible()) << text_height;
    EXPECT_GT(panel->verticalScrollBar()->maximum(), 0);
  }
  QTextCursor end(panel->document());
  end.movePosition(QTextCursor::End);
  panel->setTextCursor(end);
  panel->ensureCursorVisible();
  EXPECT_TRUE(panel->viewport()->rect().contains(panel->cursorRect().center()));
}

}  // namespace
}  // namespace torvane::testing
