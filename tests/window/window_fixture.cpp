#include "window_fixture.h"

#include <QRadioButton>
#include <QTest>

namespace torvane::testing {

void WindowTest::SetUp() {
  window_.Form_Load();
  window_.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
}

QWidget* WindowTest::Control(const char* name) const {
  if (window_.objectName() == QString::fromUtf8(name)) return const_cast<MainWindow*>(&window_);
  QWidget* control = window_.findChild<QWidget*>(QString::fromUtf8(name));
  EXPECT_NE(control, nullptr) << "no control " << name;
  return control;
}

void WindowTest::Click(const char* name) {
  auto* button = Find<QAbstractButton>(name);
  ASSERT_NE(button, nullptr) << name;
  // An option button reacts on its mark and caption, a push button anywhere.
  const QPoint where = dynamic_cast<QRadioButton*>(button) != nullptr
                           ? QPoint(6, button->height() / 2)
                           : button->rect().center();
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, where);
}

void WindowTest::Type(const char* box, const QString& text) { QTest::keyClicks(Box(box), text); }

void WindowTest::TypeTwoPoints(const std::array<QString, 8>& coordinates) {
  Click("Op4");
  for (std::size_t i = 0; i < coordinates.size(); ++i) {
    Type(("Text" + std::to_string(i + 1)).c_str(), coordinates[i]);
  }
}

void WindowTest::TypeParams(const QString& x_offset, const QString& y_offset,
                            const QString& angle) {
  Type("Text9", x_offset);
  Type("Text10", y_offset);
  Type("Text11", angle);
}

std::vector<CallKind> WindowTest::CallKinds() const {
  std::vector<CallKind> kinds;
  for (const Call& call : platform_.calls()) kinds.push_back(call.kind);
  return kinds;
}

}  // namespace torvane::testing
