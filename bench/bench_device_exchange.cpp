// 1001 goods-record writes followed by 1001 reads through the real serial code
// against zelvo-sim on a pseudo-terminal: unpaced (the program's own cost per
// exchange), the exchange log recording every other exchange so that the
// exchanges with and without it see the same machine; then paced at 115200 bit/s (against the
// line's own time).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

#include "BenchSupport.h"
#include "device/ExchangeLog.h"
#include "device/ExchangeRecorder.h"
#include "device/Protocol.h"
#include "support/SimProcess.h"

namespace {

constexpr int Records = 1001;
constexpr int LogRounds = 4;

// Whether the log records an exchange: never, always, or every other one.
enum class Logging { Off, On, Alternate };
using namespace bench;

// Returns the duration of every exchange in microseconds, empty when one failed.
// With Logging::Alternate the even exchanges of each pass are recorded, the odd ones not.
std::vector<double> Run(const QString& port, Logging logging = Logging::On) {
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
            ProgramExchangeLog().setRecording(logging == Logging::On ||
                                              (logging == Logging::Alternate && i % 2 == 0));
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
    if (!SimStarted(unpaced)) return 1;
    ExchangeLog& log = ProgramExchangeLog();
    std::vector<double> withoutLog, withLog;
    for (int round = 0; round < LogRounds; ++round) {
        const std::vector<double> times = Run(unpaced.portPath(), Logging::Alternate);
        if (times.empty()) return 1;
        for (std::size_t k = 0; k < times.size(); ++k)
            (k % Records % 2 == 0 ? withLog : withoutLog).push_back(times[k]);
    }
    log.setRecording(true);
    const double off = Median(withoutLog), on = Median(withLog);
    std::printf(
        "unpaced, the log on for every other exchange: %d exchanges with it, %d without; "
        "median per exchange %.4f ms without the log, %.4f ms with it: the log costs "
        "%+.1f %%\n",
        int(withLog.size()), int(withoutLog.size()), off / 1000.0, on / 1000.0,
        (on / off - 1.0) * 100.0);
    std::printf("exchange log after the runs: %d held, %llu dropped\n", log.size(),
                static_cast<unsigned long long>(log.dropped()));

    // Recording alone, without the line's noise around it.
    constexpr int Recordings = 200000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Recordings; ++i) {
        ExchangeRecorder recorder(GoodsRequestLength, GoodsResponseLength);
        TransferCount = GoodsResponseLength;
        recorder.transacted();
        recorder.finish(StatusOk, 0);
    }
    std::printf("recording one exchange alone: %.3f us (%.2f %% of the median exchange)\n",
                Ms(clock) * 1000.0 / Recordings, Ms(clock) * 1000.0 / Recordings / off * 100.0);

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
