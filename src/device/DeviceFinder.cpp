#include "device/DeviceFinder.h"

#include "config/DeviceCharset.h"
#include "device/ConnectionSettings.h"
#include "device/LinkRegistry.h"
#include "device/PortNames.h"
#include "device/Protocol.h"

namespace {

constexpr uint8_t ErrorFactoryNumberMissing = 50;
constexpr uint8_t ErrorFactoryNumberMismatch = 55;

// Ten bits a byte on an 8N1 line.
constexpr int BitsPerByte = 10;
// Room for the device to start answering and for a USB adapter's latency.
constexpr int ProbeMarginMs = 150;
// A gap this long inside an answer ends it: far above a byte's time at 2400
// bit/s and an adapter's 16 ms latency timer.
constexpr int ProbeByteGapMs = 50;

// The probes borrow the program-wide settings; whatever they were comes back.
class PortSettingsRestorer {
public:
    PortSettingsRestorer() : saved_(CurrentPortSettings()) {}
    ~PortSettingsRestorer() { CurrentPortSettings() = saved_; }
    PortSettingsRestorer(const PortSettingsRestorer&) = delete;
    PortSettingsRestorer& operator=(const PortSettingsRestorer&) = delete;

private:
    const PortSettings saved_;
};

// True when the state query's answer came whole: the first byte and the
// response code of the state command, and either all of its bytes or as many
// as its own length byte says (a short refusal). The state command itself
// takes any length byte, so that alone does not rule an answer out.
bool IsStateAnswer() {
    const int received = int(TransferCount);
    if (received < 4) return false;
    if (FrameBuffer[0] != STX_SLAVE || FrameBuffer[1] != uint8_t(CmdState - 0x20)) return false;
    return received == StateResponseLength || FrameBuffer[2] == received;
}

// One state query on the port and speed now in the settings; true when it was
// answered. The answer's error code goes to `deviceError`.
bool ProbeState(uint8_t& deviceError) {
    uint8_t mode = 0, flash = 0, battery = 0, documentState = 0, day = 0, month = 0, year = 0,
            hour = 0, minute = 0, group = 0;
    uint16_t document = 0;
    uint32_t factory = 0;
    uint64_t taxpayer = 0;
    char errorText[ErrorTextSize] = {};
    deviceError = 0;
    const CommandStatus status =
        StateCommand(deviceError, mode, flash, battery, document, documentState, day, month, year,
                     hour, minute, factory, taxpayer, group, errorText);
    if (status == StatusNoAnswer || !IsStateAnswer()) return false;
    deviceError = FrameBuffer[3];
    return true;
}

}  // namespace

QStringList SearchablePortNames() {
    QStringList names;
    for (const PortEntry& entry : AvailablePorts())
        if (entry.present) names << entry.name;
    return names;
}

QList<int> SearchBaudRates(int first) {
    QList<int> rates;
    const QStringList& offered = BaudRateChoices();
    for (const QString& speed : offered)
        if (speed.toInt() == first) rates << first;
    for (auto it = offered.crbegin(); it != offered.crend(); ++it)
        if (it->toInt() != first) rates << it->toInt();
    return rates;
}

int ProbeTimeoutMs(int baudRate) {
    const int lineMs = (StateResponseLength * BitsPerByte * 1000 + baudRate - 1) / baudRate;
    return lineMs + ProbeMarginMs;
}

DeviceSearchResult FindDevice(const QStringList& portNames, const QByteArray& machineNumber,
                              int firstBaudRate, const DeviceSearchCallback& callback) {
    MachineNumberValue(machineNumber);  // a bad number is refused before any port is touched
    DeviceSearchResult result;
    const QList<int> rates = SearchBaudRates(firstBaudRate);
    const QStringList registered = RegisteredPortNames();
    QStringList ports;
    for (const QString& name : portNames)
        if (!name.isEmpty() && !registered.contains(name) && !ports.contains(name)) ports << name;

    DeviceSearchStep step;
    step.total = int(ports.size() * rates.size());
    auto goOn = [&] { return !callback || callback(step); };

    PortSettingsRestorer restorer;
    PortSettings& settings = CurrentPortSettings();
    settings.MachineNumber = machineNumber;
    settings.ByteTimeout = ProbeByteGapMs;
    for (const QString& port : ports) {
        step.portName = port;
        settings.PortName = port;
        if (!ProbePort()) {
            result.skipped << SkippedPort{port, LastPortOpenError()};
            step.done += int(rates.size());
            continue;
        }
        ++result.portsAsked;
        for (int rate : rates) {
            step.baudRate = rate;
            if (!goOn()) {
                result.stopped = true;
                return result;
            }
            settings.BaudRate = rate;
            settings.TotalTimeout = ProbeTimeoutMs(rate);
            ++result.probes;
            ++step.done;
            uint8_t deviceError = 0;
            if (ProbeState(deviceError)) {
                result.found = true;
                result.portName = port;
                result.baudRate = rate;
                result.deviceError = deviceError;
                result.factoryNumberWrong = deviceError == ErrorFactoryNumberMismatch ||
                                            deviceError == ErrorFactoryNumberMissing;
                step.done = step.total;
                goOn();
                return result;
            }
        }
    }
    goOn();
    return result;
}

QString DeviceSearchSummary(const DeviceSearchResult& result, const QByteArray& machineNumber) {
    const QString number = QString::fromLatin1(machineNumber.trimmed());
    if (result.found) {
        QString text = QStringLiteral("АС найден: порт %1, скорость %2.\n")
                           .arg(result.portName)
                           .arg(result.baudRate);
        const QString deviceText = FromCp1251(DeviceErrorText(result.deviceError)).trimmed();
        if (result.factoryNumberWrong)
            text += QStringLiteral("Заводской номер %1 неверен: %2").arg(number, deviceText);
        else if (result.deviceError != 0)
            text += QStringLiteral("Заводской номер %1 принят; АС сообщил об ошибке: %2")
                        .arg(number, deviceText);
        else
            text += QStringLiteral("Заводской номер %1 верен.").arg(number);
        return text;
    }
    QString text = result.stopped ? QStringLiteral("Поиск АС остановлен.")
                   : result.portsAsked + result.skipped.size() == 0
                       ? QStringLiteral("АС не найден: в системе нет последовательных портов.")
                       : QStringLiteral(
                             "АС не найден: ни один порт не ответил на запрос "
                             "состояния ни на одной скорости.");
    if (!result.skipped.isEmpty()) {
        text += QStringLiteral("\nНе удалось открыть:");
        for (const SkippedPort& port : result.skipped)
            text += QStringLiteral("\n%1 — %2").arg(port.portName, port.reason);
    }
    return text;
}
