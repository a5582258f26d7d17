#include "device/links/Win32SerialLink.h"

#include <QThread>
#include <algorithm>

#include "device/PortOpenError.h"

namespace {

QString SystemMessage(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    QString message = length > 0 ? QString::fromWCharArray(text, int(length)).trimmed()
                                 : QStringLiteral("код %1").arg(error);
    if (text) LocalFree(text);
    while (message.endsWith(QLatin1Char('.'))) message.chop(1);
    return message;
}

// The port as the user named it: COM9, not the device path \\.\COM9 it is
// opened by.
QString UserPortName(const QString& path) {
    static const QString devicePrefix = QStringLiteral("\\\\.\\");
    return path.startsWith(devicePrefix) ? path.mid(devicePrefix.size()) : path;
}

QString OpenErrorReason(DWORD error, const QString& path) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_UNIT:
        case ERROR_INVALID_NAME:
            return PortNotFoundReason(UserPortName(path));
        // The open is exclusive: a port that another program has open is
        // refused as access denied.
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            return PortHeldReason();
        default:
            return PortSystemErrorReason(SystemMessage(error));
    }
}

DWORD ClampedMs(qint64 ms) {
    return DWORD(std::clamp<qint64>(ms, 1, MAXDWORD - 1));
}

}  // namespace

Win32SerialLink::~Win32SerialLink() {
    close();
}

bool Win32SerialLink::open(const QString& path) {
    close();
    openError_.clear();
    const std::wstring name = path.toStdWString();
    port_ = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0 /* exclusive */, nullptr,
                        OPEN_EXISTING, 0 /* synchronous */, nullptr);
    if (port_ == INVALID_HANDLE_VALUE) {
        openError_ = OpenErrorReason(GetLastError(), path);
        return false;
    }
    savedState_ = DCB{};
    savedState_.DCBlength = sizeof savedState_;
    stateSaved_ = GetCommState(port_, &savedState_) != 0;
    if (!stateSaved_) {
        // A file or a device that opens but has no line settings.
        openError_ = PortNotSerialReason(UserPortName(path));
        CloseHandle(port_);
        port_ = INVALID_HANDLE_VALUE;
        return false;
    }
    timeoutsSaved_ = GetCommTimeouts(port_, &savedTimeouts_) != 0;
    // Input that waits is kept: whose it is, is the caller's to judge.
    return true;
}

bool Win32SerialLink::inputWaiting() {
    if (port_ == INVALID_HANDLE_VALUE) return false;
    COMSTAT status{};
    DWORD errors = 0;
    return ClearCommError(port_, &errors, &status) && status.cbInQue > 0;
}

void Win32SerialLink::configure(int baudRate) {
    if (port_ == INVALID_HANDLE_VALUE) return;
    // Every flag the exchange depends on is set here, whatever another program
    // left in the port: the frames are binary, so any byte (0x00, XON, XOFF)
    // is data, and no line may hold the request or the answer back.
    DCB state = savedState_;
    state.DCBlength = sizeof state;
    state.BaudRate = DWORD(baudRate);
    state.ByteSize = 8;
    state.Parity = NOPARITY;
    state.StopBits = ONESTOPBIT;
    state.fBinary = TRUE;
    state.fParity = FALSE;
    state.fErrorChar = FALSE;
    state.fNull = FALSE;  // else every 0x00 of an answer is dropped
    state.fOutX = FALSE;  // else 0x11 and 0x13 in an answer stop and start our output
    state.fInX = FALSE;
    state.fTXContinueOnXoff = TRUE;
    state.fOutxCtsFlow = FALSE;
    state.fOutxDsrFlow = FALSE;
    state.fDsrSensitivity = FALSE;
    // The device takes its power or its readiness from these lines on some
    // adapters: raised for the whole exchange.
    state.fDtrControl = DTR_CONTROL_ENABLE;
    state.fRtsControl = RTS_CONTROL_ENABLE;
    // A framing error (a probe of the device search at a wrong speed) must
    // not fail every read and write after it.
    state.fAbortOnError = FALSE;
    // A setting the adapter refuses is not an error: the exchange goes ahead
    // with whatever the port accepted.
    SetCommState(port_, &state);
    clearLineErrors();
}

