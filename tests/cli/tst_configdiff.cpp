// config diff and config write --changed against zelvo-sim: a file that
// differs from the device in three items.
#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

#include "CliTestSupport.h"
#include "config/ConfigurationFile.h"
#include "config/DeviceConfiguration.h"
#include "emulator/Requests.h"
#include "support/CliRun.h"
#include "support/TestDevice.h"

namespace {

QStringList Args(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* word : words) list << QString::fromUtf8(word);
    return list;
}

// Every exchange of reading the device for a comparison: 97 parameters, 8 forms.
constexpr int ComparisonReads = 24 + 1 + 24 + 24 + 16 + 8;

}  // namespace

class TestCliConfigDiff : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

    // The device's configuration read into a file, then three items changed in
    // it. Operators 1 and 3 have passwords, without which nothing of theirs is written.
    QString threeItemsChanged(SimProcess& sim) {
        if (!sim.command(QStringLiteral("param 0 1 3 1111")) ||
            !sim.command(QStringLiteral("param 0 3 3 1234")))
            return {};
        const QString file = path("changed.cfg");
        const CliRun read =
            RunCli(Args({"config", "read"}) + QStringList{file} + PortArguments(sim.portPath()));
        if (read.exitCode != 0) return {};
        DeviceConfiguration config;
        if (LoadConfigurationFile(config, file) != ConfigurationFileResult::Ok) return {};
        SetStored(config.operators[2].name, "0ПЕТРОВ");
        SetPassword(config.operators[0], "4321");
        config.forms[1] = {1, 3, 2, 1};
        if (SaveConfigurationFile(config, file) != ConfigurationFileResult::Ok) return {};
        return file;
    }

private slots:
    void diffListsExactlyTheChangedItems() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QString file = threeItemsChanged(sim);
        QVERIFY(!file.isEmpty());

        CliRun run =
            RunCli(Args({"config", "diff"}) + QStringList{file} + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        const QStringList lines =
            QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines,
                 (QStringList{U("оператор 1, пароль\t**\t**"), U("оператор 3, Ф.И.О.\t\tПЕТРОВ"),
                              U("форма 2\tвариант нет, реквизит нет, вид нет\t"
                                "вариант 3, реквизит 2, вид С")}));
        // The password is never shown, not even in the JSON document.
        run = RunCli(Args({"config", "diff", "--json"}) + QStringList{file} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        const QJsonArray differences = run.json().value(QStringLiteral("differences")).toArray();
        QCOMPARE(differences.size(), 3);
        QCOMPARE(differences[1].toObject().value(QStringLiteral("item")).toString(),
                 U("оператор 3, Ф.И.О."));
        QCOMPARE(differences[1].toObject().value(QStringLiteral("file")).toString(), U("ПЕТРОВ"));
        QVERIFY(!run.out.contains("1111") && !run.out.contains("4321"));
        // Comparing writes nothing.
        for (const QByteArray& request : sim.requests())
            QVERIFY(FrameByte(request, 8) != ModeWrite);
    }

    void writeChangedSendsOnlyTheirFrames() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QString file = threeItemsChanged(sim);
        QVERIFY(!file.isEmpty());
        sim.clearLog();

        CliRun run = RunCli(Args({"config", "write", "--changed"}) + QStringList{file} +
                            PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains(U("Записано удачно...")));
        QVERIFY(sim.waitForExchanges(ComparisonReads + 3));
        QVERIFY(!sim.waitForExchanges(ComparisonReads + 4, 300));
        const QList<QByteArray> written = sim.requests().mid(ComparisonReads);
        QCOMPARE(written,
                 (QList<QByteArray>{ParameterRequest(ModeWrite, 0, 1, 3, "4321"),
                                    ParameterRequest(ModeWrite, 0, 3, 2, DeviceLine("0ПЕТРОВ")),
                                    FormRequest(ModeWrite, 2, 3, 2, 1)}));

        // Now nothing differs: said so, and nothing more is written.
        sim.clearLog();
        run = RunCli(Args({"config", "write", "--changed", "--json"}) + QStringList{file} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains(U("Конфигурация совпадает с АС...")));
        QVERIFY(run.json().value(QStringLiteral("differences")).toArray().isEmpty());
        QVERIFY(sim.waitForExchanges(ComparisonReads));
        QVERIFY(!sim.waitForExchanges(ComparisonReads + 1, 300));
    }

    // An operator without a password is not written: the comparison names it,
    // and with nothing else to write nothing is reported as written.
    void writeChangedNamesWhatItPassesOver() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QString file = path("passwordless.cfg");
        QCOMPARE(
            RunCli(Args({"config", "read"}) + QStringList{file} + PortArguments(sim.portPath()))
                .exitCode,
            0);
        DeviceConfiguration config;
        QCOMPARE(LoadConfigurationFile(config, file), ConfigurationFileResult::Ok);
        SetStored(config.operators[1].name, "0СИДОРОВ");
        QCOMPARE(SaveConfigurationFile(config, file), ConfigurationFileResult::Ok);
        sim.clearLog();

        const CliRun run = RunCli(Args({"config", "write", "--changed", "--json"}) +
                                  QStringList{file} + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(U("Не будут записаны в АС: оператор 2, Ф.И.О. (пароль оператора "
                                    "пуст или равен нулю).")),
                 qPrintable(run.err));
        QVERIFY(!run.err.contains(U("Записано удачно...")));
        const QJsonArray differences = run.json().value(QStringLiteral("differences")).toArray();
        QCOMPARE(differences.size(), 1);
        QCOMPARE(differences[0].toObject().value(QStringLiteral("notWritten")).toString(),
                 U("пароль оператора пуст или равен нулю"));
        QVERIFY(sim.waitForExchanges(ComparisonReads));
        QVERIFY(!sim.waitForExchanges(ComparisonReads + 1, 300));
    }
};

QTEST_MAIN(TestCliConfigDiff)
#include "tst_configdiff.moc"
