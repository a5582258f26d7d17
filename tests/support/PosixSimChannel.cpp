#include <QProcess>

#include "support/SimChannel.h"

namespace {

class ProcessChannel : public SimChannel {
public:
    bool start(const QStringList& arguments, int timeoutMs, QString& error) override {
        process_.setProgram(QStringLiteral(ZELVO_SIM_PATH));
        process_.setArguments(arguments);
        process_.start();
        if (process_.waitForStarted(timeoutMs)) return true;
        error = QStringLiteral("zelvo-sim did not start: ") + process_.errorString();
        return false;
    }
    bool isRunning() override { return process_.state() == QProcess::Running; }
    void write(const QByteArray& line) override { process_.write(line); }
    QList<QByteArray> readLines(int waitMs) override {
        QList<QByteArray> lines;
        if (!process_.canReadLine()) process_.waitForReadyRead(waitMs);
        while (process_.canReadLine()) lines << process_.readLine();
        return lines;
    }
    QString standardError() override {
        return QString::fromLocal8Bit(process_.readAllStandardError());
    }
    QString portName(const QString& terminal) override { return terminal; }
    void stop() override {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }

    qint64 processId() override { return process_.processId(); }

private:
    QProcess process_;
};

}  // namespace

std::unique_ptr<SimChannel> NewSimChannel() {
    return std::make_unique<ProcessChannel>();
}
