// The signals by which a user or a session asks a program to end: SIGTERM,
// and SIGHUP at a logout or when its terminal goes. A window catches them
// to end as it ends on Ctrl+Q, removing what it made (Qt's temporary
// settings folder), then ends by the signal itself. POSIX systems only:
// Windows ends a windowed program by no such signal.
#pragma once

namespace torvane {

// Starts catching them, except one that is ignored (nohup) or handled
// already: from then on the first such signal writes a byte to a pipe
// instead of ending the program, and a second one ends it at once.
// Returns the pipe's reading end, readable once a signal has come; -1
// where none is caught (Windows) or the pipe cannot be made.
int CatchEndingSignals();

// The signal caught; 0 while none has come.
int CaughtEndingSignal();

// Ends the program by `signal_number` as the signal would have ended it
// uncaught, for the caller to do once it has cleaned up.
[[noreturn]] void EndBySignal(int signal_number);

}  // namespace torvane
