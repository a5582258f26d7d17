#include <windows.h>

#include <atomic>

#include "cli/Interrupt.h"
#include "shell/TextOutput.h"

namespace {

std::atomic<int> g_presses{0};

// Windows calls this on a thread of its own, so the synchronous serial read
// on the main thread is never broken off: the exchange in flight ends as it
// would have, and the transfer stops after it.
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    if (g_presses++ == 0) {
        RequestInterrupt();
        return TRUE;
    }
    WriteText(stderr, QStringLiteral("\nПрервано.\n"));
    ExitProcess(130);
}

}  // namespace

void InstallInterruptHandler() {
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}
