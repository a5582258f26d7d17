// Request frames, response checks and decoding of the five commands, against a
// link whose answers are scripted byte for byte.
#include <QtTest>
#include <cstring>

#include "device/DeviceCharset.h"
#include "device/Protocol.h"
#include "device/StateProbe.h"
#include "support/FakeLink.h"

namespace {

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

QString Text(const char* errorText) {
    return FromCp1251(errorText);
}

struct StateOut {
    uint8_t error = 0xEE, mode = 0xEE, flash = 0xEE, battery = 0xEE;
    uint16_t docNumber = 0xEEEE;
    uint8_t docState = 0xEE, day = 0xEE, month = 0xEE, year = 0xEE, hour = 0xEE, minute = 0xEE;
    uint32_t factory = 0xEEEEEEEE;
    uint64_t inn = 0xEE;
    uint8_t group = 0xEE;
    char errorText[ErrorTextSize] = {};
    CommandStatus run() {
        return StateCommand(error, mode, flash, battery, docNumber, docState, day, month, year,
                            hour, minute, factory, inn, group, errorText);
    }
};

}  // namespace

class TestFrames : public QObject {
    Q_OBJECT

private slots:
    void init() {
        PortSettings& s = CurrentPortSettings();
        s = PortSettings{};
        s.PortName = QStringLiteral("COM3");
        s.BaudRate = 115200;
        s.ByteTimeout = 250;
        s.TotalTimeout = 2500;
    }

    void stateRequestBytes_data() {
        QTest::addColumn<QByteArray>("machine");
        QTest::addColumn<QByteArray>("frame");
        QTest::newRow("machine 0") << QByteArray("0") << Hex("17 02 00 00 00 00 75 0B 19 B2 00");
        QTest::newRow("machine 12345")
            << QByteArray("12345") << Hex("17 02 39 30 00 00 75 0B 19 1B 01");
        QTest::newRow("negative machine")
            << QByteArray("-1") << Hex("17 02 FF FF FF FF 75 0B 19 AE 04");
    }
    void stateRequestBytes() {
        QFETCH(QByteArray, machine);
        QFETCH(QByteArray, frame);
        CurrentPortSettings().MachineNumber = machine;
        FakeLink link;
        StateOut out;
        QCOMPARE(out.run(), StatusNoAnswer);
        QCOMPARE(link.written.value(0), frame);
        QCOMPARE(link.lastExpected, StateResponseLength);
        // The device search builds the same query in a buffer of its own.
        QCOMPARE(StateRequest(MachineNumberValue(machine)), frame);
    }

    void checksumWrapsAt16Bits() {
        std::memset(FrameBuffer, 0xFF, FrameBufferSize);
        QCOMPARE(FrameChecksum(128), uint16_t((128 * 255) & 0xFFFF));
        QCOMPARE(FrameChecksum(0), uint16_t(0));
    }

    void comPortsMapToDevicePaths() {
        FakeLink link;
        CurrentPortSettings().PortName = QStringLiteral("COM12");
        QVERIFY(ProbePort());
#ifdef Q_OS_WIN
        QCOMPARE(link.lastPath, QStringLiteral("\\\\.\\COM12"));
#else
        QCOMPARE(link.lastPath, QStringLiteral("/dev/ttyS11"));
#endif
        CurrentPortSettings().PortName = QStringLiteral("/dev/ttyUSB0");
        QVERIFY(ProbePort());
        QCOMPARE(link.lastPath, QStringLiteral("/dev/ttyUSB0"));
        QVERIFY(!link.isOpen);
        link.refuseOpen = true;
        QVERIFY(!ProbePort());
        CurrentPortSettings().PortName.clear();
        link.refuseOpen = false;
        QVERIFY(!ProbePort());
    }

