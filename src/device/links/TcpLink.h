#pragma once

#include "device/links/NetworkLink.h"

// tcp://HOST:PORT: a raw connection to a serial device server, the port's
// bytes and nothing else. The server's port runs at the speed set on the
// server; the program cannot change it.
class TcpLink : public NetworkLink {
public:
    using NetworkLink::NetworkLink;
};
