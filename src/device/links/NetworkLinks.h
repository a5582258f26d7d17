#pragma once

#include <QString>
#include <memory>

class SerialLink;

// The links a port's name chooses by its scheme. The next kind of link is one
// more line here and a class beside TcpLink.
// A new link for a tcp:// or rfc2217:// name; nullptr for any other name.
std::unique_ptr<SerialLink> NewNetworkLink(const QString& portName);
// The scheme that chooses the kind ("tcp", "rfc2217"), empty for a name that
// no network link serves.
QString NetworkLinkKind(const QString& portName);
