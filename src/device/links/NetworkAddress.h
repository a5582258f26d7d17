#pragma once

#include <QString>
#include <optional>

// A port reached over the network, named as the user types it:
// tcp://HOST:PORT (the port's bytes and nothing else) or rfc2217://HOST:PORT
// (Telnet with serial port control). HOST may be a name, an IPv4 address or
// an IPv6 address in brackets.
struct NetworkAddress {
    QString scheme;  // "tcp" or "rfc2217", lower case
    QString host;    // without brackets
    quint16 port = 0;

    // HOST:PORT as the messages name the server.
    QString server() const;
};

// Whether the name asks for a network port at all (its scheme is one of
// ours), well formed or not: such a name is never taken for a device path.
bool IsNetworkPortName(const QString& portName);
// The address a well-formed name gives; nothing when it is malformed.
std::optional<NetworkAddress> ParseNetworkAddress(const QString& portName);

// Why a network port did not open, in Russian for the user, worded as the
// serial links word theirs.
QString NetworkAddressInvalidReason(const QString& portName);
QString ServerSilentReason(const QString& server);
QString ServerRefusedReason(const QString& server);
QString ServerNameNotFoundReason(const QString& host);
QString ServerClosedReason(const QString& server);
// The server took the connection and closed it again, saying `message`.
QString ServerBusyReason(const QString& server, const QByteArray& message);
