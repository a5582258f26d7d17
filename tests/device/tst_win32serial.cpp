// The Windows serial link end to end: Win32SerialLink through Wine's COM port
// onto zelvo-sim's pseudo-terminal (served by the broker of
// scripts/windows-test.sh), with the simulator's faults: the statuses and time
// bounds every link keeps, an answer taken the moment it is complete, a late
// answer never taken for the next record, a port held by another program, a
// port the system does not have, and the port left as it was found.
#include <windows.h>

#include <QElapsedTimer>
#include <QtTest>

#include "config/ParameterCatalogue.h"
#include "device/DeviceCharset.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/links/Win32SerialLink.h"
#include "support/SerialCalls.h"
#include "support/SerialStatusRows.h"
#include "support/SimProcess.h"

namespace {

// Another program that has the port open, as a terminal program would.
class OtherProgramHolding {
public:
    explicit OtherProgramHolding(const QString& port) {
        const std::wstring path = PortPath(port).toStdWString();
        handle_ = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              0, nullptr);
    }
    ~OtherProgramHolding() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    bool holds() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

}  // namespace

class Win32SerialLinkSuite : public QObject {
    Q_OBJECT

    Win32SerialLink link_;
    std::unique_ptr<SimProcess> sim;

    using Outcome = SerialOutcome;
    static Outcome readParameter() { return ReadDocumentNameTimed(); }
    static CommandStatus goods(uint8_t mode, uint16_t index, QByteArray& name) {
        return ExchangeGoodsRecord(mode, index, name);
    }

private slots:
    void initTestCase() {
        sim = std::make_unique<SimProcess>(QStringList{QStringLiteral("--log")});
        QVERIFY2(sim->isReady(), qPrintable(sim->errorString()));
        QVERIFY(sim->portPath().startsWith(QLatin1String("COM")));
    }
    void init() {
        SetLinkOverride(&link_);
        QVERIFY(sim->command(QStringLiteral("clear-faults")));
        PortSettings& s = CurrentPortSettings();
        s = PortSettings{};
        s.PortName = sim->portPath();
        s.BaudRate = 115200;
        s.ByteTimeout = 100;
        s.TotalTimeout = 600;
        // Each test starts on a settled line: a failure in the last one would
        // make this test's first exchange wait for the line to go quiet.
        QCOMPARE(readParameter().status, StatusOk);
    }
    void cleanupTestCase() { SetLinkOverride(nullptr); }

    void statuses_data() { AddSerialStatusRows(); }
    void statuses() { CheckSerialStatusRow(*sim); }

