// The goods transfers against the in-process emulated device: the frames,
// the questions and messages, the indicators, and what a failure leaves.
#include <QtTest>

#include "config/DeviceCharset.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"
#include "emulator/Requests.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

QByteArray W(const char* utf8) {
    return ToCp1251(U(utf8));
}

DeviceEmulator& Device() {
    return InProcessEmulator();
}

QList<QByteArray> Requests() {
    QList<QByteArray> list;
    for (const auto& exchange : Device().log()) list << exchange.request;
    return list;
}

// A device record holding a name (flag first, Windows-1251) and numbers.
DeviceEmulator::GoodsRecord DeviceGoods(const char* utf8, uint64_t barcode, uint64_t price,
                                        uint8_t section) {
    DeviceEmulator::GoodsRecord record;
    const QByteArray pc = ToCp1251(U(utf8));
    QByteArray encoded(26, '\0');
    EncodeDeviceText(pc.constData(), encoded.data());
    record.name = encoded.left(25);
    record.barcode = barcode;
    record.price = price;
    record.section = section;
    return record;
}

GoodsRecord Row(int number, const char* name, bool wide, const char* barcode, const char* section,
                const char* price) {
    GoodsRecord row;
    row.code = QByteArray::number(number);
    row.name = W(name);
    row.font = wide ? WideFontText() : NarrowFontText();
    row.barcode = barcode;
    row.section = section;
    row.price = price;
    return row;
}

void FillMarked(GoodsTable& table) {
    QVector<GoodsRecord> rows(GoodsRecordCount, Row(999, "СТАРОЕ", true, "42", "9", "9.99"));
    table.setRecords(1, rows);
}

QStringList AllRecordsLog(const char* wait, int steps) {
    QStringList log{QStringLiteral("wait ") + U(wait), QStringLiteral("busy on"),
                    QStringLiteral("begin")};
    for (int i = 1; i <= steps; ++i) log << QStringLiteral("step %1/1001").arg(i);
    log << QStringLiteral("end") << QStringLiteral("busy off") << QStringLiteral("hide");
    return log;
}

Fault ErrorOn(int record, int code = 51) {
    Fault fault;
    fault.kind = FaultKind::DeviceError;
    fault.value = code;
    fault.command = CmdGoods;
    fault.index = record;
    fault.count = 1;
    return fault;
}

QString Continue(const char* lead, const QByteArray& errorText) {
    return U(lead) + FromCp1251(errorText) + QStringLiteral("\n Продолжить?");
}

}  // namespace

class TestTransfer : public QObject {
    Q_OBJECT

private slots:
    void init() { UseEmulator(); }

    // A failure on record 5 passed over with Yes: row 6 shows only its code and
    // zeros, record 6 is read normally, and the read still ends in success.
    void readAllPassesOverFailedRecord() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Device().setGoods(4, DeviceGoods("1ЧАЙ", 4600000000001, 2550, 3));
        Device().setGoods(5, DeviceGoods("0КОФЕ", 17, 100, 1));
        Device().setGoods(6, DeviceGoods("0САХАР", 18, 99999999900, 255));
        QVERIFY(Device().addFault(ErrorOn(5)));
        QVERIFY(Device().addFault(ErrorOn(1000)));
        dialogs.answerYes(2);
        GoodsTable table;
        FillMarked(table);

        QVERIFY(ReadAllGoods(table, progress, dialogs));

        QList<QByteArray> expected;
        for (int i = 0; i < GoodsRecordCount; ++i) expected << GoodsRequest(ModeRead, i);
        QCOMPARE(Requests(), expected);
        QCOMPARE(dialogs.shown.size(), 3);
        QVERIFY(IsErrorQuestion(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text,
                 Continue("Не удалось прочитать параметр... ", DeviceErrorText(51)));
        QVERIFY(IsWarning(dialogs.shown[2]));
        QCOMPARE(dialogs.shown[2].text, U("Прочитано удачно..."));
        QCOMPARE(progress.log, AllRecordsLog("Выгрузка товаров...", 1001));

        QCOMPARE(table.record(5), Row(4, "ЧАЙ", true, "4600000000001", "3", "25.50"));
        QCOMPARE(table.record(6), Row(5, "", false, "", "0", "0.00"));
        QCOMPARE(table.record(7), Row(6, "САХАР", false, "18", "255", "999999999.00"));
        QCOMPARE(table.record(1), Row(0, "", false, "0", "0", "0.00"));
        // The last record passed over too: filled after the loop.
        QCOMPARE(table.record(1001), Row(1000, "", false, "", "0", "0.00"));
    }

