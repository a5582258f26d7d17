#pragma once

#include <array>

#include "device/links/NetworkLink.h"
#include "device/links/TelnetCodec.h"

// rfc2217://HOST:PORT: Telnet with the serial port control option. A new
// connection agrees on the option and on binary transfer both ways; the speed
// and 8N1 are then set on the server's port before the first exchange at that
// speed, and each setting's acknowledgement is awaited within the exchange's
// time. Servers that ignore the modem lines are tolerated: only the speed,
// data size, parity and stop bits must be acknowledged.
class Rfc2217Link : public NetworkLink {
public:
    using NetworkLink::NetworkLink;

protected:
    bool startSession(QDeadlineTimer deadline, QString& reason) override;
    bool setSpeed(int baudRate, QDeadlineTimer deadline, QString& reason) override;
    QByteArray encode(const QByteArray& bytes) override { return telnet::Escape(bytes); }
    void decode(const QByteArray& wire, QByteArray& data) override;
    void resetSession() override;

private:
    // Answers the server's requests and notes its answers to ours.
    void handle(const telnet::Command& command);
    // Pumps the connection until `done` holds, the deadline passes or the
    // connection goes; whether `done` holds.
    template <typename Done>
    bool awaitUntil(QDeadlineTimer deadline, Done done);

    enum class Answer { None, Yes, No };
    telnet::Decoder decoder_;
    // Per option: what we have said we will do (WILL) and asked the server to
    // do (DO), and what it answered. A request is answered only when it
    // changes the state, so that two sides never loop on each other.
    std::array<bool, 256> weWill_{};
    std::array<bool, 256> weAskedDo_{};
    std::array<Answer, 256> serverDo_{};    // its answer to our WILL
    std::array<Answer, 256> serverWill_{};  // its answer to our DO
    QByteArray replies_;                    // owed to the server, sent after decoding
    // The last acknowledgement of each port setting: the value the server took.
    std::array<QByteArray, 256> acknowledged_{};
};
