// "Найти АС" over four silent ports (zelvo-sim on pseudo-terminals that never
// answer): every port opens and is asked at all seven speeds, the worst case
// of a search. The search asks all ports at once; the same ports asked one
// after another (a search of each port alone) give the sequential figure in
// the same run. Also the search that finds a device listening at 2400 bit/s,
// the last speed asked, behind three silent ports.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "device/DeviceFinder.h"
#include "support/SimProcess.h"

namespace {

using namespace bench;
constexpr int Ports = 4;
constexpr int Runs = 3;

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<std::unique_ptr<SimProcess>> sims;
    QStringList ports;
    for (int i = 0; i < Ports; ++i) {
        sims.push_back(std::make_unique<SimProcess>());
        if (!sims.back()->isReady() || !sims.back()->command(QStringLiteral("fault silent"))) {
            std::fprintf(stderr, "zelvo-sim: %s\n", qPrintable(sims.back()->errorString()));
            return 1;
        }
        ports << sims.back()->portPath();
    }

    double bound = 0;
    for (int rate : SearchBaudRates(Baud)) bound += ProbeTimeoutMs(rate);

    std::vector<double> together, oneByOne;
    int probes = 0, sequentialProbes = 0;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        probes = FindDevice(ports, "0", Baud).probes;
        together.push_back(Ms(clock));

        clock.start();
        sequentialProbes = 0;
        for (const QString& port : ports) sequentialProbes += FindDevice({port}, "0", Baud).probes;
        oneByOne.push_back(Ms(clock));
    }
    std::printf(
        "search of %d silent ports at 7 speeds (%d probes), median of %d runs: all ports at once "
        "%.0f ms, one port after another (%d probes) %.0f ms; the probe time-outs of one port add "
        "up to %.0f ms; target <= 1500 ms\n",
        Ports, probes, Runs, Median(together), sequentialProbes, Median(oneByOne), bound);

    // The device on the last port, at the last speed asked.
    sims.back()->command(QStringLiteral("clear-faults"));
    sims.back()->command(QStringLiteral("listen 2400"));
    QElapsedTimer clock;
    clock.start();
    const DeviceSearchResult result = FindDevice(ports, "0", Baud);
    if (result.found)
        std::printf("device found on the 4th port at %d bit/s after %d probes: %.0f ms\n",
                    result.baudRate, result.probes, Ms(clock));
    else
        std::printf("device on the 4th port at 2400 bit/s NOT found (%d probes)\n", result.probes);
    return 0;
}
