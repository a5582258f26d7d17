#include "device/links/TelnetCodec.h"

namespace telnet {

namespace {

// The longest payload of the serial port option is a baud rate and its
// command byte; anything far past that is not a subnegotiation we read.
constexpr int SubnegotiationLimit = 64;

}  // namespace

QByteArray Escape(const QByteArray& bytes) {
    if (!bytes.contains(char(Iac))) return bytes;
    QByteArray out;
    out.reserve(bytes.size() + 8);
    for (const char byte : bytes) {
        out.append(byte);
        if (uint8_t(byte) == Iac) out.append(byte);
    }
    return out;
}

QByteArray Negotiation(uint8_t verb, uint8_t option) {
    QByteArray out;
    out.append(char(Iac)).append(char(verb)).append(char(option));
    return out;
}

QByteArray ComPortCommand(uint8_t command, const QByteArray& value) {
    QByteArray out;
    out.append(char(Iac)).append(char(Sb)).append(char(OptionComPort)).append(char(command));
    out.append(Escape(value));
    out.append(char(Iac)).append(char(Se));
    return out;
}

QByteArray BigEndian32(uint32_t value) {
    QByteArray out;
    for (int shift = 24; shift >= 0; shift -= 8) out.append(char((value >> shift) & 0xFF));
    return out;
}

void Decoder::feed(const QByteArray& bytes, QByteArray& data) {
    for (const char c : bytes) {
        const uint8_t byte = uint8_t(c);
        switch (state_) {
            case State::Data:
                if (byte == Iac)
                    state_ = State::Iac;
                else
                    data.append(c);
                break;
            case State::Iac:
                if (byte == Iac) {
                    data.append(c);
                    state_ = State::Data;
                } else if (byte == Will || byte == Wont || byte == Do || byte == Dont) {
                    verb_ = byte;
                    state_ = State::Verb;
                } else if (byte == Sb) {
                    sub_.clear();
                    state_ = State::Sub;
                } else {
                    // NOP, GA and the like carry nothing for the port.
                    state_ = State::Data;
                }
                break;
            case State::Verb:
                commands_.append(Command{verb_, byte, {}});
                state_ = State::Data;
                break;
            case State::Sub:
                if (byte == Iac)
                    state_ = State::SubIac;
                else if (sub_.size() < SubnegotiationLimit)
                    sub_.append(c);
                break;
            case State::SubIac:
                if (byte == Iac) {
                    if (sub_.size() < SubnegotiationLimit) sub_.append(c);
                    state_ = State::Sub;
                } else {
                    // IAC SE ends it; any other command inside is a broken
                    // subnegotiation, ended the same way rather than read on.
                    if (!sub_.isEmpty())
                        commands_.append(Command{Sb, uint8_t(sub_.at(0)), sub_.mid(1)});
                    sub_.clear();
                    state_ = State::Data;
                }
                break;
        }
    }
}

QList<Command> Decoder::takeCommands() {
    QList<Command> taken;
    taken.swap(commands_);
    return taken;
}

void Decoder::reset() {
    state_ = State::Data;
    sub_.clear();
    commands_.clear();
}

}  // namespace telnet
