// The network links' protocol without a network: the Telnet codec fed by hand
// (escaping, commands split across reads, a subnegotiation that never ends),
// and the serial-port-control link against a scripted server behind a fake
// socket: refused and unanswered negotiation, settings acknowledged or not,
// the port's 0xFF bytes both ways, the connection kept between exchanges and
// a server that turns the connection away.
#include <QtTest>
#include <deque>
#include <functional>

#include "device/Protocol.h"
#include "device/links/NetworkAddress.h"
#include "device/links/Rfc2217Link.h"
#include "device/links/TcpLink.h"
#include "device/links/TelnetCodec.h"

using namespace telnet;

namespace {

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (const int v : values) out.append(char(v));
    return out;
}

// What the server at the other end does; the fake socket asks it about every
// write and hands its answers to the link one queued piece per receive.
struct ScriptedServer {
    enum class ComPort { Agree, Refuse, Silent };
    ComPort comPort = ComPort::Agree;
    bool answerBinary = true;
    bool ackSettings = true;
    bool ackControl = false;  // many servers never answer the modem lines
    uint32_t speedTaken = 0;  // 0: the speed asked for
    // Connections to turn away (text, then closed) before one is taken.
    int turnAway = 0;
    int connects = 0;
    QByteArray portBytes;  // what reached the remote port, unescaped
    QList<Command> received;
    std::deque<QByteArray> pending;
    bool closeAfterPending = false;
    Decoder decoder;

    void take(const QByteArray& wire) {
        decoder.feed(wire, portBytes);
        for (const Command& c : decoder.takeCommands()) {
            received << c;
            if (c.verb == Will && c.option == OptionComPort && comPort != ComPort::Silent)
                pending.push_back(
                    Negotiation(comPort == ComPort::Agree ? Do : Dont, OptionComPort));
            if (c.option == OptionBinary && answerBinary && (c.verb == Will || c.verb == Do))
                pending.push_back(Negotiation(c.verb == Will ? Do : Will, OptionBinary));
            if (c.verb == Sb && c.option == OptionComPort && !c.payload.isEmpty()) {
                const uint8_t code = uint8_t(c.payload.at(0));
                QByteArray value = c.payload.mid(1);
                if (code == SetBaudRate && speedTaken) value = BigEndian32(speedTaken);
                if (code == SetControl ? ackControl : ackSettings)
                    pending.push_back(ComPortCommand(uint8_t(code + ServerOffset), value));
            }
        }
    }
    int settingsReceived() const {
        return int(std::count_if(received.cbegin(), received.cend(),
                                 [](const Command& c) { return c.verb == Sb; }));
    }
};

class FakeSocket : public NetSocket {
public:
    explicit FakeSocket(ScriptedServer& server) : server_(server) {}
    ConnectResult connect(const QString&, quint16, QDeadlineTimer, QString&) override {
        ++server_.connects;
        open_ = true;
        server_.decoder.reset();
        server_.pending.clear();
        server_.closeAfterPending = false;
        if (server_.turnAway > 0) {
            --server_.turnAway;
            server_.pending.push_back("Port's device already in use\r\n");
            server_.closeAfterPending = true;
        }
        return ConnectResult::Connected;
    }
    qint64 send(const QByteArray& bytes) override {
        if (!open_) return -1;
        server_.take(bytes);
        return bytes.size();
    }
    bool waitWritable(int) override { return open_; }
    int receive(QByteArray& into, int waitMs) override {
        if (!open_) return -1;
        if (server_.pending.empty()) {
            if (server_.closeAfterPending) return -1;
            QThread::msleep(ulong(std::min(waitMs, 20)));  // nothing comes: the wait passes
            return 0;
        }
        const QByteArray piece = server_.pending.front();
        server_.pending.pop_front();
        into += piece;
        return int(piece.size());
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }

private:
    ScriptedServer& server_;
    bool open_ = false;
};

const QString Port = QStringLiteral("rfc2217://127.0.0.1:4001");

std::unique_ptr<Rfc2217Link> LinkTo(ScriptedServer& server, int timeoutMs = 300) {
    auto link =
        std::make_unique<Rfc2217Link>([&server] { return std::make_unique<FakeSocket>(server); });
    link->setOpenTimeout(timeoutMs);
    return link;
}

}  // namespace

