// ports and find.

#include <QJsonArray>
#include <QJsonObject>
#include <QSerialPortInfo>

#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "cli/CommandSupport.h"
#include "cli/ExitCode.h"
#include "device/PortNames.h"

namespace {

// The COM name whose device is `path` (COM1 is /dev/ttyS0 on Linux), or empty.
QString ComNameOf(const QString& path) {
    for (int n = 1; n <= 100; ++n) {
        const QString name = QStringLiteral("COM%1").arg(n);
        if (PortPath(name) == path) return name;
    }
    return {};
}

}  // namespace

int RunPorts(CliSession& session) {
    QJsonArray ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
        const QString path = info.systemLocation();
        const QString com = ComNameOf(path);
        const QString name = com.isEmpty() ? path : com;
        QStringList about;
        if (!info.description().isEmpty()) about << info.description();
        if (!info.manufacturer().isEmpty()) about << info.manufacturer();
        if (!info.serialNumber().isEmpty())
            about << QStringLiteral("серийный номер ") + info.serialNumber();
        QString text = name;
        if (!com.isEmpty()) text += QStringLiteral(" (") + path + QLatin1Char(')');
        if (!about.isEmpty()) text += QStringLiteral(" — ") + about.join(QStringLiteral(", "));
        session.report.line(text);
        QJsonObject port{{QStringLiteral("name"), name},
                         {QStringLiteral("path"), path},
                         {QStringLiteral("description"), info.description()},
                         {QStringLiteral("manufacturer"), info.manufacturer()},
                         {QStringLiteral("serialNumber"), info.serialNumber()}};
        if (info.hasVendorIdentifier())
            port.insert(QStringLiteral("vendorId"), int(info.vendorIdentifier()));
        if (info.hasProductIdentifier())
            port.insert(QStringLiteral("productId"), int(info.productIdentifier()));
        ports.append(port);
    }
    // The emulated device is always there: "--port emulator".
    session.report.line(QStringLiteral("emulator — ") + EmulatorPortName());
    ports.append(QJsonObject{{QStringLiteral("name"), QStringLiteral("emulator")},
                             {QStringLiteral("path"), QString()},
                             {QStringLiteral("description"), EmulatorPortName()}});
    session.report.set(QStringLiteral("ports"), ports);
    return ExitDone;
}

int RunFind(CliSession& session) {
    return UsageError(session, QStringLiteral("Поиск АС (find) в этой сборке ещё недоступен."));
}
