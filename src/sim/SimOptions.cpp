#include "sim/SimOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "emulator/EmulatorCommands.h"

bool ParseOptions(const QCoreApplication& app, Options& options) {
    QCommandLineParser parser;
    QString description = QStringLiteral(
        "The emulated АС on a pseudo-terminal. The first line of output is\n"
        "\"PTY <path>\". Control commands, one a line on standard input, are\n"
        "answered with OK or ERR <reason>:\n");
    for (const QString& line : EmulatorCommandHelp())
        description += QStringLiteral("  ") + line + QLatin1Char('\n');
    description += QStringLiteral(
        "  listen BAUD            answer only requests sent at BAUD bit/s (0: any)\n");
    description += QStringLiteral("  log on|off\n  ping\n");
    parser.setApplicationDescription(description);
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Also reach the terminal through a link at PATH."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption factory(QStringLiteral("factory"),
                                     QStringLiteral("The device's factory number (default 0)."),
                                     QStringLiteral("N"));
    const QCommandLineOption pace(QStringLiteral("pace"),
                                  QStringLiteral("Send answers at BAUD bit/s, 10 bits a byte."),
                                  QStringLiteral("BAUD"));
    const QCommandLineOption delay(QStringLiteral("delay"),
                                   QStringLiteral("Wait MS milliseconds before each answer."),
                                   QStringLiteral("MS"));
    const QCommandLineOption group(QStringLiteral("group"),
                                   QStringLiteral("Current BSO group (default 2)."),
                                   QStringLiteral("N"));
    const QCommandLineOption oneCliche(QStringLiteral("one-cliche"),
                                       QStringLiteral("The device has no cliché 2."));
    const QCommandLineOption workingMode(QStringLiteral("working-mode"),
                                         QStringLiteral("Start as if the ИНН were programmed."));
    const QCommandLineOption noAccess(
        QStringLiteral("no-access"),
        QStringLiteral("Record GROUP:INDEX refuses writes (repeatable)."),
        QStringLiteral("GROUP:INDEX"));
    const QCommandLineOption fault(QStringLiteral("fault"),
                                   QStringLiteral("A fault, written as after the control word "
                                                  "\"fault\" (repeatable)."),
                                   QStringLiteral("FAULT"));
    const QCommandLineOption listen(
        QStringLiteral("listen"),
        QStringLiteral("Answer only requests sent at BAUD bit/s, the speed the program set on the "
                       "terminal; others are noise and go unanswered."),
        QStringLiteral("BAUD"));
    const QCommandLineOption log(
        QStringLiteral("log"), QStringLiteral("Print REQ <hex> and RSP <hex> for every exchange."));
    const QCommandLineOption exitOnEof(QStringLiteral("exit-on-eof"),
                                       QStringLiteral("Stop when standard input closes."));
    const QCommandLineOption gap(
        QStringLiteral("gap"), QStringLiteral("Drop a partial request after MS ms of quiet (300)."),
        QStringLiteral("MS"));
    parser.addOptions({link, factory, pace, delay, group, oneCliche, workingMode, noAccess, fault,
                       listen, log, exitOnEof, gap});
    parser.process(app);

    options.link = parser.value(link);
    options.log = parser.isSet(log);
    options.exitOnEof = parser.isSet(exitOnEof);
    if (parser.isSet(gap)) {
        bool ok = false;
        const int ms = parser.value(gap).toInt(&ok);
        if (!ok || ms <= 0) {
            fprintf(stderr, "zelvo-sim: bad --gap\n");
            return false;
        }
        options.gapNs = qint64(ms) * 1'000'000;
    }
    if (parser.isSet(listen)) {
        bool ok = false;
        options.listenBaud = parser.value(listen).toInt(&ok);
        if (!ok || options.listenBaud < 0) {
            fprintf(stderr, "zelvo-sim: bad --listen\n");
            return false;
        }
    }
    auto startup = [&](const QString& line) { options.startup.append(line); };
    if (parser.isSet(factory)) startup(QStringLiteral("factory ") + parser.value(factory));
    if (parser.isSet(group)) startup(QStringLiteral("group ") + parser.value(group));
    if (parser.isSet(pace)) startup(QStringLiteral("pace ") + parser.value(pace));
    if (parser.isSet(delay)) startup(QStringLiteral("delay ") + parser.value(delay));
    if (parser.isSet(oneCliche)) startup(QStringLiteral("one-cliche on"));
    if (parser.isSet(workingMode)) startup(QStringLiteral("working-mode on"));
    for (const QString& record : parser.values(noAccess)) {
        const QStringList parts = record.split(QLatin1Char(':'));
        if (parts.size() != 2) {
            fprintf(stderr, "zelvo-sim: --no-access takes GROUP:INDEX\n");
            return false;
        }
        startup(QStringLiteral("access %1 %2 0").arg(parts.at(0), parts.at(1)));
    }
    for (const QString& words : parser.values(fault)) startup(QStringLiteral("fault ") + words);
    return true;
}
