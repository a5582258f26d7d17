// The emulated device driven frame by frame: its checks, its stores, its modes
// and its faults.

#include <QRandomGenerator>
#include <QtTest>

#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorCommands.h"
#include "emulator/Requests.h"

namespace {

QByteArray WithByte(QByteArray frame, int offset, int value) {
    frame[offset] = static_cast<char>(value);
    CloseFrame(frame);
    return frame;
}

bool IsWellFormedAnswer(const QByteArray& answer) {
    const int n = static_cast<int>(answer.size());
    return n >= 7 && FrameByte(answer, 0) == STX_SLAVE && FrameByte(answer, 2) == n &&
           FrameByte(answer, n - 3) == END_MARK &&
           FrameUnsigned(answer, n - 2, 2) == AdditiveSum(answer, n - 2);
}

}  // namespace

class TestEmulator : public QObject {
    Q_OBJECT

private slots:
    void init() { device_.reset(); }

    void requestChecks_data();
    void requestChecks();
    void anyBytesGetADefinedAnswer();
    void stateAnswer();
    void parametersAreStored();
    void accessFlagGuardsWrites();
    void innMovesToWorkingMode();
    void oneClicheDevice();
    void formsAndGoodsAreStored();
    void faults_data();
    void faults();
    void faultTargetingAndCount();
    void controlLanguage_data();
    void controlLanguage();
    void logKeepsExchangesInOrder();

private:
    DeviceEmulator device_;
};

