#include <signal.h>
#include <unistd.h>

#include <QProcess>

#include "cli/FleetChild.h"

void PrepareFleetChild(QProcess& process) {
    // A group of its own: the terminal's Ctrl+C reaches only the parent, which
    // passes it on once. Two would end the child at once, mid-exchange.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
}

void StopFleetChild(qint64 processId) {
    if (processId > 0) ::kill(pid_t(processId), SIGINT);
}
