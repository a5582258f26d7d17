// Prices, the editor's checks and the device form of a goods row.
#include <QtTest>

#include "device/DeviceCharset.h"
#include "goods/GoodsRecordCheck.h"
#include "goods/GoodsTransfer.h"
#include "goods/Price.h"
#include "support/GoodsRows.h"
#include "support/TestDevice.h"

namespace {

const char* const InvalidPrice = "Неккоректное значение цены!\nВозможно неккоректный разделитель!";
const char* const PriceTooLarge = "Значение параметра \"Цена\" превышает разрядность!";

}  // namespace

class TestRecords : public QObject {
    Q_OBJECT

private slots:
    void formatPriceWritesTwoKopeckDigits_data() {
        QTest::addColumn<qlonglong>("kopecks");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("0") << 0LL << QByteArray("0.00");
        QTest::newRow("5") << 5LL << QByteArray("0.05");
        QTest::newRow("100") << 100LL << QByteArray("1.00");
        QTest::newRow("123456") << 123456LL << QByteArray("1234.56");
        QTest::newRow("largest") << 99999999900LL << QByteArray("999999999.00");
        QTest::newRow("40 bits") << 1099511627775LL << QByteArray("10995116277.75");
        QTest::newRow("negative") << -5LL << QByteArray("-0.05");
        QTest::newRow("int64 min")
            << std::numeric_limits<qlonglong>::min() << QByteArray("-92233720368547758.08");
    }
    void formatPriceWritesTwoKopeckDigits() {
        QFETCH(qlonglong, kopecks);
        QFETCH(QByteArray, text);
        QCOMPARE(formatPrice(kopecks), text);
    }