    // A thousand-record transfer pays any wait a thousand times: a complete
    // answer ends the read at once, not at a time-out.
    void completeAnswerEndsTheReadAtOnce() {
        CurrentPortSettings().TotalTimeout = 2500;
        CurrentPortSettings().ByteTimeout = 250;
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 20; ++i) QCOMPARE(readParameter().status, StatusOk);
        QVERIFY2(clock.elapsed() < 20 * 100, QByteArray::number(clock.elapsed()).constData());
    }

    void theFramesOnTheLine() {
        sim->clearLog();
        QByteArray name("ТОВАР");
        name = ToCp1251(QString::fromUtf8(name));
        QCOMPARE(goods(ModeWrite, 7, name), StatusOk);
        QVERIFY(sim->waitForExchanges(1));
        const QByteArray request = sim->requests().constFirst();
        QCOMPARE(request.size(), GoodsRequestLength);
        QCOMPARE(uint8_t(request.at(0)), uint8_t(0x17));
        QVERIFY(request.contains(name));
    }

    void lateAnswerIsNotTakenForTheNextRecord() {
        QByteArray fifth("FIFTH"), sixth("SIXTH");
        QCOMPARE(goods(ModeWrite, 5, fifth), StatusOk);
        QCOMPARE(goods(ModeWrite, 6, sixth), StatusOk);
        CurrentPortSettings().TotalTimeout = 300;
        QVERIFY(sim->command(QStringLiteral("fault late 350 cmd=0x74 index=5 count=1")));
        QByteArray name;
        QCOMPARE(goods(ModeRead, 5, name), StatusNoAnswer);
        QCOMPARE(goods(ModeRead, 6, name), StatusOk);
        QCOMPARE(name, QByteArray("SIXTH"));
    }

    void portHeldByAnotherProgram() {
        {
            OtherProgramHolding other(sim->portPath());
            QVERIFY(other.holds());
            if (OtherProgramHolding(sim->portPath()).holds())
                QSKIP("this system lets two programs open one port (Wine does; Windows does not)");
            QVERIFY(!ProbePort());
            QCOMPARE(LastPortOpenError(), QStringLiteral("Порт занят другой программой."));
            QCOMPARE(readParameter().status, StatusNoAnswer);
        }
        QVERIFY(ProbePort());
        QCOMPARE(readParameter().status, StatusOk);
        // After our exchange the port is free for others again.
        OtherProgramHolding after(sim->portPath());
        QVERIFY(after.holds());
    }

    void portTheSystemDoesNotHave() {
        CurrentPortSettings().PortName = QStringLiteral("COM100");
        QVERIFY(!ProbePort());
        QCOMPARE(LastPortOpenError(), QStringLiteral("Порт COM100 в системе не найден."));
        QCOMPARE(readParameter().status, StatusNoAnswer);
    }

    // Another program left the port with software flow control, NUL
    // stripping and abort-on-error on (a terminal program's choice; Wine
    // keeps them in the terminal's settings). Answers whose bytes are XON
    // and XOFF still come whole, and a record read after them still works.
    void flagsAnotherProgramLeftDoNotTouchTheExchange() {
        const auto leaveFlags = [this](bool on) {
            OtherProgramHolding other(sim->portPath());
            QVERIFY(other.holds());
            DCB state{};
            state.DCBlength = sizeof state;
            QVERIFY(GetCommState(other.handle(), &state));
            state.fOutX = state.fInX = on;
            state.fNull = on;
            state.fAbortOnError = on;
            state.XonChar = 0x11;
            state.XoffChar = 0x13;
            QVERIFY(SetCommState(other.handle(), &state));
        };
        leaveFlags(true);
        {
            OtherProgramHolding check(sim->portPath());
            DCB state{};
            state.DCBlength = sizeof state;
            QVERIFY(check.holds() && GetCommState(check.handle(), &state));
            if (!state.fOutX)
                QSKIP("this system does not keep a port's flow control between programs");
        }
        const QByteArray written("A\x13XOFF\x11XON\x13\x13");
        QByteArray name = written;
        const CommandStatus wrote = goods(ModeWrite, 9, name);
        QByteArray read;
        const CommandStatus readBack = goods(ModeRead, 9, read);
        QByteArray plain("PLAIN"), after;
        const CommandStatus wrotePlain = goods(ModeWrite, 10, plain);
        const CommandStatus readPlain = goods(ModeRead, 10, after);
        leaveFlags(false);
        QCOMPARE(wrote, StatusOk);
        QCOMPARE(readBack, StatusOk);
        QCOMPARE(read, written);
        QCOMPARE(wrotePlain, StatusOk);
        QCOMPARE(readPlain, StatusOk);
        QCOMPARE(after, QByteArray("PLAIN"));
    }

    // Another program's settings (9600 bit/s, 7 data bits, even parity) and
    // time-outs are what it finds again after our exchange at 115200.
    void portIsLeftAsItWasFound() {
        const auto found = [this](DCB& state, COMMTIMEOUTS& timeouts) {
            OtherProgramHolding again(sim->portPath());
            state = DCB{};
            state.DCBlength = sizeof state;
            return again.holds() && GetCommState(again.handle(), &state) &&
                   GetCommTimeouts(again.handle(), &timeouts);
        };
        {
            OtherProgramHolding other(sim->portPath());
            QVERIFY(other.holds());
            DCB state{};
            state.DCBlength = sizeof state;
            QVERIFY(GetCommState(other.handle(), &state));
            state.BaudRate = 9600;
            state.ByteSize = 7;
            state.Parity = EVENPARITY;
            QVERIFY(SetCommState(other.handle(), &state));
            COMMTIMEOUTS timeouts{};
            timeouts.ReadIntervalTimeout = 77;
            timeouts.ReadTotalTimeoutConstant = 777;
            QVERIFY(SetCommTimeouts(other.handle(), &timeouts));
        }
        // What the next program finds, whatever the system keeps of it.
        DCB before{};
        COMMTIMEOUTS beforeTimeouts{};
        QVERIFY(found(before, beforeTimeouts));
        QCOMPARE(int(before.BaudRate), 9600);
        QCOMPARE(readParameter().status, StatusOk);
        DCB after{};
        COMMTIMEOUTS afterTimeouts{};
        QVERIFY(found(after, afterTimeouts));
        QCOMPARE(int(after.BaudRate), int(before.BaudRate));
        QCOMPARE(int(after.ByteSize), int(before.ByteSize));
        QCOMPARE(int(after.Parity), int(before.Parity));
        QCOMPARE(int(afterTimeouts.ReadIntervalTimeout), int(beforeTimeouts.ReadIntervalTimeout));
        QCOMPARE(int(afterTimeouts.ReadTotalTimeoutConstant),
                 int(beforeTimeouts.ReadTotalTimeoutConstant));
    }
};

QTEST_GUILESS_MAIN(Win32SerialLinkSuite)
#include "tst_win32serial.moc"
