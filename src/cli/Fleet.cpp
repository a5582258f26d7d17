// One process a device rather than one thread of this process: the link, the
// port settings and the line's marker are the program's own, one at a time,
// and the single-device run is the path every other test takes. The child
// hands back its JSON document and its exit code, nothing else.

#include "cli/Fleet.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <mutex>
#include <thread>
#include <vector>

#include "cli/CliSession.h"
#include "cli/CommandDefinition.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "cli/FleetChild.h"
#include "cli/FleetDevices.h"
#include "cli/Interrupt.h"
#include "shell/TextOutput.h"

namespace {

struct DeviceRun {
    FleetDevice device;
    QStringList arguments;
    int exitCode = -1;  // -1: the child did not start or did not end by itself
    double seconds = 0;
    QJsonObject result;  // the child's document; empty when it gave none
    QString problem;     // why there is no document
    QString line;        // "COM3 100231: записано, 8.5 с"
};

// The word for a device that did it, from what the command does.
QString DoneWord(const QString& command) {
    const QString verb = command.section(QLatin1Char(' '), -1);
    if (verb.startsWith(QLatin1String("write")) || command == QLatin1String("inn"))
        return QStringLiteral("записано");
    if (verb == QLatin1String("read")) return QStringLiteral("прочитано");
    if (verb == QLatin1String("clear")) return QStringLiteral("очищено");
    if (verb == QLatin1String("diff")) return QStringLiteral("сравнено");
    return QStringLiteral("выполнено");
}

// The child's failed items ("товар 0: ...") first, then its other errors.
QStringList Errors(const QJsonObject& result) {
    QStringList errors;
    for (const QJsonValue& value : result.value(QStringLiteral("failures")).toArray()) {
        const QJsonObject failure = value.toObject();
        const QString item = failure.value(QStringLiteral("item")).toString();
        const QString message = failure.value(QStringLiteral("message")).toString();
        errors << (item.isEmpty() ? message : item + QStringLiteral(": ") + message);
    }
    for (const QJsonValue& value : result.value(QStringLiteral("messages")).toArray()) {
        const QJsonObject message = value.toObject();
        if (message.value(QStringLiteral("kind")).toString() == QLatin1String("error"))
            errors << message.value(QStringLiteral("text")).toString();
    }
    for (QString& error : errors) error = error.section(QLatin1Char('\n'), 0, 0);
    return errors;
}

// "не отвечает" when the device was silent; otherwise the child's first
// error in its own words.
QString Outcome(const DeviceRun& run, const QString& command) {
    if (run.exitCode == ExitDone) return DoneWord(command);
    if (run.result.isEmpty())
        return run.problem.isEmpty() ? QStringLiteral("не выполнено") : run.problem;
    const QJsonObject progress = run.result.value(QStringLiteral("progress")).toObject();
    const QString howFar = progress.isEmpty()
                               ? QStringLiteral("ничего")
                               : QStringLiteral("%1 из %2")
                                     .arg(progress.value(QStringLiteral("done")).toInt())
                                     .arg(progress.value(QStringLiteral("total")).toInt());
    if (run.exitCode == ExitInterrupted)
        return QStringLiteral("остановлено, выполнено: %1").arg(howFar);
    const QStringList errors = Errors(run.result);
    for (const QString& error : errors)
        if (error.contains(QStringLiteral("Нет ответа")) ||
            error.contains(QStringLiteral("не ответил")))
            return QStringLiteral("не отвечает");
    return errors.isEmpty() ? QStringLiteral("не выполнено") : errors.first();
}

// The file argument of a reading command with --out: DIR/<number>.<ext>,
// the extension from the FILE given, else from the command's own.
QString OutFile(const CommandLine& line, const FleetDevice& device) {
    QString suffix = QFileInfo(line.arguments().value(0)).suffix();
    if (suffix.isEmpty()) {
        suffix = QFileInfo(line.command()->arguments.value(0)).suffix();
        if (suffix.isEmpty()) suffix = QStringLiteral("base");
    }
    return QDir(line.value(QStringLiteral("out")))
        .filePath(device.number + QLatin1Char('.') + suffix);
}

QStringList ChildArguments(const CommandLine& line, const FleetDevice& device) {
    QStringList arguments = line.command()->name.split(QLatin1Char(' '));
    if (line.isSet(QStringLiteral("out")))
        arguments << OutFile(line, device);
    else
        arguments << line.arguments();
    arguments << line.optionArguments({QStringLiteral("devices"), QStringLiteral("out"),
                                       QStringLiteral("log"), QStringLiteral("json"),
                                       QStringLiteral("encoding")});
    arguments << QStringLiteral("--port") << device.port << QStringLiteral("--speed")
              << device.speed << QStringLiteral("--number") << device.number
              << QStringLiteral("--json");
    if (line.isSet(QStringLiteral("log")))
        arguments << QStringLiteral("--log")
                  << QDir(line.value(QStringLiteral("log")))
                         .filePath(device.number + QStringLiteral(".log"));
    return arguments;
}

void RunChild(DeviceRun& run) {
    QProcess process;
    PrepareFleetChild(process);
    QElapsedTimer clock;
    clock.start();
    process.start(QCoreApplication::applicationFilePath(), run.arguments);
    if (!process.waitForStarted(10000)) {
        run.problem = QStringLiteral("не запущено: %1").arg(process.errorString());
        return;
    }
    // Nothing to type: a child that would ask reads the end at once.
    process.closeWriteChannel();
    bool stopped = false;
    while (!process.waitForFinished(50)) {
        if (process.state() == QProcess::NotRunning) break;
        if (InterruptRequested() && !stopped) {
            StopFleetChild(process.processId());
            stopped = true;
        }
    }
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    const QByteArray out = process.readAllStandardOutput();
    const QString err = QString::fromUtf8(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit) {
        run.problem = QStringLiteral("программа завершилась аварийно");
        return;
    }
    run.exitCode = process.exitCode();
    QJsonParseError parseError{};
    const QJsonDocument document = QJsonDocument::fromJson(out, &parseError);
    if (parseError.error == QJsonParseError::NoError && document.isObject())
        run.result = document.object();
    else
        run.problem = err.section(QLatin1Char('\n'), -1);
}

// A folder every device's file goes into must be there before anything is sent.
bool FolderUsable(CliSession& session, const QString& option) {
    if (!session.line.isSet(option)) return true;
    const QString path = session.line.value(option);
    if (QFileInfo(path).isDir()) return true;
    session.dialogs.error(QStringLiteral("--%1: папки «%2» нет.").arg(option, path));
    return false;
}

// Files named by the factory number must not be one file for two devices.
QString SharedNumber(const QList<FleetDevice>& devices) {
    QStringList numbers;
    for (const FleetDevice& device : devices) {
        if (numbers.contains(device.number))
            return QStringLiteral(
                       "строка %1: заводской номер %2 уже указан выше, а файлы "
                       "называются по номеру.")
                .arg(device.line)
                .arg(device.number);
        numbers << device.number;
    }
    return {};
}

void Emit(bool json, const QString& text) {
    WriteText(json ? stderr : stdout, text + QLatin1Char('\n'));
}

}  // namespace

