#include "device/links/NetworkAddress.h"

QString NetworkAddress::server() const {
    const QString shown = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return shown + QLatin1Char(':') + QString::number(port);
}

bool IsNetworkPortName(const QString& portName) {
    // Asked on every link thread of a search at once: a plain comparison, not a
    // shared regular expression, whose matching state is per thread (and, under
    // mingw, torn down unsafely when the thread ends).
    const QString name = portName.trimmed();
    return name.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive) ||
           name.startsWith(QLatin1String("rfc2217://"), Qt::CaseInsensitive);
}

namespace {

bool AllOf(const QString& text, bool (*allowed)(QChar)) {
    for (const QChar c : text)
        if (!allowed(c)) return false;
    return !text.isEmpty();
}

bool Ipv6Character(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F')) || c == QLatin1Char(':') ||
           c == QLatin1Char('.');
}

bool HostCharacter(QChar c) {
    return !c.isSpace() && c != QLatin1Char(':') && c != QLatin1Char('/') &&
           c != QLatin1Char('[') && c != QLatin1Char(']') && c != QLatin1Char('@');
}

bool Digit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

}  // namespace

// SCHEME://HOST:PORT or SCHEME://[IPV6]:PORT, one slash allowed after it. Read
// by hand for the same reason as the scheme above: link threads parse it.
std::optional<NetworkAddress> ParseNetworkAddress(const QString& portName) {
    const QString name = portName.trimmed();
    const int separator = name.indexOf(QLatin1String("://"));
    if (separator < 0) return std::nullopt;
    NetworkAddress address;
    address.scheme = name.left(separator).toLower();
    if (address.scheme != QLatin1String("tcp") && address.scheme != QLatin1String("rfc2217"))
        return std::nullopt;
    QString rest = name.mid(separator + 3);
    if (rest.endsWith(QLatin1Char('/'))) rest.chop(1);
    QString portText;
    if (rest.startsWith(QLatin1Char('['))) {
        const int close = rest.indexOf(QLatin1Char(']'));
        if (close < 0 || rest.mid(close + 1, 1) != QLatin1String(":")) return std::nullopt;
        address.host = rest.mid(1, close - 1);
        if (!AllOf(address.host, Ipv6Character)) return std::nullopt;
        portText = rest.mid(close + 2);
    } else {
        const int colon = rest.indexOf(QLatin1Char(':'));
        if (colon < 0) return std::nullopt;
        address.host = rest.left(colon);
        if (!AllOf(address.host, HostCharacter)) return std::nullopt;
        portText = rest.mid(colon + 1);
    }
    if (portText.size() > 5 || !AllOf(portText, Digit)) return std::nullopt;
    const int port = portText.toInt();
    if (port < 1 || port > 65535) return std::nullopt;
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
