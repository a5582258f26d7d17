// zelvo-cli's long transfers against zelvo-sim: a device fault midway with
// and without --keep-going, and Ctrl+C during a paced transfer; the ИНН
// password typed at a terminal.
#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#endif

#include <QJsonArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include "CliTestSupport.h"
#include "support/CliRun.h"

namespace {

QStringList Args(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* word : words) list << QString::fromUtf8(word);
    return list;
}

QStringList FailedItems(const QJsonObject& json) {
    QStringList items;
    const QJsonArray failures = json.value(QStringLiteral("failures")).toArray();
    for (const QJsonValue& failure : failures)
        items << failure.toObject().value(QStringLiteral("item")).toString();
    return items;
}

}  // namespace

class TestCliTransfers : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString goodsFile_;

private slots:
    void initTestCase() {
        goodsFile_ = dir_.filePath(QStringLiteral("goods.base"));
        WriteFullGoodsFile(goodsFile_);
    }

    void goodsFaultStopsAtTheFirstFailure() {
        SimProcess sim({QStringLiteral("--log"), QStringLiteral("--fault"),
                        QStringLiteral("error 52 cmd=116 index=517")});
        QVERIFY(sim.isReady());
        const CliRun run = RunCli(Args({"goods", "write", "--json"}) + QStringList{goodsFile_} +
                                  PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(FailedItems(run.json()), QStringList{QStringLiteral("товар 517")});
        QVERIFY2(run.err.contains(QStringLiteral(
                     "товар 517: Не удалось записать параметр...  Запись используется.")),
                 qPrintable(run.err));
        QVERIFY(run.err.contains(QStringLiteral("--keep-going")));
        QVERIFY(!run.err.contains(QStringLiteral("Записано удачно...")));
        // Records 0..517 were sent, nothing after the failure.
        QVERIFY(sim.waitForExchanges(518));
        QVERIFY(!sim.waitForExchanges(519, 300));
    }

    void goodsKeepGoingListsEveryFailure() {
        SimProcess sim({QStringLiteral("--log"), QStringLiteral("--fault"),
                        QStringLiteral("error 52 cmd=116 index=3"), QStringLiteral("--fault"),
                        QStringLiteral("silent cmd=116 index=998")});
        QVERIFY(sim.isReady());
        const CliRun run =
            RunCli(Args({"goods", "write", "--keep-going", "--json", "--total-timeout", "200"}) +
                   QStringList{goodsFile_, QStringLiteral("--port"), sim.portPath()});
        QCOMPARE(run.exitCode, 1);
        const QJsonObject json = run.json();
        QCOMPARE(FailedItems(json),
                 (QStringList{QStringLiteral("товар 3"), QStringLiteral("товар 998")}));
        QCOMPARE(json.value(QStringLiteral("ok")).toBool(), false);
        // No success after failures: the summary says what was done and what was not.
        QVERIFY2(!run.err.contains(QStringLiteral("Записано удачно...")), qPrintable(run.err));
        // In the window's words, in the error stream and in the JSON document.
        const QString counted =
            QStringLiteral("Записано: 999 из 1001. Не записаны: товар 3, товар 998.");
        QVERIFY2(run.err.contains(counted), qPrintable(run.err));
        QCOMPARE(json.value(QStringLiteral("summary")).toString(), counted);
        for (const QJsonValue& message : json.value(QStringLiteral("messages")).toArray())
            QVERIFY(!message.toObject()
                         .value(QStringLiteral("text"))
                         .toString()
                         .contains(QStringLiteral("удачно")));
        // The summary at the end names both.
        const QString summary = run.err.mid(run.err.indexOf(counted));
        QVERIFY2(summary.contains(QStringLiteral("товар 3:")) &&
                     summary.contains(QStringLiteral("товар 998: Не удалось записать "
                                                     "параметр... Нет ответа или не удалось "
                                                     "открыть порт.")),
                 qPrintable(run.err));
        QVERIFY(sim.waitForExchanges(GoodsRecordCount - 1));
    }

    void configurationFaultNamesTheLine() {
        SimProcess sim({QStringLiteral("--fault"),
                        QStringLiteral("error 51 cmd=112 group=0 index=3 count=2")});
        QVERIFY(sim.isReady());
        const QString file = dir_.filePath(QStringLiteral("device.cfg"));
        QFile::remove(file);
        CliRun run = RunCli(Args({"config", "read", "--json"}) + QStringList{file} +
                            PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(FailedItems(run.json()), QStringList{QStringLiteral("оператор 3, строка 1")});
        // A read that stopped writes no file.
        QVERIFY(!QFile::exists(file));

        // With --keep-going the read goes on; the file is written, the exit says a line failed.
        run = RunCli(Args({"config", "read", "--keep-going", "--json"}) + QStringList{file} +
                     PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(FailedItems(run.json()), QStringList{QStringLiteral("оператор 3, строка 1")});
        QVERIFY(QFile::exists(file));
    }

    void progressBarOnlyOnATerminal() {
        SimProcess sim;
        QVERIFY(sim.isReady());
        const QStringList write =
            QStringList{QStringLiteral("goods"), QStringLiteral("write"), goodsFile_} +
            PortArguments(sim.portPath());
        // Standard error on a pipe: messages only.
        const CliRun piped = RunCli(write);
        QCOMPARE(piped.exitCode, 0);
        QCOMPARE(piped.err, QStringLiteral("Записано удачно...\nЗаписано с товарами: 1001; "
                                           "очищено (записано пустыми): 0.\n"));

#ifdef Q_OS_UNIX
        // Standard error on a terminal: the bar, item k of n, then the message.
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        QProcess cli;
        cli.setStandardErrorFile(QString::fromLocal8Bit(ptsname(master)));
        cli.start(QStringLiteral(ZELVO_CLI_PATH), write);
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        QByteArray terminal;
        pollfd ready{master, POLLIN, 0};
        char buffer[4096];
        while (::poll(&ready, 1, 200) > 0) {
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n <= 0) break;
            terminal.append(buffer, int(n));
        }
        ::close(master);
        const QString text = QString::fromUtf8(terminal);
        QVERIFY2(text.contains(QStringLiteral("Загрузка товаров... [####################] 1001 из "
                                              "1001")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Записано удачно...")));
#endif
    }

    void ctrlCStopsAfterTheExchangeInFlight_data() {
        QTest::addColumn<bool>("write");
        QTest::newRow("goods read into an existing file") << false;
        QTest::newRow("goods write") << true;
    }
    void ctrlCStopsAfterTheExchangeInFlight() {
#ifndef Q_OS_UNIX
        QSKIP(
            "a signal to another process is Unix's; the Windows console's Ctrl+C is checked "
            "end to end under Wine");
#else
        QFETCH(bool, write);
        SimProcess sim(
            {QStringLiteral("--log"), QStringLiteral("--pace"), QStringLiteral("115200")});
        QVERIFY(sim.isReady());
        const QString target = dir_.filePath(QStringLiteral("old.base"));
        QFile::remove(target);
        QVERIFY(QFile::copy(goodsFile_, target));
        const QByteArray old = FileBytes(target);

        QProcess cli;
        cli.start(QStringLiteral(ZELVO_CLI_PATH),
                  QStringList{QStringLiteral("goods"),
                              write ? QStringLiteral("write") : QStringLiteral("read"), target,
                              QStringLiteral("--json")} +
                      PortArguments(sim.portPath()));
        QVERIFY(cli.waitForStarted());
        QVERIFY(sim.waitForExchanges(100, 10000));
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.exitCode(), 130);
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("Операция прервана.")) &&
                     err.contains(QStringLiteral("Остановлено по Ctrl+C")),
                 qPrintable(err));
        const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        QCOMPARE(json.value(QStringLiteral("interrupted")).toBool(), true);
        const int done =
            json.value(QStringLiteral("progress")).toObject().value(QStringLiteral("done")).toInt();
        QVERIFY(err.contains(QStringLiteral("%1 из 1001").arg(done)));
        // Every exchange sent was a whole one and counted; none came after.
        QVERIFY(!sim.waitForExchanges(done + 1, 500));
        QCOMPARE(Exchanges(sim), done);
        QVERIFY(done >= 100 && done < GoodsRecordCount);
        // The file is the old one, whole.
        QCOMPARE(FileBytes(target), old);
#endif
    }

    // Ctrl+Z at the prompt gives the shell its echo back; `fg` takes it away
    // again, and the password typed then is neither shown nor lost.
    void innPasswordPromptSurvivesStopAndContinue() {
#ifndef Q_OS_UNIX
        QSKIP("a pseudo-terminal is Unix's own");
#else
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(ptsname(master));
        QByteArray seen;
        const auto readUntil = [master, &seen](const QByteArray& wanted) {
            pollfd ready{master, POLLIN, 0};
            char buffer[1024];
            QElapsedTimer timer;
            timer.start();
            while (!seen.contains(wanted) && timer.elapsed() < 10000) {
                if (::poll(&ready, 1, 100) <= 0) continue;
                const ssize_t n = ::read(master, buffer, sizeof buffer);
                if (n <= 0) break;
                seen.append(buffer, int(n));
            }
            return seen.contains(wanted);
        };
        const auto echoes = [master] {
            termios now{};
            return tcgetattr(master, &now) == 0 && (now.c_lflag & ECHO);
        };
        const auto waitEcho = [&echoes](bool wanted) {
            QElapsedTimer timer;
            timer.start();
            while (echoes() != wanted && timer.elapsed() < 5000) QThread::msleep(10);
            return echoes() == wanted;
        };
        QProcess cli;
        cli.setStandardInputFile(slave);
        cli.setStandardErrorFile(slave);
        cli.start(QStringLiteral(ZELVO_CLI_PATH),
                  QStringList{QStringLiteral("inn"), QStringLiteral("--inn"),
                              QStringLiteral("7707083893"), QStringLiteral("--date"),
                              QStringLiteral("2024-05-17"), QStringLiteral("--group"),
                              QStringLiteral("2"), QStringLiteral("--yes")} +
                      PortArguments(sim.portPath()));
        QVERIFY(cli.waitForStarted());
        QVERIFY(readUntil("Пароль: "));
        // Off before the prompt was written.
        QVERIFY(!echoes());
        ::kill(pid_t(cli.processId()), SIGTSTP);
        QVERIFY(waitEcho(true));
        ::kill(pid_t(cli.processId()), SIGCONT);
        QVERIFY(waitEcho(false));
        QVERIFY(::write(master, "4321\n", 5) == 5);
        QVERIFY(readUntil("Записано удачно..."));
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY2(!seen.contains("4321"), seen.constData());
        QVERIFY(echoes());
        QVERIFY(sim.waitForExchanges(1));
        QCOMPARE(sim.requests().value(0).mid(8, 4), QByteArray("\xE1\x10\x00\x00", 4));
        ::close(master);
#endif
    }

    // Ctrl+C while a read waits on a record that never answers: the read
    // fails after the stop was asked for, and that is the stop, not a device
    // failure.
    void ctrlCDuringAFailingReadIsTheStop() {
#ifndef Q_OS_UNIX
        QSKIP("a signal to another process is Unix's");
#else
        SimProcess sim({QStringLiteral("--log"), QStringLiteral("--fault"),
                        QStringLiteral("silent cmd=116 index=40")});
        QVERIFY(sim.isReady());
        const QString target = dir_.filePath(QStringLiteral("stopped.base"));
        QFile::remove(target);
        QProcess cli;
        cli.start(QStringLiteral(ZELVO_CLI_PATH),
                  QStringList{QStringLiteral("goods"), QStringLiteral("read"), target,
                              QStringLiteral("--total-timeout"), QStringLiteral("3000")} +
                      PortArguments(sim.portPath()));
        QVERIFY(cli.waitForStarted());
        QVERIFY(sim.waitForExchanges(40, 10000));
        QTest::qWait(300);  // the request of record 40 is out, its answer never comes
        ::kill(pid_t(cli.processId()), SIGINT);
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(cli.exitCode(), 130);
        const QString err = QString::fromUtf8(cli.readAllStandardError());
        QVERIFY2(err.contains(QStringLiteral("Остановлено по Ctrl+C")) &&
                     err.contains(QStringLiteral("Операция прервана.")) &&
                     err.contains(QStringLiteral("Не прочитаны: товар 40.")),
                 qPrintable(err));
        QVERIFY2(!err.contains(QStringLiteral("товар 40: ")) &&
                     !err.contains(QStringLiteral("Остановлено на первой ошибке")),
                 qPrintable(err));
        QVERIFY(!QFile::exists(target));
#endif
    }

    // Typed at a terminal the password is not shown; Ctrl+C at the prompt
    // ends the command with the terminal's echo back on and nothing sent.
    void innPasswordTypedAtATerminal() {
#ifndef Q_OS_UNIX
        QSKIP("a pseudo-terminal is Unix's own");
#else
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(grantpt(master) == 0 && unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(ptsname(master));
        const auto readUntil = [master](const QByteArray& wanted) {
            QByteArray seen;
            pollfd ready{master, POLLIN, 0};
            char buffer[1024];
            QElapsedTimer timer;
            timer.start();
            while (!seen.contains(wanted) && timer.elapsed() < 10000) {
                if (::poll(&ready, 1, 100) <= 0) continue;
                const ssize_t n = ::read(master, buffer, sizeof buffer);
                if (n <= 0) break;
                seen.append(buffer, int(n));
            }
            return seen;
        };
        const QStringList inn = QStringList{QStringLiteral("inn"),        QStringLiteral("--inn"),
                                            QStringLiteral("7707083893"), QStringLiteral("--date"),
                                            QStringLiteral("2024-05-17"), QStringLiteral("--group"),
                                            QStringLiteral("2"),          QStringLiteral("--yes")} +
                                PortArguments(sim.portPath());
        const auto start = [&](QProcess& cli) {
            cli.setStandardInputFile(slave);
            cli.setStandardErrorFile(slave);
            cli.start(QStringLiteral(ZELVO_CLI_PATH), inn);
            return cli.waitForStarted() && readUntil("Пароль: ").contains("Пароль: ");
        };

        QProcess stopped;
        QVERIFY(start(stopped));
        ::kill(pid_t(stopped.processId()), SIGINT);
        QVERIFY(stopped.waitForFinished(10000));
        QCOMPARE(stopped.exitCode(), 130);
        termios after{};
        QVERIFY(tcgetattr(master, &after) == 0);
        QVERIFY(after.c_lflag & ECHO);
        QVERIFY(!sim.waitForExchanges(1, 300));

        QProcess typed;
        QVERIFY(start(typed));
        QVERIFY(::write(master, "4321\n", 5) == 5);
        const QByteArray shown = readUntil("Записано удачно...");
        QVERIFY(typed.waitForFinished(10000));
        QCOMPARE(typed.exitCode(), 0);
        QVERIFY2(!shown.contains("4321"), shown.constData());
        QVERIFY(sim.waitForExchanges(1));
        const QByteArray frame = sim.requests().value(0);
        QVERIFY(frame.size() >= 12);
        QCOMPARE(frame.mid(8, 4), QByteArray("\xE1\x10\x00\x00", 4));
        ::close(master);
#endif
    }
};

QTEST_GUILESS_MAIN(TestCliTransfers)
#include "tst_transfers.moc"
