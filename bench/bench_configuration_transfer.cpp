// A whole-configuration upload and download through the real serial code
// against zelvo-sim on a pseudo-terminal, the answers paced at 115200 bit/s,
// set against the line's own time for the same bytes (request + response
// bytes × 10 bits / 115200, summed over the exchanges).
//
// To show where the time goes, one exchange of the program's link is taken
// apart phase by phase. An unpaced simulator gives the program's own cost.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "BenchSupport.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"
#include "device/SerialLink.h"
#include "emulator/FrameCodec.h"
#include "shell/UserDialogs.h"
#include "support/SimProcess.h"

namespace {

using namespace bench;
constexpr int Rounds = 5;

// Every item written: operators with passwords, full-length lines elsewhere.
DeviceConfiguration FullConfiguration() {
    DeviceConfiguration config;
    std::memset(&config, 0, sizeof config);
    ResetFormTable(config);
    ResetConfiguration(config);
    const QByteArray line = ToCp1251(QStringLiteral("0СТРОКА ДЛИНОЙ 24 СИМВОЛА"));
    auto fill = [&](DeviceText& text) { CopyToField(text.bytes, 26, line); };
    for (auto& op : config.operators) {
        fill(op.position);
        fill(op.name);
        CopyToField(op.password, int(sizeof op.password), "1234");
    }
    fill(config.documentName);
    for (auto* records : {config.services, config.requisites})
        for (int n = 0; n < ServiceCount; ++n)
            for (auto& text : records[n].lines) fill(text);
    for (auto& cliche : config.cliches)
        for (auto& text : cliche.lines) fill(text);
    return config;
}

struct Measured {
    double ms = 0;      // median wall time of one transfer
    int exchanges = 0;  // per transfer, from the simulator's log
    qint64 bytes = 0;   // request + response bytes per transfer
    int questions = 0;  // failed items over all rounds
};

template <typename Transfer>
Measured Measure(SimProcess& sim, Transfer transfer) {
    Measured m;
    std::vector<double> times;
    CountingDialogs dialogs;
    SetDialogs(&dialogs);
    for (int round = 0; round < Rounds; ++round) {
        sim.clearLog();
        QElapsedTimer clock;
        clock.start();
        transfer();
        times.push_back(Ms(clock));
        sim.waitForExchanges(1);
        const QList<QByteArray> requests = sim.requests();
        const QList<QByteArray> responses = sim.responses();
        m.exchanges = int(responses.size());
        m.bytes = 0;
        for (const QByteArray& r : requests) m.bytes += r.size();
        for (const QByteArray& r : responses) m.bytes += r.size();
    }
    m.questions = dialogs.questions;
    SetDialogs(nullptr);
    m.ms = Median(times);
    return m;
}

void Report(const char* what, const Measured& m) {
    const double line = double(m.bytes) * 10.0 * 1000.0 / Baud;
    std::printf(
        "    %-9s %3d exchanges, %5lld bytes: %7.1f ms; line's own time %6.1f ms; "
        "overhead %+6.1f %% (%+.2f ms per exchange)%s\n",
        what, m.exchanges, static_cast<long long>(m.bytes), m.ms, line, (m.ms / line - 1.0) * 100.0,
        (m.ms - line) / std::max(1, m.exchanges), m.questions ? "  [ITEMS FAILED]" : "");
}

void Transfers(SimProcess& sim, const char* linkName) {
    static DeviceConfiguration config = FullConfiguration();
    std::printf("  %s:\n", linkName);
    Report("upload", Measure(sim, [] { UploadConfiguration(config); }));
    Report("download", Measure(sim, [] {
               DeviceConfiguration into = config;
               DownloadConfiguration(into);
           }));
}

// One parameter read on the program's link, phase by phase.
void Phases(const QString& path) {
    constexpr int N = 50;
    QByteArray body(4 + DeviceDataSize, '\0');
    body[0] = char(ModeRead);
    body[1] = 2;
    body[2] = 1;
    body[3] = 1;
    const QByteArray request = BuildRequest(0, CmdParameter, body);
    SerialLink& link = ActiveLink();
    std::vector<double> open, configure, exchange, close, whole;
    QElapsedTimer clock, all;
    for (int i = 0; i < N; ++i) {
        all.start();
        clock.start();
        if (!link.open(path)) return;
        open.push_back(Ms(clock));
        clock.start();
        link.configure(Baud);
        configure.push_back(Ms(clock));
        clock.start();
        link.write(request);
        link.read(ParameterResponseLength, 250, 2500);
        exchange.push_back(Ms(clock));
        clock.start();
        link.close();
        close.push_back(Ms(clock));
        whole.push_back(Ms(all));
    }
    std::printf(
        "  one exchange on the program's link (medians of %d): %.3f ms = open %.3f + "
        "configure %.3f + write/read %.3f + close %.3f; line %.3f ms\n",
        N, Median(whole), Median(open), Median(configure), Median(exchange), Median(close),
        (ParameterRequestLength + ParameterResponseLength) * 10000.0 / Baud);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    {
        SimProcess sim(SimArguments(true));
        if (!SimStarted(sim)) return 1;
        UsePort(sim.portPath());
        std::printf("paced at %d bit/s, median of %d transfers:\n", Baud, Rounds);
        Transfers(sim, "program's link");
        Phases(sim.portPath());
    }
    SimProcess sim(SimArguments(false));
    if (!SimStarted(sim)) return 1;
    UsePort(sim.portPath());
    std::printf("unpaced (the program's own cost), median of %d transfers:\n", Rounds);
    Transfers(sim, "program's link");
    return 0;
}
