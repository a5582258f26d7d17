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

    // The device's configuration read into a file, for tests that change it.
    bool readInto(SimProcess& sim, const QString& file, DeviceConfiguration& config) {
        if (RunCli(Args({"config", "read"}) + QStringList{file} + PortArguments(sim.portPath()))
                .exitCode != 0)
            return false;
        return LoadConfigurationFile(config, file) == ConfigurationFileResult::Ok;
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

    // An item that could not be read is listed as unknown, in the lines and in
    // JSON; the file that matches the device everywhere else is not "the same".
    void diffNamesWhatCouldNotBeRead() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QString file = path("unread.cfg");
        DeviceConfiguration config;
        QVERIFY(readInto(sim, file, config));
        QVERIFY(sim.command(QStringLiteral("fault error 52 cmd=112 group=2 index=5 count=1")));

        CliRun run = RunCli(Args({"config", "diff", "--keep-going"}) + QStringList{file} +
                            PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts),
                 QStringList{U("услуга 5, строка 1\tне прочитано\t")});
        QVERIFY2(!run.err.contains(U("совпадает")), qPrintable(run.err));
        QVERIFY(run.err.contains(
            U("Не прочитаны из АС, их значения в АС неизвестны: услуга 5, строка 1.")));

        QVERIFY(sim.command(QStringLiteral("fault error 52 cmd=112 group=2 index=5 count=1")));
        run = RunCli(Args({"config", "diff", "--keep-going", "--json"}) + QStringList{file} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 1);
        const QJsonObject document = run.json();
        QCOMPARE(document.value(QStringLiteral("unknown")).toInt(), 1);
        const QJsonArray differences = document.value(QStringLiteral("differences")).toArray();
        QCOMPARE(differences.size(), 1);
        const QJsonObject item = differences[0].toObject();
        QVERIFY(item.value(QStringLiteral("device")).isNull());
        QCOMPARE(item.value(QStringLiteral("deviceState")).toString(), QStringLiteral("unknown"));
    }

    // Small letters and Ё are said before the write, and a second run finds
    // nothing more to write: the device holds what the first one sent.
    void writeChangedSettlesAfterOneWrite() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QString file = path("letters.cfg");
        DeviceConfiguration config;
        QVERIFY(readInto(sim, file, config));
        SetStored(config.services[0].lines[0], "0Ёлка");
        QCOMPARE(SaveConfigurationFile(config, file), ConfigurationFileResult::Ok);

        CliRun run = RunCli(Args({"config", "write", "--changed"}) + QStringList{file} +
                            PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        const QString warning =
            U("Будут записаны в АС не так, как в программе: услуга 1, "
              "строка 1 (АС не печатает символы «Ё», «л», «к», «а»).");
        QVERIFY2(run.err.contains(warning), qPrintable(run.err));
        QVERIFY(run.err.indexOf(warning) < run.err.indexOf(U("Записано удачно...")));

        sim.clearLog();
        run = RunCli(Args({"config", "write", "--changed"}) + QStringList{file} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(U("Конфигурация совпадает с АС...")), qPrintable(run.err));
        QVERIFY(sim.waitForExchanges(ComparisonReads));
        QVERIFY(!sim.waitForExchanges(ComparisonReads + 1, 300));
    }

    // The device's access flags, just read, decide what is passed over as
    // locked: not the flags the file was saved with.
    void writeChangedFollowsTheDevicesAccess() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QString file = path("access.cfg");
        DeviceConfiguration config;
        QVERIFY(readInto(sim, file, config));
        SetStored(config.services[2].lines[0], "0ЛОКОН");
        SetStored(config.services[3].lines[0], "0ПЛАТОК");
        config.services[3].access = 0;  // open in the device
        QCOMPARE(SaveConfigurationFile(config, file), ConfigurationFileResult::Ok);
        QVERIFY(sim.command(QStringLiteral("access 2 3 0")));  // locked in the device
        sim.clearLog();

        const CliRun run = RunCli(Args({"config", "write", "--changed"}) + QStringList{file} +
                                  PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(
                     U("Не будут записаны в АС: услуга 3, строка 1 (изменение запрещено в АС).")),
                 qPrintable(run.err));
        QVERIFY(sim.waitForExchanges(ComparisonReads + 1));
        QVERIFY(!sim.waitForExchanges(ComparisonReads + 2, 300));
        QCOMPARE(sim.requests().mid(ComparisonReads),
                 QList<QByteArray>{ParameterRequest(ModeWrite, 2, 4, 1, DeviceLine("0ПЛАТОК"))});
    }
};

QTEST_MAIN(TestCliConfigDiff)
#include "tst_configdiff.moc"