class TestRfc2217 : public QObject {
    Q_OBJECT

private slots:
    void escapingDoublesOnlyTheCommandByte() {
        QCOMPARE(Escape(Bytes({1, 0xFF, 2, 0xFF, 0xFF})),
                 Bytes({1, 0xFF, 0xFF, 2, 0xFF, 0xFF, 0xFF, 0xFF}));
        QCOMPARE(Escape("plain"), QByteArray("plain"));
        // A value inside a setting is escaped too: 0xFF in a speed's bytes.
        QCOMPARE(ComPortCommand(SetBaudRate, BigEndian32(0x0000FF00)),
                 Bytes({0xFF, 0xFA, 44, 1, 0, 0, 0xFF, 0xFF, 0, 0xFF, 0xF0}));
    }

    // The same stream fed whole and one byte at a time gives the same port
    // bytes and the same commands, wherever a command is cut.
    void commandsSplitAcrossReadsAreJoined() {
        const QByteArray stream = Bytes({0x02, 0xFF, 0xFF, 0x10}) + Negotiation(Will, 1) +
                                  ComPortCommand(SetBaudRate + ServerOffset, BigEndian32(0xFF)) +
                                  Bytes({0xFF, 0xF1, 0x03, 0xFF, 0xFF});
        const QByteArray expected = Bytes({0x02, 0xFF, 0x10, 0x03, 0xFF});
        for (int cut = 1; cut <= 3; ++cut) {
            Decoder decoder;
            QByteArray data;
            for (int i = 0; i < stream.size(); i += cut) decoder.feed(stream.mid(i, cut), data);
            QCOMPARE(data, expected);
            const QList<Command> commands = decoder.takeCommands();
            QCOMPARE(commands.size(), 2);
            QCOMPARE(commands[0].verb, Will);
            QCOMPARE(commands[1].verb, Sb);
            QCOMPARE(commands[1].option, OptionComPort);
            QCOMPARE(commands[1].payload, Bytes({101, 0, 0, 0, 0xFF}));
        }
    }

    // A server that opens a subnegotiation and never ends it cannot make the
    // decoder grow; the port's bytes after its end come through again.
    void unendedSubnegotiationIsBounded() {
        Decoder decoder;
        QByteArray data;
        decoder.feed(Bytes({0xFF, 0xFA, 44}), data);
        for (int i = 0; i < 10000; ++i) decoder.feed(QByteArray(100, 'x'), data);
        QVERIFY(data.isEmpty());
        decoder.feed(Bytes({0xFF, 0xF0, 0x06}), data);
        QCOMPARE(data, Bytes({0x06}));
        const QList<Command> commands = decoder.takeCommands();
        QCOMPARE(commands.size(), 1);
        QVERIFY(commands[0].payload.size() <= 64);
    }

    void negotiationRefusedOrUnanswered() {
        ScriptedServer refusing;
        refusing.comPort = ScriptedServer::ComPort::Refuse;
        auto link = LinkTo(refusing);
        QVERIFY(!link->open(Port));
        QVERIFY2(link->lastOpenError().contains(QStringLiteral("укажите tcp://127.0.0.1:4001")),
                 qPrintable(link->lastOpenError()));

        ScriptedServer silent;
        silent.comPort = ScriptedServer::ComPort::Silent;
        link = LinkTo(silent, 100);
        QVERIFY(!link->open(Port));
        QCOMPARE(link->lastOpenError(), ServerSilentReason(QStringLiteral("127.0.0.1:4001")));
    }

    void settingsAwaitOnlyWhatMustBeAcknowledged() {
        // No answer to the modem lines: the port is usable all the same.
        ScriptedServer quietLines;
        auto link = LinkTo(quietLines);
        QVERIFY(link->open(Port));
        link->configure(57600);
        QCOMPARE(link->lastConfigureError(), QString());
        link->close();

        // No answer to the speed, or another speed taken: the port is not.
        ScriptedServer mute;
        mute.ackSettings = false;
        link = LinkTo(mute, 100);
        QVERIFY(link->open(Port));
        link->configure(57600);
        QVERIFY(
            link->lastConfigureError().contains(QStringLiteral("не подтвердил скорость 57600")));
        link->close();

        ScriptedServer stubborn;
        stubborn.speedTaken = 9600;
        link = LinkTo(stubborn);
        QVERIFY(link->open(Port));
        link->configure(57600);
        QVERIFY(link->lastConfigureError().contains(QStringLiteral("не установил скорость 57600")));
        link->close();
        // Through the exchange's own open: the refusal is the port-open error.
        SetLinkOverride(link.get());
        CurrentPortSettings().PortName = Port;
        CurrentPortSettings().BaudRate = 57600;
        CurrentPortSettings().TotalTimeout = 200;
        QVERIFY(!OpenPort());
        QVERIFY(LastOpenFailed());
        QVERIFY(LastPortOpenError().contains(QStringLiteral("не установил скорость 57600")));
        SetLinkOverride(nullptr);
    }

