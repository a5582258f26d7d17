#include "device/PortCheck.h"

#include <memory>

#include "device/DeviceFinder.h"
#include "device/LinkRegistry.h"
#include "device/PortClaim.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/SerialLink.h"
#include "device/StateProbe.h"
#include "device/links/SystemSerialLink.h"

namespace {

// A gap this long ends an answer when the settings leave the byte time-out at 0.
constexpr int FallbackByteGapMs = 50;

void AskOpenLink(SerialLink& link, const QString& path, const PortSettings& settings,
                 const QByteArray& request, PortCheck& check) {
    if (!OpenForExchange(link, path, check.openError)) {
        check.result = PortCheck::Result::NotOpened;
        return;
    }
    // The settings' own total time-out: a device that answers within it works
    // with every command, one that needs longer works with none.
    const int timeout =
        settings.TotalTimeout > 0 ? settings.TotalTimeout : ProbeTimeoutMs(settings.BaudRate);
    const int gap = settings.ByteTimeout > 0 ? settings.ByteTimeout : FallbackByteGapMs;
    StateProbeOutcome outcome =
        ProbeState(link, settings.PortName, request, settings.BaudRate, timeout, gap, true);
    link.close();
    check.asked = true;
    check.record = std::move(outcome.record);
    check.deviceError = outcome.deviceError;
    check.result = outcome.answered ? PortCheck::Result::Answered : PortCheck::Result::Silent;
    if (outcome.answered) MarkAnsweredAsDevice(path);
}

}  // namespace

bool ServedByRegisteredLink(const QString& portName) {
    return !portName.isEmpty() && RegisteredPortLink(portName) != nullptr;
}

PortCheck CheckPort(const PortSettings& settings) {
    const QByteArray request = StateRequest(MachineNumberValue(settings.MachineNumber));
    PortCheck check;
    if (settings.PortName.isEmpty()) {
        check.openError = QStringLiteral("Порт не выбран.");
        return check;
    }
    const QString path = PortPath(settings.PortName);
    if (SerialLink* own = RegisteredPortLink(settings.PortName)) {
        AskOpenLink(*own, path, settings, request, check);
        return check;
    }
    const std::unique_ptr<SerialLink> link = NewSystemSerialLink();
    AskOpenLink(*link, path, settings, request, check);
    return check;
}

QString FailedPortPanelText(const QString& portName, const PortCheck& check) {
    const QString what = check.result == PortCheck::Result::NotOpened
                             ? QStringLiteral("не открывается")
                             : QStringLiteral("нет ответа");
    return QStringLiteral("Порт %1: %2").arg(portName, what);
}
