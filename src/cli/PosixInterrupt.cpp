#include <pthread.h>
#include <unistd.h>

#include <csignal>
#include <thread>

#include "cli/Interrupt.h"

void InstallInterruptHandler() {
    // Blocked in every thread and awaited by one: an interrupted poll() or
    // write() would otherwise end an exchange early and look like a device
    // that did not answer.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set] {
        int signal = 0;
        if (sigwait(&set, &signal) != 0) return;
        RequestInterrupt();
        if (sigwait(&set, &signal) != 0) return;
        static const char text[] = "\nПрервано.\n";
        [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, text, sizeof text - 1);
        _exit(130);
    }).detach();
}
