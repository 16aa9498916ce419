#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "os/default_signal_posix.h"
#include "os/ending_signals.h"

namespace torvane {
namespace {

int g_pipe[2] = {-1, -1};
volatile std::sig_atomic_t g_caught = 0;

constexpr int kEndingSignals[] = {SIGTERM, SIGHUP};

extern "C" void NoteEndingSignal(int signal_number) {
  if (g_caught != 0) {
    // A second one: the program has not ended on the first, so it ends now.
    std::signal(signal_number, SIG_DFL);
    raise(signal_number);
    return;
  }
  g_caught = signal_number;
  const int saved = errno;
  const char byte = 1;
  if (write(g_pipe[1], &byte, 1) < 0) {
    // Nothing to do in a handler: the caught signal is still noted.
  }
  errno = saved;
}

}  // namespace

int CatchEndingSignals() {
  if (g_pipe[0] >= 0) return g_pipe[0];
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
  for (const int signal_number : kEndingSignals) {
    HandleIfDefault(signal_number, NoteEndingSignal, SA_RESTART);
  }
  return g_pipe[0];
}

int CaughtEndingSignal() { return g_caught; }

void EndBySignal(int signal_number) {
  std::signal(signal_number, SIG_DFL);
  raise(signal_number);
  _exit(128 + signal_number);  // should the signal not end it
}

}  // namespace torvane
