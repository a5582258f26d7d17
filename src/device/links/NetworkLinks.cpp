#include "device/links/NetworkLinks.h"

#include "device/links/NetworkAddress.h"
#include "device/links/Rfc2217Link.h"
#include "device/links/TcpLink.h"

QString NetworkLinkKind(const QString& portName) {
    if (!IsNetworkPortName(portName)) return {};
    return portName.trimmed().section(QStringLiteral("://"), 0, 0).toLower();
}

std::unique_ptr<SerialLink> NewNetworkLink(const QString& portName) {
    const QString kind = NetworkLinkKind(portName);
    if (kind == QLatin1String("tcp")) return std::make_unique<TcpLink>();
    if (kind == QLatin1String("rfc2217")) return std::make_unique<Rfc2217Link>();
    return nullptr;
}
