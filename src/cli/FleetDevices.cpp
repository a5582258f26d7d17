#include "cli/FleetDevices.h"

#include <QFile>
#include <QSet>

#include "device/ConnectionSettings.h"
#include "device/DeviceCharset.h"
#include "device/PortSettings.h"
#include "device/Protocol.h"
#include "device/links/NetworkAddress.h"
#include "shell/RegularFile.h"

namespace {

bool AllDigits(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

// What is wrong with one device's fields, the way the single-device options
// are checked; empty when nothing is.
QString FieldsProblem(const FleetDevice& device) {
    if (device.port.isEmpty()) return QStringLiteral("не указан порт");
    if (IsNetworkPortName(device.port) && !ParseNetworkAddress(device.port))
        return NetworkAddressInvalidReason(device.port);
    if (!BaudRateChoices().contains(device.speed))
        return QStringLiteral("скорость «%1» не поддерживается; можно: %2")
            .arg(device.speed, BaudRateChoices().join(QStringLiteral(", ")));
    if (device.number.isEmpty() || device.number.size() > MachineNumberMaxLength)
        return QStringLiteral("заводской номер: от 1 до %1 знаков").arg(MachineNumberMaxLength);
    try {
        MachineNumberValue(ToCp1251(device.number));
    } catch (const ConversionError& error) {
        return error.message();
    }
    return {};
}

}  // namespace

QList<FleetDevice> ReadFleetDevices(const QString& path, QStringList& errors) {
    errors.clear();
    QFile file(path);
    if (!OpenRegularFile(file, path)) {
        errors << QStringLiteral("«%1»: %2.").arg(path, FileOpenFailureCause(path));
        return {};
    }
    if (file.size() > FleetFileMaxBytes) {
        errors << QStringLiteral("«%1»: файл больше %2 КБ — это не список АС.")
                      .arg(path)
                      .arg(FleetFileMaxBytes / 1024);
        return {};
    }
    // Read no more than the bound even if the file grows meanwhile.
    const QByteArray bytes = file.read(FleetFileMaxBytes + 1);
    if (bytes.size() > FleetFileMaxBytes || bytes.contains('\0')) {
        errors << QStringLiteral("«%1»: это не текстовый список АС.").arg(path);
        return {};
    }
    // Ports and numbers are ASCII; a header saved by a spreadsheet may be in
    // either encoding and only has to be told apart, not understood.
    const QList<QByteArray> lines = bytes.split('\n');
    QList<FleetDevice> devices;
    QSet<QString> ports;
    bool first = true;
    for (int i = 0; i < lines.size(); ++i) {
        QString text = QString::fromUtf8(lines[i]);
        if (const int hash = int(text.indexOf(QLatin1Char('#'))); hash >= 0) text.truncate(hash);
        text = text.trimmed();
        if (text.isEmpty()) continue;
        const QStringList fields = text.split(QLatin1Char(';'));
        const bool header = first && (fields.size() < 2 || !AllDigits(fields[1].trimmed()));
        first = false;
        if (header) continue;
        const QString where = QStringLiteral("строка %1: ").arg(i + 1);
        if (fields.size() != 3) {
            errors << where + QStringLiteral("нужно три поля ПОРТ;СКОРОСТЬ;НОМЕР, а их %1")
                                  .arg(fields.size());
            continue;
        }
        FleetDevice device{fields[0].trimmed(), fields[1].trimmed(), fields[2].trimmed(), i + 1};
        if (const QString problem = FieldsProblem(device); !problem.isEmpty()) {
            errors << where + problem;
            continue;
        }
        // Two processes on one port would answer each other's exchanges.
        if (ports.contains(device.port.toUpper())) {
            errors << where + QStringLiteral("порт %1 уже указан выше").arg(device.port);
            continue;
        }
        ports.insert(device.port.toUpper());
        devices << device;
    }
    if (devices.size() > FleetMaxDevices)
        errors << QStringLiteral("АС в списке %1, можно не больше %2.")
                      .arg(devices.size())
                      .arg(FleetMaxDevices);
    if (errors.isEmpty() && devices.isEmpty())
        errors << QStringLiteral("«%1»: в списке нет ни одной АС.").arg(path);
    if (!errors.isEmpty()) devices.clear();
    return devices;
}