int RunFleet(CliSession& session) {
    const CommandLine& line = session.line;
    const QString command = line.command()->name;
    const auto refuse = [&session](const QString& text) {
        session.dialogs.error(text + QStringLiteral("\nНичего не отправлено."));
        return session.report.finish(ExitUsage, session.dialogs, session.progress);
    };
    QStringList errors;
    const QList<FleetDevice> devices =
        ReadFleetDevices(line.value(QStringLiteral("devices")), errors);
    if (!errors.isEmpty())
        return refuse(QStringLiteral("Список АС не принят:\n  ") +
                      errors.join(QStringLiteral("\n  ")));
    if (!FolderUsable(session, QStringLiteral("out")) ||
        !FolderUsable(session, QStringLiteral("log")))
        return session.report.finish(ExitFileFailed, session.dialogs, session.progress);
    if (line.isSet(QStringLiteral("out")) || line.isSet(QStringLiteral("log")))
        if (const QString shared = SharedNumber(devices); !shared.isEmpty())
            return refuse(QStringLiteral("Список АС не принят: ") + shared);

    std::vector<DeviceRun> runs(size_t(devices.size()));
    for (int i = 0; i < devices.size(); ++i) {
        runs[size_t(i)].device = devices[i];
        runs[size_t(i)].arguments = ChildArguments(line, devices[i]);
    }
    const bool json = line.json();
    std::mutex printing;
    std::vector<std::thread> threads;
    for (DeviceRun& run : runs)
        threads.emplace_back([&run, &printing, &command, json] {
            RunChild(run);
            run.line = QStringLiteral("%1 %2: %3, %4 с")
                           .arg(run.device.port, run.device.number, Outcome(run, command),
                                QString::number(run.seconds, 'f', 1));
            const std::lock_guard<std::mutex> lock(printing);
            Emit(json, run.line);
        });
    for (std::thread& thread : threads) thread.join();

    int succeeded = 0;
    for (const DeviceRun& run : runs)
        if (run.exitCode == ExitDone) ++succeeded;
    const int failed = int(runs.size()) - succeeded;
    const bool interrupted = InterruptRequested();
    const int exitCode = interrupted ? ExitInterrupted : failed > 0 ? ExitDeviceFailed : ExitDone;
    QString summary = QStringLiteral("АС: %1; выполнено: %2; не выполнено: %3.")
                          .arg(runs.size())
                          .arg(succeeded)
                          .arg(failed);
    if (interrupted) summary = QStringLiteral("Остановлено по Ctrl+C. ") + summary;
    Emit(json, summary);
    if (!json) return exitCode;

    QJsonArray results;
    for (const DeviceRun& run : runs) {
        QJsonObject result = run.result;
        result.insert(QStringLiteral("port"), run.device.port);
        result.insert(QStringLiteral("speed"), run.device.speed.toInt());
        result.insert(QStringLiteral("number"), run.device.number);
        result.insert(QStringLiteral("seconds"), run.seconds);
        result.insert(QStringLiteral("exitCode"), run.exitCode);
        result.insert(QStringLiteral("ok"), run.exitCode == ExitDone);
        result.insert(QStringLiteral("line"), run.line);
        if (!run.problem.isEmpty()) result.insert(QStringLiteral("problem"), run.problem);
        results.append(result);
    }
    const QJsonObject document{
        {QStringLiteral("command"), command},         {QStringLiteral("exitCode"), exitCode},
        {QStringLiteral("ok"), exitCode == ExitDone}, {QStringLiteral("interrupted"), interrupted},
        {QStringLiteral("summary"), summary},         {QStringLiteral("succeeded"), succeeded},
        {QStringLiteral("failed"), failed},           {QStringLiteral("devices"), results}};
    WriteText(stdout, QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
    return exitCode;
}
