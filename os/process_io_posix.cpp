#include <fcntl.h>
#include <unistd.h>

#include "os/process_io.h"

namespace torvane {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void UseBinaryStandardStreams() {}

bool StandardInputIsClosed() { return fcntl(STDIN_FILENO, F_GETFD) == -1; }

void UseConsoleText() {}

}  // namespace torvane