    void parsePriceReadsRoublesAndKopecks_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qlonglong>("kopecks");
        QTest::newRow("empty") << QByteArray() << true << 0LL;
        QTest::newRow("12.5") << QByteArray("12.5") << true << 1250LL;
        QTest::newRow("12.345") << QByteArray("12.345") << true << 1234LL;
        QTest::newRow(".5") << QByteArray(".5") << true << 50LL;
        QTest::newRow("0.05") << QByteArray("0.05") << true << 5LL;
        QTest::newRow("point only") << QByteArray(".") << true << 0LL;
        QTest::newRow("1.2.3") << QByteArray("1.2.3") << false << 0LL;
        QTest::newRow("letter") << QByteArray("1a.00") << false << 0LL;
        QTest::newRow("percent") << QByteArray("12%") << false << 0LL;
        QTest::newRow("minus") << QByteArray("-1.00") << false << 0LL;
        QTest::newRow("overflow") << QByteArray("99999999999999999999") << false << 0LL;
    }
    void parsePriceReadsRoublesAndKopecks() {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        QFETCH(qlonglong, kopecks);
        const std::optional<int64_t> parsed = parsePrice(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) QCOMPARE(qlonglong(*parsed), kopecks);
    }

    // The checks in their order: the first failure decides, and a price that
    // passed its own checks comes back normalised with its rouble digits as
    // typed, also when a later check fails.
    void editorChecks_data() {
        QTest::addColumn<QString>("barcode");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focus");
        QTest::addColumn<QByteArray>("normalised");
        const int none = int(GoodsEntryField::None), price = int(GoodsEntryField::Price);
        const int section = int(GoodsEntryField::Section);
        const int barcode = int(GoodsEntryField::Barcode);
        auto ok = [](const char* name, const char* typed, const char* stored) {
            QTest::newRow(name) << "17"
                                << "3" << typed << QString() << int(GoodsEntryField::None)
                                << QByteArray(stored);
        };
        ok("12.5", "12.5", "12.50");
        ok("12", "12", "12.00");
        ok("12.345", "12.345", "12.34");
        ok(".5", ".5", ".50");
        ok("0.05", "0.05", "0.05");
        ok("999999999", "999999999", "999999999.00");
        ok("999999999.00", "999999999.00", "999999999.00");
        ok("leading zeros kept", "007.1", "007.10");
        ok("leading zeros kept while they fit", "000000001.55", "000000001.55");
        // The rewritten price goes back into the 12-character field whole.
        ok("12 characters without a point", "000000000001", "1.00");
        ok("kopecks that would not fit", "0000000001.5", "1.50");
        ok("a point with no room behind it", "00000000012.", "12.00");
        QTest::newRow("all empty")
            << ""
            << ""
            << "" << U("Незаполнено поле \"Штрих-код\"!") << none << QByteArray();
        QTest::newRow("blank row")
            << "0"
            << ""
            << "" << U("Незаполнено поле \"Секция\"!") << none << QByteArray();
        QTest::newRow("no price") << "0"
                                  << "1"
                                  << "" << U("Незаполнено поле \"Цена\"!") << none << QByteArray();
        QTest::newRow("1.2.3") << "1"
                               << "1"
                               << "1.2.3" << U(InvalidPrice) << price << QByteArray();
        QTest::newRow("999999999.01")
            << "1"
            << "1"
            << "999999999.01" << U(PriceTooLarge) << price << QByteArray();
        QTest::newRow("1000000000") << "1"
                                    << "1"
                                    << "1000000000" << U(PriceTooLarge) << price << QByteArray();
        QTest::newRow("price before section")
            << "1"
            << "x"
            << "1.2.3" << U(InvalidPrice) << price << QByteArray();
        QTest::newRow("section 256")
            << "1"
            << "256"
            << "1" << U("Неккоректное значение секции!") << section << QByteArray("1.00");
        QTest::newRow("section beyond 32 bits")
            << "1"
            << "99999999999"
            << "1" << U("Неккоректное значение секции!") << section << QByteArray("1.00");
        QTest::newRow("section with %")
            << "1"
            << "1%"
            << "1" << U("Неккоректное значение секции!") << section << QByteArray("1.00");
        QTest::newRow("section 255") << "1"
                                     << "255"
                                     << "1" << QString() << none << QByteArray("1.00");
        QTest::newRow("barcode with quote")
            << "12'4"
            << "1"
            << "1" << U("Неккоректное значение штрих-кода!") << barcode << QByteArray("1.00");
        QTest::newRow("13 digits") << "9999999999999"
                                   << "1"
                                   << "1" << QString() << none << QByteArray("1.00");
    }
    void editorChecks() {
        QFETCH(QString, barcode);
        QFETCH(QString, section);
        QFETCH(QString, price);
        QFETCH(QString, message);
        QFETCH(int, focus);
        QFETCH(QByteArray, normalised);
        const GoodsEntryCheck check = CheckGoodsEntries(QString(), false, barcode, section, price);
        QCOMPARE(check.ok, message.isEmpty());
        QCOMPARE(check.message, message);
        QCOMPARE(int(check.focus), focus);
        QCOMPARE(check.price, normalised);
    }

    // Wide print takes two places: a name fits 12 characters wide, 24 narrow;
    // the rule comes last, after the editor's other checks.
    void nameLengthFollowsTheWidth() {
        const QString thirteen = U("АБВГДЕЖЗИЙКЛМ");
        GoodsEntryCheck check = CheckGoodsEntries(thirteen, true, U("1"), U("1"), U("1"));
        QVERIFY(!check.ok);
        QCOMPARE(check.message, U("Наименование широким шрифтом длиннее 12 символов!"));
        QCOMPARE(check.focus, GoodsEntryField::Name);
        QCOMPARE(check.price, QByteArray("1.00"));
        QVERIFY(CheckGoodsEntries(thirteen, false, U("1"), U("1"), U("1")).ok);
        QVERIFY(CheckGoodsEntries(thirteen.left(12), true, U("1"), U("1"), U("1")).ok);
        QCOMPARE(CheckGoodsEntries(thirteen, true, U("x"), U("1"), U("1")).focus,
                 GoodsEntryField::Barcode);
        QCOMPARE(GoodsNameProblem(QString(25, QLatin1Char('A')), false),
                 U("Наименование длиннее 24 символов!"));
    }

    // The device form of a row, and back: flag, encoded name, barcode text
    // unchanged, the section's low byte, the parsed price.
    void deviceRecordOfRow() {
        GoodsRecord row;
        row.code = "7";
        row.name = W("ЧАЙ");
        row.font = WideFontText();
        row.barcode = "17";
        row.section = "300";
        row.price = "25.50";
        const GoodsDeviceRecord record = DeviceRecordOf(row);
        QCOMPARE(QByteArray(record.name), QByteArray("1~aj"));
        QCOMPARE(QByteArray(record.barcode), QByteArray("17"));
        QCOMPARE(int(record.section), 44);
        QCOMPARE(qlonglong(record.price), 2550LL);

        row.font = QByteArray();  // a blank font cell goes as narrow print
        row.section.clear();
        QCOMPARE(QByteArray(DeviceRecordOf(row).name), QByteArray("0~aj"));
        QCOMPARE(int(DeviceRecordOf(row).section), 0);
    }

    void rowOfDeviceRecord() {
        GoodsDeviceRecord record;
        std::memcpy(record.name, "1~aj", 4);
        std::memcpy(record.barcode, "0", 1);
        record.section = 255;
        record.price = 99999999900;
        const GoodsRecord row = RecordOfDevice(1000, record);
        QCOMPARE(row.code, QByteArray("1000"));
        QCOMPARE(row.name, W("ЧАЙ"));
        QCOMPARE(row.font, WideFontText());
        QCOMPARE(row.barcode, QByteArray("0"));
        QCOMPARE(row.section, QByteArray("255"));
        QCOMPARE(row.price, QByteArray("999999999.00"));

        // Nothing read: the code and narrow print only, numbers as zero.
        const GoodsRecord empty = RecordOfDevice(5, GoodsDeviceRecord());
        QCOMPARE(empty.code, QByteArray("5"));
        QCOMPARE(empty.name, QByteArray());
        QCOMPARE(empty.font, NarrowFontText());
        QCOMPARE(empty.barcode, QByteArray());
        QCOMPARE(empty.section, QByteArray("0"));
        QCOMPARE(empty.price, QByteArray("0.00"));
    }

    // A pasted price: words around it go, spaces inside are digit groups, a
    // comma is the point; two numbers or two separators are refused.
    void pastedPrice_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("price");  // empty: refused
        QTest::newRow("no-break groups")
            << QStringLiteral("123\u00A0456\u00A0789,99") << QStringLiteral("123456789.99");
        QTest::newRow("words around")
            << QStringLiteral("Цена: 1 234,50 руб.") << QStringLiteral("1234.50");
        QTest::newRow("thin space") << QStringLiteral("1\u2009000") << QStringLiteral("1000");
        QTest::newRow("leading comma") << QStringLiteral(",50") << QStringLiteral(".50");
        QTest::newRow("two prices") << QStringLiteral("1,50 2,30") << QString();
        QTest::newRow("a count and a price") << QStringLiteral("12 шт по 3,50") << QString();
        QTest::newRow("two separators") << QStringLiteral("1.234,50") << QString();
        QTest::newRow("no digits") << QStringLiteral("бесплатно") << QString();
        QTest::newRow("minus inside") << QStringLiteral("12-50") << QString();
    }
    void pastedPrice() {
        QFETCH(QString, pasted);
        QFETCH(QString, price);
        const std::optional<QString> got = PriceFromPaste(pasted);
        QCOMPARE(got.has_value(), !price.isEmpty());
        if (got) QCOMPARE(*got, price);
    }
};

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
