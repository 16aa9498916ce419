#include <cstdlib>

#include "os/display.h"

namespace torvane {

void StartWithoutDisplay() {
  // Qt takes an empty value as none given.
  const char* asked = std::getenv("QT_QPA_PLATFORM");
  if (asked == nullptr || *asked == '\0') setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace torvane
