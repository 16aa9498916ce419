// The workbench window as the user meets it: State / Action / Expected.
#include <gtest/gtest.h>

#include "desktop/scripted_platform.h"
#include "workbench/workbench_window.h"

namespace torvane {
namespace {

// State: started. Expected: the caption names the workbench and no project.
TEST(WorkbenchWindow, StartsWithItsCaption) {
  ScriptedPlatform platform;
  WorkbenchWindow window(platform);
  EXPECT_EQ(window.windowTitle().toStdString(), "坐标转换工作台");
}

}  // namespace
}  // namespace torvane
