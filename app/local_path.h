// File names between the window and the core: the core takes paths as
// UTF-8 bytes (on Linux, as the system's own bytes), the window as QString.
#pragma once

#include <string>

#include <QString>

namespace torvane {

// The path the core opens for a name the file dialog gave. On Linux a
// name that is not valid UTF-8 reaches the window with U+FFFD in place of
// each bad byte, which names no file: such a last component is looked up
// among its folder's entries and the entry's own bytes are taken.
std::string LocalPathOf(const QString& name);

}  // namespace torvane
