#pragma once

#include <QtGlobal>

class QProcess;

// How the zelvo-cli of one device hears Ctrl+C, each system's own
// (PosixFleetChild.cpp, Win32FleetChild.cpp).

// Called before the child starts.
void PrepareFleetChild(QProcess& process);
// Passes the first Ctrl+C on to the running child `processId`: it stops after
// its exchange in flight and says how far it got.
void StopFleetChild(qint64 processId);
