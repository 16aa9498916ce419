// File names between the window and the core: the core takes paths as
// UTF-8 bytes (on Linux, as the system's own bytes), the window as QString.
#pragma once

#include <string>

#include <QString>

#include "base/expected.h"

namespace torvane {

// A name the file dialog showed for more than one entry of its folder.
struct AmbiguousName {
  QString shown;           // the path up to and including that name, as the dialog showed it
  int entries = 0;         // how many entries of the folder show as that name: two or more
  bool is_folder = false;  // a folder on the way to the file, not the file itself
};

// The path the core opens for a name the file dialog gave. On Linux a name
// that is not valid UTF-8 reaches the window with U+FFFD in place of each
// bad byte, which names no file: each such component, folders on the way
// included, is looked up among its folder's entries and the one entry shown
// as it gives its own bytes. A component no entry shows as is kept as it is
// (a typed name need not exist). Rejects a component that two or more
// entries show as: which of them was chosen cannot be known.
Expected<std::string, AmbiguousName> LocalPathOf(const QString& name);

}  // namespace torvane
