// The device character set, the digit key filter and the configuration model.
#include <QtTest>
#include <cstring>

#include "config/DeviceConfiguration.h"
#include "config/DigitKeyFilter.h"
#include "config/ParameterIO.h"
#include "device/DeviceCharset.h"

namespace {

QByteArray Cp(const QString& s) {
    return ToCp1251(s);
}

QByteArray Encode(const QByteArray& source, int destinationSize = 64, char fill = 0) {
    QByteArray destination(destinationSize, fill);
    destination[destinationSize - 1] = 0;
    EncodeDeviceText(source.constData(), destination.data());
    return QByteArray(destination.constData());
}

QByteArray Decode(const QByteArray& source) {
    QByteArray destination(source.size() + 1, '\0');
    DecodeDeviceText(source.constData(), destination.data());
    return QByteArray(destination.constData());
}

}  // namespace

class TestModel : public QObject {
    Q_OBJECT

private slots:
    void everyCapitalRoundTrips() {
        for (int c = 0xC0; c <= 0xDF; ++c) {
            const QByteArray pc(1, char(c));
            const QByteArray device = Encode(pc);
            QCOMPARE(device.size(), 1);
            QVERIFY2(uchar(device[0]) >= 0x5E && uchar(device[0]) <= 0x7E, pc.toHex().constData());
            QCOMPARE(Decode(device), pc);
        }
    }

    void knownLines_data() {
        QTest::addColumn<QString>("pc");
        QTest::addColumn<QByteArray>("device");
        QTest::newRow("name") << QStringLiteral("ИВАНОВ И.И.") << QByteArray("iwanow i.i.");
        QTest::newRow("hard sign and ya") << QStringLiteral("ЪЯЮ") << QByteArray("^q`");
        QTest::newRow("digits and latin") << QStringLiteral("0AB 12") << QByteArray("0AB 12");
        QTest::newRow("small letters, Ё and № become spaces")
            << QStringLiteral("аЁё№Z") << QByteArray("    Z");
    }
    void knownLines() {
        QFETCH(QString, pc);
        QFETCH(QByteArray, device);
        QCOMPARE(Encode(Cp(pc)), device);
    }

    void decodingSpecials() {
        // A Latin small letter sent from the PC comes back as the Cyrillic capital.
        QCOMPARE(FromCp1251(Decode(Encode("a"))), QStringLiteral("А"));
        QCOMPARE(Decode("0ABC_\x7F"), QByteArray("0ABC_\x7F"));
        QCOMPARE(Decode(QByteArray("AB\x80"
                                   "CD")),
                 QByteArray("AB"));
    }

    void encodingClearsAnOlderLongerText() {
        char destination[26];
        std::memset(destination, 0, sizeof destination);
        std::strcpy(destination, "0OLD LONGER TEXT HERE");
        EncodeDeviceText("0NEW", destination);
        QCOMPARE(QByteArray(destination), QByteArray("0NEW"));
        QCOMPARE(QByteArray(destination + 4, 21), QByteArray(21, '\0'));
    }

    void digitFilter() {
        const QString allowed = QStringLiteral("0123456789%'\b");
        for (QChar c : allowed) {
            QChar k = c;
            FilterDigitKey(k);
            QCOMPARE(k, c);
        }
        for (QChar c : QStringLiteral("aZ-+. ЖёЁ")) {
            QChar k = c;
            FilterDigitKey(k);
            QVERIFY(k.isNull());
        }
    }

    void fieldHelpersStayInside() {
        char field[5];
        std::memset(field, 'x', sizeof field);
        CopyToField(field, 5, "123456789");
        QCOMPARE(QByteArray(field, 5), QByteArray("1234\0", 5));
        QCOMPARE(FieldText("ABCDEFG", 3), QByteArray("ABC"));
        QCOMPARE(FieldText("AB\0CD", 5), QByteArray("AB"));
        // Unicode outside Windows-1251 never widens a field.
        QCOMPARE(ToCp1251(QStringLiteral("A😀B")).size(), 3);
    }

    void resetValues() {
        DeviceConfiguration config;
        std::memset(&config, 0x77, sizeof config);
        ResetFormTable(config);
        ResetConfiguration(config);
        for (const FormSlot& slot : config.forms) {
            QCOMPARE(slot.status, uint8_t(1));
            QCOMPARE(slot.variant, uint8_t(0));
            QCOMPARE(slot.requisite, uint8_t(0));
            QCOMPARE(slot.kind, uint8_t(0));
        }
        for (const OperatorRecord& op : config.operators) {
            QCOMPARE(op.access, uint8_t(1));
            QCOMPARE(QByteArray(op.name.bytes, 26), QByteArray(26, '\0'));
            QCOMPARE(QByteArray(op.password, 5), QByteArray(5, '\0'));
        }
        QCOMPARE(config.services[7].access, uint8_t(1));
        QCOMPARE(config.requisites[0].access, uint8_t(1));
        QCOMPARE(config.cliches[1].status, uint8_t(1));
        QCOMPARE(QByteArray(config.cliches[1].lines[7].bytes, 26), QByteArray(26, '\0'));
        // The reserved block is nobody's to reset.
        QCOMPARE(config.reserved[0], uint8_t(0x77));
    }

    void layoutTheFileDependsOn() {
        QCOMPARE(int(sizeof(DeviceConfiguration)), 2836);
        QCOMPARE(int(ConfigurationBlockSize), 2804);
        QCOMPARE(int(offsetof(DeviceConfiguration, cliches) + offsetof(ClicheRecord, status)),
                 2386 + 208);
        QCOMPARE(int(offsetof(DeviceConfiguration, operators[1].password)), 58 + 52);
    }
};

QTEST_GUILESS_MAIN(TestModel)
#include "tst_model.moc"
