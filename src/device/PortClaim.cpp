#include "device/PortClaim.h"

#include <QMutex>
#include <QSet>

#include "device/PortOpenError.h"
#include "device/SerialLink.h"

namespace {

QMutex g_answeredLock;
QSet<QString> g_answered;

}  // namespace

bool OpenForExchange(SerialLink& link, const QString& path, QString& reason) {
    if (!link.open(path)) {
        reason = link.lastOpenError();
        return false;
    }
    reason.clear();
    if (!link.inputWaiting()) return true;
    if (AnsweredAsDevice(path)) {
        link.discardLateInput(0, 0);
        return true;
    }
    link.close();
    reason = PortUnreadInputReason(path);
    return false;
}

void MarkAnsweredAsDevice(const QString& path) {
    const QMutexLocker locker(&g_answeredLock);
    g_answered.insert(path);
}

bool AnsweredAsDevice(const QString& path) {
    const QMutexLocker locker(&g_answeredLock);
    return g_answered.contains(path);
}
