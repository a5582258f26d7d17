#include <QProcess>

#include "cli/FleetChild.h"

// The console delivers Ctrl+C to every process attached to it, the children
// included, and each handles it once on its own; nothing to pass on.

void PrepareFleetChild(QProcess&) {}

void StopFleetChild(qint64) {}