    void statusesInTheirOrder_data() {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("flagWritten");
        const QByteArray ok = Answer(CmdParameter, ParameterResponseLength);
        QByteArray badFirst = ok;
        badFirst[0] = 0x17;
        QByteArray wrongCode = ok;
        wrongCode[1] = char(CmdParameter);
        QByteArray badLength = ok;
        badLength[2] = 35;
        QByteArray shortAnswer = ok.left(35);  // says 36, 35 came
        QByteArray battery = Answer(CmdParameter, ParameterResponseLength, 33);
        QByteArray unknown = Answer(CmdParameter, ParameterResponseLength, 99);
        // A wrong first byte wins over a wrong code: checks run in order.
        QByteArray both = wrongCode;
        both[0] = 0x00;
        QTest::newRow("silence") << QByteArray() << 1
                                 << QStringLiteral("Нет ответа или не удалось открыть порт.")
                                 << false;
        const QString header = QStringLiteral("Неккоректный ответ - первый байт не STX_SLAVE.");
        QTest::newRow("first byte") << badFirst << 2 << header << false;
        QTest::newRow("length byte") << badLength << 2 << header << false;
        QTest::newRow("short answer") << shortAnswer << 2 << header << false;
        QTest::newRow("first byte before code") << both << 2 << header << false;
        QTest::newRow("response code")
            << wrongCode << 3
            << QStringLiteral("Неккоректный ответ - код ответа не соответствует коду команды.")
            << false;
        QTest::newRow("device error 33")
            << battery << 5 << QStringLiteral(" Авария батареи.") << true;
        QTest::newRow("unknown device error")
            << unknown << 5 << QStringLiteral("(99)Неизвестный код ошибки.") << true;
        QTest::newRow("success") << ok << 0 << QString() << true;
    }
    void statusesInTheirOrder() {
        QFETCH(QByteArray, answer);
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(bool, flagWritten);
        FakeLink link;
        QByteArray withFlag = answer;
        if (withFlag.size() > 6) withFlag[6] = 7;
        link.answers << withFlag;
        char data[26] = "KEEP";
        char errorText[ErrorTextSize] = {};
        // An earlier message must read as empty after a success.
        std::strcpy(errorText, "old message that was longer");
        uint8_t deviceError = 0xAA, flag = 0xAA;
        QCOMPARE(int(ParameterCommand(ModeRead, 2, 1, 1, data, deviceError, errorText, &flag)),
                 status);
        QCOMPARE(Text(errorText), message);
        QCOMPARE(flag, flagWritten ? uint8_t(7) : uint8_t(0xAA));
        QCOMPARE(deviceError, uint8_t(status == 5 ? withFlag[3] : (status == 0 ? 0 : 0xAA)));
        if (status != 0) QCOMPARE(QByteArray(data), QByteArray("KEEP"));
        QVERIFY(!link.isOpen);
    }

    void everyDeviceErrorText() {
        QCOMPARE(FromCp1251(DeviceErrorText(20)), QStringLiteral(" Ошибка интерфейса."));
        QCOMPARE(FromCp1251(DeviceErrorText(22)),
                 QStringLiteral(" Ошибка команды. Неверный код команды. Первый байт не STX."));
        QCOMPARE(FromCp1251(DeviceErrorText(59)),
                 QStringLiteral(" Разрядность \"Цена\" превышает допустимое значение."));
        QCOMPARE(FromCp1251(DeviceErrorText(255)), QStringLiteral("(255)Неизвестный код ошибки."));
        for (int code = 1; code < 256; ++code)
            QVERIFY(DeviceErrorText(uint8_t(code)).size() < ErrorTextSize);
        QCOMPARE(StatusText(StatusCodeMismatch).size(), 62);
    }

