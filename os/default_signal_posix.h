// Signal handlers installed only where the program's parent left a
// signal's default: a signal it ignores (nohup's SIGHUP) stays ignored.
// POSIX only.
#pragma once

#include <signal.h>

namespace torvane {

// Has `handler` called on `signal_number` (sigaction flags `flags`, no
// other signal blocked) if the signal has its default action now; returns
// whether it did.
inline bool HandleIfDefault(int signal_number, void (*handler)(int), int flags) {
  struct sigaction old = {};
  if (sigaction(signal_number, nullptr, &old) != 0 || old.sa_handler != SIG_DFL) return false;
  struct sigaction action = {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  action.sa_flags = flags;
  return sigaction(signal_number, &action, nullptr) == 0;
}

}  // namespace torvane
