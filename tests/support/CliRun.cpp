#include "support/CliRun.h"

#include <QJsonDocument>
#include <QProcess>

QJsonObject CliRun::json() const {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(out, &error);
    return error.error == QJsonParseError::NoError ? document.object() : QJsonObject();
}

CliRun RunCli(const QStringList& arguments, int timeoutMs, const QByteArray& input) {
    QProcess process;
    process.start(QStringLiteral(ZELVO_CLI_PATH), arguments);
    CliRun run;
    if (!process.waitForStarted(5000)) return run;
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(3000);
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.out = process.readAllStandardOutput();
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList PortArguments(const QString& portPath) {
    return {QStringLiteral("--port"), portPath, QStringLiteral("--total-timeout"),
            QStringLiteral("1000")};
}
