#pragma once

#include <windows.h>

#include "device/SerialLink.h"

// A serial port through the Windows comm API, the one the device was made
// for: an exclusive CreateFile of \\.\COMn, synchronous i/o, and the read's
// byte and total time-outs handed to the driver (SetCommTimeouts), so that a
// read returns the moment the answer is complete. Qt SerialPort's overlapped
// reads are not used: they never complete under Wine, where Zelvo for
// Windows is tested.
//
// The port is left as it was found: its line settings and time-outs are read
// at open and written back at close. In between, every line flag is the
// exchange's own (configure), not the last program's.
class Win32SerialLink : public SerialLink {
public:
    ~Win32SerialLink() override;
    bool open(const QString& path) override;
    void configure(int baudRate) override;
    qint64 write(const QByteArray& bytes) override;
    bool drain(QDeadlineTimer deadline) override;
    QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) override;
    void discardLateInput(int quietMs, int boundMs) override;
    bool inputWaiting() override;
    void close() override;
    QString lastOpenError() const override { return openError_; }

private:
    bool setReadTimeouts(DWORD intervalMs, DWORD totalMs);
    // Lets the port work again after a line error (ClearCommError).
    void clearLineErrors();

    HANDLE port_ = INVALID_HANDLE_VALUE;
    DCB savedState_{};
    COMMTIMEOUTS savedTimeouts_{};
    bool stateSaved_ = false;
    bool timeoutsSaved_ = false;
    // The request waits here until drain(), which writes it within the
    // exchange's deadline: a synchronous write has no deadline of its own.
    QByteArray unsent_;
    QString openError_;
};
