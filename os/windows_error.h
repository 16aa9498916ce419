// Windows error codes in the errno terms the rest of the program speaks.
// Windows only.
#pragma once

namespace torvane {

// The errno value closest to a Windows error code (GetLastError()), for
// the messages that name the system's reason; EIO for the uncommon ones.
int ErrnoFromWindows(unsigned long error);

}  // namespace torvane
