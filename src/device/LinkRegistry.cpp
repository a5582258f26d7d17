#include "device/LinkRegistry.h"

#include <QList>
#include <QPair>

#include "device/SerialLink.h"
#include "device/links/NetworkLinks.h"
#include "device/links/SystemSerialLink.h"

namespace {

QList<QPair<QString, SerialLink*>>& Registry() {
    static QList<QPair<QString, SerialLink*>> links;
    return links;
}

}  // namespace

void RegisterPortLink(const QString& portName, SerialLink* link) {
    auto& links = Registry();
    for (int i = 0; i < links.size(); ++i) {
        if (links[i].first != portName) continue;
        if (link)
            links[i].second = link;
        else
            links.removeAt(i);
        return;
    }
    if (link) links.append({portName, link});
}

SerialLink* RegisteredPortLink(const QString& portName) {
    for (const auto& entry : Registry())
        if (entry.first == portName) return entry.second;
    return nullptr;
}

QStringList RegisteredPortNames() {
    QStringList names;
    for (const auto& entry : Registry()) names << entry.first;
    return names;
}

std::unique_ptr<SerialLink> NewLinkForPort(const QString& portName) {
    if (auto network = NewNetworkLink(portName)) return network;
    return NewSystemSerialLink();
}

QString PortLinkKind(const QString& portName) {
    return NetworkLinkKind(portName);
}
