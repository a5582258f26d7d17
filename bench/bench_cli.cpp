// zelvo-cli goods write of all 1001 records, as a script runs it: the whole
// process from start to exit against zelvo-sim, paced at 115200 bit/s and set
// against the line's own time for the same bytes, and unpaced for the
// program's own cost (start-up, file load, exchanges).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "device/DeviceCharset.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "support/SimProcess.h"

namespace {

using namespace bench;

void WriteGoodsFile(const QString& path) {
    GoodsTable table;
    QVector<GoodsRecord> rows(GoodsRecordCount);
    for (int i = 0; i < GoodsRecordCount; ++i) {
        rows[i].code = QByteArray::number(i);
        rows[i].name = ToCp1251(QStringLiteral("ТОВАР ДЛИНОЙ 20 СИМВ%1").arg(1000 + i));
        rows[i].font = NarrowFontText();
        rows[i].barcode = QByteArray::number(4600000000000LL + i);
        rows[i].section = QByteArray::number(i % 256);
        rows[i].price = formatPrice(2147483647 - i);
    }
    table.setRecords(1, rows);
    SaveGoodsFile(table, path);
}

void Measure(const QString& file, bool paced, int rounds) {
    SimProcess sim(SimArguments(paced));
    if (!SimStarted(sim)) return;
    std::vector<double> times;
    double line = 0;
    long long exchanges = 0;
    bool failed = false;
    for (int round = 0; round < rounds; ++round) {
        sim.clearLog();
        QProcess cli;
        QElapsedTimer clock;
        clock.start();
        cli.start(QStringLiteral(ZELVO_CLI_PATH),
                  {QStringLiteral("goods"), QStringLiteral("write"), file, QStringLiteral("--port"),
                   sim.portPath(), QStringLiteral("--speed"), QString::number(Baud)});
        cli.waitForFinished(120000);
        times.push_back(Ms(clock));
        failed = failed || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0;
        sim.waitForExchanges(GoodsRecordCount);
        qint64 bytes = 0;
        for (const QByteArray& r : sim.requests()) bytes += r.size();
        for (const QByteArray& r : sim.responses()) bytes += r.size();
        exchanges = sim.responses().size();
        line = double(bytes) * 10.0 * 1000.0 / Baud;
    }
    const double ms = Median(times);
    std::printf("%s: zelvo-cli goods write, %d records, %lld exchanges, median of %d: %8.1f ms",
                paced ? "paced at 115200 bit/s" : "unpaced", GoodsRecordCount, exchanges, rounds,
                ms);
    if (paced)
        std::printf(", line's own time %8.1f ms, overhead %+5.1f %%", line,
                    (ms / line - 1.0) * 100.0);
    else
        std::printf(", %.3f ms per record", ms / GoodsRecordCount);
    std::printf("%s\n", failed ? "  [FAILED]" : "");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("goods.base"));
    WriteGoodsFile(file);
    Measure(file, false, 5);
    Measure(file, true, 3);
    return 0;
}
