#include "device/PortNames.h"

#include <QRegularExpression>
#include <QSerialPortInfo>

#include "device/LinkRegistry.h"

QString EmulatorPortName() {
    return QStringLiteral("Эмулятор АС");
}

QStringList AvailablePortNames() {
    QStringList names;
    names.reserve(110);
    for (int i = 1; i <= 100; ++i) names << QStringLiteral("COM%1").arg(i);
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports) {
        const QString location = info.systemLocation();
        if (!names.contains(location) && !names.contains(info.portName())) names << location;
    }
    names << RegisteredPortNames();
    return names;
}

QString PortPath(const QString& portName) {
    static const QRegularExpression com(QStringLiteral("^COM([0-9]{1,3})$"));
    const QRegularExpressionMatch m = com.match(portName);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n >= 1 && n <= 100) {
#ifdef Q_OS_WIN
            return QStringLiteral("\\\\.\\COM%1").arg(n);
#else
            return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
        }
    }
    return portName;
}