void TestEmulator::requestChecks_data() {
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("error");

    const QByteArray state = StateRequest();
    QTest::newRow("state") << state << 31 << 0x55 << 0;
    QTest::newRow("first byte not STX") << WithByte(state, 0, 0x16) << 31 << 0x55 << 22;
    QTest::newRow("length byte lies") << WithByte(state, 7, 12) << 31 << 0x55 << 20;
    QTest::newRow("frame cut short") << state.left(10) << 31 << 0x55 << 20;
    QTest::newRow("header only") << state.left(7) << 31 << 0x55 << 20;
    QByteArray badSum = state;
    badSum[9] = static_cast<char>(badSum[9] + 1);
    QTest::newRow("checksum") << badSum << 31 << 0x55 << 21;
    QByteArray noEnd = state;
    noEnd[8] = 0x18;
    QTest::newRow("no end mark") << noEnd << 31 << 0x55 << 20;
    QTest::newRow("unknown command") << BuildRequest(0, 0x71, {}) << 7 << 0x51 << 22;
    QTest::newRow("state of the wrong length")
        << BuildRequest(0, CmdState, Bytes({0})) << 31 << 0x55 << 20;
    QTest::newRow("other factory number") << StateRequest(12345) << 31 << 0x55 << 55;

    const struct {
        const char* name;
        int group, index, line, error;
    } addresses[] = {
        {"operator 1 position", 0, 1, 1, 0},
        {"operator 8 password", 0, 8, 3, 0},
        {"operator 0", 0, 0, 1, 51},
        {"operator 9", 0, 9, 1, 51},
        {"operator line 4", 0, 1, 4, 51},
        {"document name", 1, 1, 1, 0},
        {"document name 2", 1, 2, 1, 51},
        {"document name line 2", 1, 1, 2, 51},
        {"service 8 line 3", 2, 8, 3, 0},
        {"service line 0", 2, 1, 0, 51},
        {"requisite 9", 3, 9, 1, 51},
        {"cliché 2 line 8", 4, 2, 8, 0},
        {"cliché 3", 4, 3, 1, 51},
        {"cliché line 9", 4, 1, 9, 51},
        {"group 5", 5, 1, 1, 51},
    };
    for (const auto& a : addresses)
        QTest::newRow(a.name) << ParameterRequest(1, a.group, a.index, a.line) << 36 << 0x50
                              << a.error;
    QTest::newRow("parameter mode 2") << ParameterRequest(2, 0, 1, 1) << 36 << 0x50 << 51;

    QTest::newRow("goods 1000") << GoodsRequest(1, 1000) << 46 << 0x54 << 0;
    QTest::newRow("goods 1001") << GoodsRequest(1, 1001) << 46 << 0x54 << 51;
    QTest::newRow("goods 65535") << GoodsRequest(0, 65535) << 46 << 0x54 << 51;
    QTest::newRow("goods mode 2") << GoodsRequest(2, 0) << 46 << 0x54 << 51;
    QTest::newRow("highest price")
        << GoodsRequest(0, 1, "0A", 1, 99'999'999'900ULL) << 46 << 0x54 << 0;
    QTest::newRow("price too high")
        << GoodsRequest(0, 1, "0A", 1, 99'999'999'901ULL) << 46 << 0x54 << 59;

    QTest::newRow("form 0") << FormRequest(1, 0) << 11 << 0x46 << 51;
    QTest::newRow("form 9") << FormRequest(1, 9) << 11 << 0x46 << 51;
    QTest::newRow("variant 7") << FormRequest(0, 1, 7) << 11 << 0x46 << 51;
    QTest::newRow("requisite 9") << FormRequest(0, 1, 1, 9) << 11 << 0x46 << 51;
    QTest::newRow("kind 4") << FormRequest(0, 1, 1, 1, 4) << 11 << 0x46 << 51;
    QTest::newRow("read ignores the form bytes")
        << FormRequest(1, 8, 200, 200, 200) << 11 << 0x46 << 0;
    QTest::newRow("form mode 2") << FormRequest(2, 1) << 11 << 0x46 << 51;

    QTest::newRow("inn group 0") << InnRequest(1, 1, 10, 0, 1) << 7 << 0x4E << 51;
    QTest::newRow("inn group 4") << InnRequest(1, 1, 10, 4, 1) << 7 << 0x4E << 51;
    QTest::newRow("inn 30 February") << InnRequest(30, 2, 10, 1, 1) << 7 << 0x4E << 51;
}

void TestEmulator::requestChecks() {
    QFETCH(QByteArray, request);
    QFETCH(int, length);
    QFETCH(int, code);
    QFETCH(int, error);

    const QByteArray answer = device_.respond(request);
    QVERIFY2(IsWellFormedAnswer(answer), answer.toHex(' ').constData());
    QCOMPARE(answer.size(), length);
    QCOMPARE(int(FrameByte(answer, 1)), code);
    QCOMPARE(ErrorOf(answer), error);
}

// Whatever arrives on the line, the device answers with a whole frame or not at
// all, and never reads or writes outside the bytes it has.
void TestEmulator::anyBytesGetADefinedAnswer() {
    QRandomGenerator random(20240611);
    const QByteArray valid[] = {StateRequest(), ParameterRequest(0, 2, 3, 1, "0ABC"),
                                GoodsRequest(0, 7, "0X", 5, 100, 1), FormRequest(0, 2, 1, 1, 1),
                                InnRequest(1, 2, 3, 1, 77)};
    for (int round = 0; round < 3000; ++round) {
        QByteArray request;
        if (round % 2 == 0) {
            request.resize(random.bounded(0, 80));
            for (char& byte : request) byte = static_cast<char>(random.bounded(256));
            if (!request.isEmpty() && random.bounded(2)) request[0] = static_cast<char>(STX);
        } else {
            request = valid[random.bounded(5)];
            request[random.bounded(int(request.size()))] = static_cast<char>(random.bounded(256));
            if (random.bounded(3) == 0) request.truncate(random.bounded(int(request.size())));
        }
        const QByteArray answer = device_.respond(request);
        if (request.isEmpty()) {
            QVERIFY(answer.isEmpty());
        } else {
            QVERIFY2(IsWellFormedAnswer(answer), request.toHex(' ').constData());
        }
    }
}

void TestEmulator::stateAnswer() {
    device_.setFactoryNumber(12345);
    device_.setClock(QDateTime(QDate(2010, 2, 1), QTime(9, 5)));
    device_.status().documentNumber = 0x1234;
    device_.status().battery = 3;
    device_.setTaxpayerNumber(1234567);
    // The request exactly as the program sends it for factory number "12345".
    const QByteArray answer =
        device_.respond(Bytes({0x17, 0x02, 0x39, 0x30, 0x00, 0x00, 0x75, 0x0B, 0x19, 0x1B, 0x01}));
    QVERIFY(IsWellFormedAnswer(answer));
    QCOMPARE(ErrorOf(answer), 0);
    QCOMPARE(int(FrameByte(answer, 4)), 0x00);  // training mode
    QCOMPARE(int(FrameByte(answer, 6)), 2);     // group
    QCOMPARE(int(FrameByte(answer, 7)), 3);
    QCOMPARE(FrameUnsigned(answer, 8, 2), 0x1234ULL);
    QCOMPARE(answer.mid(11, 5), Bytes({1, 2, 10, 9, 5}));
    QCOMPARE(FrameUnsigned(answer, 16, 4), 12345ULL);
    QCOMPARE(FrameUnsigned(answer, 22, 6), 1234567ULL);
}

void TestEmulator::parametersAreStored() {
    QCOMPARE(device_.respond(ParameterRequest(1, 1, 1, 1)).mid(8, 10), QByteArray("0kwitanciq"));

    const QByteArray text = "1ABCDEFGHIJKL";
    QByteArray answer = device_.respond(ParameterRequest(0, 2, 3, 2, text));
    QCOMPARE(ErrorOf(answer), 0);
    answer = device_.respond(ParameterRequest(1, 2, 3, 2));
    QCOMPARE(int(FrameByte(answer, 6)), 1);
    QCOMPARE(answer.mid(8, 25), text + QByteArray(12, '\0'));
    // The neighbouring lines are untouched.
    QCOMPARE(device_.parameter(2, 3, 1), QByteArray(25, '\0'));
    QCOMPARE(device_.parameter(2, 3, 3), QByteArray(25, '\0'));
}

void TestEmulator::accessFlagGuardsWrites() {
    device_.setParameter(0, 3, 2, "0IWANOW");
    device_.setAccess(0, 3, false);

    QByteArray answer = device_.respond(ParameterRequest(1, 0, 3, 2));
    QCOMPARE(ErrorOf(answer), 0);
    QCOMPARE(int(FrameByte(answer, 6)), 0);
    QCOMPARE(answer.mid(8, 7), QByteArray("0IWANOW"));

    answer = device_.respond(ParameterRequest(0, 0, 3, 2, "0PETROW"));
    QCOMPARE(ErrorOf(answer), 52);
    QCOMPARE(int(FrameByte(answer, 6)), 0);
    QCOMPARE(device_.parameter(0, 3, 2).left(7), QByteArray("0IWANOW"));

    answer = device_.respond(ParameterRequest(0, 0, 4, 2, "0PETROW"));
    QCOMPARE(ErrorOf(answer), 0);
    QCOMPARE(int(FrameByte(answer, 6)), 1);
}

void TestEmulator::innMovesToWorkingMode() {
    device_.setForm(3, DeviceEmulator::Form{true, 5, 2, 0});
    QCOMPARE(device_.respond(FormRequest(1, 3)).mid(4, 4), Bytes({3, 5, 2, 0}));

    // A refused ИНН changes nothing.
    QCOMPARE(ErrorOf(device_.respond(InnRequest(30, 2, 10, 1, 1))), 51);
    QVERIFY(!device_.workingMode());

    QCOMPARE(ErrorOf(device_.respond(InnRequest(6, 3, 10, 3, 1234567, 42))), 0);
    QVERIFY(device_.workingMode());
    QCOMPARE(device_.innDate(), QDate(2010, 3, 6));
    QCOMPARE(device_.innPassword(), 42);

    const QByteArray state = device_.respond(StateRequest());
    QCOMPARE(int(FrameByte(state, 4)), 0x01);
    QCOMPARE(int(FrameByte(state, 6)), 3);
    QCOMPARE(FrameUnsigned(state, 22, 6), 1234567ULL);

    // Every form is erased...
    for (int form = 1; form <= 8; ++form)
        QCOMPARE(device_.respond(FormRequest(1, form)).mid(4, 4), Bytes({0, 0, 0, 0}));
    // ...may be programmed once more, and then stays as it is.
    QCOMPARE(ErrorOf(device_.respond(FormRequest(0, 3, 6, 4, 2))), 0);
    QCOMPARE(device_.respond(FormRequest(1, 3)).mid(4, 4), Bytes({3, 6, 4, 2}));
    QCOMPARE(ErrorOf(device_.respond(FormRequest(0, 3, 5, 0, 0))), 30);

    // The printed data can be read but no longer changed.
    QCOMPARE(ErrorOf(device_.respond(ParameterRequest(1, 1, 1, 1))), 0);
    const QByteArray refused = device_.respond(ParameterRequest(0, 1, 1, 1, "0X"));
    QCOMPARE(ErrorOf(refused), 30);
    QCOMPARE(device_.parameter(1, 1, 1).left(2), QByteArray("0k"));
    // Goods are not printed data.
    QCOMPARE(ErrorOf(device_.respond(GoodsRequest(0, 1, "0A", 1, 100))), 0);

    QCOMPARE(ErrorOf(device_.respond(InnRequest(6, 3, 10, 1, 999))), 53);
    QCOMPARE(device_.taxpayerNumber(), 1234567ULL);
}

void TestEmulator::oneClicheDevice() {
    device_.setOneClicheOnly(true);
    QCOMPARE(ErrorOf(device_.respond(ParameterRequest(1, 4, 2, 1))), 51);
    QCOMPARE(ErrorOf(device_.respond(ParameterRequest(0, 4, 2, 5, "0A"))), 51);
    QCOMPARE(ErrorOf(device_.respond(ParameterRequest(1, 4, 1, 8))), 0);
    QCOMPARE(ErrorOf(device_.respond(ParameterRequest(0, 4, 1, 1, "0A"))), 0);
}

void TestEmulator::formsAndGoodsAreStored() {
    QCOMPARE(ErrorOf(device_.respond(FormRequest(0, 8, 1, 8, 3))), 0);
    QCOMPARE(device_.respond(FormRequest(1, 8, 0, 0, 0)).mid(4, 4), Bytes({8, 1, 8, 3}));

    const QByteArray name = "0MOLOKO 1L";
    QCOMPARE(ErrorOf(device_.respond(
                 GoodsRequest(0, 1000, name, 0xABCDEF012345ULL, 99'999'999'900ULL, 16))),
             0);
    const QByteArray answer = device_.respond(GoodsRequest(1, 1000));
    QCOMPARE(FrameUnsigned(answer, 4, 2), 1000ULL);
    QCOMPARE(answer.mid(6, 25), name + QByteArray(25 - name.size(), '\0'));
    QCOMPARE(FrameUnsigned(answer, 31, 6), 0xABCDEF012345ULL);
    QCOMPARE(FrameUnsigned(answer, 37, 5), 99'999'999'900ULL);
    QCOMPARE(int(FrameByte(answer, 42)), 16);
    QCOMPARE(device_.goods(999).price, 0ULL);
}

void TestEmulator::faults_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("answer");  // empty: silence
    QTest::addColumn<bool>("stored");

    QByteArray good = device_.respond(ParameterRequest(0, 2, 1, 1, "0NEW"));
    device_.reset();
    QTest::newRow("silent") << "silent" << QByteArray() << false;
    QTest::newRow("truncate") << "truncate 20" << good.left(20) << true;
    QTest::newRow("truncate beyond") << "truncate 99" << good << true;
    QByteArray damaged = good;
    damaged[0] = 0;
    CloseFrame(damaged);
    QTest::newRow("first byte") << "first-byte" << damaged << true;
    damaged = good;
    damaged[1] = 0x70;
    CloseFrame(damaged);
    QTest::newRow("response code") << "code" << damaged << true;
    damaged = good;
    damaged[2] = 37;
    CloseFrame(damaged);
    QTest::newRow("length byte") << "length" << damaged << true;
    QTest::newRow("length and cut") << "length 35" << WithByte(good, 2, 35).left(35) << true;
    QByteArray refused(36, '\0');
    refused.replace(0, 4, Bytes({0x18, 0x50, 36, 33}));
    CloseFrame(refused);
    QTest::newRow("device error") << "error 33" << refused << false;
}

void TestEmulator::faults() {
    QFETCH(QString, fault);
    QFETCH(QByteArray, answer);
    QFETCH(bool, stored);

    QCOMPARE(ApplyEmulatorCommand(device_, QStringLiteral("fault ") + fault), QString());
    if (fault == QLatin1String("length 35"))
        QCOMPARE(ApplyEmulatorCommand(device_, QStringLiteral("fault truncate 35")), QString());
    QCOMPARE(device_.respond(ParameterRequest(0, 2, 1, 1, "0NEW")), answer);
    QCOMPARE(device_.parameter(2, 1, 1).left(4) == "0NEW", stored);
}

void TestEmulator::faultTargetingAndCount() {
    Fault silent;
    silent.kind = FaultKind::Silent;
    silent.command = CmdGoods;
    silent.index = 5;
    silent.count = 2;
    QVERIFY(device_.addFault(silent));
    Fault slow;
    slow.kind = FaultKind::Delay;
    slow.value = 250;
    slow.command = CmdParameter;
    slow.group = 2;
    QVERIFY(device_.addFault(slow));
    device_.setPace(9600);

    QVERIFY(!device_.respond(GoodsRequest(1, 4)).isEmpty());
    QVERIFY(!device_.respond(ParameterRequest(1, 0, 5, 1)).isEmpty());
    QVERIFY(device_.respond(StateRequest()).size() == 31);
    QVERIFY(device_.respond(GoodsRequest(1, 5)).isEmpty());
    QVERIFY(device_.respond(GoodsRequest(1, 5)).isEmpty());
    QVERIFY(!device_.respond(GoodsRequest(1, 5)).isEmpty());
    QCOMPARE(device_.faults().size(), 1);

    const EmulatorReply service = device_.exchange(ParameterRequest(1, 2, 1, 1));
    QCOMPARE(service.delayMs, 250);
    QCOMPARE(service.paceBaud, 9600);
    // The answer waits for the request to cross the line, then takes its own time.
    QCOMPARE(service.arrivalNs(0, 40), 250'000'000LL + 1'041'666LL);
    QCOMPARE(device_.exchange(ParameterRequest(1, 3, 1, 1)).delayMs, 0);
    QCOMPARE(device_.exchange(StateRequest()).arrivalNs(30, 11), 42 * 1'041'666LL);
}

void TestEmulator::controlLanguage_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");

    for (const char* line : {"fault silent",
                             "fault truncate 5 cmd=0x74 index=1000 count=1",
                             "fault error 51 group=4",
                             "fault first-byte 0x17",
                             "fault pace 9600",
                             "fault late 350 cmd=0x74 count=1",
                             "clear-faults",
                             "pace 0",
                             "delay 10",
                             "factory -1",
                             "factory 2147483647",
                             "one-cliche",
                             "one-cliche off",
                             "working-mode on",
                             "access 4 2 0",
                             "group 3",
                             "inn 281474976710655",
                             "form 8 absent",
                             "form 1 6 8 3",
                             "param 0 1 3 1234",
                             "param 1 1 1",
                             "status battery=3 document=65535",
                             "clock 2010-03-15T09:05",
                             "clock host",
                             "clear-log",
                             "reset"})
        QTest::newRow(line) << QString::fromLatin1(line) << true;
    for (const char* line : {"",
                             "bogus",
                             "fault",
                             "fault sideways",
                             "fault error",
                             "fault error 0",
                             "fault error 256",
                             "fault truncate",
                             "fault pace 0",
                             "fault silent count=0",
                             "fault silent colour=1",
                             "fault delay -5",
                             "fault late",
                             "pace fast",
                             "factory 2147483648",
                             "one-cliche maybe",
                             "access 4 3 0",
                             "access 0 1",
                             "form 9 absent",
                             "form 1 2 3",
                             "param 1 2 1 X",
                             "status battery=256",
                             "status mood=1",
                             "clock yesterday",
                             "reset now"})
        QTest::newRow(line) << QString::fromLatin1(line) << false;
}

void TestEmulator::controlLanguage() {
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    QCOMPARE(ApplyEmulatorCommand(device_, line).isEmpty(), accepted);
}

void TestEmulator::logKeepsExchangesInOrder() {
    ApplyEmulatorCommand(device_, QStringLiteral("fault silent cmd=0x75 count=1"));
    const QByteArray first = StateRequest();
    const QByteArray second = ParameterRequest(1, 0, 1, 1);
    device_.respond(first);
    const QByteArray answer = device_.respond(second);
    QCOMPARE(device_.log().size(), 2);
    QCOMPARE(device_.log().at(0).request, first);
    QCOMPARE(device_.log().at(0).response, QByteArray());
    QCOMPARE(device_.log().at(1).request, second);
    QCOMPARE(device_.log().at(1).response, answer);
}

QTEST_GUILESS_MAIN(TestEmulator)
#include "tst_emulator.moc"
