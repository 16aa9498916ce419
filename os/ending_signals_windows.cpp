#include <cstdlib>

#include "os/ending_signals.h"

namespace torvane {

int CatchEndingSignals() { return -1; }

int CaughtEndingSignal() { return 0; }

void EndBySignal(int signal_number) { std::_Exit(128 + signal_number); }

}  // namespace torvane
