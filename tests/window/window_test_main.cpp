// The window tests share one application, set up as the program sets itself
// up, on the off-screen platform unless another one is asked for.
#include <gtest/gtest.h>

#include <QApplication>

#include "desktop/chinese_ui.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  torvane::SetUpApplication(app);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
