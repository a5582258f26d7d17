// zelvo-cli --devices: one command run on several zelvo-sim devices at once,
// a silent one among them, the report, the per-device files, a list refused
// before anything is sent, and Ctrl+C reaching every device.
#ifndef _WIN32
#include <signal.h>
#endif

#include <QDir>
#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <vector>

#include "CliTestSupport.h"
#include "support/CliRun.h"

namespace {

using Sims = std::vector<std::unique_ptr<SimProcess>>;

// One simulator a factory number; `extra` goes to every one.
Sims StartSims(const QStringList& numbers, const QStringList& extra = {}) {
    Sims sims;
    for (const QString& number : numbers)
        sims.push_back(std::make_unique<SimProcess>(
            QStringList{QStringLiteral("--log"), QStringLiteral("--factory"), number} + extra));
    return sims;
}

QString WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(text);
    return path;
}

// A devices file for `sims` with their numbers, under a header and a comment.
QString DevicesFile(const QString& path, const Sims& sims, const QStringList& numbers) {
    QByteArray text = "Порт;Скорость;Номер\n# the test's devices\n\n";
    for (size_t i = 0; i < sims.size(); ++i)
        text += (sims[i]->portPath() + QStringLiteral(";115200;") + numbers[int(i)] +
                 QStringLiteral("  # device %1\n").arg(i))
                    .toUtf8();
    return WriteText(path, text);
}

QJsonObject DeviceResult(const QJsonObject& json, const QString& number) {
    for (const QJsonValue& value : json.value(QStringLiteral("devices")).toArray())
        if (value.toObject().value(QStringLiteral("number")).toString() == number)
            return value.toObject();
    return {};
}

}  // namespace

class TestCliFleet : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString goodsFile_;

