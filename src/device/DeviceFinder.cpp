#include "device/DeviceFinder.h"

#include <memory>
#include <vector>

#include "device/ConnectionSettings.h"
#include "device/DeviceCharset.h"
#include "device/ExchangeLog.h"
#include "device/LinkRegistry.h"
#include "device/LinkThread.h"
#include "device/PortClaim.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/StateProbe.h"
#include "device/links/SystemSerialLink.h"

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

// One port of a search: a thread with a link of its own, which holds the port
// open from the first speed to the last, and what its last step found. The
// fields are written by that thread and read after LinkThread::wait().
struct SearchedPort {
    QString name;
    QString path;
    bool opened = false;
    QString openError;
    StateProbeOutcome last;
    std::unique_ptr<LinkThread> thread;
};

void WaitForAll(std::vector<SearchedPort>& ports) {
    for (SearchedPort& port : ports)
        if (port.thread) port.thread->wait();
}

}  // namespace

QStringList SearchablePortNames() {
    QStringList names;
    for (const PortEntry& entry : AvailablePorts())
        if (entry.present) names << entry.name;
    return names;
}

QStringList SearchPortsWithSelected(const QStringList& ports, const QString& selected) {
    QStringList names = ports;
    const QString name = selected.trimmed();
    if (!name.isEmpty() && !names.contains(name) && !RegisteredPortNames().contains(name))
        names << name;
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
    // A bad number is refused before any port is touched.
    const QByteArray request = StateRequest(MachineNumberValue(machineNumber));
    DeviceSearchResult result;
    const QList<int> rates = SearchBaudRates(firstBaudRate);
    const QStringList registered = RegisteredPortNames();
    QStringList names;
    for (const QString& name : portNames)
        if (!name.isEmpty() && !registered.contains(name) && !names.contains(name)) names << name;

    DeviceSearchStep step;
    step.total = int(names.size() * rates.size());
    auto goOn = [&] { return !callback || callback(step); };

    // Every port at once: opened together, asked at each speed together, the
    // answers awaited together. A speed takes one probe's time, however many
    // ports there are.
    std::vector<SearchedPort> ports(std::size_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        SearchedPort& port = ports[std::size_t(i)];
        port.name = names.at(i);
        port.path = PortPath(port.name);
        // A network port is asked through its own kind of link, like any exchange.
        port.thread =
            std::make_unique<LinkThread>([name = port.name] { return NewLinkForPort(name); });
        port.thread->post([&port](SerialLink& link) {
            port.opened = OpenForExchange(link, port.path, port.openError);
        });
    }
    WaitForAll(ports);
    std::vector<SearchedPort*> asked;
    for (SearchedPort& port : ports) {
        if (port.opened) {
            asked.push_back(&port);
            result.askedPorts << port.name;
            continue;
        }
        result.skipped << SkippedPort{port.name, port.openError};
        step.done += int(rates.size());
        port.thread.reset();
    }
    result.portsAsked = int(asked.size());
    step.portName = result.askedPorts.join(QStringLiteral(", "));

    bool firstProbe = true;
    for (int rate : rates) {
        if (asked.empty()) break;
        step.baudRate = rate;
        if (!goOn()) {
            result.stopped = true;
            break;
        }
        const int timeout = ProbeTimeoutMs(rate);
        for (SearchedPort* port : asked) {
            port->thread->post([port, &request, rate, timeout, firstProbe](SerialLink& link) {
                port->last = ProbeState(link, port->name, request, rate, timeout, ProbeByteGapMs,
                                        firstProbe);
                if (port->last.answered) MarkAnsweredAsDevice(port->path);
            });
        }
        WaitForAll(ports);
        firstProbe = false;
        // In the order of the list, so that the result does not depend on
        // which thread finished first.
        for (SearchedPort* port : asked) {
            ++result.probes;
            ++step.done;
            ExchangeLog& log = ProgramExchangeLog();
            if (log.recording()) log.append(std::move(port->last.record));
            if (result.found || !port->last.answered) continue;
            result.found = true;
            result.portName = port->name;
            result.baudRate = rate;
            result.deviceError = port->last.deviceError;
            result.factoryNumberWrong = result.deviceError == ErrorFactoryNumberMismatch ||
                                        result.deviceError == ErrorFactoryNumberMissing;
        }
        if (result.found) break;
    }
    // Every port closed, and so left as it was found, before the search ends.
    ports.clear();
    if (result.stopped) return result;
    if (result.found) step.done = step.total;
    goOn();
    return result;
}

namespace {

// Which ports were asked, and which were not with the reason.
QString SearchedPortsText(const DeviceSearchResult& result) {
    QString text;
    if (!result.askedPorts.isEmpty())
        text += QStringLiteral("\nОпрошены порты: %1.")
                    .arg(result.askedPorts.join(QStringLiteral(", ")));
    if (!result.skipped.isEmpty()) {
        text += QStringLiteral("\nНе удалось открыть:");
        for (const SkippedPort& port : result.skipped)
            text += QStringLiteral("\n%1 — %2").arg(port.portName, port.reason);
    }
    return text;
}

}  // namespace

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
        return text + SearchedPortsText(result);
    }
    QString text = result.stopped ? QStringLiteral("Поиск АС остановлен.")
                   : result.portsAsked + result.skipped.size() == 0
                       ? QStringLiteral("АС не найден: в системе нет последовательных портов.")
                       : QStringLiteral(
                             "АС не найден: ни один порт не ответил на запрос "
                             "состояния ни на одной скорости.");
    return text + SearchedPortsText(result);
}
