#include "device/Protocol.h"

#include <algorithm>
#include <cstring>

#include "config/DeviceCharset.h"
#include "device/LinkRegistry.h"
#include "device/PortNames.h"
#include "device/PosixSerialLink.h"
#include "device/QtSerialLink.h"

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

}  // namespace

SerialLink& ActiveLink() {
    if (g_linkOverride) return *g_linkOverride;
    if (SerialLink* own = RegisteredPortLink(CurrentPortSettings().PortName)) return *own;
#ifdef Q_OS_UNIX
    static PosixSerialLink serial;
#else
    static QtSerialLink serial;
#endif
    return serial;
}

void SetLinkOverride(SerialLink* link) {
    g_linkOverride = link;
}

uint16_t FrameChecksum(int count) {
    uint16_t sum = 0;
    for (int i = 0; i < count && i < FrameBufferSize; ++i) sum = uint16_t(sum + FrameBuffer[i]);
    return sum;
}

bool OpenPort() {
    if (g_openLink) {
        g_openLink->close();
        g_openLink = nullptr;
    }
    SerialLink& link = ActiveLink();
    const PortSettings& settings = CurrentPortSettings();
    if (settings.PortName.isEmpty() || !link.open(PortPath(settings.PortName))) return false;
    g_openLink = &link;
    link.configure(settings.BaudRate);
    return true;
}

bool Transact(int expectedLength) {
    if (!OpenPort()) return false;
    SerialLink& link = *g_openLink;
    const int sendCount = std::min<int>(int(TransferCount), FrameBufferSize);
    TransferCount =
        uint32_t(link.write(QByteArray(reinterpret_cast<const char*>(FrameBuffer), sendCount)));
    TransferCount = 0;
    const PortSettings& settings = CurrentPortSettings();
    int total = settings.TotalTimeout;
    if (total <= 0) total = UnboundedTotalTimeoutCap;
    const int wanted = std::clamp(expectedLength, 0, FrameBufferSize);
    const QByteArray answer = link.read(wanted, std::max(0, settings.ByteTimeout), total);
    const int received = std::min<int>(int(answer.size()), wanted);
    std::memcpy(FrameBuffer, answer.constData(), std::size_t(received));
    TransferCount = uint32_t(received);
    link.close();
    g_openLink = nullptr;
    return TransferCount != 0;
}

bool ProbePort() {
    if (g_openLink) {
        g_openLink->close();
        g_openLink = nullptr;
    }
    SerialLink& link = ActiveLink();
    const QString name = CurrentPortSettings().PortName;
    if (name.isEmpty() || !link.open(PortPath(name))) return false;
    link.close();
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
        case StatusDeviceError:
            break;
    }
    return {};
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
