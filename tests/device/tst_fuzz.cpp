// Thousands of random and mutated answers through every command: each ends in
// one of the defined statuses, and (under the sanitizers) nothing is read or
// written outside the frame buffer and the caller's buffers.
#include <QRandomGenerator>
#include <QtTest>

#include "device/Protocol.h"
#include "support/FakeLink.h"

class TestFuzz : public QObject {
    Q_OBJECT

    static bool Defined(CommandStatus s) {
        return s == StatusOk || s == StatusNoAnswer || s == StatusBadHeader ||
               s == StatusCodeMismatch || s == StatusDeviceError;
    }

    QByteArray Mutate(QRandomGenerator& rng, uint8_t command, int length) {
        QByteArray frame = Answer(command, length, 0);
        switch (rng.bounded(6)) {
            case 0: {  // pure noise of any length up to twice the buffer
                frame.resize(rng.bounded(257));
                for (char& c : frame) c = char(rng.bounded(256));
                break;
            }
            case 1:  // a well-formed answer cut anywhere
                frame.truncate(rng.bounded(length + 1));
                break;
            case 2:  // a few flipped bytes
                for (int i = 0; i < 1 + int(rng.bounded(4)); ++i)
                    frame[int(rng.bounded(frame.size()))] = char(rng.bounded(256));
                break;
            case 3:  // garbage after the frame
                frame.append(QByteArray(int(rng.bounded(200)), char(rng.bounded(256))));
                break;
            case 4:  // a device error with random data
                frame[3] = char(rng.bounded(256));
                for (int i = 4; i < frame.size(); ++i) frame[i] = char(rng.bounded(256));
                break;
            default:  // random data in an otherwise good frame
                for (int i = 4; i < frame.size(); ++i) frame[i] = char(rng.bounded(256));
                break;
        }
        return frame;
    }

private slots:
    void init() {
        CurrentPortSettings() = PortSettings{};
        CurrentPortSettings().PortName = QStringLiteral("COM1");
        CurrentPortSettings().TotalTimeout = 10;
    }

    void randomAnswersEndInADefinedStatus() {
        QRandomGenerator rng(20261207);
        FakeLink link;
        int seen[6] = {};
        for (int round = 0; round < 4000; ++round) {
            char errorText[ErrorTextSize] = {};
            uint8_t error = 0;
            CommandStatus status = StatusOk;
            switch (round % 5) {
                case 0: {
                    link.answers << Mutate(rng, CmdParameter, ParameterResponseLength);
                    char data[26] = {};
                    uint8_t flag = 0;
                    status = ParameterCommand(ModeRead, 2, 1, 1, data, error, errorText, &flag);
                    QVERIFY(data[25] == 0);
                    break;
                }
                case 1: {
                    link.answers << Mutate(rng, CmdForm, FormResponseLength);
                    uint8_t n = 1, v = 0, r = 0, k = 0;
                    status = FormCommand(ModeRead, n, v, r, k, error, errorText);
                    break;
                }
                case 2: {
                    link.answers << Mutate(rng, CmdInn, InnResponseLength);
                    status = InnCommand(1, 10, 1, 1, 1, "123", error, errorText);
                    break;
                }
                case 3: {
                    link.answers << Mutate(rng, CmdGoods, GoodsResponseLength);
                    char name[26] = {}, barcode[BarcodeTextSize] = {};
                    uint8_t section = 0;
                    int64_t price = 0;
                    status =
                        GoodsCommand(ModeRead, 1, name, barcode, section, price, error, errorText);
                    QVERIFY(price >= 0 && price <= 0xFFFFFFFFFFLL);
                    QVERIFY(qstrlen(barcode) <= 15);
                    break;
                }
                default: {
                    link.answers << Mutate(rng, CmdState, StateResponseLength);
                    uint8_t a, b, c, d, e, f, g, h, i, j, group;
                    uint16_t doc;
                    uint32_t factory;
                    uint64_t inn;
                    status = StateCommand(error, a, b, c, doc, d, e, f, g, h, i, factory, inn,
                                          group, errorText);
                    Q_UNUSED(j);
                    break;
                }
            }
            QVERIFY(Defined(status));
            QVERIFY(qstrnlen(errorText, ErrorTextSize) < ErrorTextSize);
            QCOMPARE(status == StatusOk, errorText[0] == 0);
            ++seen[status];
        }
        // The generator reaches every status, so the checks above mean something.
        for (int s : {0, 1, 2, 3, 5}) QVERIFY2(seen[s] > 0, QByteArray::number(s).constData());
    }
};

QTEST_GUILESS_MAIN(TestFuzz)
#include "tst_fuzz.moc"
