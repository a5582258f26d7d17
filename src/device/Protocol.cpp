#include "device/Protocol.h"

#include <QDeadlineTimer>
#include <QHash>
#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "device/DeviceCharset.h"
#include "device/ExchangeLog.h"
#include "device/FrameLayout.h"
#include "device/LineMarker.h"
#include "device/LinkRegistry.h"
#include "device/PortClaim.h"
#include "device/PortNames.h"
#include "device/SerialLink.h"
#include "device/StateProbe.h"

uint8_t FrameBuffer[FrameBufferSize];
uint32_t TransferCount = 0;

PortSettings& CurrentPortSettings() {
    static PortSettings settings;
    return settings;
}

ConversionError::ConversionError(const QString& message)
    : std::runtime_error(message.toStdString()), message_(message) {}

namespace {

SerialLink* g_linkOverride = nullptr;
// The link that holds the port between OpenPort and the close.
SerialLink* g_openLink = nullptr;
// Why the last open failed; empty after one that succeeded, and also after a
// failure of a link that cannot tell why.
QString g_lastOpenError;
bool g_lastOpenFailed = false;
// What is known of a port's line. Kept per port: an answer on its way on one
// port says nothing about another.
struct LineState {
    bool unsettled = false;  // the last exchange failed: an answer may be on its way
    bool outOfStep = false;  // markers went unanswered since
    int waitingInput = 0;    // bytes found waiting at the open, dropped
};
QHash<QString, LineState> g_lines;
bool g_lastOutOfStep = false;

// Brings the port's line back in step before a real request; false when no
// marker was answered.
bool SettleLine(SerialLink& link, const QString& path, LineState& line,
                const PortSettings& settings, int32_t machineNumber, int byteTimeout, int total) {
    const QByteArray request = StateRequest(machineNumber);
    // A line that stayed silent through a whole round of markers is not asked
    // three times again before every item: one marker tells whether it is back.
    const int attempts = line.outOfStep ? 1 : MarkerAttempts;
    for (int i = 0; i < attempts; ++i) {
        MarkerOutcome marker = PutMarker(link, settings.PortName, request, settings.BaudRate,
                                         byteTimeout, total, std::exchange(line.waitingInput, 0));
        if (ProgramExchangeLog().recording()) ProgramExchangeLog().append(std::move(marker.record));
        if (marker.settled) {
            MarkAnsweredAsDevice(path);
            line = LineState{};
            return true;
        }
    }
    line.outOfStep = true;
    return false;
}

// Opens the port of the settings through the active link, remembering why
// when it does not open.
SerialLink* OpenActiveLink() {
    if (g_openLink) {
        g_openLink->close();
        g_openLink = nullptr;
    }
    SerialLink& link = ActiveLink();
    const QString name = CurrentPortSettings().PortName;
    g_lastOpenFailed = true;
    if (name.isEmpty()) {
        g_lastOpenError = QStringLiteral("Порт не выбран.");
        return nullptr;
    }
    // A network link's connection must come up within the exchange's time.
    link.setOpenTimeout(BoundedTotalTimeout(CurrentPortSettings().TotalTimeout));
    // The user chose this port: input waiting there is dropped, and the
    // line is put back in step before the first request.
    int waiting = 0;
    if (!OpenForExchange(link, PortPath(name), g_lastOpenError, &waiting)) return nullptr;
    if (waiting > 0) {
        LineState& line = g_lines[PortPath(name)];
        line.unsettled = true;
        line.waitingInput += waiting;
    }
    g_lastOpenFailed = false;
    g_lastOpenError.clear();
    return &link;
}

}  // namespace

int LineTimeMs(int bytes, int baudRate) {
    const qint64 baud = baudRate > 0 ? baudRate : 2400;
    return int((qint64(bytes) * 10 * 1000 + baud - 1) / baud);
}

SerialLink& ActiveLink() {
    if (g_linkOverride) return *g_linkOverride;
    const QString& name = CurrentPortSettings().PortName;
    if (SerialLink* own = RegisteredPortLink(name)) return *own;
    // One link per kind for the program's life: a network link keeps its
    // connection between the exchanges of a transfer.
    static std::map<QString, std::unique_ptr<SerialLink>> links;
    const QString kind = PortLinkKind(name);
    // A kept connection of another kind may hold the very port this one
    // reaches (one server, raw and Telnet): let it go first.
    for (auto& [other, otherLink] : links)
        if (other != kind && !other.isEmpty() && otherLink.get() != g_openLink) otherLink.reset();
    std::unique_ptr<SerialLink>& link = links[kind];
    if (!link) link = NewLinkForPort(name);
    return *link;
}

void SetLinkOverride(SerialLink* link) {
    g_linkOverride = link;
}

uint16_t FrameChecksum(int count) {
    return FrameSum(FrameBuffer, std::clamp(count, 0, FrameBufferSize));
}

bool OpenPort() {
    SerialLink* link = OpenActiveLink();
    if (!link) return false;
    link->configure(CurrentPortSettings().BaudRate);
    // A port over the network may refuse the speed, which only the server
    // can tell: the port is then not usable, as one that did not open.
    if (const QString refused = link->lastConfigureError(); !refused.isEmpty()) {
        link->close();
        g_lastOpenError = refused;
        g_lastOpenFailed = true;
        return false;
    }
    g_openLink = link;
    return true;
}

QString LastPortOpenError() {
    return g_lastOpenError;
}

bool LastOpenFailed() {
    return g_lastOpenFailed;
}

bool LastLineOutOfStep() {
    return g_lastOutOfStep;
}

