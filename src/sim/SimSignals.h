#pragma once

// The stop request of zelvo-sim: SIGTERM, SIGINT and SIGHUP set it and wake
// the loop through a pipe; a closed reader (SIGPIPE) is ignored.

#include <signal.h>

extern volatile sig_atomic_t stopRequested;

// The read end of the pipe a signal writes to; -1 without one.
int WakeDescriptor();

void InstallSignalHandlers();