private slots:
    void initTestCase() {
        goodsFile_ = dir_.filePath(QStringLiteral("goods.base"));
        WriteFullGoodsFile(goodsFile_);
    }

    // A silent device is told as such and never stops the others.
    void goodsWriteGoesOnPastASilentDevice() {
        const QStringList numbers{QStringLiteral("100231"), QStringLiteral("100232"),
                                  QStringLiteral("100233")};
        Sims sims = StartSims(numbers);
        for (const auto& sim : sims) QVERIFY(sim->isReady());
        QVERIFY(sims[1]->command(QStringLiteral("fault silent")));
        const QString devices =
            DevicesFile(dir_.filePath(QStringLiteral("three.txt")), sims, numbers);
        const CliRun run = RunCli({QStringLiteral("goods"), QStringLiteral("write"), goodsFile_,
                                   QStringLiteral("--devices"), devices,
                                   QStringLiteral("--total-timeout"), QStringLiteral("300")});
        QCOMPARE(run.exitCode, 1);
        const QString out = QString::fromUtf8(run.out);
        QVERIFY2(out.contains(sims[0]->portPath() + QStringLiteral(" 100231: записано, ")),
                 qPrintable(out));
        QVERIFY2(out.contains(sims[1]->portPath() + QStringLiteral(" 100232: не отвечает, ")),
                 qPrintable(out));
        QVERIFY(out.contains(sims[2]->portPath() + QStringLiteral(" 100233: записано, ")));
        QVERIFY(out.contains(QStringLiteral("АС: 3; выполнено: 2; не выполнено: 1.")));
        for (const size_t written : {size_t(0), size_t(2)}) {
            QVERIFY(sims[written]->waitForExchanges(GoodsRecordCount));
            QVERIFY(!sims[written]->waitForExchanges(GoodsRecordCount + 1, 300));
        }
    }

    // One document: every device's own, with where it is and how long it took.
    void jsonCarriesEveryDevicesDocument() {
        const QStringList numbers{QStringLiteral("7"), QStringLiteral("8")};
        Sims sims = StartSims(numbers);
        for (const auto& sim : sims) QVERIFY(sim->isReady());
        const QString devices =
            DevicesFile(dir_.filePath(QStringLiteral("two.txt")), sims, numbers);
        const CliRun run = RunCli({QStringLiteral("state"), QStringLiteral("--devices"), devices,
                                   QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject json = run.json();
        QVERIFY2(!json.isEmpty(), run.out.constData());
        QCOMPARE(json.value(QStringLiteral("ok")).toBool(), true);
        QCOMPARE(json.value(QStringLiteral("devices")).toArray().size(), 2);
        for (int i = 0; i < 2; ++i) {
            const QJsonObject device = DeviceResult(json, numbers[i]);
            QCOMPARE(device.value(QStringLiteral("port")).toString(), sims[size_t(i)]->portPath());
            QCOMPARE(device.value(QStringLiteral("command")).toString(), QStringLiteral("state"));
            QCOMPARE(device.value(QStringLiteral("exitCode")).toInt(), 0);
            QVERIFY(device.value(QStringLiteral("seconds")).toDouble() > 0);
            QVERIFY(device.contains(QStringLiteral("messages")));
        }
        // The lines go to standard error, so standard output is the document alone.
        QVERIFY(run.err.contains(QStringLiteral(" 7: выполнено, ")));
    }

    // Each device's file and log by its factory number; FILE gives the format.
    void outAndLogAreNamedByNumber() {
        const QStringList numbers{QStringLiteral("501"), QStringLiteral("502")};
        Sims sims = StartSims(numbers);
        for (const auto& sim : sims) QVERIFY(sim->isReady());
        const QString devices =
            DevicesFile(dir_.filePath(QStringLiteral("out.txt")), sims, numbers);
        const QString out = dir_.filePath(QStringLiteral("out"));
        const QString logs = dir_.filePath(QStringLiteral("logs"));
        QVERIFY(QDir().mkpath(out) && QDir().mkpath(logs));
        const CliRun read = RunCli({QStringLiteral("goods"), QStringLiteral("read"),
                                    QStringLiteral("any.csv"), QStringLiteral("--devices"), devices,
                                    QStringLiteral("--out"), out, QStringLiteral("--log"), logs});
        QCOMPARE(read.exitCode, 0);
        QCOMPARE(QDir(out).entryList(QDir::Files),
                 (QStringList{QStringLiteral("501.csv"), QStringLiteral("502.csv")}));
        QCOMPARE(QDir(logs).entryList(QDir::Files),
                 (QStringList{QStringLiteral("501.log"), QStringLiteral("502.log")}));
        const CliRun config =
            RunCli({QStringLiteral("config"), QStringLiteral("read"), QStringLiteral("--devices"),
                    devices, QStringLiteral("--out"), out});
        QCOMPARE(config.exitCode, 0);
        QVERIFY(QFileInfo::exists(out + QStringLiteral("/501.cfg")));
        QVERIFY(QFileInfo::exists(out + QStringLiteral("/502.cfg")));
    }

    // Nothing is sent when the list or the call is wrong, whatever the file holds.
    void wrongListsSendNothing_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QStringList>("expected");
        const QByteArray good = "PORT;115200;1\n";
        QTest::newRow("bad lines")
            << QByteArray(
                   "PORT;115200;1\nCOM9;1200;2\nCOM10;9600\n"
                   "COM11;9600;abc\n;9600;3\nPORT;9600;4\n")
            << QStringList{}
            << QStringList{QStringLiteral("строка 2: скорость «1200»"),
                           QStringLiteral("строка 3: нужно три поля"), QStringLiteral("строка 4: "),
                           QStringLiteral("строка 5: не указан порт"),
                           QStringLiteral("строка 6: порт ")};
        QTest::newRow("only comments") << QByteArray("# nothing\n\n") << QStringList{}
                                       << QStringList{QStringLiteral("нет ни одной АС")};
        QTest::newRow("binary") << QByteArray("\x00\x01\xff;\n", 5) << QStringList{}
                                << QStringList{QStringLiteral("не текстовый")};
        QTest::newRow("huge") << QByteArray(300 * 1024, ';') << QStringList{}
                              << QStringList{QStringLiteral("файл больше")};
        QTest::newRow("with --port")
            << good << QStringList{QStringLiteral("--port"), QStringLiteral("COM1")}
            << QStringList{QStringLiteral("--devices заменяет")};
        QTest::newRow("out without devices")
            << QByteArray() << QStringList{QStringLiteral("--out"), QStringLiteral(".")}
            << QStringList{QStringLiteral("--out")};
    }

    void wrongListsSendNothing() {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, extra);
        QFETCH(QStringList, expected);
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        text.replace("PORT", sim.portPath().toUtf8());
        const QString devices = WriteText(dir_.filePath(QStringLiteral("wrong.txt")), text);
        QStringList arguments{QStringLiteral("goods"), QStringLiteral("write"), goodsFile_};
        if (!text.isEmpty()) arguments << QStringLiteral("--devices") << devices;
        const CliRun run = RunCli(arguments + extra);
        QCOMPARE(run.exitCode, 2);
        for (const QString& part : expected) QVERIFY2(run.err.contains(part), qPrintable(run.err));
        QVERIFY(!sim.waitForExchanges(1, 300));
    }

    // A read into one file for many devices is refused, and so is a folder that is not there.
    void readsNeedAFolderOfTheirOwn() {
        const QString devices =
            WriteText(dir_.filePath(QStringLiteral("emu.txt")), "emulator;115200;1\n");
        const CliRun single =
            RunCli({QStringLiteral("image"), QStringLiteral("read"), QStringLiteral("x.zimg"),
                    QStringLiteral("--devices"), devices});
        QCOMPARE(single.exitCode, 2);
        QVERIFY(single.err.contains(QStringLiteral("--out ПАПКА")));
        const CliRun missing =
            RunCli({QStringLiteral("image"), QStringLiteral("read"), QStringLiteral("--devices"),
                    devices, QStringLiteral("--out"), dir_.filePath(QStringLiteral("nowhere"))});
        QCOMPARE(missing.exitCode, 3);
    }

    void ctrlCStopsEveryDevice() {
#ifndef Q_OS_UNIX
        QSKIP("a signal to another process is Unix's");
#else
        const QStringList numbers{QStringLiteral("11"), QStringLiteral("12")};
        Sims sims = StartSims(numbers, {QStringLiteral("--pace"), QStringLiteral("115200")});
        for (const auto& sim : sims) QVERIFY(sim->isReady());
        const QString devices =
            DevicesFile(dir_.filePath(QStringLiteral("stop.txt")), sims, numbers);
        QProcess cli;
        cli.start(QStringLiteral(ZELVO_CLI_PATH),
                  {QStringLiteral("goods"), QStringLiteral("write"), goodsFile_,
                   QStringLiteral("--devices"), devices, QStringLiteral("--json")});
        QVERIFY(cli.waitForStarted());
        for (const auto& sim : sims) QVERIFY(sim->waitForExchanges(50, 10000));
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 130);
        const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        QCOMPARE(json.value(QStringLiteral("interrupted")).toBool(), true);
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        for (int i = 0; i < 2; ++i) {
            const QJsonObject device = DeviceResult(json, numbers[i]);
            QCOMPARE(device.value(QStringLiteral("exitCode")).toInt(), 130);
            const int done = device.value(QStringLiteral("progress"))
                                 .toObject()
                                 .value(QStringLiteral("done"))
                                 .toInt();
            QVERIFY(done >= 50 && done < GoodsRecordCount);
            QVERIFY2(err.contains(QStringLiteral("%1: остановлено, выполнено: %2 из 1001")
                                      .arg(numbers[i])
                                      .arg(done)),
                     qPrintable(err));
            // Every exchange sent was whole and counted; none came after.
            QVERIFY(!sims[size_t(i)]->waitForExchanges(done + 1, 300));
            QCOMPARE(Exchanges(*sims[size_t(i)]), done);
        }
#endif
    }
};

QTEST_GUILESS_MAIN(TestCliFleet)
#include "tst_fleet.moc"