void ForgetLineStates() {
    g_lines.clear();
}

bool Transact(int expectedLength) {
    g_lastOutOfStep = false;
    if (!OpenPort()) return false;
    SerialLink& link = *g_openLink;
    const PortSettings& settings = CurrentPortSettings();
    const int total = BoundedTotalTimeout(settings.TotalTimeout);
    const int byteTimeout = BoundedByteTimeout(settings.ByteTimeout);
    const QString path = PortPath(settings.PortName);

    const int sendCount = std::min<int>(int(TransferCount), FrameBufferSize);
    TransferCount = 0;
    const QByteArray request(reinterpret_cast<const char*>(FrameBuffer), sendCount);
    if (const auto known = g_lines.find(path); known != g_lines.end() && known->unsettled) {
        const int32_t machine = sendCount >= 6 ? int32_t(GetLe(FrameBuffer, 2, 4)) : 0;
        if (!SettleLine(link, path, *known, settings, machine, byteTimeout, total)) {
            g_lastOutOfStep = true;
            link.close();
            g_openLink = nullptr;
            return false;
        }
    }

    // One deadline for the request and its answer: a line that holds the
    // request back (flow control) takes that time from the answer's.
    const QDeadlineTimer deadline(LineTimeMs(sendCount, settings.BaudRate) + total);
    const bool sent = link.write(request) == sendCount && link.drain(deadline);

    const int wanted = std::clamp(expectedLength, 0, FrameBufferSize);
    QByteArray answer;
    if (sent) {
        // The answer's time-out counts from the moment the request has left the port.
        const qint64 left = std::min<qint64>(total, deadline.remainingTime());
        answer = link.read(wanted, byteTimeout, int(std::max<qint64>(1, left)));
    }
    const int received = std::min<int>(int(answer.size()), wanted);
    std::memcpy(FrameBuffer, answer.constData(), std::size_t(received));
    TransferCount = uint32_t(received);
    // Anything but a whole answer to this request with the right header (a
    // device error is one) leaves the line to be put back in step first.
    uint8_t deviceError = 0;
    const uint8_t command = sendCount > 6 ? uint8_t(request.at(6)) : 0;
    const CommandStatus judged =
        received == wanted && wanted >= 4
            ? JudgeAnswer(FrameBuffer, received, command, command != CmdState, deviceError)
            : StatusNoAnswer;
    if (judged == StatusOk || judged == StatusDeviceError)
        g_lines.remove(path);
    else
        g_lines[path].unsettled = true;
    if (received >= 2 && sendCount > 6 && uint8_t(answer.at(0)) == STX_SLAVE &&
        uint8_t(answer.at(1)) == uint8_t(command - 0x20))
        MarkAnsweredAsDevice(path);
    link.close();
    g_openLink = nullptr;
    return TransferCount != 0;
}

bool ProbePort() {
    SerialLink* link = OpenActiveLink();
    if (!link) return false;
    link->close();
    return true;
}

QByteArray StatusText(CommandStatus status) {
    switch (status) {
        case StatusOk:
            return {};
        case StatusNoAnswer:
            return ToCp1251(QStringLiteral("Нет ответа или не удалось открыть порт."));
        case StatusBadHeader:
            return ToCp1251(QStringLiteral("Неккоректный ответ - первый байт не STX_SLAVE."));
        case StatusCodeMismatch:
            return ToCp1251(
                QStringLiteral("Неккоректный ответ - код ответа не соответствует коду команды."));
        case StatusOutOfStep:
            return ToCp1251(QStringLiteral("Обмен с АС сбился - АС не ответил на проверку линии."));
        case StatusDeviceError:
            break;
    }
    return {};
}

QString PortNotOpenedText(const QString& reason) {
    if (reason.isEmpty()) return QStringLiteral("Не удалось открыть порт.");
    return QStringLiteral("Не удалось открыть порт: %1").arg(reason);
}

QByteArray DeviceErrorText(uint8_t code) {
    const char16_t* text = nullptr;
    switch (code) {
        case 20:
            text = u" Ошибка интерфейса.";
            break;
        case 21:
            text = u" Ошибка CRC-суммы.";
            break;
        case 22:
            text = u" Ошибка команды. Неверный код команды. Первый байт не STX.";
            break;
        case 30:
            text = u" Ошибка выполнения команды в режиме Р.";
            break;
        case 31:
            text = u" Команда не поддерживается в данном режиме.";
            break;
        case 33:
            text = u" Авария батареи.";
            break;
        case 35:
            text = u" Нет бумаги.";
            break;
        case 50:
            text = u" Не введен заводской номер.";
            break;
        case 51:
            text = u" Неверный параметр.";
            break;
        case 52:
            text = u" Запись используется.";
            break;
        case 53:
            text = u" ИНН установлен.";
            break;
        case 55:
            text = u" Не совпал заводской номер.";
            break;
        case 56:
            text = u" Данные не записались во FLASH.";
            break;
        case 57:
            text = u" Неверный номер клише.";
            break;
        case 59:
            text = u" Разрядность \"Цена\" превышает допустимое значение.";
            break;
        default:
            return "(" + QByteArray::number(code) +
                   ToCp1251(QStringLiteral(")Неизвестный код ошибки."));
    }
    return ToCp1251(QString::fromUtf16(text));
}

int32_t MachineNumberValue(const QByteArray& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) {
        throw ConversionError(
            QStringLiteral("Заводской номер машины «%1» не является целым числом от -2147483648 "
                           "до 2147483647. Исправьте его в настройках подключения.")
                .arg(QString::fromLatin1(text)));
    }
    return value;
}
