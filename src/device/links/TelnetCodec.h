#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

// The byte level of a Telnet connection with the serial port control option:
// what the port's own bytes become on the wire and back. No sockets here, so
// that every case of a split or doubled command byte can be fed by hand.
namespace telnet {

constexpr uint8_t Iac = 255;
constexpr uint8_t Dont = 254;
constexpr uint8_t Do = 253;
constexpr uint8_t Wont = 252;
constexpr uint8_t Will = 251;
constexpr uint8_t Sb = 250;
constexpr uint8_t Se = 240;

constexpr uint8_t OptionBinary = 0;
constexpr uint8_t OptionSuppressGoAhead = 3;
constexpr uint8_t OptionComPort = 44;

// Commands of the serial port option, client to server; the server answers
// each with the same number plus ServerOffset.
constexpr uint8_t SetBaudRate = 1;
constexpr uint8_t SetDataSize = 2;
constexpr uint8_t SetParity = 3;
constexpr uint8_t SetStopSize = 4;
constexpr uint8_t SetControl = 5;
constexpr uint8_t ServerOffset = 100;

constexpr uint8_t ParityNone = 1;
constexpr uint8_t StopBitsOne = 1;
constexpr uint8_t ControlNoFlowControl = 1;
constexpr uint8_t ControlDtrOn = 8;
constexpr uint8_t ControlRtsOn = 11;

// The port's bytes as they go on the wire: every 0xFF doubled.
QByteArray Escape(const QByteArray& bytes);

// IAC verb option.
QByteArray Negotiation(uint8_t verb, uint8_t option);
// IAC SB COM-PORT-OPTION command value IAC SE, the value escaped.
QByteArray ComPortCommand(uint8_t command, const QByteArray& value);
QByteArray BigEndian32(uint32_t value);

// One command the other side sent: a negotiation (verb and option), or a
// subnegotiation (verb Sb, the option, and its payload unescaped).
struct Command {
    uint8_t verb = 0;
    uint8_t option = 0;
    QByteArray payload;
};

// Splits what arrives into the port's bytes and the commands between them.
// A command may arrive in pieces across reads: the decoder keeps its state
// until the rest comes. A subnegotiation longer than any the option defines
// is cut, so a server that never ends one cannot make the decoder grow.
class Decoder {
public:
    // Appends the port's bytes among `bytes` to `data`; the commands wait in
    // takeCommands().
    void feed(const QByteArray& bytes, QByteArray& data);
    QList<Command> takeCommands();
    void reset();

private:
    enum class State { Data, Iac, Verb, Sub, SubIac };
    State state_ = State::Data;
    uint8_t verb_ = 0;
    QByteArray sub_;
    QList<Command> commands_;
};

}  // namespace telnet
