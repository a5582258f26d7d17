// The goods transfers against the in-process emulated device: the frames,
// the questions and messages, the indicators, and what a failure leaves.
#include <QtTest>

#include "device/DeviceCharset.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"
#include "emulator/Requests.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "support/GoodsRows.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

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

// The record numbers the requests wrote, in order.
QList<int> WrittenRecords() {
    QList<int> numbers;
    for (const QByteArray& request : Requests())
        numbers << (uchar(request.at(9)) | uchar(request.at(10)) << 8);
    return numbers;
}

// A table whose rows 1..20 hold goods, read from the device so that all are in step.
void InStepWithDevice(GoodsTable& table, RecordingProgress& progress, ScriptedDialogs& dialogs) {
    for (int number = 0; number < 20; ++number)
        Device().setGoods(number, DeviceGoods("0ТОВАР", 100 + number, 100, 1));
    QVERIFY(ReadAllGoods(table, progress, dialogs));
    QCOMPARE(table.changedCount(), 0);
    Device().clearLog();
    dialogs.clear();
    progress.log.clear();
}

QString Continue(const char* lead, const QByteArray& errorText) {
    return U(lead) + FromCp1251(errorText) + QStringLiteral("\n Продолжить?");
}

}  // namespace

class TestTransfer : public QObject {
    Q_OBJECT

private slots:
    void init() { UseEmulator(); }

    // A failure on record 5 passed over with Yes: row 6 keeps what it held (no
    // made-up record takes its place), record 6 is read normally.
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
        // Two records failed: no success, and both named.
        QVERIFY(IsError(dialogs.shown[2]));
        QCOMPARE(dialogs.shown[2].text,
                 U("Прочитано: 999 из 1001. Не прочитаны: товар 5, товар 1000."));
        QCOMPARE(progress.log, AllRecordsLog("Выгрузка товаров...", 1001));

