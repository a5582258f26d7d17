// zelvo-cli as a script runs it, against zelvo-sim on a pseudo-terminal:
// every command, its JSON document, its exit code, and wrong usage that sends
// nothing.
#include <QDate>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "CliTestSupport.h"
#include "config/ConfigurationFile.h"
#include "support/CliRun.h"

namespace {

QStringList Args(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* word : words) list << QString::fromUtf8(word);
    return list;
}

}  // namespace

class TestCliCommands : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }

private slots:
    void wrongUsageSendsNothingAndExitsTwo_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("told");
        QTest::newRow("no command") << QStringList() << QStringLiteral("Не указана команда.");
        QTest::newRow("unknown command")
            << Args({"reboot"}) << QStringLiteral("Неизвестная команда «reboot».");
        QTest::newRow("half a command")
            << Args({"goods"}) << QStringLiteral("read, write, write-changed, clear");
        QTest::newRow("option of another command")
            << Args({"state", "--yes"}) << QStringLiteral("--yes не относится к команде «state»");
        QTest::newRow("missing argument")
            << Args({"config", "read"}) << QStringLiteral("config read FILE.cfg");
        QTest::newRow("unknown option") << Args({"state", "--colour"}) << QStringLiteral("colour");
        QTest::newRow("speed not offered")
            << Args({"state", "--speed", "1200"}) << QStringLiteral("Скорость «1200»");
        QTest::newRow("factory number not a number")
            << Args({"state", "--number", "12a"}) << QStringLiteral("«12a» не является целым");
        QTest::newRow("negative time-out")
            << Args({"state", "--total-timeout", "-1"}) << QStringLiteral("--total-timeout");
        QTest::newRow("time-out past the bound") << Args({"state", "--total-timeout", "2147483647"})
                                                 << QStringLiteral("миллисекунд от 0 до 60000");
        QTest::newRow("form number") << Args({"form", "write", "9", "1", "0", "0"})
                                     << QStringLiteral("номер формы от 1 до 8");
        QTest::newRow("variant without requisite")
            << Args({"form", "write", "1", "2", "3", "0"})
            << QStringLiteral("Вариант 2 не имеет дополнительного реквизита");
        QTest::newRow("kind К not offered") << Args({"form", "write", "1", "1", "0", "К"})
                                            << QStringLiteral("Вариант 1 не имеет вида К");
        QTest::newRow("goods file extension")
            << Args({"goods", "write", "goods.txt"}) << QStringLiteral(".base или .csv");
        QTest::newRow("ИНН date out of range")
            << Args({"inn", "--inn", "1", "--password", "1", "--date", "1999-12-31", "--group", "1",
                     "--yes"})
            << QStringLiteral("от 2000-01-01 до 2255-12-31");
        QTest::newRow("ИНН date not a date")
            << Args({"inn", "--inn", "1", "--password", "1", "--date", "2024-02-30", "--group", "1",
                     "--yes"})
            << QStringLiteral("--date");
        QTest::newRow("ИНН group") << Args({"inn", "--inn", "1", "--password", "1", "--date",
                                            "2024-01-01", "--group", "4", "--yes"})
                                   << QStringLiteral("группа 1, 2 или 3");
        QTest::newRow("ИНН with a sign")
            << Args({"inn", "--inn", "+1", "--password", "1", "--date", "2024-01-01", "--group",
                     "1", "--yes"})
            << QStringLiteral("Поле ИНН должно содержать только цифры");
        QTest::newRow("text encoding")
            << Args({"state", "--encoding", "koi8-r"})
            << QStringLiteral("Кодировка «koi8-r» не поддерживается; можно: utf-8, oem, ansi.");
    }
    void wrongUsageSendsNothingAndExitsTwo() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, told);
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
        // The connection first, so that the options under test come last and count.
        const CliRun run = RunCli(PortArguments(sim.portPath()) + arguments +
                                  QStringList{QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(told), qPrintable(run.err));
        // Also a usage error is one JSON document.
        QCOMPARE(run.json().value(QStringLiteral("exitCode")).toInt(), 2);
        QVERIFY(!sim.waitForExchanges(1, 300));
    }

    void helpAndVersion() {
        CliRun run = RunCli({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        for (const char* command :
             {"ports", "find", "state", "config read", "config write", "config diff", "forms read",
              "form write", "goods read", "goods write", "goods clear", "inn"})
            QVERIFY2(QString::fromUtf8(run.out).contains(QString::fromUtf8(command)), command);
        run = RunCli({QStringLiteral("goods"), QStringLiteral("clear"), QStringLiteral("--help")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QString::fromUtf8(run.out).contains(QStringLiteral("--yes")));
        QVERIFY(!QString::fromUtf8(run.out).contains(QStringLiteral("--inn")));
        run = RunCli({QStringLiteral("--version")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.out.startsWith("zelvo-cli "));

        // The search has no default port: without --port it asks them all.
        run = RunCli(Args({"find", "--help"}));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(!QString::fromUtf8(run.out).contains(QStringLiteral("COM1.")),
                 run.out.constData());
        // The help is wrapped to its width wherever the port list ends.
        QVERIFY(QString::fromUtf8(run.out).simplified().contains(
            QStringLiteral("Без --port опрашиваются все последовательные порты системы.")));
        // goods write says first that it blanks what the file does not hold.
        run = RunCli(Args({"goods", "write", "--help"}));
        const QStringList first = QString::fromUtf8(run.out).split(QLatin1Char('\n')).mid(0, 5);
        QVERIFY2(first.join(QLatin1Char(' ')).contains(QStringLiteral("стираются")),
                 run.out.constData());
        run = RunCli({QStringLiteral("--help")});
        const QString help = QString::fromUtf8(run.out);
        QVERIFY(help.contains(QStringLiteral("остальные стираются")));
        QVERIFY(help.contains(QStringLiteral("--encoding КОДИРОВКА")));
        // The example port is one this system's user knows.
#ifdef Q_OS_WIN
        QVERIFY2(help.contains(QStringLiteral("например, COM3")) &&
                     !help.contains(QStringLiteral("/dev/")),
                 run.out.constData());
#else
        QVERIFY(help.contains(QStringLiteral("(/dev/ttyUSB0)")));
#endif
    }

    // The window program answers --version and --help without a window (and
    // without a display).
    void windowProgramVersionAndHelp() {
        for (const char* option : {"--version", "--help"}) {
            QProcess zelvo;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.remove(QStringLiteral("DISPLAY"));
            environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            zelvo.setProcessEnvironment(environment);
            zelvo.start(QStringLiteral(ZELVO_APP_PATH), {QString::fromLatin1(option)});
            QVERIFY(zelvo.waitForFinished(10000));
            QCOMPARE(zelvo.exitCode(), 0);
            const QString out = QString::fromUtf8(zelvo.readAllStandardOutput());
            if (option[2] == 'v')
                QCOMPARE(out, QStringLiteral("zelvo %1\n").arg(QStringLiteral(ZELVO_VERSION)));
            else
                QVERIFY2(out.startsWith(QStringLiteral("Вызов: zelvo [ПАРАМЕТРЫ]")) &&
                             out.contains(QStringLiteral("--version")),
                         qPrintable(out));
        }
    }

    void portsListTheEmulator() {
        const CliRun run = RunCli({QStringLiteral("ports"), QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray ports = run.json().value(QStringLiteral("ports")).toArray();
        QVERIFY(!ports.isEmpty());
        QCOMPARE(ports.last().toObject().value(QStringLiteral("name")).toString(),
                 QStringLiteral("emulator"));
    }

    void findNamesPortAndSpeed() {
        SimProcess sim({QStringLiteral("--factory"), QStringLiteral("12"),
                        QStringLiteral("--listen"), QStringLiteral("9600")});
        QVERIFY(sim.isReady());
        const QStringList find = {QStringLiteral("find"), QStringLiteral("--port"),
                                  QStringLiteral("/nonexistent/tty"), QStringLiteral("--port"),
                                  sim.portPath()};
        CliRun run = RunCli(find + Args({"--number", "12", "--json"}));
        QCOMPARE(run.exitCode, 0);
        QJsonObject json = run.json();
        QCOMPARE(json.value(QStringLiteral("found")).toBool(), true);
        QCOMPARE(json.value(QStringLiteral("port")).toString(), sim.portPath());
        QCOMPARE(json.value(QStringLiteral("speed")).toInt(), 9600);
        QCOMPARE(json.value(QStringLiteral("skipped")).toArray().size(), 1);
        // Plain output: port and speed, for the script's next command.
        run = RunCli(find + Args({"--number", "12"}));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out.trimmed(), (sim.portPath() + QStringLiteral(" 9600")).toUtf8());

        // The device is there, but not with this factory number.
        run = RunCli(find + Args({"--number", "13", "--json"}));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.json().value(QStringLiteral("factoryNumberWrong")).toBool(), true);

        // Nothing answers.
        run = RunCli(Args({"find", "--port", "/nonexistent/tty", "--json"}));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.json().value(QStringLiteral("found")).toBool(), false);
        QVERIFY(run.err.contains(QStringLiteral("АС не найден")));
        QVERIFY(!run.err.contains(QStringLiteral("Опрошены порты")));  // none opened

        // A port opens but stays silent: the message names the ports asked.
        QVERIFY(sim.command(QStringLiteral("fault silent")));
        run = RunCli(find);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("\nОпрошены порты: %1.").arg(sim.portPath())),
                 qPrintable(run.err));
    }

    void stateGivesEveryFieldOfTheStatePage() {
        SimProcess sim({QStringLiteral("--factory"), QStringLiteral("4711"),
                        QStringLiteral("--group"), QStringLiteral("3")});
        QVERIFY(sim.isReady());
        CliRun run =
            RunCli(Args({"state", "--json", "--number", "4711"}) + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        const QJsonObject state = run.json().value(QStringLiteral("state")).toObject();
        for (const char* key :
             {"time", "date", "modeCode", "modeText", "subModeCode", "subModeText", "flashCode",
              "flashText", "batteryCode", "batteryText", "documentNumber", "documentState",
              "factoryNumber", "taxpayerNumber"})
            QVERIFY2(state.contains(QLatin1String(key)), key);
        // Numbers as numbers, the date as ISO 8601.
        QCOMPARE(state.value(QStringLiteral("factoryNumber")).toVariant(), QVariant(4711.0));
        QCOMPARE(state.value(QStringLiteral("currentGroup")).toInt(), 3);
        for (const char* key : {"modeCode", "subModeCode", "flashCode", "batteryCode",
                                "documentNumber", "factoryNumber", "taxpayerNumber"})
            QVERIFY2(state.value(QLatin1String(key)).isDouble(), key);
        QVERIFY2(QRegularExpression(QStringLiteral("^20\\d\\d-\\d\\d-\\d\\d$"))
                     .match(state.value(QStringLiteral("date")).toString())
                     .hasMatch(),
                 qPrintable(state.value(QStringLiteral("date")).toString()));
        QVERIFY(QDate::fromString(state.value(QStringLiteral("date")).toString(), Qt::ISODate)
                    .isValid());

        // Plain output: the state page's labels.
        run = RunCli(Args({"state", "--number", "4711"}) + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QString::fromUtf8(run.out).contains(QStringLiteral("Заводской номер АС : 4711")));

        // The wrong factory number: the device refuses, the window's message.
        run = RunCli(Args({"state", "--json", "--number", "1"}) + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(QStringLiteral("Не удалось прочитать параметр.")),
                 qPrintable(run.err));
        QCOMPARE(run.json().value(QStringLiteral("ok")).toBool(), false);
    }

    void exchangeLogOfTheRun() {
        SimProcess sim({QStringLiteral("--log"), QStringLiteral("--fault"),
                        QStringLiteral("error 52 cmd=116 index=2")});
        QVERIFY(sim.isReady());
        const QString log = path("run.log");
        CliRun run =
            RunCli(Args({"state", "--log"}) + QStringList{log} + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QString text = QString::fromUtf8(FileBytes(log));
        QVERIFY2(text.contains(QStringLiteral("Состояние")), qPrintable(text));

        // Also a run that failed leaves its log, with the refused record in it.
        const QString goods = path("log.base");
        WriteFullGoodsFile(goods);
        run = RunCli(Args({"goods", "write", "--log"}) + QStringList{log, goods} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 1);
        text = QString::fromUtf8(FileBytes(log));
        QVERIFY(text.contains(QStringLiteral("Товар")));
        QVERIFY2(text.contains(QStringLiteral("Запись используется")), qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("Состояние")));

        // A log that cannot be written is found out before anything is sent.
        QVERIFY(sim.waitForExchanges(1 + 3));
        sim.clearLog();
        run = RunCli(Args({"state", "--log"}) + QStringList{path("no/such/folder/run.log")} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 3);
        QVERIFY(run.err.contains(QStringLiteral("Журнал обмена: Не удалось создать файл...")));
        QVERIFY(!sim.waitForExchanges(1, 300));
    }

    // A port that did not open is told apart from a silent device, with its reason.
    void noDeviceOnThePort() {
        const CliRun run = RunCli(Args({"state", "--port", "/nonexistent/tty", "--json"}));
        QCOMPARE(run.exitCode, 1);
        const QString told = QStringLiteral(
            "Не удалось прочитать параметр. Не удалось открыть порт: Порт /nonexistent/tty в "
            "системе не найден.");
        QVERIFY2(run.err.contains(told), qPrintable(run.err));
        const QJsonArray messages = run.json().value(QStringLiteral("messages")).toArray();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].toObject().value(QStringLiteral("text")).toString(), told);
    }

    void configurationRoundTrip() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        QVERIFY(sim.command(QStringLiteral("param 2 2 1 0SERVICE 42")));
        const QString first = path("first.cfg");
        CliRun run = RunCli(Args({"config", "read", "--json"}) + QStringList{first} +
                            PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.json().value(QStringLiteral("file")).toString(), first);
        QVERIFY(run.err.contains(QStringLiteral("Прочитано удачно...")));
        QCOMPARE(FileBytes(first).size(), ConfigurationFileSize);

        // Written to another device and read back: the same file.
        SimProcess other;
        QVERIFY(other.isReady());
        const QString before = path("before.cfg");
        QCOMPARE(
            RunCli(Args({"config", "read"}) + QStringList{before} + PortArguments(other.portPath()))
                .exitCode,
            0);
        QVERIFY(FileBytes(before) != FileBytes(first));
        run = RunCli(Args({"config", "write"}) + QStringList{first} +
                     PortArguments(other.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains(QStringLiteral("Записано удачно...")));
        const QString after = path("after.cfg");
        QCOMPARE(
            RunCli(Args({"config", "read"}) + QStringList{after} + PortArguments(other.portPath()))
                .exitCode,
            0);
        QCOMPARE(FileBytes(after), FileBytes(first));
    }

    void badConfigurationFilesSendNothing() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        QFile shortFile(path("short.cfg"));
        QVERIFY(shortFile.open(QIODevice::WriteOnly));
        shortFile.write(QByteArray(100, '\x01'));
        shortFile.close();
        for (const QString& file : {path("short.cfg"), path("missing.cfg"), dir_.path()}) {
            const CliRun run = RunCli(Args({"config", "write", "--json"}) + QStringList{file} +
                                      PortArguments(sim.portPath()));
            QCOMPARE(run.exitCode, 3);
            QVERIFY2(run.json().value(QStringLiteral("messages")).toArray().size() == 1,
                     run.out.constData());
        }
        QVERIFY(!sim.waitForExchanges(1, 300));
        // A file that cannot be created is found out before the read.
        const CliRun run =
            RunCli(Args({"config", "read"}) + QStringList{path("no/such/folder/x.cfg")} +
                   PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 3);
        QVERIFY(run.err.contains(QStringLiteral("Не удалось создать файл...")));
        QVERIFY(!sim.waitForExchanges(1, 300));
    }

    void formsWriteAndRead() {
        SimProcess sim({QStringLiteral("--group"), QStringLiteral("1")});
        QVERIFY(sim.isReady());
        CliRun run =
            RunCli(Args({"form", "write", "3", "6", "4", "К"}) + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains(QStringLiteral("Бланк удачно запрограммированн...")));
        run = RunCli(Args({"forms", "read", "--json"}) + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        const QJsonObject json = run.json();
        QCOMPARE(json.value(QStringLiteral("group")).toInt(), 1);
        const QJsonArray forms = json.value(QStringLiteral("forms")).toArray();
        QCOMPARE(forms.size(), 8);
        const QJsonObject third = forms.at(2).toObject();
        QCOMPARE(third.value(QStringLiteral("read")).toBool(), true);
        QCOMPARE(third.value(QStringLiteral("variant")).toInt(), 6);
        QCOMPARE(third.value(QStringLiteral("requisite")).toInt(), 4);
        QCOMPARE(third.value(QStringLiteral("kind")).toInt(), 3);

        // A form that fails ends the table there, as in the window; the
        // command line names it and exits 1.
        QVERIFY(sim.command(QStringLiteral("fault error 51 cmd=102 index=5")));
        run = RunCli(Args({"forms", "read", "--json"}) + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 1);
        const QJsonArray partial = run.json().value(QStringLiteral("forms")).toArray();
        QCOMPARE(partial.at(3).toObject().value(QStringLiteral("read")).toBool(), true);
        QCOMPARE(partial.at(4).toObject().value(QStringLiteral("read")).toBool(), false);
        QVERIFY2(run.err.contains(QStringLiteral("форма 5: Неверный параметр.")),
                 qPrintable(run.err));
    }

    void goodsRoundTripAndClear() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QString source = path("source.base");
        WriteFullGoodsFile(source);
        CliRun run = RunCli(Args({"goods", "write", "--json"}) + QStringList{source} +
                            PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.json().value(QStringLiteral("records")).toInt(), GoodsRecordCount);
        const QString copy = path("copy.base");
        run = RunCli(Args({"goods", "read"}) + QStringList{copy} + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(FileBytes(copy), FileBytes(source));

        // Without --yes nothing is erased, and the command says why.
        QVERIFY(sim.waitForExchanges(2 * GoodsRecordCount));
        sim.clearLog();
        run = RunCli(Args({"goods", "clear"}) + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(QStringLiteral("Вы действительно хотите удалить базу из АС?")));
        QVERIFY(run.err.contains(QStringLiteral("--yes")));
        QVERIFY(!sim.waitForExchanges(1, 300));
        run = RunCli(Args({"goods", "clear", "--yes"}) + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains(QStringLiteral("База очищена...")));
        QVERIFY(sim.waitForExchanges(GoodsRecordCount));
        QVERIFY(!sim.waitForExchanges(GoodsRecordCount + 1, 200));
    }

    void goodsAsCsvAndOnlyTheChangedRecords() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QString old = path("old.base");
        WriteFullGoodsFile(old);
        QCOMPARE(RunCli(Args({"goods", "write"}) + QStringList{old} + PortArguments(sim.portPath()))
                     .exitCode,
                 0);
        // Read out as CSV and written back as CSV: the device is unchanged.
        const QString csv = path("device.csv");
        CliRun run = RunCli(Args({"goods", "read", "--json"}) + QStringList{csv} +
                            PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(FileBytes(csv).startsWith("\xEF\xBB\xBF"));
        QVERIFY(sim.waitForExchanges(2 * GoodsRecordCount));

        // Five records changed in a copy: only they are sent.
        GoodsTable table;
        LoadGoodsFile(table, old);
        for (int row : {1, 2, 500, 777, 1001}) {
            GoodsRecord record = table.record(row);
            record.price = formatPrice(12345 + row);
            table.setRecord(row, record);
        }
        const QString changed = path("changed.base");
        SaveGoodsFile(table, changed);
        sim.clearLog();
        run = RunCli(Args({"goods", "write-changed", "--json", "--since"}) +
                     QStringList{old, changed} + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.json().value(QStringLiteral("records")).toInt(), 5);
        QVERIFY(sim.waitForExchanges(5));
        QVERIFY(!sim.waitForExchanges(6, 300));
        const QString back = path("back.base");
        QCOMPARE(RunCli(Args({"goods", "read"}) + QStringList{back} + PortArguments(sim.portPath()))
                     .exitCode,
                 0);
        QCOMPARE(FileBytes(back), FileBytes(changed));

        // Nothing changed: nothing sent, and that is no failure.
        QVERIFY(sim.waitForExchanges(5 + GoodsRecordCount));
        sim.clearLog();
        run = RunCli(Args({"goods", "write-changed", "--since"}) + QStringList{back, changed} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(!sim.waitForExchanges(1, 300));

        // Without --since a CSV file sends just its own records.
        QFile part(path("part.csv"));
        QVERIFY(part.open(QIODevice::WriteOnly));
        part.write(
            "Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\r\n"
            "7;МОЛОКО;узкий;4600000000007;1;55.90\r\n"
            "8;ХЛЕБ;узкий;;1;32,50\r\n");
        part.close();
        run = RunCli(Args({"goods", "write-changed"}) + QStringList{path("part.csv")} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY(sim.waitForExchanges(2));
        QVERIFY(!sim.waitForExchanges(3, 300));
    }

    // A whole-table write says what it wrote with goods and what it blanked;
    // a success is information, not a warning; a refused CSV is reported once
    // and names what the device cannot print.
    void goodsWriteSaysWhatItDid() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        QFile four(path("four.csv"));
        QVERIFY(four.open(QIODevice::WriteOnly));
        four.write(
            "Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\r\n"
            "1;ёлка;узкий;;1;1\r\n2;ХЛЕБ;узкий;;1;2\r\n3;ЧАЙ;узкий;;1;3\r\n"
            "4;СОЛЬ;узкий;;1;4\r\n");
        four.close();
        CliRun run = RunCli(Args({"goods", "write", "--json"}) + QStringList{path("four.csv")} +
                            PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QJsonObject json = run.json();
        QCOMPARE(json.value(QStringLiteral("withGoods")).toInt(), 4);
        QCOMPARE(json.value(QStringLiteral("cleared")).toInt(), 997);
        QVERIFY2(run.err.endsWith(QStringLiteral(
                     "Записано удачно...\nЗаписано с товарами: 4; очищено (записано пустыми): "
                     "997.\n")),
                 qPrintable(run.err));
        for (const QJsonValue& message : json.value(QStringLiteral("messages")).toArray())
            QCOMPARE(message.toObject().value(QStringLiteral("kind")).toString(),
                     QStringLiteral("information"));
        QVERIFY(sim.waitForExchanges(GoodsRecordCount));

        QFile unprintable(path("unprintable.csv"));
        QVERIFY(unprintable.open(QIODevice::WriteOnly));
        unprintable.write(
            "Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\r\n"
            "1;ЧАЙ;узкий;;1;1\r\n2;ЧАЙ №2;узкий;;1;2\r\n");
        unprintable.close();
        sim.clearLog();
        run = RunCli(Args({"goods", "write", "--json"}) + QStringList{path("unprintable.csv")} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 3);
        const QString line = QStringLiteral("Строка 3, «Наименование»: АС не печатает символ «№»");
        QCOMPARE(run.err.count(line), 1);
        const QJsonArray messages = run.json().value(QStringLiteral("messages")).toArray();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].toObject().value(QStringLiteral("text")).toString().count(line), 1);
        QVERIFY(!sim.waitForExchanges(1, 300));
    }

    // With --since the new file alone says what the device is to hold: a
    // product it no longer lists is erased, also when the file is a CSV that
    // names only its own records.
    void productRemovedSinceTheOldFileIsErased() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QByteArray header = "Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\r\n";
        const QByteArray milk = "7;МОЛОКО;узкий;4600000000007;1;55.90\r\n";
        const QByteArray bread = "8;ХЛЕБ;узкий;4600000000008;1;32.50\r\n";
        for (const auto& [name, bytes] :
             {std::pair{"old.csv", header + milk + bread}, std::pair{"new.csv", header + milk}}) {
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        QCOMPARE(RunCli(Args({"goods", "write-changed"}) + QStringList{path("old.csv")} +
                        PortArguments(sim.portPath()))
                     .exitCode,
                 0);
        QVERIFY(sim.waitForExchanges(2));
        sim.clearLog();

        CliRun run =
            RunCli(Args({"goods", "write-changed", "--json", "--since"}) +
                   QStringList{path("old.csv"), path("new.csv")} + PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.json().value(QStringLiteral("records")).toInt(), 1);
        QVERIFY(sim.waitForExchanges(1));
        QVERIFY(!sim.waitForExchanges(2, 300));
        const QString back = path("back.csv");
        QCOMPARE(RunCli(Args({"goods", "read"}) + QStringList{back} + PortArguments(sim.portPath()))
                     .exitCode,
                 0);
        const QByteArray device = FileBytes(back);
        QVERIFY(device.contains("МОЛОКО"));
        QVERIFY(!device.contains("ХЛЕБ"));
    }

    void badGoodsFilesSendNothing() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        // A record with a flag no record has, among good ones.
        QByteArray bytes = FileBytes([&] {
            WriteFullGoodsFile(path("good.base"));
            return path("good.base");
        }());
        bytes[40 * 500 + 2] = 'x';
        QFile bad(path("bad.base"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write(bytes);
        bad.close();
        QFile empty(path("empty.base"));
        QVERIFY(empty.open(QIODevice::WriteOnly));
        empty.close();
        QFile badCsv(path("bad.csv"));
        QVERIFY(badCsv.open(QIODevice::WriteOnly));
        badCsv.write(
            "Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\r\n"
            "7;МОЛОКО;узкий;;1;55.90\r\n"
            "9;ХЛЕБ;узкий;;1;-1\r\n");
        badCsv.close();
        for (const char* name : {"bad.base", "empty.base", "missing.base", "bad.csv"}) {
            const CliRun run = RunCli(Args({"goods", "write"}) + QStringList{path(name)} +
                                      PortArguments(sim.portPath()));
            QCOMPARE(run.exitCode, 3);
        }
        QVERIFY(!sim.waitForExchanges(1, 300));
    }

    void innPasswordOffTheCommandLine();

    void innRefusesWithoutYes() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QStringList inn = Args({"inn", "--inn", "7707083893", "--password", "123", "--date",
                                      "2024-05-17", "--group", "2"}) +
                                PortArguments(sim.portPath());
        CliRun run = RunCli(inn + QStringList{QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains(QStringLiteral("Вы уверены, что хотите запрограммировать ИНН?")));
        QVERIFY(run.err.contains(QStringLiteral("ИНН: 7707083893\nГруппа: 2\n")));
        QVERIFY(run.err.contains(QStringLiteral("только с --yes")));
        QVERIFY(!sim.waitForExchanges(1, 300));

        run = RunCli(inn + QStringList{QStringLiteral("--yes")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains(QStringLiteral("Записано удачно...")));
        QVERIFY(!run.err.contains(QStringLiteral("Внимание")));
        run = RunCli(Args({"state", "--json"}) + PortArguments(sim.portPath()));
        QCOMPARE(run.json()
                     .value(QStringLiteral("state"))
                     .toObject()
                     .value(QStringLiteral("taxpayerNumber"))
                     .toDouble(),
                 7707083893.0);

        // --yes answers the question, but its warning is still said.
        SimProcess fresh;
        QVERIFY(fresh.isReady());
        run = RunCli(Args({"inn", "--inn", "123", "--password", "1", "--date", "2024-05-17",
                           "--group", "1", "--yes"}) +
                     PortArguments(fresh.portPath()));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.startsWith(
                     QStringLiteral("Внимание: в ИНН 3 цифр(ы), а должно быть 10 или 12.\n")),
                 qPrintable(run.err));
    }
};

// The password of "inn" need not stand on the command line: standard input
// or a file gives it, and the frame carries exactly it.
void TestCliCommands::innPasswordOffTheCommandLine() {
    const QString file = path("password");
    {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("987\r\n");
    }
    const QStringList inn =
        Args({"inn", "--inn", "7707083893", "--date", "2024-05-17", "--group", "2", "--yes"});
    // The ИНН is programmed once: a fresh device for each way.
    const auto sentPassword = [&inn](const QStringList& more, const QByteArray& input) {
        SimProcess sim({QStringLiteral("--log")});
        if (!sim.isReady()) return -2;
        const CliRun run = RunCli(inn + more + PortArguments(sim.portPath()), 60000, input);
        if (run.exitCode != 0 || !sim.waitForExchanges(1)) return -1;
        const QByteArray frame = sim.requests().value(0);
        return frame.size() < 12 ? -1
                                 : int(uchar(frame[8]) | uchar(frame[9]) << 8 |
                                       uchar(frame[10]) << 16 | uchar(frame[11]) << 24);
    };
    QCOMPARE(sentPassword({}, "4321\n"), 4321);
    QCOMPARE(sentPassword({QStringLiteral("--password-file"), file}, {}), 987);
#ifdef Q_OS_UNIX
    // A pipe as the file: standard input, and a named pipe that a program
    // writes once the command reads it (as `<(pass show ...)` does).
    QCOMPARE(
        sentPassword({QStringLiteral("--password-file"), QStringLiteral("/dev/stdin")}, "2468\n"),
        2468);
    const QString fifo = path("password.fifo");
    QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0);
    std::thread writer([&fifo] {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY);
        if (fd < 0) return;
        const char text[] = "1357\nnot read";
        (void)!::write(fd, text, sizeof text - 1);
        ::close(fd);
    });
    QCOMPARE(sentPassword({QStringLiteral("--password-file"), fifo}, {}), 1357);
    writer.join();
    // An endless device with no line end is refused within its bound.
    SimProcess endless({QStringLiteral("--log")});
    QVERIFY(endless.isReady());
    const CliRun zeros =
        RunCli(inn + QStringList{QStringLiteral("--password-file"), QStringLiteral("/dev/zero")} +
               PortArguments(endless.portPath()));
    QCOMPARE(zeros.exitCode, 3);
    QVERIFY2(zeros.err.contains(QStringLiteral("нет строки пароля")), qPrintable(zeros.err));
    QVERIFY(!endless.waitForExchanges(1, 300));
#endif

    // No password anywhere, both ways at once, or a file that is not there:
    // nothing is sent.
    SimProcess sim({QStringLiteral("--log")});
    QVERIFY(sim.isReady());
    const QStringList here = inn + PortArguments(sim.portPath());
    CliRun run = RunCli(here + QStringList{QStringLiteral("--json")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("Не указан пароль")), qPrintable(run.err));
    run = RunCli(here + QStringList{QStringLiteral("--password"), QStringLiteral("1"),
                                    QStringLiteral("--password-file"), file});
    QCOMPARE(run.exitCode, 2);
    run = RunCli(here + QStringList{QStringLiteral("--password-file"), path("absent")});
    QCOMPARE(run.exitCode, 3);
    QVERIFY(!sim.waitForExchanges(1, 300));

    // The help warns about the password on the command line.
    run = RunCli(Args({"inn", "--help"}));
    const QString help = QString::fromUtf8(run.out).simplified();
    QVERIFY(help.contains(QStringLiteral("--password-file")));
    QVERIFY2(help.contains(QStringLiteral("(список процессов)")), qPrintable(help));
}

QTEST_GUILESS_MAIN(TestCliCommands)
#include "tst_commands.moc"
