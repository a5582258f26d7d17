// zelvo-cli against zelvo-sim behind Debian's ser2net, through both kinds of
// network port: the state query, a configuration read and a goods write of
// every record, checked against the simulator's own log and read back through
// the other kind; the speed set over Telnet is the one the simulator's
// terminal runs at.
#include <QTemporaryDir>
#include <QtTest>

#include "CliTestSupport.h"
#include "support/CliRun.h"
#include "support/UnixSer2Net.h"

namespace {

QStringList Args(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* word : words) list << QString::fromUtf8(word);
    return list;
}

QStringList Port(const QString& name, int speed = 115200) {
    return {QStringLiteral("--port"),   name,
            QStringLiteral("--speed"),  QString::number(speed),
            QStringLiteral("--number"), QStringLiteral("7")};
}

}  // namespace

class TestCliNetwork : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString goodsFile_;

    QString file(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private slots:
    void initTestCase() {
        goodsFile_ = file("goods.base");
        WriteFullGoodsFile(goodsFile_);
    }

    void stateAndConfigurationThroughBothKinds() {
        SimProcess sim({QStringLiteral("--log"), QStringLiteral("--factory"), QStringLiteral("7")});
        QVERIFY(sim.isReady());
        // The terminal's own configuration, read before the server shares it.
        const CliRun direct = RunCli(Args({"config", "read"}) + QStringList{file("direct.cfg")} +
                                     Port(sim.portPath()));
        QVERIFY2(direct.exitCode == 0, qPrintable(direct.err));
        Ser2NetProcess server(sim.portPath());
        QVERIFY2(server.isReady(), qPrintable(server.errorString()));
        for (const QString& name : {server.tcpName(), server.rfc2217Name()}) {
            const CliRun state = RunCli(Args({"state", "--json"}) + Port(name));
            QVERIFY2(state.exitCode == 0, qPrintable(name + QLatin1Char(' ') + state.err));
            const QJsonObject answer = state.json().value(QStringLiteral("state")).toObject();
            QCOMPARE(answer.value(QStringLiteral("factoryNumber")).toInt(), 7);
        }
        for (const QString& name : {server.tcpName(), server.rfc2217Name()}) {
            const QString path =
                file(name.startsWith(QLatin1String("tcp")) ? "tcp.cfg" : "telnet.cfg");
            const CliRun read = RunCli(Args({"config", "read"}) + QStringList{path} + Port(name));
            QVERIFY2(read.exitCode == 0, qPrintable(name + QLatin1Char(' ') + read.err));
            // The same file through either kind as straight from the terminal.
            QCOMPARE(FileBytes(path), FileBytes(file("direct.cfg")));
        }
    }

    // Every record once through each kind, read back through the other: a
    // byte 0xFF that Telnet did not escape, or an escape the raw port passed
    // on, would corrupt a record or its checksum.
    void goodsWriteOfEveryRecordThroughBothKinds() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        Ser2NetProcess server(sim.portPath());
        QVERIFY2(server.isReady(), qPrintable(server.errorString()));
        const QStringList names{server.tcpName(), server.rfc2217Name()};
        for (int i = 0; i < 2; ++i) {
            sim.clearLog();
            const CliRun write = RunCli(Args({"goods", "write"}) + QStringList{goodsFile_} +
                                        Port(names[i]).mid(0, 4));
            QVERIFY2(write.exitCode == 0, qPrintable(names[i] + QLatin1Char(' ') + write.err));
            QVERIFY(sim.waitForExchanges(GoodsRecordCount));
            // The case the escaping is for did occur.
            const QList<QByteArray> requests = sim.requests();
            QVERIFY(std::any_of(requests.cbegin(), requests.cend(),
                                [](const QByteArray& r) { return r.contains(char(0xFF)); }));
            const QString back = file(i == 0 ? "back-telnet.base" : "back-tcp.base");
            const CliRun read =
                RunCli(Args({"goods", "read"}) + QStringList{back} + Port(names[1 - i]).mid(0, 4));
            QVERIFY2(read.exitCode == 0, qPrintable(names[1 - i] + QLatin1Char(' ') + read.err));
            QCOMPARE(FileBytes(back), FileBytes(goodsFile_));
        }
    }

    // The simulator answers only at 57600 bit/s: the Telnet port reaches it
    // at that speed and not at another; the raw port, which the server keeps
    // at 115200, not at all.
    void telnetSetsTheTerminalsSpeed() {
        SimProcess sim({QStringLiteral("--listen"), QStringLiteral("57600")});
        QVERIFY(sim.isReady());
        Ser2NetProcess server(sim.portPath());
        QVERIFY2(server.isReady(), qPrintable(server.errorString()));
        const auto state = [&](const QString& name, int speed) {
            return RunCli(Args({"state", "--total-timeout", "400"}) + Port(name, speed).mid(0, 4));
        };
        const CliRun right = state(server.rfc2217Name(), 57600);
        QVERIFY2(right.exitCode == 0, qPrintable(right.err));
        QCOMPARE(state(server.rfc2217Name(), 19200).exitCode, 1);
        QCOMPARE(state(server.tcpName(), 57600).exitCode, 1);
        QCOMPARE(state(server.rfc2217Name(), 57600).exitCode, 0);
    }

    // The search asks a network port through its own kind of link: over Telnet
    // it finds the speed the simulator listens at.
    void searchFindsTheSpeedThroughTelnet() {
        SimProcess sim({QStringLiteral("--listen"), QStringLiteral("57600"),
                        QStringLiteral("--factory"), QStringLiteral("7")});
        QVERIFY(sim.isReady());
        Ser2NetProcess server(sim.portPath());
        QVERIFY2(server.isReady(), qPrintable(server.errorString()));
        const CliRun run = RunCli(Args({"find", "--number", "7", "--json", "--port"}) +
                                  QStringList{server.rfc2217Name()});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.json().value(QStringLiteral("port")).toString(), server.rfc2217Name());
        QCOMPARE(run.json().value(QStringLiteral("speed")).toInt(), 57600);
    }

    // Each reason the connection does not come up, under the port-open error.
    void connectionFailuresSayWhy() {
        const int closed = FreeLoopbackPort();
        const auto reason = [](const QString& name) {
            const CliRun run =
                RunCli(Args({"state", "--total-timeout", "500", "--port"}) + QStringList{name});
            return run.exitCode == 1 ? run.err : QStringLiteral("exit %1").arg(run.exitCode);
        };
        QVERIFY(
            reason(QStringLiteral("tcp://127.0.0.1:%1").arg(closed))
                .contains(QStringLiteral("Сервер 127.0.0.1:%1 отказал в соединении.").arg(closed)));
        QVERIFY(reason(QStringLiteral("rfc2217://name.invalid:%1").arg(closed))
                    .contains(QStringLiteral("Сервер name.invalid не найден")));
        // A malformed address is wrong usage: nothing is tried.
        const CliRun malformed = RunCli(Args({"state", "--port", "tcp://127.0.0.1"}));
        QCOMPARE(malformed.exitCode, 2);
        QVERIFY(malformed.err.contains(QStringLiteral("Неверный адрес порта tcp://127.0.0.1")));

        // A server that accepts but never speaks Telnet: the negotiation ends
        // with the total time-out as a connection that never came up.
        SimProcess sim;
        QVERIFY(sim.isReady());
        Ser2NetProcess server(sim.portPath());
        QVERIFY2(server.isReady(), qPrintable(server.errorString()));
        const QString raw = QStringLiteral("rfc2217://127.0.0.1:%1").arg(server.rawPort());
        QVERIFY(reason(raw).contains(
            QStringLiteral("Сервер 127.0.0.1:%1 не отвечает").arg(server.rawPort())));
    }
};

QTEST_GUILESS_MAIN(TestCliNetwork)
#include "tst_network.moc"
