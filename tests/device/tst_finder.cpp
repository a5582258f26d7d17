// "Найти АС" end to end: the search's real serial code against zelvo-sim on a
// pseudo-terminal, the simulator listening at one speed or refusing the
// factory number.
#include <QtTest>

#include "device/DeviceFinder.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/links/SystemSerialPorts.h"
#include "emulator/EmulatorLink.h"
#include "support/SimProcess.h"

namespace {

const QString MissingPort = QStringLiteral("/dev/zelvo-no-such-port");

bool SameSettings(const PortSettings& a, const PortSettings& b) {
    return a.PortName == b.PortName && a.BaudRate == b.BaudRate && a.ByteTimeout == b.ByteTimeout &&
           a.TotalTimeout == b.TotalTimeout && a.MachineNumber == b.MachineNumber &&
           a.Applied == b.Applied;
}

}  // namespace

class TestFinder : public QObject {
    Q_OBJECT

    std::unique_ptr<SimProcess> sim;
    PortSettings before;

    DeviceSearchResult find(const QByteArray& machineNumber, int firstBaud,
                            const DeviceSearchCallback& callback = {}) {
        const DeviceSearchResult result =
            FindDevice({MissingPort, sim->portPath()}, machineNumber, firstBaud, callback);
        [&] { QVERIFY(SameSettings(CurrentPortSettings(), before)); }();
        return result;
    }

private slots:
    void initTestCase() {
        sim = std::make_unique<SimProcess>(
            QStringList{QStringLiteral("--factory"), QStringLiteral("123")});
        QVERIFY2(sim->isReady(), qPrintable(sim->errorString()));
        // What the user applied earlier: the search must leave it as it was.
        PortSettings& s = CurrentPortSettings();
        s.PortName = QStringLiteral("COM7");
        s.BaudRate = 4800;
        s.ByteTimeout = 5000;
        s.TotalTimeout = 30000;
        s.MachineNumber = "77";
        s.Applied = true;
        before = s;
    }
    void init() {
        QVERIFY(sim->command(QStringLiteral("clear-faults")));
        QVERIFY(sim->command(QStringLiteral("listen 0")));
    }

    void speedOrder() {
        QCOMPARE(SearchBaudRates(9600),
                 (QList<int>{9600, 115200, 57600, 38400, 19200, 4800, 2400}));
        QCOMPARE(SearchBaudRates(115200),
                 (QList<int>{115200, 57600, 38400, 19200, 9600, 4800, 2400}));
        // A speed the dialog does not offer is not tried.
        QCOMPARE(SearchBaudRates(1200).size(), 7);
    }

    void foundAtTheChosenSpeed() {
        const DeviceSearchResult result = find("123", 115200);
        QVERIFY(result.found);
        QCOMPARE(result.portName, sim->portPath());
        QCOMPARE(result.baudRate, 115200);
        QCOMPARE(result.deviceError, uint8_t(0));
        QVERIFY(!result.factoryNumberWrong);
        QCOMPARE(result.probes, 1);
        QCOMPARE(result.skipped.size(), 1);
        QCOMPARE(result.skipped.at(0).portName, MissingPort);
        QCOMPARE(result.skipped.at(0).reason,
                 QStringLiteral("Порт %1 в системе не найден.").arg(MissingPort));
        QCOMPARE(result.askedPorts, QStringList{sim->portPath()});
        QCOMPARE(DeviceSearchSummary(result, "123"),
                 QStringLiteral("АС найден: порт %1, скорость 115200.\nЗаводской номер 123 верен."
                                "\nОпрошены порты: %1.\nНе удалось открыть:\n%2 — Порт %2 в "
                                "системе не найден.")
                     .arg(sim->portPath(), MissingPort));
    }