    // The port's 0xFF bytes reach the remote port once each, and come back
    // once each though the server doubles them and puts its notifications
    // between them, cut anywhere.
    void portBytesPassUnchangedBothWays() {
        ScriptedServer server;
        auto link = LinkTo(server);
        QVERIFY(link->open(Port));
        link->configure(115200);
        server.portBytes.clear();
        const QByteArray request = Bytes({0x02, 0xFF, 0x00, 0xFF, 0xFF, 0x0D, 0x0A});
        QCOMPARE(link->write(request), qint64(request.size()));
        QVERIFY(link->drain(QDeadlineTimer(100)));
        QCOMPARE(server.portBytes, request);

        const QByteArray wire = Escape(Bytes({0x06, 0xFF, 0x01})) +
                                ComPortCommand(107, Bytes({0x30})) + Escape(Bytes({0xFF, 0x02}));
        for (int i = 0; i < wire.size(); i += 2) server.pending.push_back(wire.mid(i, 2));
        QCOMPARE(link->read(5, 100, 500), Bytes({0x06, 0xFF, 0x01, 0xFF, 0x02}));
        link->close();
    }

    // Exchanges in a row share one connection and one negotiation; a
    // connection the server has closed meanwhile is replaced.
    void connectionKeptBetweenExchanges() {
        ScriptedServer server;
        auto link = LinkTo(server);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(link->open(Port));
            link->configure(115200);
            QCOMPARE(link->lastConfigureError(), QString());
            link->close();
        }
        QCOMPARE(server.connects, 1);
        QCOMPARE(server.settingsReceived(), 7);  // speed, format, flow, two modem lines: once

        server.closeAfterPending = true;  // the server drops the kept connection
        QVERIFY(link->open(Port));
        link->configure(115200);
        link->close();
        QCOMPARE(server.connects, 2);
        link->release();
        QVERIFY(link->open(Port));
        link->close();
        QCOMPARE(server.connects, 3);
    }

    // A server still busy with the last client turns the connection away
    // with a line of text: tried again, and when it keeps doing so, its words
    // are the reason.
    void turnedAwayConnectionIsRetried() {
        ScriptedServer server;
        server.turnAway = 2;
        auto link = LinkTo(server, 2000);
        QVERIFY2(link->open(Port), qPrintable(link->lastOpenError()));
        QCOMPARE(server.connects, 3);
        QVERIFY(!link->inputWaiting());
        link->close();
        link->release();

        ScriptedServer busy;
        busy.turnAway = 1000;
        TcpLink raw([&busy] { return std::make_unique<FakeSocket>(busy); });
        raw.setOpenTimeout(200);
        QVERIFY(!raw.open(QStringLiteral("tcp://127.0.0.1:4001")));
        QCOMPARE(raw.lastOpenError(), ServerBusyReason(QStringLiteral("127.0.0.1:4001"),
                                                       "Port's device already in use\r\n"));
        QVERIFY(raw.lastOpenError().contains(QStringLiteral("«Port's device already in use»")));
    }

    void addressesAreParsedStrictly() {
        const auto parsed = ParseNetworkAddress(QStringLiteral("RFC2217://[::1]:2217"));
        QVERIFY(parsed);
        QCOMPARE(parsed->scheme, QStringLiteral("rfc2217"));
        QCOMPARE(parsed->server(), QStringLiteral("[::1]:2217"));
        QCOMPARE(ParseNetworkAddress(QStringLiteral(" tcp://shop-7.local:4001/ "))->server(),
                 QStringLiteral("shop-7.local:4001"));
        for (const char* bad : {"tcp://host", "tcp://host:0", "tcp://host:65536", "tcp://:80",
                                "tcp://a b:80", "rfc2217://host:80/x", "tcp://a:b:80",
                                "tcp://[::1]80", "tcp://[]:80", "tcp://[g::1]:80", "udp://h:80",
                                "tcp://host:123456", "tcp://host:+80", "tcp://u@host:80"})
            QVERIFY2(!ParseNetworkAddress(QString::fromLatin1(bad)), bad);
        QVERIFY(IsNetworkPortName(QStringLiteral("tcp://host")));
        QVERIFY(!IsNetworkPortName(QStringLiteral("/dev/ttyUSB0")));
        QVERIFY(IsNetworkPortName(QStringLiteral(" TCP://host")));
        QVERIFY(!IsNetworkPortName(QStringLiteral("COM3")));
    }
};

QTEST_GUILESS_MAIN(TestRfc2217)
#include "tst_rfc2217.moc"
