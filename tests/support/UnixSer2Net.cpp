#include "support/UnixSer2Net.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace {

bool Listening(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(quint16(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return up;
}

}  // namespace

int FreeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

Ser2NetProcess::Ser2NetProcess(const QString& terminal, int baudRate, const QStringList& options) {
    rawPort_ = FreeLoopbackPort();
    telnetPort_ = FreeLoopbackPort();
    while (telnetPort_ == rawPort_) telnetPort_ = FreeLoopbackPort();
    QString optionLines;
    for (const QString& option : options) optionLines += QStringLiteral("    %1\n").arg(option);
    const QString config = QStringLiteral(
                               "connection: &raw\n"
                               "  accepter: tcp,127.0.0.1,%1\n"
                               "  connector: serialdev,%3,%4n81,local\n"
                               "  options:\n"
                               "    mdns: false\n%5"
                               "connection: &telnet\n"
                               "  accepter: telnet(rfc2217),tcp,127.0.0.1,%2\n"
                               "  connector: serialdev,%3,%4n81,local\n"
                               "  options:\n"
                               "    mdns: false\n%5")
                               .arg(rawPort_)
                               .arg(telnetPort_)
                               .arg(terminal)
                               .arg(baudRate)
                               .arg(optionLines);
    const QString path = dir_.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0) {
        error_ = QStringLiteral("cannot write %1").arg(path);
        return;
    }
    file.close();
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStringLiteral("/usr/sbin/ser2net"),
                   {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), path,
                    QStringLiteral("-P"), dir_.filePath(QStringLiteral("ser2net.pid"))});
    if (!process_.waitForStarted(5000)) {
        error_ = QStringLiteral("ser2net did not start: %1 (install the package ser2net)")
                     .arg(process_.errorString());
        return;
    }
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && process_.state() == QProcess::Running) {
        if (Listening(rawPort_) && Listening(telnetPort_)) {
            ready_ = true;
            return;
        }
        QThread::msleep(20);
    }
    error_ =
        QStringLiteral("ser2net is not listening: ") + QString::fromLocal8Bit(process_.readAll());
}

Ser2NetProcess::~Ser2NetProcess() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}