void Win32SerialLink::clearLineErrors() {
    COMSTAT status{};
    DWORD errors = 0;
    ClearCommError(port_, &errors, &status);
}

bool Win32SerialLink::setReadTimeouts(DWORD intervalMs, DWORD totalMs) {
    COMMTIMEOUTS timeouts = timeoutsSaved_ ? savedTimeouts_ : COMMTIMEOUTS{};
    timeouts.ReadIntervalTimeout = intervalMs;  // 0: no gap limit
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = totalMs;
    return SetCommTimeouts(port_, &timeouts) != 0;
}

qint64 Win32SerialLink::write(const QByteArray& bytes) {
    if (port_ == INVALID_HANDLE_VALUE) return 0;
    unsent_ = bytes;
    return bytes.size();
}

bool Win32SerialLink::drain(QDeadlineTimer deadline) {
    if (port_ == INVALID_HANDLE_VALUE) return false;
    if (!unsent_.isEmpty()) {
        // The write may take no longer than the exchange has left: flow
        // control that holds the request back ends it at the deadline.
        COMMTIMEOUTS timeouts = timeoutsSaved_ ? savedTimeouts_ : COMMTIMEOUTS{};
        timeouts.WriteTotalTimeoutMultiplier = 0;
        timeouts.WriteTotalTimeoutConstant = ClampedMs(deadline.remainingTime());
        SetCommTimeouts(port_, &timeouts);
        DWORD written = 0;
        const BOOL ok =
            WriteFile(port_, unsent_.constData(), DWORD(unsent_.size()), &written, nullptr);
        const bool whole = ok && written == DWORD(unsent_.size());
        unsent_.clear();
        if (!whole) {
            clearLineErrors();
            return false;
        }
    }
    // The driver may still hold bytes for the line.
    for (;;) {
        COMSTAT status{};
        DWORD errors = 0;
        if (!ClearCommError(port_, &errors, &status) || status.cbOutQue == 0) return true;
        if (deadline.hasExpired()) return false;
        QThread::usleep(500);
    }
}

QByteArray Win32SerialLink::read(int expected, int byteTimeoutMs, int totalTimeoutMs) {
    QByteArray answer;
    if (port_ == INVALID_HANDLE_VALUE || expected <= 0) return answer;
    // The driver ends the read at the expected count, at the first gap longer
    // than the byte time-out, or at the total: exactly the exchange's rule.
    if (!setReadTimeouts(DWORD(std::max(0, byteTimeoutMs)), ClampedMs(totalTimeoutMs)))
        return answer;
    answer.resize(expected);
    DWORD received = 0;
    if (!ReadFile(port_, answer.data(), DWORD(expected), &received, nullptr)) {
        // The port may have stopped on a line error; the next read must work.
        clearLineErrors();
        received = 0;
    }
    answer.resize(int(std::min<DWORD>(received, DWORD(expected))));
    return answer;
}

void Win32SerialLink::discardLateInput(int quietMs, int boundMs) {
    if (port_ == INVALID_HANDLE_VALUE) return;
    const QDeadlineTimer bound(boundMs);
    PurgeComm(port_, PURGE_RXCLEAR);
    char sink[128];
    for (;;) {
        const qint64 wait = std::min<qint64>(quietMs, bound.remainingTime());
        if (wait <= 0 || !setReadTimeouts(0, ClampedMs(wait))) return;
        DWORD received = 0;
        if (!ReadFile(port_, sink, sizeof sink, &received, nullptr)) {
            clearLineErrors();
            return;
        }
        if (received == 0) return;
        // Bytes came within the wait: the line is not quiet yet.
    }
}

void Win32SerialLink::close() {
    unsent_.clear();
    if (port_ == INVALID_HANDLE_VALUE) return;
    // Output that flow control still holds back would keep the close waiting.
    PurgeComm(port_, PURGE_TXABORT | PURGE_TXCLEAR);
    // Leave the port as it was found, for the program that uses it next.
    if (stateSaved_) SetCommState(port_, &savedState_);
    if (timeoutsSaved_) SetCommTimeouts(port_, &savedTimeouts_);
    CloseHandle(port_);
    port_ = INVALID_HANDLE_VALUE;
    stateSaved_ = timeoutsSaved_ = false;
}