    void parameterWriteLengths_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("wide 20 letters") << QByteArray("1ABCDEFGHIJKLMNOPQRST")
                                         << QByteArray("1ABCDEFGHIJKL") + QByteArray(12, '\0');
        QTest::newRow("narrow 25 bytes")
            << QByteArray("0ABCDEFGHIJKLMNOPQRSTUVWX") << QByteArray("0ABCDEFGHIJKLMNOPQRSTUVWX");
        QTest::newRow("short") << QByteArray("0AB") << QByteArray("0AB") + QByteArray(22, '\0');
        QTest::newRow("password") << QByteArray("1234")
                                  << QByteArray("1234") + QByteArray(21, '\0');
    }
    void parameterWriteLengths() {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, field);
        FakeLink link;
        QByteArray data = text;
        data.append(QByteArray(40, '\0'));
        uint8_t error = 0;
        char errorText[ErrorTextSize] = {};
        ParameterCommand(ModeWrite, 2, 3, 1, data.data(), error, errorText);
        const QByteArray frame = link.written.value(0);
        QCOMPARE(frame.size(), ParameterRequestLength);
        QCOMPARE(frame.mid(8, 4), Hex("00 02 03 01"));
        QCOMPARE(frame.mid(12, 25), field);
        QCOMPARE(uint8_t(frame[37]), END_MARK);
    }

    void parameterReadStopsAtZero() {
        FakeLink link;
        QByteArray record("0ABCD");
        record.append('\0');
        record.append("GARBAGE");
        link.answers << Answer(CmdParameter, ParameterResponseLength, 0,
                               QByteArray(4, '\0') + record);
        char data[26];
        std::memset(data, 'x', sizeof data);
        uint8_t error = 0;
        char errorText[ErrorTextSize] = {};
        QCOMPARE(ParameterCommand(ModeRead, 4, 1, 1, data, error, errorText), StatusOk);
        QCOMPARE(QByteArray(data, 25), QByteArray("0ABCD") + QByteArray(20, '\0'));
        QCOMPARE(data[25], 'x');  // the buffer past the 25 data bytes is not touched
        QCOMPARE(link.written.value(0).mid(12, 25), QByteArray(25, '\0'));
    }

    void goodsFrames() {
        FakeLink link;
        char name[26] = "0HAME";
        char barcode[BarcodeTextSize] = "";
        uint8_t section = 3, error = 0;
        int64_t price = 12345;
        char errorText[ErrorTextSize] = {};
        GoodsCommand(ModeWrite, 1000, name, barcode, section, price, error, errorText);
        QByteArray frame = link.written.value(0);
        QCOMPARE(frame.size(), GoodsRequestLength);
        QCOMPARE(frame.mid(9, 2), Hex("E8 03"));
        QCOMPARE(frame.mid(11, 5), QByteArray("0HAME"));
        QCOMPARE(frame.mid(36, 12), QByteArray(12, '\0'));  // empty barcode: no numbers at all

        std::strcpy(barcode, "4600000000017");
        price = 99999999900;
        GoodsCommand(ModeWrite, 1, name, barcode, section, price, error, errorText);
        frame = link.written.value(1);
        QCOMPARE(frame.mid(36, 6), Hex("11 B0 5D 05 2F 04"));
        QCOMPARE(frame.mid(42, 5), Hex("9C E7 76 48 17"));
        QCOMPARE(uint8_t(frame[47]), uint8_t(3));

        std::strcpy(barcode, "12x");  // not a number: sent as 0, the rest unchanged
        price = 5;
        GoodsCommand(ModeWrite, 1, name, barcode, section, price, error, errorText);
        frame = link.written.value(2);
        QCOMPARE(frame.mid(36, 6), QByteArray(6, '\0'));
        QCOMPARE(frame.mid(42, 5), Hex("05 00 00 00 00"));
    }

    // A read sends the caller's barcode, price and section as a write does,
    // and no name.
    void goodsReadSendsTheCallersNumbers() {
        FakeLink link;
        char name[26] = "0HAME";
        char barcode[BarcodeTextSize] = "4600000000017";
        uint8_t section = 3, error = 0;
        int64_t price = 99999999900;
        char errorText[ErrorTextSize] = {};
        GoodsCommand(ModeRead, 1, name, barcode, section, price, error, errorText);
        const QByteArray frame = link.written.value(0);
        QCOMPARE(frame.size(), GoodsRequestLength);
        QCOMPARE(uint8_t(frame[8]), uint8_t(ModeRead));
        QCOMPARE(frame.mid(11, 25), QByteArray(25, '\0'));
        QCOMPARE(frame.mid(36, 6), Hex("11 B0 5D 05 2F 04"));
        QCOMPARE(frame.mid(42, 5), Hex("9C E7 76 48 17"));
        QCOMPARE(uint8_t(frame[47]), uint8_t(3));
    }

    void goodsReadDecodes() {
        FakeLink link;
        QByteArray data(2, '\0');
        data += QByteArray("1ABC").leftJustified(25, '\0');
        data += Hex("00 00 00 00 00 00");  // barcode 0
        data += Hex("FF FF FF FF FF");     // the largest 40-bit price
        data += char(7);
        link.answers << Answer(CmdGoods, GoodsResponseLength, 0, data);
        char name[26] = {}, barcode[BarcodeTextSize] = "stale";
        uint8_t section = 0, error = 0;
        int64_t price = -1;
        char errorText[ErrorTextSize] = {};
        QCOMPARE(GoodsCommand(ModeRead, 5, name, barcode, section, price, error, errorText),
                 StatusOk);
        QCOMPARE(QByteArray(name), QByteArray("1ABC"));
        QCOMPARE(QByteArray(barcode), QByteArray("0"));
        QCOMPARE(price, int64_t(0xFFFFFFFFFF));
        QCOMPARE(section, uint8_t(7));
    }

    void innFrame() {
        FakeLink link;
        uint8_t error = 0;
        char errorText[ErrorTextSize] = {};
        InnCommand(-2, 10, 3, 6, 3, "  +1234567abc", error, errorText);
        const QByteArray frame = link.written.value(0);
        QCOMPARE(frame.size(), InnRequestLength);
        QCOMPARE(frame.mid(8, 4), Hex("FE FF FF FF"));
        QCOMPARE(frame.mid(12, 4), Hex("06 03 0A 03"));
        QCOMPARE(frame.mid(16, 6), Hex("87 D6 12 00 00 00"));
        QCOMPARE(LenientDecimal("no digits"), int64_t(0));
        QCOMPARE(LenientDecimal("-5"), int64_t(-5));
    }

    void formReadAndAbsentForm() {
        FakeLink link;
        link.answers << Answer(CmdForm, FormResponseLength, 0, Hex("00 05 02 03"));
        uint8_t number = 3, variant = 1, requisite = 1, kind = 1, error = 0;
        char errorText[ErrorTextSize] = {};
        QCOMPARE(FormCommand(ModeRead, number, variant, requisite, kind, error, errorText),
                 StatusOk);
        QCOMPARE(link.written.value(0).mid(8, 5), Hex("01 03 01 01 01"));
        QCOMPARE(number, uint8_t(0));
        QCOMPARE(variant, uint8_t(5));
        QCOMPARE(requisite, uint8_t(2));
        QCOMPARE(kind, uint8_t(3));
    }

    void stateDecoding() {
        FakeLink link;
        link.answers << Answer(CmdState, StateResponseLength, 0,
                               Hex("21 00 02 03 34 12 00 01 02 0A 09 05 FF FF FF FF 00 00 "
                                   "87 D6 12 00 00 00"));
        StateOut out;
        QCOMPARE(out.run(), StatusOk);
        QCOMPARE(out.mode, uint8_t(0x21));
        QCOMPARE(out.group, uint8_t(2));
        QCOMPARE(out.battery, uint8_t(3));
        QCOMPARE(out.docNumber, uint16_t(0x1234));
        QCOMPARE(out.day, uint8_t(1));
        QCOMPARE(out.year, uint8_t(10));
        QCOMPARE(out.minute, uint8_t(5));
        QCOMPARE(out.factory, uint32_t(0xFFFFFFFF));
        QCOMPARE(out.inn, uint64_t(1234567));
    }

    void shortStateAnswerKeepsOldBytes() {
        FakeLink link;
        // The state command accepts any length byte; what did not arrive keeps
        // the bytes the frame buffer held (here the request's zeros and the
        // fill below).
        std::memset(FrameBuffer, 0x5A, FrameBufferSize);
        QByteArray answer = Answer(CmdState, StateResponseLength, 0, Hex("21 00 02"));
        link.answers << answer.left(8);
        StateOut out;
        QCOMPARE(out.run(), StatusOk);
        QCOMPARE(out.mode, uint8_t(0x21));
        QCOMPARE(out.minute, uint8_t(0x5A));
    }

    void machineNumberThatDoesNotConvert() {
        FakeLink link;
        CurrentPortSettings().MachineNumber = "2147483648";
        StateOut out;
        QVERIFY_THROWS_EXCEPTION(ConversionError, out.run());
        QVERIFY(link.written.isEmpty());
        QCOMPARE(link.opens, 0);
        try {
            out.run();
        } catch (const ConversionError& e) {
            QVERIFY(e.message().contains(QStringLiteral("2147483648")));
        }
    }

    void zeroTotalTimeoutIsBounded() {
        FakeLink link;
        CurrentPortSettings().TotalTimeout = 0;
        StateOut out;
        out.run();
        QCOMPARE(link.lastExpected, StateResponseLength);
    }
};

QTEST_GUILESS_MAIN(TestFrames)
#include "tst_frames.moc"
