// zelvo-cli goods write of all 1001 records with --devices to 8 simulators
// paced at 115200 bit/s, against the same write to one of them alone, in the
// same run: each device has its own process and link, so the fleet should
// take hardly longer than one device.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "device/DeviceCharset.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "support/SimProcess.h"

namespace {

using namespace bench;

constexpr int FleetSize = 8;

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

// The whole zelvo-cli run in ms; -1 when it failed.
double Run(const QStringList& arguments) {
    QProcess cli;
    QElapsedTimer clock;
    clock.start();
    cli.start(QStringLiteral(ZELVO_CLI_PATH), arguments);
    cli.waitForFinished(300000);
    const double ms = Ms(clock);
    if (cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0) {
        std::fprintf(stderr, "%s", cli.readAllStandardError().constData());
        return -1;
    }
    return ms;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString goods = dir.filePath(QStringLiteral("goods.base"));
    WriteGoodsFile(goods);
    std::vector<std::unique_ptr<SimProcess>> sims;
    QByteArray list = "PORT;SPEED;NUMBER\n";
    for (int i = 0; i < FleetSize; ++i) {
        sims.push_back(std::make_unique<SimProcess>(SimArguments(true)));
        if (!SimStarted(*sims.back())) return 1;
        list += (sims.back()->portPath() + QStringLiteral(";%1;0\n").arg(Baud)).toUtf8();
    }
    const QString devices = dir.filePath(QStringLiteral("devices.txt"));
    QFile file(devices);
    if (!file.open(QIODevice::WriteOnly) || file.write(list) != list.size()) return 1;
    file.close();

    const QStringList write{QStringLiteral("goods"), QStringLiteral("write"), goods};
    std::vector<double> one, fleet;
    for (int round = 0; round < 3; ++round) {
        one.push_back(Run(write + QStringList{QStringLiteral("--port"), sims[0]->portPath(),
                                              QStringLiteral("--speed"), QString::number(Baud)}));
        fleet.push_back(Run(write + QStringList{QStringLiteral("--devices"), devices}));
    }
    const double a = Median(one), b = Median(fleet);
    const bool failed = *std::min_element(one.begin(), one.end()) < 0 ||
                        *std::min_element(fleet.begin(), fleet.end()) < 0;
    std::printf(
        "paced at 115200 bit/s, goods write of %d records, median of 3: one device "
        "%8.1f ms, %d devices with --devices %8.1f ms, ratio %.3f%s\n",
        GoodsRecordCount, a, FleetSize, b, b / a, failed ? "  [FAILED]" : "");
    return failed ? 1 : 0;
}
