#include "cli/Interrupt.h"

#include <atomic>

// The flag is shared; how Ctrl+C reaches it is each system's own
// (PosixInterrupt.cpp, Win32Interrupt.cpp).

namespace {

std::atomic<bool> g_interrupted{false};

}  // namespace

void RequestInterrupt() {
    g_interrupted = true;
}

bool InterruptRequested() {
    return g_interrupted;
}
