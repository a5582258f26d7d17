// 1001 goods-record writes followed by 1001 reads through the real serial code
// against zelvo-sim on a pseudo-terminal: unpaced (the program's own cost per
// exchange) and paced at 115200 bit/s (against the line's own time).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

#include "BenchSupport.h"
#include "device/Protocol.h"
#include "support/SimProcess.h"

namespace {

constexpr int Records = 1001;
using namespace bench;

// Returns the duration of every exchange in microseconds; -1 when one failed.
std::vector<double> Run(const QString& port) {
    PortSettings& settings = CurrentPortSettings();
    settings.PortName = port;
    settings.BaudRate = Baud;
    settings.ByteTimeout = 250;
    settings.TotalTimeout = 2500;
    settings.MachineNumber = "0";
    std::vector<double> times;
    times.reserve(2 * Records);
    QElapsedTimer clock;
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < Records; ++i) {
            char name[26] = "0TOVAR";
            char barcode[BarcodeTextSize] = "4600000000017";
            uint8_t section = 1, error = 0;
            int64_t price = 12345;
            char errorText[ErrorTextSize] = {};
            clock.start();
            const CommandStatus status =
                GoodsCommand(pass == 0 ? ModeWrite : ModeRead, uint16_t(i), name, barcode, section,
                             price, error, errorText);
            times.push_back(double(clock.nsecsElapsed()) / 1000.0);
            if (status != StatusOk) {
                std::fprintf(stderr, "exchange %d failed with status %d\n", i, int(status));
                return {};
            }
        }
    }
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const double lineMsPerExchange =
        (GoodsRequestLength + GoodsResponseLength) * 10.0 * 1000.0 / Baud;

    SimProcess unpaced;
    if (!unpaced.isReady()) {
        std::fprintf(stderr, "zelvo-sim did not start: %s\n", qPrintable(unpaced.errorString()));
        return 1;
    }
    const std::vector<double> fast = Run(unpaced.portPath());
    if (fast.empty()) return 1;
    std::printf("unpaced: %d exchanges, median %.3f ms per exchange, total %.1f ms\n",
                int(fast.size()), Median(fast) / 1000.0,
                std::accumulate(fast.begin(), fast.end(), 0.0) / 1000.0);

    SimProcess paced({QStringLiteral("--pace"), QString::number(Baud)});
    if (!paced.isReady()) return 1;
    const std::vector<double> slow = Run(paced.portPath());
    if (slow.empty()) return 1;
    const double total = std::accumulate(slow.begin(), slow.end(), 0.0) / 1000.0;
    const double line = lineMsPerExchange * double(slow.size());
    std::printf(
        "paced at %d bit/s: total %.0f ms, line's own time %.0f ms (%.2f ms per exchange), "
        "overhead %+.1f %%\n",
        Baud, total, line, lineMsPerExchange, (total / line - 1.0) * 100.0);
    return 0;
}