    // All ports are asked at each speed together; the answer at the earliest
    // speed wins, and of ports that answer at the same speed the first listed.
    void everyPortAtEverySpeed() {
        SimProcess silent;
        SimProcess other({QStringLiteral("--factory"), QStringLiteral("123")});
        QVERIFY(silent.isReady() && other.isReady());
        QVERIFY(silent.command(QStringLiteral("fault silent")));
        QVERIFY(sim->command(QStringLiteral("listen 9600")));
        QVERIFY(other.command(QStringLiteral("listen 2400")));
        const QStringList ports{silent.portPath(), other.portPath(), sim->portPath()};
        QList<DeviceSearchStep> steps;
        DeviceSearchResult result =
            FindDevice(ports, "123", 115200, [&](const DeviceSearchStep& s) {
                steps << s;
                return true;
            });
        QVERIFY(result.found);
        QCOMPARE(result.portName, sim->portPath());
        QCOMPARE(result.baudRate, 9600);
        QCOMPARE(result.probes, 3 * 5);
        QCOMPARE(result.askedPorts, ports);
        QCOMPARE(steps.first().portName, ports.join(QStringLiteral(", ")));
        QCOMPARE(steps.at(1).done, 3);
        QCOMPARE(steps.last().done, 21);

        QVERIFY(other.command(QStringLiteral("listen 0")));
        QVERIFY(sim->command(QStringLiteral("listen 0")));
        result = FindDevice(ports, "123", 115200);
        QCOMPARE(result.portName, other.portPath());
        QCOMPARE(result.probes, 3);
        result = FindDevice({sim->portPath(), other.portPath()}, "123", 115200);
        QCOMPARE(result.portName, sim->portPath());
    }

    void foundAtASlowerSpeed() {
        QVERIFY(sim->command(QStringLiteral("listen 9600")));
        QList<DeviceSearchStep> steps;
        const DeviceSearchResult result = find("123", 115200, [&](const DeviceSearchStep& step) {
            steps << step;
            return true;
        });
        QVERIFY(result.found);
        QCOMPARE(result.baudRate, 9600);
        QCOMPARE(result.probes, 5);  // 115200, 57600, 38400, 19200, 9600
        // The missing port counts its seven speeds as done at once.
        QCOMPARE(steps.first().done, 7);
        QCOMPARE(steps.first().total, 14);
        QCOMPARE(steps.first().baudRate, 115200);
        QCOMPARE(steps.at(4).baudRate, 9600);
        QCOMPARE(steps.last().done, steps.last().total);

        // Asked first, the speed in the dialog is found with one query.
        QCOMPARE(find("123", 9600).probes, 1);
    }

    void wrongFactoryNumber() {
        const DeviceSearchResult result = find("5", 115200);
        QVERIFY(result.found);
        QCOMPARE(result.baudRate, 115200);
        QCOMPARE(result.deviceError, uint8_t(55));
        QVERIFY(result.factoryNumberWrong);
        QCOMPARE(DeviceSearchSummary(result, "5"),
                 QStringLiteral("АС найден: порт %1, скорость 115200.\nЗаводской номер 5 неверен: "
                                "Не совпал заводской номер.\nОпрошены порты: %1.\nНе удалось "
                                "открыть:\n%2 — Порт %2 в системе не найден.")
                     .arg(sim->portPath(), MissingPort));
    }

    void anyDeviceErrorIdentifiesTheDevice() {
        QVERIFY(sim->command(QStringLiteral("fault error 33")));
        const DeviceSearchResult result = find("123", 115200);
        QVERIFY(result.found);
        QCOMPARE(result.deviceError, uint8_t(33));
        QVERIFY(!result.factoryNumberWrong);
        QVERIFY(DeviceSearchSummary(result, "123")
                    .contains(QStringLiteral("АС сообщил об ошибке: Авария батареи.\n")));
    }

    void answersThatAreNotTheDevice_data() {
        QTest::addColumn<QString>("fault");
        QTest::newRow("silent") << QStringLiteral("silent");
        QTest::newRow("wrong first byte") << QStringLiteral("first-byte");
        QTest::newRow("wrong response code") << QStringLiteral("code");
        QTest::newRow("part of the answer") << QStringLiteral("truncate 20");
    }
    void answersThatAreNotTheDevice() {
        QFETCH(QString, fault);
        QVERIFY(sim->command(QStringLiteral("fault ") + fault));
        const DeviceSearchResult result = find("123", 115200);
        QVERIFY(!result.found);
        QVERIFY(!result.stopped);
        QCOMPARE(result.probes, 7);
        QCOMPARE(result.portsAsked, 1);
        QCOMPARE(DeviceSearchSummary(result, "123"),
                 QStringLiteral(
                     "АС не найден: ни один порт не ответил на запрос состояния ни на "
                     "одной скорости.\nОпрошены порты: %2.\nНе удалось открыть:\n%1 — Порт %1 "
                     "в системе не найден.")
                     .arg(MissingPort, sim->portPath()));
    }

