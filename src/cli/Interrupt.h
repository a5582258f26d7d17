#pragma once

// Ctrl+C on the command line. The first one only sets a flag: the transfer
// ends after the exchange in flight, the program says how far it got and no
// file is left half-written. A second one ends the program at once.

// Call first in main, before any thread starts: the signal is then taken by a
// thread of its own and never breaks a system call of the serial exchange.
void InstallInterruptHandler();
bool InterruptRequested();
// What the system's handler calls on the first Ctrl+C.
void RequestInterrupt();
