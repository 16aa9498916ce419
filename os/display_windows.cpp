#include "os/display.h"

namespace torvane {

// Qt's Windows platform draws into files without a desktop to show on.
void StartWithoutDisplay() {}

}  // namespace torvane
