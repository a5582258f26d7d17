#include "device/ConnectionSettings.h"

#include <QStringList>

#include "device/Protocol.h"

const QStringList& BaudRateChoices() {
    static const QStringList speeds = {QStringLiteral("2400"),  QStringLiteral("4800"),
                                       QStringLiteral("9600"),  QStringLiteral("19200"),
                                       QStringLiteral("38400"), QStringLiteral("57600"),
                                       QStringLiteral("115200")};
    return speeds;
}

int ConvertInteger(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) {
        throw ConversionError(
            QStringLiteral("«%1» не является целым числом от -2147483648 до 2147483647.")
                .arg(text));
    }
    return value;
}

int ConvertTimeout(const QString& text) {
    const int value = ConvertInteger(text);
    if (value < 0 || value > MaxTimeoutMs) throw ConversionError(TimeoutRangeText(text));
    return value;
}

QString TimeoutRangeText(const QString& text) {
    return QStringLiteral(
               "Тайм-аут «%1» вне допустимых пределов: нужно целое число миллисекунд "
               "от 0 до %2.")
        .arg(text.trimmed())
        .arg(MaxTimeoutMs);
}

void ApplyConnectionFields(ConnectionFields& fields, PortSettings& settings) {
    settings.Applied = true;
    settings.PortName = fields.port;
    settings.BaudRate = ConvertInteger(fields.speed);
    if (fields.byteTimeout.isEmpty()) fields.byteTimeout = QString::number(DefaultByteTimeout);
    settings.ByteTimeout = ConvertTimeout(fields.byteTimeout);
    if (fields.totalTimeout.isEmpty()) fields.totalTimeout = QString::number(DefaultTotalTimeout);
    settings.TotalTimeout = ConvertTimeout(fields.totalTimeout);
    if (fields.machineNumber.isEmpty()) fields.machineNumber = QStringLiteral("0");
    settings.MachineNumber = fields.machineNumber.left(MachineNumberMaxLength).toLatin1();
}

void CancelConnectionFields(PortSettings& settings) {
    settings.Applied = false;
}

QString PortPanelText(const PortSettings& settings) {
    return PortPanelResetText() + settings.PortName;
}

QString SpeedPanelText(const PortSettings& settings) {
    return SpeedPanelResetText() + QString::number(settings.BaudRate);
}

QString PortPanelResetText() {
    return QStringLiteral("Порт: ");
}
QString SpeedPanelResetText() {
    return QStringLiteral("Скорость: ");
}
