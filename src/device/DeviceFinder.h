#pragma once

// "Найти АС": asks serial ports with the state query at every line speed until
// an answer names the port and the speed the device is on. The dialog, the
// command line and the tests share this one search.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// A port the search could not open, and why.
struct SkippedPort {
    QString portName;
    QString reason;
};

struct DeviceSearchResult {
    bool found = false;
    QString portName;  // as the settings store it: "COM1" or a path
    int baudRate = 0;
    uint8_t deviceError = 0;  // the error code of the answer that found the device
    // Error 55 or 50: the device answered but refused the factory number asked with.
    bool factoryNumberWrong = false;
    bool stopped = false;    // the caller asked to stop before the search ended
    int portsAsked = 0;      // ports that opened
    QStringList askedPorts;  // those ports, in the order of the list
    int probes = 0;          // state queries sent
    QList<SkippedPort> skipped;
};

// Where the search is: `done` of `total` probes (ports × speeds) are behind it.
struct DeviceSearchStep {
    int done = 0;
    int total = 0;
    QString portName;  // the ports asked at this speed, separated by ", "
    int baudRate = 0;
};

// Called before every speed and once at the end (done == total); returning
// false stops the search before the next speed.
using DeviceSearchCallback = std::function<bool(const DeviceSearchStep&)>;

// The ports a search asks: the COM items whose device exists and the ports the
// system reports, each device once. Never a port name served by a registered
// link (the in-process emulator).
QStringList SearchablePortNames();

// `ports` and the port the user selected, when it is not one of them: a port
// the system does not list (a network driver's virtual COM port, a link the
// system was told of by hand) is still asked when the user chose it.
QStringList SearchPortsWithSelected(const QStringList& ports, const QString& selected);

// The speeds in the order they are tried: `first` (when it is one of the
// offered speeds), then the others from the fastest down.
QList<int> SearchBaudRates(int first);

// How long one probe waits at `baudRate`: the state answer's own time on the
// line plus a margin for the device and the adapter, whatever the dialog's
// time-outs say.
int ProbeTimeoutMs(int baudRate);

// Asks every port of `portNames` (registered links are passed by) with the
// state query carrying `machineNumber`, at the speeds of
// SearchBaudRates(firstBaudRate), and stops at the first speed where a whole
// answer with the state command's response code came, whatever its error code
// (of several ports that answered at it, the first in the list). All ports are
// asked at once, each from a thread with a link of its own that holds the port
// open for the whole search and leaves it as it was found. A port that does not
// open, or that holds another program's unread input, is skipped with its
// reason. The program-wide PortSettings and frame buffer are not used; every
// probe goes into the exchange log. The caller holds the DeviceLock. Throws
// ConversionError, before anything is sent, when `machineNumber` is not a
// number.
DeviceSearchResult FindDevice(const QStringList& portNames, const QByteArray& machineNumber,
                              int firstBaudRate, const DeviceSearchCallback& callback = {});

// What the search found, for the user: port, speed and whether the factory
// number was right; or that nothing answered, with the ports that did not open.
QString DeviceSearchSummary(const DeviceSearchResult& result, const QByteArray& machineNumber);