        QCOMPARE(table.record(5), Row(4, "ЧАЙ", true, "4600000000001", "3", "25.50"));
        const GoodsRecord marked = Row(999, "СТАРОЕ", true, "42", "9", "9.99");
        QCOMPARE(table.record(6), marked);
        QCOMPARE(table.record(7), Row(6, "САХАР", false, "18", "255", "999999999.00"));
        QCOMPARE(table.record(1), Row(0, "", false, "0", "0", "0.00"));
        QCOMPARE(table.record(1001), marked);  // the last one passed over too
        // Held goods while nothing was known of the device: still to be sent.
        QVERIFY(table.isChanged(6) && table.isChanged(1001));
    }

    // No stops at once, the summary naming the failed record; the failed row
    // and the rows after it keep what they held.
    void readAllStopsOnNo() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        QVERIFY(Device().addFault(ErrorOn(5)));
        dialogs.answerNo();
        GoodsTable table;
        FillMarked(table);

        QVERIFY(!ReadAllGoods(table, progress, dialogs));
        QCOMPARE(Requests().size(), 6);
        QCOMPARE(dialogs.texts().value(1),
                 U("Прочитано: 5. Не прочитаны: товар 5. Остальные не читались."));
        QCOMPARE(progress.log, AllRecordsLog("Выгрузка товаров...", 5));
        QVERIFY(!progress.busyNow && !progress.waitVisible);
        QCOMPARE(table.record(5), Row(4, "", false, "0", "0", "0.00"));
        QCOMPARE(table.record(6), Row(999, "СТАРОЕ", true, "42", "9", "9.99"));
        QCOMPARE(table.record(7).name, W("СТАРОЕ"));
    }

    // A failed single read leaves the row as it was.
    void singleReadFailureLeavesTheRow() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        Fault silent;
        silent.kind = FaultKind::Silent;
        silent.command = CmdGoods;
        QVERIFY(Device().addFault(silent));
        GoodsTable table;
        FillMarked(table);

        QVERIFY(!ReadCurrentGoods(table, 8, progress, dialogs));
        QCOMPARE(table.record(8), Row(999, "СТАРОЕ", true, "42", "9", "9.99"));
        QVERIFY(table.isChanged(8));
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
        QCOMPARE(dialogs.shown[1].text, U("Записано: 1000 из 1001. Не записаны: товар 1000."));
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
        QVERIFY(EraseDeviceGoods(table, progress, dialogs));
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
        GoodsTable table;
        QVERIFY(!EraseDeviceGoods(table, progress, dialogs));
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
        GoodsTable table;
        QVERIFY(!EraseDeviceGoods(table, progress, dialogs));
        QCOMPARE(dialogs.shown.size(), 4);
        QCOMPARE(dialogs.shown[1].text,
                 Continue("Не удалось стереть запись... ", DeviceErrorText(51)));
        QCOMPARE(dialogs.shown[2].text, dialogs.shown[1].text);
        QCOMPARE(dialogs.shown[3].text,
                 U("Стерто: 6. Не стерты: товар 3, товар 7. Остальные не стирались."));
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

    // "Загрузить изменённые" after each kind of change: never in step, every
    // row with goods; in step, only what differs from the device, compared as
    // the device would store it; nothing changed, nothing sent.
    void writeChangedSendsOnlyWhatDiffers() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        GoodsTable table;
        QVERIFY(!WriteChangedGoods(table, progress, dialogs));
        QCOMPARE(dialogs.texts(), QStringList{NothingChangedMessage()});
        QVERIFY(IsWarning(dialogs.shown[0]));
        QVERIFY(Requests().isEmpty() && progress.log.isEmpty());

        table.setRecord(3, Row(2, "ЧАЙ", false, "17", "1", "1.00"));
        table.setRecord(9, Row(8, "", false, "0", "0", "0.00"));  // a free record: no goods
        table.setRecord(700, Row(699, "КОФЕ", true, "18", "2", "2.00"));
        QCOMPARE(table.changedRows(), (QVector<int>{3, 700}));
        dialogs.clear();
        QVERIFY(WriteChangedGoods(table, progress, dialogs));
        QCOMPARE(WrittenRecords(), (QList<int>{2, 699}));
        QCOMPARE(Device().goods(699).barcode, uint64_t(18));
        QCOMPARE(progress.log, (L({"wait Загрузка товаров...", "busy on", "begin", "step 1/2",
                                   "step 2/2", "end", "busy off", "hide"})));
        QCOMPARE(dialogs.texts(), QStringList{U("Записано удачно...")});
        QCOMPARE(table.changedCount(), 0);

        // An edit marks its record; undoing it, or a change the device would
        // not see (a section behind an empty barcode), does not.
        table.setCell(ColPrice, 3, "1.50");
        QCOMPARE(table.changedRows(), QVector<int>{3});
        table.setCell(ColPrice, 3, "1.00");
        QCOMPARE(table.changedCount(), 0);
        table.setRecord(5, Row(4, "", false, "", "7", "0.00"));
        QCOMPARE(table.changedCount(), 1);  // never exchanged: holds a section
        table.markInStep(5);
        table.setCell(ColSection, 5, "8");
        QCOMPARE(table.changedCount(), 0);

        // A load of a whole table marks the rows whose content changed.
        QVector<GoodsRecord> loaded = table.records();
        loaded[2].name = W("ЧАЙ ЧЕРНЫЙ");
        loaded[999] = Row(999, "НОВОЕ", false, "1", "1", "1.00");
        table.setRecords(1, loaded);
        QCOMPARE(table.changedRows(), (QVector<int>{3, 1000}));

        // "Очистить поля" marks the rows the device holds goods in, not the
        // one that only the table had.
        Device().clearLog();
        table.clear();
        QCOMPARE(table.changedRows(), (QVector<int>{3, 700}));
        QVERIFY(WriteChangedGoods(table, progress, dialogs));
        QCOMPARE(WrittenRecords(), (QList<int>{2, 699}));
        QCOMPARE(Requests().first(), GoodsRequest(ModeWrite, 2, "0"));
    }

    // Reads, single exchanges and erasing put records in step; what the erase
    // leaves on the device is known, so rows with goods are changed after it.
    void exchangesPutRecordsInStep() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        GoodsTable table;
        InStepWithDevice(table, progress, dialogs);
        table.setCell(ColName, 4, W("ИНОЕ"));
        table.setCell(ColName, 6, W("ИНОЕ"));
        QVERIFY(WriteCurrentGoods(table, 4, progress, dialogs));
        QVERIFY(ReadCurrentGoods(table, 6, progress, dialogs));
        QCOMPARE(table.changedCount(), 0);

        table.setRecord(500, Row(499, "", false, "", "", ""));
        dialogs.answerYes();
        QVERIFY(EraseDeviceGoods(table, progress, dialogs));
        QCOMPARE(table.changedCount(), 20);
        QCOMPARE(table.changedRows().last(), 20);
        QVERIFY(!table.isChanged(500));
    }

    // A failure midway leaves its record changed: passed over with Yes, the
    // others are in step; stopped with No, the records not reached stay
    // changed too. The next "Загрузить изменённые" sends just those.
    void failureMidwayLeavesRecordsChanged() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        GoodsTable table;
        InStepWithDevice(table, progress, dialogs);
        for (int row : {2, 4, 6, 8, 10}) table.setCell(ColSection, row, "9");
        QVERIFY(Device().addFault(ErrorOn(5)));
        dialogs.answerYes();
        QVERIFY(WriteChangedGoods(table, progress, dialogs));
        QCOMPARE(WrittenRecords(), (QList<int>{1, 3, 5, 7, 9}));
        QCOMPARE(table.changedRows(), QVector<int>{6});
        QCOMPARE(progress.log.filter(QStringLiteral("step")).size(), 5);

        Device().clearLog();
        dialogs.clear();
        QVERIFY(WriteChangedGoods(table, progress, dialogs));
        QCOMPARE(WrittenRecords(), QList<int>{5});
        QCOMPARE(table.changedCount(), 0);

        for (int row : {2, 4, 6, 8, 10}) table.setCell(ColSection, row, "10");
        QVERIFY(Device().addFault(ErrorOn(5)));
        Device().clearLog();
        dialogs.clear();
        dialogs.answerNo();
        QVERIFY(!WriteChangedGoods(table, progress, dialogs));
        QCOMPARE(WrittenRecords(), (QList<int>{1, 3, 5}));
        QCOMPARE(table.changedRows(), (QVector<int>{6, 8, 10}));

        // A read that fails leaves its record unread, not changed: what the
        // row shows is not what the device holds.
        GoodsTable fresh;
        QVERIFY(Device().addFault(ErrorOn(30)));
        dialogs.clear();
        dialogs.answerYes();
        QVERIFY(ReadAllGoods(fresh, progress, dialogs));
        QCOMPARE(fresh.changedRows(), QVector<int>{});
        QVERIFY(fresh.isUnread(31));
    }

    // A record whose read failed is never sent by "Загрузить изменённые" on
    // the failed read's account: not after the whole read, not after a single
    // one. The row keeps the device's goods as last read, so clearing it is a
    // change like any other. An edit, or a read that succeeds, ends that; the
    // grid marks the rows and the count says how many.
    void unreadRecordsAreNotSent() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        GoodsTable table;
        InStepWithDevice(table, progress, dialogs);
        QVERIFY(Device().addFault(ErrorOn(4)));
        QVERIFY(Device().addFault(ErrorOn(12)));
        dialogs.answerYes(2);
        QVERIFY(ReadAllGoods(table, progress, dialogs));
        QVERIFY(Device().addFault(ErrorOn(7)));
        QVERIFY(!ReadCurrentGoods(table, 8, progress, dialogs));
        QCOMPARE(table.changedCount(), 0);
        QCOMPARE(table.unreadCount(), 3);
        for (int row : {5, 8, 13}) {
            QVERIFY(table.isUnread(row));
            QCOMPARE(table.data(table.index(row - 1, ColNumber), Qt::DisplayRole).toString(),
                     UnreadMark());
        }
        QVERIFY(table.data(table.index(0, ColNumber), Qt::DisplayRole).toString().isEmpty());

        Device().clearLog();
        dialogs.clear();
        QVERIFY(!WriteChangedGoods(table, progress, dialogs));
        QVERIFY(Requests().isEmpty());
        QCOMPARE(dialogs.texts(), QStringList{NothingChangedMessage()});
        QCOMPARE(Device().goods(4).barcode, uint64_t(104));

        QCOMPARE(table.record(5), Row(4, "ТОВАР", false, "104", "1", "1.00"));
        table.clear();
        QCOMPARE(table.unreadCount(), 0);
        QCOMPARE(table.changedCount(), 20);
        InStepWithDevice(table, progress, dialogs);  // reads every record again
        QCOMPARE(table.unreadCount(), 0);

        // An edit of an unread row sends it; undone, the row is held back again.
        QVERIFY(Device().addFault(ErrorOn(4)));
        QVERIFY(!ReadCurrentGoods(table, 5, progress, dialogs));
        QVERIFY(table.isUnread(5));
        QSignalSpy count(&table, &GoodsTable::changedCountChanged);
        table.setCell(ColName, 5, W("НОВОЕ"));
        QVERIFY(!table.isUnread(5));
        QCOMPARE(table.changedRows(), QVector<int>{5});
        QCOMPARE(count.size(), 1);
        table.setCell(ColName, 5, W("ТОВАР"));
        QVERIFY(table.isUnread(5));
        QCOMPARE(table.changedCount(), 0);
        table.setCell(ColName, 5, W("НОВОЕ"));
        Device().clearLog();
        QVERIFY(WriteChangedGoods(table, progress, dialogs));
        QCOMPARE(WrittenRecords(), QList<int>{4});
    }

    // The same port, speed and factory number keep what is known of the
    // device; another one forgets it. A product deleted while nothing is
    // known is not sent, and the user is told so.
    void connectionChangesForgetOnlyAnotherDevice() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        GoodsTable table;
        table.followConnection(CurrentPortSettings());
        InStepWithDevice(table, progress, dialogs);
        PortSettings same = CurrentPortSettings();
        same.ByteTimeout += 10;  // not the device's address
        table.followConnection(same);
        table.setRecord(3, GoodsRecord());
        QCOMPARE(table.changedRows(), QVector<int>{3});
        QVERIFY(WriteChangedGoods(table, progress, dialogs));
        QCOMPARE(Device().goods(2).barcode, uint64_t(0));
        QCOMPARE(table.unsentBlankCount(), 0);

        PortSettings other = same;
        other.MachineNumber = "17";
        table.followConnection(other);
        QCOMPARE(table.changedCount(), 19);
        table.setRecord(4, GoodsRecord());
        QCOMPARE(table.changedCount(), 18);
        QCOMPARE(table.unsentBlankCount(), 1);
        Device().clearLog();
        dialogs.clear();
        table.followConnection(same);  // back to the first device: still unknown
        QCOMPARE(table.unsentBlankCount(), 0);
        table.setRecord(5, GoodsRecord());
        QVERIFY(WriteChangedGoods(table, progress, dialogs));
        QCOMPARE(dialogs.texts(),
                 (QStringList{BlankRowsNotSentMessage(1), U("Записано удачно...")}));
        QVERIFY(!WrittenRecords().contains(4));
        QCOMPARE(Device().goods(4).barcode, uint64_t(104));
    }

    // Another device may be on the line after the settings change: nothing is
    // in step, and every row with goods counts as changed.
    void forgettingTheDevice() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        GoodsTable table;
        InStepWithDevice(table, progress, dialogs);
        table.setRecord(25, Row(24, "", false, "", "", ""));
        QSignalSpy count(&table, &GoodsTable::changedCountChanged);
        table.forgetDevice();
        QCOMPARE(table.changedCount(), 20);
        QCOMPARE(count.size(), 1);
        QCOMPARE(count.first().first().toInt(), 20);
        QVERIFY(table.data(table.index(0, ColCode), GoodsChangedRole).toBool());
        QVERIFY(!table.data(table.index(24, ColCode), GoodsChangedRole).toBool());
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
