#include "device/PortClaim.h"

#include <QMutex>
#include <QSet>
#include <algorithm>

#include "device/LineMarker.h"
#include "device/PortOpenError.h"
#include "device/SerialLink.h"

namespace {

QMutex g_answeredLock;
QSet<QString> g_answered;

}  // namespace

bool OpenForExchange(SerialLink& link, const QString& path, QString& reason, int* dropped) {
    if (dropped) *dropped = 0;
    if (!link.open(path)) {
        reason = link.lastOpenError();
        return false;
    }
    reason.clear();
    if (!link.inputWaiting()) return true;
    if (dropped) {
        // A pseudo-terminal or a network bridge keeps input across closes: a
        // late answer of an earlier run must not lock the user's own port.
        *dropped = std::max(1, DropWaitingInput(link));
        return true;
    }
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
