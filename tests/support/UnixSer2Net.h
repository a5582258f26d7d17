#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Debian's ser2net serving one terminal (the simulator's) on two free
// loopback ports: one raw, one Telnet with serial port control. Started from
// a configuration file of its own, stopped when destroyed. Linux only, as the
// simulator is.
class Ser2NetProcess {
public:
    // `options`: lines for each connection's options block ("chardelay: false").
    explicit Ser2NetProcess(const QString& terminal, int baudRate = 115200,
                            const QStringList& options = {});
    ~Ser2NetProcess();
    Ser2NetProcess(const Ser2NetProcess&) = delete;
    Ser2NetProcess& operator=(const Ser2NetProcess&) = delete;

    bool isReady() const { return ready_; }
    QString errorString() const { return error_; }
    int rawPort() const { return rawPort_; }
    int telnetPort() const { return telnetPort_; }
    QString tcpName() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(rawPort_); }
    QString rfc2217Name() const {
        return QStringLiteral("rfc2217://127.0.0.1:%1").arg(telnetPort_);
    }

private:
    QTemporaryDir dir_;
    QProcess process_;
    int rawPort_ = 0;
    int telnetPort_ = 0;
    bool ready_ = false;
    QString error_;
};

// A loopback port nobody listens on at the moment of asking.
int FreeLoopbackPort();
