// zelvo-sim: the emulated АС on a pseudo-terminal, so that the program's real
// serial code can be run end to end without the device.

#include <signal.h>

#include <QCoreApplication>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "sim/SimOptions.h"
#include "sim/SimSignals.h"
#include "sim/Simulator.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral(ZELVO_VERSION));
    Options options;
    if (!ParseOptions(app, options)) return 2;
#ifdef __linux__
    // Paced answers sleep until each byte is due; the default timer slack would
    // add tens of microseconds to every one of them.
    prctl(PR_SET_TIMERSLACK, 1UL);
    // Stdin staying open is no sign of life, so a test runner that dies must not
    // leave us serving for ever.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    InstallSignalHandlers();
    Simulator simulator(options);
    if (!simulator.configure()) return 2;
    if (!simulator.openTerminal()) return 1;
    return simulator.run();
}