    void stop() {
        QVERIFY(sim->command(QStringLiteral("fault silent")));
        int calls = 0;
        const DeviceSearchResult result =
            find("123", 115200, [&](const DeviceSearchStep&) { return ++calls <= 2; });
        QVERIFY(result.stopped);
        QVERIFY(!result.found);
        QCOMPARE(result.probes, 2);
        QVERIFY(
            DeviceSearchSummary(result, "123").startsWith(QStringLiteral("Поиск АС остановлен.")));
    }

    void neverTheRegisteredLinks() {
        RegisterInProcessEmulator();
        const int opens = InProcessEmulatorLink().openCount();
        const DeviceSearchResult result = FindDevice({EmulatorPortName()}, "0", 115200);
        QVERIFY(!result.found);
        QCOMPARE(result.probes, 0);
        QCOMPARE(InProcessEmulatorLink().openCount(), opens);
        QVERIFY(!SearchablePortNames().contains(EmulatorPortName()));
        QCOMPARE(DeviceSearchSummary(result, "0"),
                 QStringLiteral("АС не найден: в системе нет последовательных портов."));
    }

    void badFactoryNumberSendsNothing() {
        QVERIFY_THROWS_EXCEPTION(ConversionError, find("12a", 115200));
        QVERIFY(SameSettings(CurrentPortSettings(), before));
    }

    void portListShowsEachDeviceOnce() {
        const QList<PortEntry> entries = AvailablePorts();
        QStringList identities;
        for (const PortEntry& entry : entries) {
            if (!entry.present) continue;
            const QString path = PortPath(entry.name);
            const QString canonical = QFileInfo(path).canonicalFilePath();
            identities << (canonical.isEmpty() ? path : canonical);
        }
        QCOMPARE(identities.size(), QSet<QString>(identities.cbegin(), identities.cend()).size());
        QCOMPARE(PortEntryText({QStringLiteral("/dev/ttyUSB0"),
                                QStringLiteral("USB-Serial Controller"), true}),
                 QStringLiteral("/dev/ttyUSB0 — USB-Serial Controller"));
        QCOMPARE(PortEntryText({QStringLiteral("COM3"), QString(), true}), QStringLiteral("COM3"));
    }

    // The system's ports lead, in the system's order and described, a port
    // that is a COM item under that name; then the emulator; then the other
    // COM items, each name once. A port is stored by its name alone.
    void portListOrder() {
        const QList<SystemSerialPort> system = {
            {QStringLiteral("ttyUSB7"), QStringLiteral("/dev/ttyUSB7"),
             QStringLiteral("USB-Serial Controller")},
#ifdef Q_OS_WIN
            {QStringLiteral("COM9"), QStringLiteral("\\\\.\\COM9"),
             QStringLiteral("USB-SERIAL CH340 (COM9)")},
#endif
        };
        const QList<PortEntry> entries = ArrangePorts(system, {EmulatorPortName()});
        QStringList texts, names;
        for (const PortEntry& entry : entries) {
            texts << PortEntryText(entry);
            names << entry.name;
        }
        QCOMPARE(texts.first(), QStringLiteral("/dev/ttyUSB7 — USB-Serial Controller"));
        QCOMPARE(names.first(), QStringLiteral("/dev/ttyUSB7"));
        const int emulator = int(names.indexOf(EmulatorPortName()));
        QCOMPARE(emulator, int(system.size()));
#ifdef Q_OS_WIN
        QCOMPARE(texts.at(1), QStringLiteral("COM9 — USB-SERIAL CH340 (COM9)"));
        QVERIFY(entries.at(1).present && entries.at(1).listed);
#endif
        for (int i = 0; i < entries.size(); ++i) QCOMPARE(entries.at(i).listed, i < emulator);
        QCOMPARE(names.at(emulator + 1), QStringLiteral("COM1"));
        // 100 COM names, the USB port, the emulator: nothing twice.
        QCOMPARE(names.size(), 102);
        QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
        QCOMPARE(SearchPortsWithSelected({QStringLiteral("COM3")}, QStringLiteral("COM9")),
                 QStringList({QStringLiteral("COM3"), QStringLiteral("COM9")}));
        QCOMPARE(SearchPortsWithSelected({QStringLiteral("COM3")}, QStringLiteral("COM3")),
                 QStringList({QStringLiteral("COM3")}));
    }
};

QTEST_GUILESS_MAIN(TestFinder)
#include "tst_finder.moc"
