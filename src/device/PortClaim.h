#pragma once

// Taking a port for an exchange without disturbing what another program left
// in it. Input that waits unread when the port opens is dropped only on a port
// that has answered as the device in this run: there it can only be the late
// answer of one of our own requests. On any other port it is another
// program's, and the port is not used, unless the user chose it. Safe from several threads at once.

#include <QString>

class SerialLink;

// Opens `path` through `link` under that rule; false with the reason in
// `reason` when it does not open or is not used. A port the user chose
// (`dropped` given) is used whatever waits in it: the waiting input is read
// away and its byte count put in `dropped`, so that the caller can put the line
// back in step and log it. The refusal stays for ports nobody chose.
bool OpenForExchange(SerialLink& link, const QString& path, QString& reason,
                     int* dropped = nullptr);

// A frame with the device's first byte and the response code of the request
// came from `path`.
void MarkAnsweredAsDevice(const QString& path);
bool AnsweredAsDevice(const QString& path);
