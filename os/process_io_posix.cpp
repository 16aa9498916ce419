#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "os/process_io.h"

namespace torvane {
namespace {

// Which of descriptors 0, 1 and 2 ReopenClosedStandardStreams found closed.
bool was_closed[3] = {false, false, false};

bool IsClosed(int fd) { return fcntl(fd, F_GETFD) == -1 && errno == EBADF; }

}  // namespace

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void ReopenClosedStandardStreams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (!IsClosed(fd)) continue;
    was_closed[fd] = true;
    // open() takes the lowest free descriptor: `fd` itself, as those below
    // it are open by now.
    const int device = open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
    if (device >= 0 && device != fd) {
      dup2(device, fd);
      close(device);
    }
  }
}

bool StandardOutputWasClosed() { return was_closed[STDOUT_FILENO]; }

void UseBinaryStandardStreams() {}

bool StandardInputIsClosed() { return was_closed[STDIN_FILENO] || IsClosed(STDIN_FILENO); }

void UseConsoleText() {}

}  // namespace torvane
