// The state page: decoding of the answer and the page's behaviour on success
// and failure.
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "admin/StateDecoding.h"
#include "admin/ui/StatePage.h"
#include "device/DeviceLock.h"
#include "device/PortNames.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

QStringList FieldTexts(const StatePage& page) {
    QStringList texts;
    for (QLineEdit* field : page.fields()) texts << field->text();
    return texts;
}

}  // namespace

class TestState : public QObject {
    Q_OBJECT

private slots:
    void init() { UseEmulator(); }

    void clockTexts_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("time");
        QTest::newRow("leading zeros") << 1 << 2 << 10 << 9 << 5 << U("01/02/10") << U("09:05");
        QTest::newRow("minute 0") << 31 << 12 << 99 << 23 << 0 << U("31/12/99") << U("23:00");
        QTest::newRow("three digits stay")
            << 0 << 255 << 100 << 0 << 59 << U("00/255/100") << U("00:59");
    }
    void clockTexts() {
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(int, hour);
        QFETCH(int, minute);
        DeviceStateAnswer answer;
        answer.day = uint8_t(day);
        answer.month = uint8_t(month);
        answer.year = uint8_t(year);
        answer.hour = uint8_t(hour);
        answer.minute = uint8_t(minute);
        const StateTexts texts = DecodeState(answer);
        QTEST(texts.date, "date");
        QTEST(texts.time, "time");
    }

    void codesAndTheirTexts_data() {
        QTest::addColumn<int>("modeByte");
        QTest::addColumn<int>("battery");
        QTest::addColumn<int>("flash");
        QTest::addColumn<int>("documentState");
        QTest::addColumn<QStringList>("expected");  // mode, sub-mode, flash, battery, document
        QTest::newRow("on-line, Р, АБР+АРП")
            << 0x21 << 3 << 0 << 0
            << QStringList{U("2"),     U("On-line"), U("1"),       U("Реж. Р"),  U("0"),
                           U("Норма"), U("3"),       U("АБР+АРП"), U("Завершен")};
        QTest::newRow("unknown codes have no text")
            << 0x35 << 4 << 7 << 1
            << QStringList{U("3"),      QString(), U("5"),    QString(),       U("7"),
                           U("Ошибка"), U("4"),    QString(), U("Не завершен")};
        QTest::newRow("autonomous, П, АБР")
            << 0x00 << 1 << 255 << 255
            << QStringList{U("0"),      U("Автоном."), U("0"),   U("Реж. П"),     U("255"),
                           U("Ошибка"), U("1"),        U("АБР"), U("Не завершен")};
        QTest::newRow("off-line, А, АРП")
            << 0x12 << 2 << 0 << 0
            << QStringList{U("1"),     U("Off-line"), U("2"),   U("Реж. А"),  U("0"),
                           U("Норма"), U("2"),        U("АРП"), U("Завершен")};
    }
    void codesAndTheirTexts() {
        QFETCH(int, modeByte);
        QFETCH(int, battery);
        QFETCH(int, flash);
        QFETCH(int, documentState);
        QFETCH(QStringList, expected);
        DeviceStateAnswer answer;
        answer.modeByte = uint8_t(modeByte);
        answer.battery = uint8_t(battery);
        answer.flash = uint8_t(flash);
        answer.documentState = uint8_t(documentState);
        const StateTexts t = DecodeState(answer);
        QCOMPARE((QStringList{t.modeCode, t.modeText, t.subModeCode, t.subModeText, t.flashCode,
                              t.flashText, t.batteryCode, t.batteryText, t.documentState}),
                 expected);
    }

    void numbers() {
        DeviceStateAnswer answer;
        answer.factoryNumber = 0xFFFFFFFFu;
        answer.documentNumber = 65535;
        answer.taxpayerNumber = 0xFFFFFFFFFFFFULL;
        StateTexts t = DecodeState(answer);
        QCOMPARE(t.factoryNumber, U("-1"));
        QCOMPARE(t.documentNumber, U("65535"));
        QCOMPARE(t.taxpayerNumber, U("281474976710655"));
        answer.factoryNumber = 2147483647u;
        answer.taxpayerNumber = 1234567;
        t = DecodeState(answer);
        QCOMPARE(t.factoryNumber, U("2147483647"));
        QCOMPARE(t.taxpayerNumber, U("1234567"));
    }

    // The page against the emulated device, then a failed query after it.
    void pageShowsTheAnswerAndEmptiesOnFailure() {
        ScriptedDialogs dialogs;
        DeviceEmulator& device = InProcessEmulator();
        device.setClock(QDateTime(QDate(2010, 2, 1), QTime(9, 5)));
        device.status().onlineMode = 2;
        device.status().battery = 3;
        device.status().documentNumber = 513;
        device.status().documentState = 1;
        device.setFactoryNumber(-1);
        device.setTaxpayerNumber(1234567);
        device.setWorkingMode(true);  // sub-mode Р
        CurrentPortSettings().MachineNumber = "-1";

        StatePage page;
        page.show();
        QVERIFY(!page.FlashTextEdit->isVisible());
        for (QLineEdit* field : page.fields()) QVERIFY(field->isReadOnly());
        QTest::mouseClick(page.stateButton, Qt::LeftButton);
        QCOMPARE(FieldTexts(page),
                 (QStringList{U("09:05"), U("01/02/10"), U("2"), U("On-line"), U("1"), U("Реж. Р"),
                              U("0"), U("Норма"), U("3"), U("АБР+АРП"), U("513"), U("Не завершен"),
                              U("-1"), U("1234567")}));
        QVERIFY(dialogs.shown.isEmpty());
        QVERIFY(!page.FlashTextEdit->isVisible());

        Fault silent;
        silent.kind = FaultKind::Silent;
        silent.count = 1;
        QVERIFY(device.addFault(silent));
        QTest::mouseClick(page.stateButton, Qt::LeftButton);
        QCOMPARE(FieldTexts(page), QStringList(14, QString()));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text,
                 U("Не удалось прочитать параметр. Нет ответа или не удалось открыть порт."));

        // A good query puts the line in step after the silence, and shows values again.
        page.stateClicked();
        QVERIFY(FieldTexts(page) != QStringList(14, QString()));
        Fault refused;
        refused.kind = FaultKind::DeviceError;
        refused.value = 51;
        refused.count = 1;
        QVERIFY(device.addFault(refused));
        page.stateClicked();
        QCOMPARE(dialogs.shown.last().text, U("Не удалось прочитать параметр. Неверный параметр."));
        QCOMPARE(FieldTexts(page), QStringList(14, QString()));
    }

    void aQueryDuringAnotherExchangeIsRefused() {
        ScriptedDialogs dialogs;
        StatePage page;
        page.TimeEdit->setText(U("12:00"));
        DeviceLock running;
        page.stateClicked();
        QVERIFY(InProcessEmulator().log().isEmpty());
        QCOMPARE(page.TimeEdit->text(), U("12:00"));
        QCOMPARE(dialogs.shown.size(), 1);
    }
};

QTEST_MAIN(TestState)
#include "tst_state.moc"
