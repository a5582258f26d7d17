#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <atomic>

#include "support/SimChannel.h"

namespace {

// The broker's folder, as the test sees it (Z:\...), from the environment
// scripts/windows-test.sh sets up.
QString BrokerFolder() {
    return qEnvironmentVariable("ZELVO_SIM_BROKER");
}

bool WriteWhole(const QString& path, const QByteArray& bytes) {
    const QString temporary = path + QStringLiteral(".tmp");
    {
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
        if (file.write(bytes) != bytes.size()) return false;
    }
    // The broker takes a file only once it has its name, so never half-written.
    return QFile::rename(temporary, path);
}

QByteArray ReadWhole(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class BrokerChannel : public SimChannel {
public:
    ~BrokerChannel() override { stop(); }

    bool start(const QStringList& arguments, int timeoutMs, QString& error) override {
        const QString folder = BrokerFolder();
        if (folder.isEmpty() || !QDir(folder).exists()) {
            error = QStringLiteral(
                "zelvo-sim is served under Wine by scripts/windows-test.sh; "
                "ZELVO_SIM_BROKER names no folder");
            return false;
        }
        static std::atomic<int> counter{0};
        base_ = QDir(folder).filePath(
            QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(counter++));
        if (!WriteWhole(base_ + QStringLiteral(".args"),
                        arguments.join(QLatin1Char('\n')).toUtf8() + '\n')) {
            error = QStringLiteral("cannot write to the broker's folder ") + folder;
            return false;
        }
        started_ = true;
        const QDeadlineTimer deadline(timeoutMs);
        while (!QFile::exists(base_ + QStringLiteral(".out"))) {
            if (deadline.hasExpired()) {
                error = QStringLiteral("the broker did not start zelvo-sim");
                return false;
            }
            QThread::msleep(2);
        }
        com_ = QString::fromLatin1(ReadWhole(base_ + QStringLiteral(".com"))).trimmed();
        return true;
    }

    bool isRunning() override {
        return started_ && !QFile::exists(base_ + QStringLiteral(".exited"));
    }

    void write(const QByteArray& line) override {
        if (!started_) return;
        WriteWhole(base_ + QStringLiteral(".cmd.%1").arg(commands_++), line);
    }

    QList<QByteArray> readLines(int waitMs) override {
        const QDeadlineTimer deadline(waitMs);
        for (;;) {
            collect();
            if (pending_.contains('\n') || deadline.hasExpired() || !isRunning()) break;
            QThread::msleep(1);
        }
        collect();
        QList<QByteArray> lines;
        for (int end = int(pending_.indexOf('\n')); end >= 0; end = int(pending_.indexOf('\n'))) {
            lines << pending_.left(end + 1);
            pending_.remove(0, end + 1);
        }
        return lines;
    }

    QString standardError() override {
        return started_ ? QString::fromUtf8(ReadWhole(base_ + QStringLiteral(".err"))) : QString();
    }

    QString portName(const QString&) override { return com_; }

    void stop() override {
        if (!started_) return;
        started_ = false;
        WriteWhole(base_ + QStringLiteral(".stop"), QByteArray());
        const QDeadlineTimer deadline(8000);
        while (!QFile::exists(base_ + QStringLiteral(".gone")) && !deadline.hasExpired())
            QThread::msleep(2);
    }

private:
    // What the simulator printed since the last look.
    void collect() {
        QFile out(base_ + QStringLiteral(".out"));
        if (!out.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return;
        if (!out.seek(offset_)) return;
        const QByteArray more = out.readAll();
        offset_ += more.size();
        pending_ += more;
    }

    QString base_;
    QString com_;
    bool started_ = false;
    int commands_ = 0;
    qint64 offset_ = 0;
    QByteArray pending_;
};

}  // namespace

std::unique_ptr<SimChannel> NewSimChannel() {
    return std::make_unique<BrokerChannel>();
}
