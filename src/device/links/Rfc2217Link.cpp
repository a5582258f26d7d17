#include "device/links/Rfc2217Link.h"

#include <algorithm>

#include "device/links/NetworkAddress.h"

using namespace telnet;

namespace {

// How long a server that has agreed to port control may take over binary
// transfer before the session goes on without its answer.
constexpr int BinaryAnswerMs = 200;

bool Offered(uint8_t option) {
    return option == OptionBinary || option == OptionSuppressGoAhead || option == OptionComPort;
}

}  // namespace

void Rfc2217Link::resetSession() {
    decoder_.reset();
    weWill_.fill(false);
    weAskedDo_.fill(false);
    serverDo_.fill(Answer::None);
    serverWill_.fill(Answer::None);
    acknowledged_.fill(QByteArray());
    replies_.clear();
}

void Rfc2217Link::handle(const Command& command) {
    const uint8_t option = command.option;
    switch (command.verb) {
        case Do:
            serverDo_[option] = Offered(option) ? Answer::Yes : Answer::No;
            if (Offered(option) && !weWill_[option]) {
                weWill_[option] = true;
                replies_ += Negotiation(Will, option);
            } else if (!Offered(option)) {
                replies_ += Negotiation(Wont, option);
            }
            break;
        case Dont:
            serverDo_[option] = Answer::No;
            if (weWill_[option]) {
                weWill_[option] = false;
                replies_ += Negotiation(Wont, option);
            }
            break;
        case Will:
            serverWill_[option] = Offered(option) ? Answer::Yes : Answer::No;
            if (Offered(option) && !weAskedDo_[option]) {
                weAskedDo_[option] = true;
                replies_ += Negotiation(Do, option);
            } else if (!Offered(option)) {
                replies_ += Negotiation(Dont, option);
            }
            break;
        case Wont:
            serverWill_[option] = Answer::No;
            if (weAskedDo_[option]) {
                weAskedDo_[option] = false;
                replies_ += Negotiation(Dont, option);
            }
            break;
        case Sb:
            // The server's answers to our settings; its notifications of line
            // and modem state carry nothing the exchange needs.
            if (option == OptionComPort && !command.payload.isEmpty()) {
                const uint8_t code = uint8_t(command.payload.at(0));
                if (code > ServerOffset)
                    acknowledged_[code - ServerOffset] = command.payload.mid(1);
            }
            break;
        default:
            break;
    }
}

void Rfc2217Link::decode(const QByteArray& wire, QByteArray& data) {
    decoder_.feed(wire, data);
    for (const Command& command : decoder_.takeCommands()) handle(command);
    if (!replies_.isEmpty()) {
        const QByteArray owed = replies_;
        replies_.clear();
        // Short and never waited for: a server that does not read them now
        // will not read the exchange either.
        sendWire(owed, QDeadlineTimer(0));
    }
}

template <typename Done>
bool Rfc2217Link::awaitUntil(QDeadlineTimer deadline, Done done) {
    while (!done()) {
        const qint64 wait = deadline.remainingTime();
        if (wait <= 0) return done();
        if (pump(int(wait)) < 0) return false;
    }
    return true;
}

bool Rfc2217Link::startSession(QDeadlineTimer deadline, QString& reason) {
    resetSession();
    weWill_[OptionComPort] = weWill_[OptionBinary] = true;
    weAskedDo_[OptionBinary] = true;
    const QByteArray offer = Negotiation(Will, OptionComPort) + Negotiation(Will, OptionBinary) +
                             Negotiation(Do, OptionBinary);
    if (!sendWire(offer, deadline)) {
        reason = ServerClosedReason(server());
        return false;
    }
    // The port option decides. Binary transfer is awaited a little longer,
    // so that no byte of the first request is taken for text, but a server
    // that never answers it is not refused for that.
    const bool answered =
        awaitUntil(deadline, [&] { return serverDo_[OptionComPort] != Answer::None; });
    if (answered && serverDo_[OptionComPort] == Answer::Yes) {
        const QDeadlineTimer binary(std::min<qint64>(BinaryAnswerMs, deadline.remainingTime()));
        awaitUntil(binary, [&] {
            return serverDo_[OptionBinary] != Answer::None &&
                   serverWill_[OptionBinary] != Answer::None;
        });
    }
    if (serverDo_[OptionComPort] == Answer::Yes) return true;
    if (serverDo_[OptionComPort] == Answer::No) {
        reason = QStringLiteral("Сервер %1 не управляет портом по RFC 2217: укажите tcp://%1.")
                     .arg(server());
    } else {
        reason = answered || deadline.hasExpired() ? ServerSilentReason(server())
                                                   : ServerClosedReason(server());
    }
    return false;
}

bool Rfc2217Link::setSpeed(int baudRate, QDeadlineTimer deadline, QString& reason) {
    for (const uint8_t setting : {SetBaudRate, SetDataSize, SetParity, SetStopSize})
        acknowledged_[setting].clear();
    const QByteArray settings =
        ComPortCommand(SetBaudRate, BigEndian32(uint32_t(baudRate))) +
        ComPortCommand(SetDataSize, QByteArray(1, char(8))) +
        ComPortCommand(SetParity, QByteArray(1, char(ParityNone))) +
        ComPortCommand(SetStopSize, QByteArray(1, char(StopBitsOne))) +
        ComPortCommand(SetControl, QByteArray(1, char(ControlNoFlowControl))) +
        ComPortCommand(SetControl, QByteArray(1, char(ControlDtrOn))) +
        ComPortCommand(SetControl, QByteArray(1, char(ControlRtsOn)));
    const bool sent = sendWire(settings, deadline);
    const bool answered =
        sent && awaitUntil(deadline, [&] {
            return !acknowledged_[SetBaudRate].isEmpty() && !acknowledged_[SetDataSize].isEmpty() &&
                   !acknowledged_[SetParity].isEmpty() && !acknowledged_[SetStopSize].isEmpty();
        });
    if (!answered) {
        reason = QStringLiteral("Сервер %1 не подтвердил скорость %2 и формат 8N1 порта.")
                     .arg(server())
                     .arg(baudRate);
        return false;
    }
    const QByteArray& speed = acknowledged_[SetBaudRate];
    const uint32_t taken =
        speed.size() == 4
            ? (uint32_t(uint8_t(speed.at(0))) << 24 | uint32_t(uint8_t(speed.at(1))) << 16 |
               uint32_t(uint8_t(speed.at(2))) << 8 | uint32_t(uint8_t(speed.at(3))))
            : 0;
    const bool format = acknowledged_[SetDataSize] == QByteArray(1, char(8)) &&
                        acknowledged_[SetParity] == QByteArray(1, char(ParityNone)) &&
                        acknowledged_[SetStopSize] == QByteArray(1, char(StopBitsOne));
    if (taken != uint32_t(baudRate) || !format) {
        reason = QStringLiteral("Сервер %1 не установил скорость %2 и формат 8N1 порта.")
                     .arg(server())
                     .arg(baudRate);
        return false;
    }
    return true;
}