    // No stops at once, without a final message; the failed row keeps only its
    // section and price beside "узкий", and rows after it keep what they held.
    void readAllStopsOnNo() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        QVERIFY(Device().addFault(ErrorOn(5)));
        dialogs.answerNo();
        GoodsTable table;
        FillMarked(table);

        QVERIFY(!ReadAllGoods(table, progress, dialogs));
        QCOMPARE(Requests().size(), 6);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(progress.log, AllRecordsLog("Выгрузка товаров...", 5));
        QVERIFY(!progress.busyNow && !progress.waitVisible);
        QCOMPARE(table.record(5), Row(4, "", false, "0", "0", "0.00"));
        GoodsRecord stopped = Row(5, "", false, "", "9", "9.99");
        stopped.code.clear();
        QCOMPARE(table.record(6), stopped);
        QCOMPARE(table.record(7).name, W("СТАРОЕ"));
    }

    // A failed single read leaves the row empty apart from "узкий".
    void singleReadFailureLeavesNarrowOnly() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Fault silent;
        silent.kind = FaultKind::Silent;
        silent.command = CmdGoods;
        QVERIFY(Device().addFault(silent));
        GoodsTable table;
        FillMarked(table);

        QVERIFY(!ReadCurrentGoods(table, 8, progress, dialogs));
        GoodsRecord narrowOnly;
        narrowOnly.font = NarrowFontText();
        QCOMPARE(table.record(8), narrowOnly);
        QCOMPARE(table.record(7).name, W("СТАРОЕ"));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text,
                 U("Не удалось прочитать параметр... ") + FromCp1251(StatusText(StatusNoAnswer)));
        QCOMPARE(progress.log,
                 (QStringList{QStringLiteral("busy on"), QStringLiteral("busy off")}));
    }

    void singleReadFillsTheRow() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Device().setGoods(1000, DeviceGoods("1АБВГДЕЖЗИЙКЛ", 5, 7, 8));
        GoodsTable table;
        QVERIFY(ReadCurrentGoods(table, 1001, progress, dialogs));
        QCOMPARE(Requests(), QList<QByteArray>{GoodsRequest(ModeRead, 1000)});
        QCOMPARE(table.record(1001), Row(1000, "АБВГДЕЖЗИЙКЛ", true, "5", "8", "0.07"));
        QCOMPARE(dialogs.texts(), QStringList{U("Прочитано удачно...")});
    }

    // An empty barcode sends twelve zero bytes at offsets 36 to 47, whatever
    // the section and price cells hold.
    void emptyBarcodeSendsZeroNumbers() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        GoodsTable table;
        table.setRecord(3, Row(2, "ЧАЙ", false, "", "5", "12.50"));
        QVERIFY(WriteCurrentGoods(table, 3, progress, dialogs));
        const QByteArray frame = Requests().value(0);
        QCOMPARE(frame.size(), GoodsRequestLength);
        QCOMPARE(frame.mid(36, 12), QByteArray(12, '\0'));
        QCOMPARE(frame.mid(11, 4), QByteArray("0~aj"));
        QCOMPARE(frame.mid(9, 2), QByteArray("\x02\x00", 2));
        QCOMPARE(dialogs.texts(), QStringList{U("Записано удачно...")});

        // With a barcode the numbers travel.
        table.setRecord(3, Row(2, "ЧАЙ", false, "17", "5", "12.50"));
        Device().clearLog();
        QVERIFY(WriteCurrentGoods(table, 3, progress, dialogs));
        QCOMPARE(Requests().value(0), GoodsRequest(ModeWrite, 2, "0~aj", 17, 1250, 5));
    }

    void writeFailuresReport() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        QVERIFY(Device().addFault(ErrorOn(0, 52)));
        GoodsTable table;
        QVERIFY(!WriteCurrentGoods(table, 1, progress, dialogs));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text,
                 U("Не удалось записать параметр... ") + FromCp1251(DeviceErrorText(52)));
        QVERIFY(!progress.busyNow);

        // For all records the same failure asks, and Yes goes on to the end.
        dialogs.clear();
        QVERIFY(Device().addFault(ErrorOn(1000)));
        dialogs.answerYes();
        QVERIFY(WriteAllGoods(table, progress, dialogs));
        QCOMPARE(dialogs.shown[0].text,
                 Continue("Не удалось записать параметр... ", DeviceErrorText(51)));
        QCOMPARE(dialogs.shown[1].text, U("Записано удачно..."));
    }

    // After "Очистить поля" writing all records sends the same 1001 zero
    // records as erasing, without the question.
    void writeAllOfClearedTableEqualsErase() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        GoodsTable table;
        FillMarked(table);
        table.clear();
        QVERIFY(WriteAllGoods(table, progress, dialogs));
        const QList<QByteArray> written = Requests();
        QList<QByteArray> expected;
        for (int i = 0; i < GoodsRecordCount; ++i) expected << GoodsRequest(ModeWrite, i, "0");
        QCOMPARE(written, expected);
        QCOMPARE(dialogs.texts(), QStringList{U("Записано удачно...")});
        QCOMPARE(progress.log, AllRecordsLog("Загрузка товаров...", 1001));

        Device().clearLog();
        dialogs.clear();
        progress.log.clear();
        dialogs.answerYes();
        QVERIFY(EraseDeviceGoods(progress, dialogs));
        QCOMPARE(Requests(), expected);
        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text, U("Вы действительно хотите удалить базу из АС?"));
        QVERIFY(IsWarning(dialogs.shown[1]));
        QCOMPARE(dialogs.shown[1].text, U("База очищена..."));
        QCOMPARE(progress.log, AllRecordsLog("Загрузка товаров...", 1001));
    }

    void eraseAnsweredNoSendsNothing() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        dialogs.answerNo();
        QVERIFY(!EraseDeviceGoods(progress, dialogs));
        QVERIFY(Requests().isEmpty());
        QVERIFY(progress.log.isEmpty());
    }

    void eraseFailureAsksWithItsOwnLead() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Device().setGoods(500, DeviceGoods("0Х", 1, 1, 1));
        QVERIFY(Device().addFault(ErrorOn(3)));
        dialogs.answerYes(2).answerNo();  // the question, record 3, record 7
        QVERIFY(Device().addFault(ErrorOn(7)));
        QVERIFY(!EraseDeviceGoods(progress, dialogs));
        QCOMPARE(dialogs.shown.size(), 3);
        QCOMPARE(dialogs.shown[1].text,
                 Continue("Не удалось стереть запись... ", DeviceErrorText(51)));
        QCOMPARE(dialogs.shown[2].text, dialogs.shown[1].text);
        QCOMPARE(Requests().size(), 8);
        QCOMPARE(Device().goods(500).barcode, uint64_t(1));  // stopped before it
        QVERIFY(!progress.waitVisible && !progress.busyNow);
    }

    // Rows written and read back come back the same.
    void writeThenReadRoundTrip() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        GoodsTable table;
        table.setRecord(1, Row(0, "ЧАЙ ЗЕЛЕНЫЙ 100Г", false, "4607001234567", "12", "199.90"));
        table.setRecord(2, Row(1, "ХЛЕБ", true, "1", "0", "0.05"));
        table.setRecord(3, Row(2, "ABC-123 (X)", false, "9999999999999", "255", "999999999.00"));
        table.setRecord(1001, Row(1000, "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧ", false, "7", "1", "1.00"));
        const QVector<GoodsRecord> before = table.records();
        QVERIFY(WriteAllGoods(table, progress, dialogs));
        table.clear();
        QVERIFY(ReadAllGoods(table, progress, dialogs));
        for (int row : {1, 2, 3, 1001}) QCOMPARE(table.record(row), before[row - 1]);
        QVERIFY(dialogs.unexpectedQuestions == 0);
    }

    // A factory number that does not convert stops before anything is sent,
    // and the indicators come down.
    void conversionErrorTakesIndicatorsDown() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        CurrentPortSettings().MachineNumber = "99999999999";
        GoodsTable table;
        QVERIFY_THROWS_EXCEPTION(ConversionError, ReadAllGoods(table, progress, dialogs));
        QVERIFY(!progress.busyNow && !progress.waitVisible);
        QVERIFY_THROWS_EXCEPTION(ConversionError, WriteCurrentGoods(table, 1, progress, dialogs));
        QVERIFY(!progress.busyNow);
        // The row a single read would clear stays as it was.
        table.setRecord(2, Row(1, "ЧАЙ", true, "17", "3", "25.50"));
        QVERIFY_THROWS_EXCEPTION(ConversionError, ReadCurrentGoods(table, 2, progress, dialogs));
        QCOMPARE(table.record(2), Row(1, "ЧАЙ", true, "17", "3", "25.50"));
        QVERIFY(!progress.busyNow);
        QVERIFY(Requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
