#pragma once

// Taking a port for an exchange without disturbing what another program left
// in it. Input that waits unread when the port opens is dropped only on a port
// that has answered as the device in this run: there it can only be the late
// answer of one of our own requests. On any other port it is another
// program's, and the port is not used. Safe from several threads at once.

#include <QString>

class SerialLink;

// Opens `path` through `link` under that rule; false with the reason in
// `reason` when it does not open or is not used.
bool OpenForExchange(SerialLink& link, const QString& path, QString& reason);

// A frame with the device's first byte and the response code of the request
// came from `path`.
void MarkAnsweredAsDevice(const QString& path);
bool AnsweredAsDevice(const QString& path);
