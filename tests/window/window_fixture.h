// A freshly started window on the scripted platform, and the user's actions
// on it: clicking, choosing options, typing.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QString>
#include <array>
#include <ostream>
#include <vector>

#include "app/main_window.h"
#include "app/text_box.h"
#include "desktop/scripted_platform.h"

QT_BEGIN_NAMESPACE
// Readable failure output for texts.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace torvane {
inline void PrintTo(MessageAnswer answer, std::ostream* out) {
  *out << (answer == MessageAnswer::kOk        ? "OK"
           : answer == MessageAnswer::kDiscard ? "Discard"
                                               : "Cancel");
}
}  // namespace torvane

namespace torvane::testing {

using Call = ScriptedPlatform::Call;
using CallKind = ScriptedPlatform::CallKind;

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override;

  QWidget* Control(const char* name) const;
  template <class T>
  T* Find(const char* name) const {
    return dynamic_cast<T*>(Control(name));
  }
  TextBox* Box(const char* name) const { return Find<TextBox>(name); }
  QString Text(const char* name) const { return Box(name)->text(); }

  // A mouse click as the user makes it: nothing happens on a control that
  // cannot be used.
  void Click(const char* name);
  void Type(const char* box, const QString& text);
  // Op4, then the eight coordinates of A and B typed into Text1 to Text8.
  void TypeTwoPoints(const std::array<QString, 8>& coordinates);
  // Op3 stays selected; the three parameters are typed into Text9 to Text11.
  void TypeParams(const QString& x_offset, const QString& y_offset, const QString& angle);

  std::vector<Call> Messages() const { return platform_.CallsOf(CallKind::kMessage); }
  std::vector<CallKind> CallKinds() const;

  ScriptedPlatform platform_;
  MainWindow window_{platform_};
};

// The worked example: A survey (1000, 2000), B survey (1070.711, 2070.711),
// A construction (0, 0), B construction (100, 0).
inline const std::array<QString, 8> kWorkedExample = {"1000", "2000", "1070.711", "2070.711",
                                                      "0",    "0",    "100",      "0"};

}  // namespace torvane::testing
