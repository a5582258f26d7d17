// zelvo-cli: every device function of the window program for scripts and for
// programming many devices, on the same core.

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

#include "cli/CliSession.h"
#include "cli/CommandDefinition.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "cli/Fleet.h"
#include "cli/Interrupt.h"
#include "device/Protocol.h"
#include "emulator/EmulatorLink.h"
#include "shell/Progress.h"
#include "shell/TextOutput.h"
#include "shell/UserDialogs.h"

namespace {

void Print(FILE* stream, const QString& text) {
    WriteText(stream, text);
}

int Run(CliSession& session, const QStringList& arguments) {
    const CommandLine::Request request = session.line.parse(arguments);
    session.report.setJson(session.line.json());
    const QString encodingName = session.line.value(QStringLiteral("encoding"));
    TextEncoding encoding = TextEncoding::ConsoleDefault;
    QString encodingError;
    const bool encodingKnown = ChooseTextEncoding(
        session.line.json(),
        session.line.isSet(QStringLiteral("encoding")) ? &encodingName : nullptr,
        qEnvironmentVariable(qPrintable(TextEncodingVariable())), encoding, encodingError);
    SetTextEncoding(encoding);
    if (!encodingKnown && request == CommandLine::Request::Run) {
        session.dialogs.error(
            encodingError + QStringLiteral("\nСправка: %1 --help").arg(CommandLine::programName()));
        return session.report.finish(ExitUsage, session.dialogs, session.progress);
    }
    if (const CommandDefinition* definition = session.line.command())
        session.report.setCommand(definition->name);
    switch (request) {
        case CommandLine::Request::Help:
            Print(stdout, session.line.helpText());
            return ExitDone;
        case CommandLine::Request::Version:
            Print(stdout, CommandLine::programName() + QLatin1Char(' ') +
                              QStringLiteral(ZELVO_VERSION) + QLatin1Char('\n'));
            return ExitDone;
        case CommandLine::Request::Wrong:
            session.dialogs.error(
                session.line.error() +
                QStringLiteral("\nСправка: %1 --help").arg(CommandLine::programName()));
            return session.report.finish(ExitUsage, session.dialogs, session.progress);
        case CommandLine::Request::Run:
            break;
    }
    if (session.line.isSet(QStringLiteral("devices"))) return RunFleet(session);
    session.dialogs.setKeepGoing(session.line.isSet(QStringLiteral("keep-going")));
    int code = ExitDone;
    try {
        code = session.line.command()->run(session);
    } catch (const ConversionError& error) {
        session.dialogs.error(error.message());
        code = ExitUsage;
    }
    // Ctrl+C during a single exchange: it ran to its end, and the run stops here.
    if (InterruptRequested() && code == ExitDone) code = ExitInterrupted;
    code = SaveLogIfAsked(session, code);
    return session.report.finish(code, session.dialogs, session.progress);
}

}  // namespace

int main(int argc, char** argv) {
    InstallInterruptHandler();
    PrepareTextOutput();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(CommandLine::programName());
    // The parser's own messages (an unknown option) in Russian, like the rest.
    QTranslator translator;
    if (translator.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
    RegisterInProcessEmulator();

    CliSession session;
    SetDialogs(&session.dialogs);
    SetProgress(&session.progress);
    const int code = Run(session, QCoreApplication::arguments());
    SetDialogs(nullptr);
    SetProgress(nullptr);
    return code;
}
