#include "sim/SimSignals.h"

#include <unistd.h>

#include <initializer_list>

#include "sim/NonBlocking.h"

volatile sig_atomic_t stopRequested = 0;

namespace {

int wakePipe[2] = {-1, -1};

void OnSignal(int) {
    stopRequested = 1;
    const char byte = 0;
    [[maybe_unused]] ssize_t ignored = ::write(wakePipe[1], &byte, 1);
}

}  // namespace

int WakeDescriptor() {
    return wakePipe[0];
}

void InstallSignalHandlers() {
    if (pipe(wakePipe) == 0) {
        SetNonBlocking(wakePipe[0]);
        SetNonBlocking(wakePipe[1]);
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) sigaction(signal, &action, nullptr);
    action.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &action, nullptr);
}
