// F1, the one window of the program: the conversion direction, the two ways
// of obtaining the conversion parameters, the conversion button, the browse
// button and the help panel. Every value a handler needs is read from the
// controls when it runs; the window itself keeps only the result-file path,
// the help state and the file dialog's settings.
#pragma once

#include <QMargins>
#include <QString>
#include <QWidget>
#include <array>
#include <string>

#include "app/text_box.h"
#include "desktop/platform.h"
#include "params/two_point.h"

class QGroupBox;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace torvane {

class MainWindow : public QWidget {
 public:
  // Creates the window and its 35 controls as laid out; runs no handler.
  // The platform must outlive the window.
  explicit MainWindow(Platform& platform, QWidget* parent = nullptr);

  // Event handlers, named after control and event. Form_Load is called once
  // by whoever creates the window, before it is first shown.
  void Form_Load();
  void Form_Unload();
  void Cd2_Click();
  void Com1_Click();
  void Com2_Click();
  void Com3_Click();
  void Command1_Click();
  void Op3_Click();
  void Op4_Click();

  // The result table of the last run that wrote one; empty before.
  QString ResultFilePath() const { return QString::fromStdString(result_file_path_); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Watches the native window until its first exposure, to centre the frame
  // again if the window manager's frame differs from the one known before.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class Help { kHidden, kShown };

  // Selects an option as if the user had chosen it: when it was not selected
  // yet, its click behaviour runs at once, before this returns.
  static void Select(QRadioButton* option);
  // The resting state of the parameter side: known data, two-point panel off.
  void DisableTwoPointPanel();
  // Moves the window so that its outer frame, as the system tells it now, is
  // centred on the whole primary screen.
  void CentreOuterFrame();
  void ColourBoxes(SystemColour points, SystemColour params);
  // The number in a box by the leading-number rule; a message naming the box
  // when it is too large to read.
  bool ReadBox(const TextBox* box, const QString& name, double* value);
  // Text9, Text10 and Text11 read as above: offsets in metres, angle in ddd.mmss.
  bool ReadParamBoxes(PresentParams* params);
  void Warn(const QString& message);
  // Runs a button's handler; running out of memory in it is reported.
  void Guarded(void (MainWindow::*handler)());

  Platform& platform_;
  std::string result_file_path_;  // as the core names files: on Linux the system's own bytes
  Help help_ = Help::kHidden;
  OpenFileDialog w1_;
  QMargins centred_with_;  // the frame margins the last centring took

  std::array<TextBox*, 8> points_{};  // Text1 .. Text8
  TextBox* text9_ = nullptr;
  TextBox* text10_ = nullptr;
  TextBox* text11_ = nullptr;
  QPlainTextEdit* text12_ = nullptr;
  QGroupBox* fr1_ = nullptr;
  QGroupBox* fr3_ = nullptr;
  QGroupBox* fr4_ = nullptr;
  QGroupBox* fr5_ = nullptr;
  QRadioButton* op1_ = nullptr;
  QRadioButton* op2_ = nullptr;
  QRadioButton* op3_ = nullptr;
  QRadioButton* op4_ = nullptr;
  QPushButton* com1_ = nullptr;
  QPushButton* com2_ = nullptr;
  QPushButton* com3_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* cd2_ = nullptr;
};

}  // namespace torvane
