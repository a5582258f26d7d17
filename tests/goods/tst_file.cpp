// The goods file: its bytes, what a load makes of files of any length and
// content, and that a refused save leaves the old file alone.
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "device/DeviceCharset.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "support/FifoWatch.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"
#include "support/Unprivileged.h"

namespace {

QByteArray W(const char* utf8) {
    return ToCp1251(U(utf8));
}

QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(hex);
}

GoodsRecord ExampleRow() {
    GoodsRecord row;
    row.code = "7";
    row.name = W("ЧАЙЫ");
    row.font = WideFontText();
    row.barcode = "17";
    row.section = "3";
    row.price = "25.50";
    return row;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

QByteArray Record(uint16_t code, char flag, const QByteArray& name, int64_t barcode,
                  uint8_t section, int32_t price) {
    GoodsFileRecord r{};
    r.code = code;
    r.flag = flag;
    std::memcpy(r.name, name.constData(), std::size_t(qMin(int(name.size()), 24)));
    r.barcode = barcode;
    r.section = section;
    r.price = price;
    return QByteArray(reinterpret_cast<const char*>(&r), int(sizeof r));
}

// A table with something in every row, to see what a load overwrites.
void FillMarked(GoodsTable& table) {
    QVector<GoodsRecord> rows(GoodsRecordCount);
    for (int i = 0; i < GoodsRecordCount; ++i) {
        rows[i].code = "999";
        rows[i].name = "OLD";
        rows[i].font = WideFontText();
        rows[i].barcode = "42";
        rows[i].section = "9";
        rows[i].price = "9.99";
    }
    table.setRecords(1, rows);
}

}  // namespace

class TestFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private slots:
    void exampleRowBytes() {
        GoodsTable table;
        table.setRecord(1, ExampleRow());
        QByteArray bytes;
        QCOMPARE(EncodeGoodsFile(table, bytes).status, GoodsFileStatus::Ok);
        QCOMPARE(bytes.size(), GoodsFileSize);
        const QByteArray expected = Hex("0700") + '1' + W("ЧАЙЫ") + QByteArray(20, '\0') +
                                    Hex("1100000000000000") + Hex("03") + Hex("F6090000");
        QCOMPARE(bytes.left(40), expected);
        QCOMPARE(bytes.mid(40), QByteArray(GoodsFileSize - 40, '\0'));

        GoodsTable loaded;
        QCOMPARE(DecodeGoodsFile(loaded, bytes).status, GoodsFileStatus::Ok);
        QCOMPARE(loaded.record(1), ExampleRow());
    }

    // Cleared table → 40 040 zero bytes → rows with code 0, section 0, price 0.00
    // and nothing else: a blank row comes back without a font or a barcode.
    void clearedTableRoundTrip() {
        GoodsTable table;
        FillMarked(table);
        table.clear();
        QVERIFY(table.record(1).isBlank() && table.record(1001).isBlank());
        QCOMPARE(SaveGoodsFile(table, path("zero.base")).status, GoodsFileStatus::Ok);
        QCOMPARE(ReadAll(path("zero.base")), QByteArray(GoodsFileSize, '\0'));

        GoodsTable loaded;
        FillMarked(loaded);
        QCOMPARE(LoadGoodsFile(loaded, path("zero.base")).status, GoodsFileStatus::Ok);
        GoodsRecord expected;
        expected.code = "0";
        expected.section = "0";
        expected.price = "0.00";
        for (int row : {1, 500, 1001}) QCOMPARE(loaded.record(row), expected);

        // ... and that row saved again gives the same zero bytes.
        QByteArray again;
        EncodeGoodsFile(loaded, again);
        QCOMPARE(again, QByteArray(GoodsFileSize, '\0'));
    }

    void twentyFourCharacterNameHasNoTerminator() {
        GoodsTable table;
        GoodsRecord row = ExampleRow();
        row.name = W("АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧ");
        table.setRecord(1001, row);
        QByteArray bytes;
        EncodeGoodsFile(table, bytes);
        const QByteArray record = bytes.mid(1000 * 40, 40);
        QCOMPARE(record.mid(3, 24), row.name);
        QCOMPARE(record.at(27), '\x11');  // the barcode follows at once
        GoodsTable loaded;
        DecodeGoodsFile(loaded, bytes);
        QCOMPARE(loaded.record(1001).name, row.name);
    }

    // A price the file's 32 bits cannot hold stops the save before anything is
    // written; the message names the goods code and the price; the old file stays.
    void priceBeyondThirtyTwoBitsKeepsExistingFile() {
        ScriptedDialogs dialogs;
        WriteAll(path("old.base"), "previous contents");
        GoodsTable table;
        table.setRecord(1, ExampleRow());
        GoodsRecord big = ExampleRow();
        big.price = "21474836.48";
        table.setRecord(6, big);
        const GoodsFileResult result = SaveGoodsFileInteractive(table, path("old.base"));
        QCOMPARE(result.status, GoodsFileStatus::PriceTooLarge);
        QCOMPARE(result.row, 6);
        QCOMPARE(ReadAll(path("old.base")), QByteArray("previous contents"));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text, PriceTooLargeMessage("7", "21474836.48"));
        // The goods as the user knows them (row 6 holds "Код товара" 7 here).
        QCOMPARE(dialogs.shown[0].text,
                 U("Код товара 7: цена 21474836.48 больше наибольшей цены файла базы "
                   "(21474836.47).\nФайл не сохранен..."));
        QCOMPARE(SaveGoodsFile(table, path("new.base")).status, GoodsFileStatus::PriceTooLarge);
        QVERIFY(!QFile::exists(path("new.base")));

        big.price = "21474836.47";  // the largest that fits
        table.setRecord(6, big);
        QCOMPARE(SaveGoodsFileInteractive(table, path("old.base")).status, GoodsFileStatus::Ok);
        QCOMPARE(dialogs.shown.last().text, U("Сохранено..."));
        QCOMPARE(dialogs.shown.last().caption, CaptionProgram());
        QCOMPARE(dialogs.shown.last().icon, DialogIcon::None);
        QCOMPARE(ReadAll(path("old.base")).mid(5 * 40 + 36, 4), Hex("FFFFFF7F"));
    }

    void saveIntoMissingDirectoryFails() {
        ScriptedDialogs dialogs;
        GoodsTable table;
        QCOMPARE(SaveGoodsFileInteractive(table, path("no/such/dir/x.base")).status,
                 GoodsFileStatus::CannotCreate);
        QCOMPARE(dialogs.texts(), QStringList{U("Не удалось создать файл...")});
    }

    void missingFileLeavesTable() {
        ScriptedDialogs dialogs;
        GoodsTable table;
        FillMarked(table);
        QCOMPARE(LoadGoodsFileInteractive(table, path("absent.base")).status,
                 GoodsFileStatus::CannotOpen);
        QCOMPARE(dialogs.texts(),
                 QStringList{U("Не удалось открыть файл...\n«%1»: файл не найден.")
                                 .arg(QDir::toNativeSeparators(path("absent.base")))});
        QCOMPARE(table.record(1).name, QByteArray("OLD"));
    }

    // A FIFO would hold the program until some writer came; a device or a
    // folder is no goods file either. None of them is even opened.
    void onlyARegularFileIsOpened() {
#ifndef Q_OS_UNIX
        QSKIP("FIFOs and device files are Unix's own");
#endif
        FifoWatch fifo(path("pipe.base"));
        QVERIFY(fifo.made());
        GoodsTable table;
        FillMarked(table);
        for (const QString& name : {path("pipe.base"), QStringLiteral("/dev/zero"), dir_.path()}) {
            ScriptedDialogs dialogs;
            QCOMPARE(LoadGoodsFileInteractive(table, name).status, GoodsFileStatus::CannotOpen);
            QCOMPARE(dialogs.texts().size(), 1);
            QVERIFY(dialogs.texts()[0].startsWith(U("Не удалось открыть файл...\n«")));
            QCOMPARE(table.record(1).name, QByteArray("OLD"));
        }
        QVERIFY(!fifo.opened());
    }

    // A file others may write, in a folder the user may not: it is written in
    // place; a new file there still fails.
    void writableFileInAFolderTheUserCannotWrite() {
        QTemporaryDir own;
        QVERIFY(OpenForEveryone(own.path()));
        const QString folder = own.filePath(QStringLiteral("shared"));
        QVERIFY(QDir().mkdir(folder));
        const QString shared = folder + QStringLiteral("/shared.base");
        WriteAll(shared, QByteArray(GoodsFileSize + 40, 'x'));
        QVERIFY(QFile::setPermissions(shared, QFile::ReadOwner | QFile::WriteOwner |
                                                  QFile::ReadGroup | QFile::WriteGroup |
                                                  QFile::ReadOther | QFile::WriteOther));
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner |
                                                  QFile::ReadGroup | QFile::ExeGroup |
                                                  QFile::ReadOther | QFile::ExeOther));
        GoodsTable table;
        table.setRecord(1, ExampleRow());
        const UnprivilegedRun run = RunUnprivileged([&] {
            return SaveGoodsFile(table, shared).status == GoodsFileStatus::Ok &&
                   SaveGoodsFile(table, folder + QStringLiteral("/new.base")).status ==
                       GoodsFileStatus::CannotCreate;
        });
        QVERIFY(
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        if (run.outcome == UnprivilegedOutcome::Unavailable) QSKIP(qPrintable(run.reason));
        QByteArray expected;
        EncodeGoodsFile(table, expected);
        QCOMPARE(ReadAll(shared), expected);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("shared.base")});
        QCOMPARE(run.outcome, UnprivilegedOutcome::Passed);
    }

    // A short file: its whole records load, then "Некорректный файл..."; the
    // rest of the table is as it was.
    void shortFileLoadsWholeRecords() {
        ScriptedDialogs dialogs;
        QByteArray bytes = Record(0, '0', "A", 1, 1, 100) + Record(1, '1', "B", 2, 2, 200) +
                           Record(2, '0', "C", 3, 3, 300).left(39);
        WriteAll(path("short.base"), bytes);
        GoodsTable table;
        FillMarked(table);
        const GoodsFileResult result = LoadGoodsFileInteractive(table, path("short.base"));
        QCOMPARE(result.status, GoodsFileStatus::Incorrect);
        QCOMPARE(result.recordsLoaded, 2);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        // The file and where it ends, after the old text.
        QCOMPARE(dialogs.shown[0].text,
                 U("Некорректный файл...\n«%1»: файл обрывается после записи 2 из 1001.")
                     .arg(QDir::toNativeSeparators(path("short.base"))));
        QCOMPARE(table.record(2).name, QByteArray("B"));
        QCOMPARE(table.record(2).font, WideFontText());
        QCOMPARE(table.record(3).name, QByteArray("OLD"));

        dialogs.clear();
        WriteAll(path("empty.base"), {});
        QCOMPARE(LoadGoodsFileInteractive(table, path("empty.base")).recordsLoaded, 0);
        QCOMPARE(dialogs.texts(),
                 QStringList{U("Некорректный файл...\n«%1»: файл пуст.")
                                 .arg(QDir::toNativeSeparators(path("empty.base")))});
    }

    void longFileLoadsFirstRecords() {
        ScriptedDialogs dialogs;
        QByteArray bytes;
        for (int i = 0; i < GoodsRecordCount + 3; ++i)
            bytes += Record(uint16_t(i), '0', "N" + QByteArray::number(i), 0, 0, i);
        WriteAll(path("long.base"), bytes);
        GoodsTable table;
        const GoodsFileResult result = LoadGoodsFileInteractive(table, path("long.base"));
        QCOMPARE(result.status, GoodsFileStatus::Ok);
        QCOMPARE(result.recordsLoaded, GoodsRecordCount);
        QVERIFY(dialogs.shown.isEmpty());
        QCOMPARE(table.record(1001).name, QByteArray("N1000"));
        QCOMPARE(table.record(1001).price, QByteArray("10.00"));
    }

    // Flag 0 and barcode 0 empty their cells whatever they held before, so a
    // blank row survives a save and a load as a blank row (apart from its zeros).
    void zeroFlagAndBarcodeEmptyTheirCells() {
        GoodsTable table;
        FillMarked(table);
        QByteArray bytes = Record(3, '\0', "", 0, 0, 0);
        bytes += QByteArray(GoodsFileSize - bytes.size(), '\0');
        QCOMPARE(DecodeGoodsFile(table, bytes).status, GoodsFileStatus::Ok);
        QCOMPARE(table.record(1).font, QByteArray());
        QCOMPARE(table.record(1).barcode, QByteArray());
        QCOMPARE(table.record(1).code, QByteArray("3"));
    }

    // Values that no record can have stop the load there as an incorrect file;
    // a name without a terminator and a section of 255 are fine.
    void oddRecords_data() {
        QTest::addColumn<QByteArray>("record");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("name without terminator")
            << Record(1, '1', QByteArray(24, 'X'), 5, 1, 1) << true;
        QTest::newRow("section 255") << Record(1, '0', "S", 5, 255, 1) << true;
        QTest::newRow("barcode 2^48-1")
            << Record(1, '0', "B", (int64_t(1) << 48) - 1, 0, 0) << true;
        QTest::newRow("code 65535") << Record(65535, '0', "C", 0, 0, 0) << true;
        QTest::newRow("largest price") << Record(1, '0', "P", 0, 0, 2147483647) << true;
        QTest::newRow("negative price") << Record(1, '0', "P", 5, 0, -1) << false;
        QTest::newRow("barcode 2^48") << Record(1, '0', "B", int64_t(1) << 48, 0, 0) << false;
        QTest::newRow("negative barcode") << Record(1, '0', "B", -1, 0, 0) << false;
        QTest::newRow("flag 2") << Record(1, '2', "F", 0, 0, 0) << false;
        QTest::newRow("flag 0xFF") << Record(1, '\xFF', "F", 0, 0, 0) << false;
    }
    void oddRecords() {
        QFETCH(QByteArray, record);
        QFETCH(bool, accepted);
        const QByteArray first = Record(0, '0', "FIRST", 1, 1, 1);
        QByteArray bytes = first + record;
        bytes += QByteArray(GoodsFileSize - bytes.size(), '\0');
        GoodsTable table;
        FillMarked(table);
        const GoodsFileResult result = DecodeGoodsFile(table, bytes);
        QCOMPARE(result.status == GoodsFileStatus::Ok, accepted);
        QCOMPARE(result.recordsLoaded, accepted ? GoodsRecordCount : 1);
        QCOMPARE(table.record(1).name, QByteArray("FIRST"));
        if (!accepted) {
            QCOMPARE(table.record(2).name, QByteArray("OLD"));
            return;
        }
        // What loaded saves back to the same bytes.
        QByteArray again;
        QCOMPARE(EncodeGoodsFile(table, again).status, GoodsFileStatus::Ok);
        QCOMPARE(again.mid(40, 40), record);
    }

    // Random files of many lengths load without a crash, and whatever loaded
    // saves back to the bytes it came from.
    void randomFilesNeverCrash() {
        QRandomGenerator random(20240517);
        for (int round = 0; round < 200; ++round) {
            const int length = int(random.bounded(GoodsFileSize + 200));
            QByteArray bytes(length, '\0');
            for (char& b : bytes) b = char(random.bounded(256));
            // Many records valid, so the loads get far.
            for (int i = 0; i + 40 <= length; i += 40) {
                if (random.bounded(4) == 0) continue;
                bytes[i + 2] = "01\0"[random.bounded(3)];
                std::memset(bytes.data() + i + 33, 0, 2);    // barcode below 2^48
                bytes[i + 39] = char(bytes[i + 39] & 0x7F);  // price not negative
            }
            GoodsTable table;
            const GoodsFileResult result = DecodeGoodsFile(table, bytes);
            QVERIFY(result.recordsLoaded <= length / 40);
            QByteArray saved;
            QCOMPARE(EncodeGoodsFile(table, saved).status, GoodsFileStatus::Ok);
            for (int i = 0; i < result.recordsLoaded; ++i) {
                const QByteArray in = bytes.mid(i * 40, 40), out = saved.mid(i * 40, 40);
                QCOMPARE(out.left(3), in.left(3));
                QCOMPARE(out.mid(27), in.mid(27));
                // The name up to its first zero, zero-filled after it.
                const QByteArray name = FieldText(in.constData() + 3, 24);
                QCOMPARE(out.mid(3, 24), name + QByteArray(24 - name.size(), '\0'));
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFile)
#include "tst_file.moc"
