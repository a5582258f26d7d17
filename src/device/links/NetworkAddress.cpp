#include "device/links/NetworkAddress.h"

#include <QRegularExpression>

namespace {

const QRegularExpression& Scheme() {
    static const QRegularExpression scheme(QStringLiteral("^(tcp|rfc2217)://"),
                                           QRegularExpression::CaseInsensitiveOption);
    return scheme;
}

}  // namespace

QString NetworkAddress::server() const {
    const QString shown = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return shown + QLatin1Char(':') + QString::number(port);
}

bool IsNetworkPortName(const QString& portName) {
    return Scheme().match(portName.trimmed()).hasMatch();
}

std::optional<NetworkAddress> ParseNetworkAddress(const QString& portName) {
    static const QRegularExpression form(
        QStringLiteral(
            "^(tcp|rfc2217)://(?:\\[([0-9A-Fa-f:.]+)\\]|([^\\s:/\\[\\]@]+)):([0-9]{1,5})/?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(portName.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    const int port = m.captured(4).toInt();
    if (port < 1 || port > 65535) return std::nullopt;
    NetworkAddress address;
    address.scheme = m.captured(1).toLower();
    address.host = m.captured(2).isEmpty() ? m.captured(3) : m.captured(2);
    address.port = quint16(port);
    return address;
}

QString NetworkAddressInvalidReason(const QString& portName) {
    return QStringLiteral("Неверный адрес порта %1: нужен tcp://ХОСТ:ПОРТ или rfc2217://ХОСТ:ПОРТ.")
        .arg(portName);
}

QString ServerSilentReason(const QString& server) {
    return QStringLiteral("Сервер %1 не отвечает").arg(server);
}

QString ServerRefusedReason(const QString& server) {
    return QStringLiteral("Сервер %1 отказал в соединении.").arg(server);
}

QString ServerNameNotFoundReason(const QString& host) {
    return QStringLiteral("Сервер %1 не найден: такого имени в сети нет.").arg(host);
}

QString ServerClosedReason(const QString& server) {
    return QStringLiteral("Сервер %1 закрыл соединение: порт, видимо, занят другим клиентом.")
        .arg(server);
}

QString ServerBusyReason(const QString& server, const QByteArray& message) {
    // Only the printable part of what the server said, and not much of it.
    QString said;
    for (const char c : message.left(120))
        if (c >= 0x20 && c < 0x7F) said += QLatin1Char(c);
    said = said.trimmed();
    QString reason =
        QStringLiteral("Сервер %1 не даёт порт: он занят другим клиентом.").arg(server);
    if (!said.isEmpty()) reason += QStringLiteral(" Ответ сервера: «%1».").arg(said);
    return reason;
}
