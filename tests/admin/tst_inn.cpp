// Programming the taxpayer number: the frame, the checks, the confirmation and
// the dialog's initial values.
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "admin/InnProgramming.h"
#include "admin/ui/InnDialog.h"
#include "device/ExchangeLog.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "device/ui/ExchangeLogWindow.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"
#include "emulator/FrameCodec.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

// A user who reads the question for a while: the program's own timers run
// meanwhile, as they do under a real message box.
class SlowReader : public ScriptedDialogs {
public:
    bool askDefaultNo(const QString& caption, const QString& text, DialogIcon icon) override {
        QTest::qWait(5 * ExchangeLogWindow::RefreshIntervalMs);
        return ScriptedDialogs::askDefaultNo(caption, text, icon);
    }
};

}  // namespace

namespace {

InnInput Input(const char* inn, const char* password, QDate date, int groupIndex) {
    InnInput input;
    input.taxpayerNumber = U(inn);
    input.password = U(password);
    input.date = date;
    input.groupIndex = groupIndex;
    return input;
}

const QString Question = QString::fromUtf8(
    "Ранее запрограммированные формы будут стерты.\nВы уверены, что хотите запрограммировать "
    "ИНН?\n");

}  // namespace

class TestInn : public QObject {
    Q_OBJECT

    DeviceEmulator& device() { return InProcessEmulator(); }

private slots:
    void init() { UseEmulator(); }

    void yearByte() {
        QCOMPARE(int(InnYearByte(2000)), 0);
        QCOMPARE(int(InnYearByte(2010)), 10);
        QCOMPARE(int(InnYearByte(2255)), 255);
    }

    void frameForMarch2010() {
        ScriptedDialogs dialogs;
        dialogs.answerYes();
        const InnOutcome outcome =
            ProgramInn(Input("1234567", "12345", QDate(2010, 3, 15), 2), dialogs);
        QVERIFY(outcome.closeDialog && outcome.sent && outcome.succeeded);
        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        QVERIFY(dialogs.shown[0].text.endsWith(Question));
        QVERIFY(IsWarning(dialogs.shown[1]));
        QCOMPARE(dialogs.shown[1].text, U("Записано удачно..."));

        QCOMPARE(device().log().size(), 1);
        const QByteArray request = device().log()[0].request;
        QCOMPARE(request.size(), 25);
        QCOMPARE(FrameByte(request, 6), CmdInn);
        QCOMPARE(request.mid(8, 14).toHex(' '),
                 QByteArray("39 30 00 00 0f 03 0a 03 87 d6 12 00 00 00"));
        QCOMPARE(device().taxpayerNumber(), 1234567u);
        QCOMPARE(device().innDate(), QDate(2010, 3, 15));
        QCOMPARE(int(device().group()), 3);
        QCOMPARE(device().innPassword(), 12345);
    }

    void firstDayOf2000() {
        const InnFrameValues values = InnValues(Input("0", "0", QDate(2000, 1, 1), 0));
        QCOMPARE(int(values.day), 1);
        QCOMPARE(int(values.month), 1);
        QCOMPARE(int(values.year), 0);
        QCOMPARE(int(values.group), 1);
        QCOMPARE(values.taxpayerNumber, QByteArray("0"));
        QCOMPARE(values.password, 0);
    }

    void refusals_data() {
        QTest::addColumn<QString>("inn");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focus");
        QTest::newRow("empty ИНН") << QString() << U("1") << U("Поле ИНН не заполнено...")
                                   << int(InnField::TaxpayerNumber);
        QTest::newRow("empty password")
            << U("1") << QString() << U("Поле пароль не заполнено...") << int(InnField::Password);
        QTest::newRow("both empty: ИНН first")
            << QString() << QString() << U("Поле ИНН не заполнено...")
            << int(InnField::TaxpayerNumber);
        // The key filter lets '%' and '\'' through; the device would read "12".
        QTest::newRow("sign in ИНН")
            << U("12%4") << U("1") << U("Поле ИНН должно содержать только цифры (не более 12)...")
            << int(InnField::TaxpayerNumber);
        QTest::newRow("thirteen digits")
            << U("1234567890123") << U("1")
            << U("Поле ИНН должно содержать только цифры (не более 12)...")
            << int(InnField::TaxpayerNumber);
        QTest::newRow("sign in password")
            << U("1") << U("1'") << U("Поле пароль должно содержать только цифры (не более 5)...")
            << int(InnField::Password);
    }
    void refusals() {
        QFETCH(QString, inn);
        QFETCH(QString, password);
        ScriptedDialogs dialogs;
        InnInput input;
        input.taxpayerNumber = inn;
        input.password = password;
        input.date = QDate(2011, 1, 1);
        const InnOutcome outcome = ProgramInn(input, dialogs);
        QVERIFY(!outcome.closeDialog);
        QVERIFY(!outcome.sent);
        QTEST(int(outcome.focus), "focus");
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsWarning(dialogs.shown[0]));
        QTEST(dialogs.shown[0].text, "message");
        QVERIFY(device().log().isEmpty());
    }

    void zeroIsNotEmptyAndNoSendsNothing() {
        ScriptedDialogs dialogs;
        dialogs.answerNo();
        const InnOutcome outcome = ProgramInn(Input("0", "0", QDate(2012, 5, 5), 0), dialogs);
        QVERIFY(outcome.closeDialog);
        QVERIFY(!outcome.sent);
        QCOMPARE(dialogs.texts(), QStringList{U("ИНН: 0\nГруппа: 1\nДата: 05.05.2012\nВнимание: в "
                                                "ИНН 1 цифр(ы), а должно быть 10 "
                                                "или 12.\n") +
                                              Question});
        QVERIFY(dialogs.shown[0].defaultNo);
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        QVERIFY(device().log().isEmpty());
    }

    // The last look before the irreversible step: the number and group as
    // they will be written, and a line of its own when the number cannot be
    // an ИНН (length, then the check digits of 10 and of 12 digits).
    void confirmationShowsTheNumberAndWhatIsWrongWithIt_data() {
        QTest::addColumn<QString>("inn");
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("problem");
        const QString checkDigits =
            U("Внимание: контрольные цифры ИНН не сходятся, номер введен с ошибкой.\n");
        QTest::newRow("organisation") << U("7707083893") << 1 << QString();
        QTest::newRow("person") << U("500100732259") << 3 << QString();
        QTest::newRow("three digits")
            << U("123") << 1 << U("Внимание: в ИНН 3 цифр(ы), а должно быть 10 или 12.\n");
        QTest::newRow("eleven digits")
            << U("77070838931") << 2 << U("Внимание: в ИНН 11 цифр(ы), а должно быть 10 или 12.\n");
        QTest::newRow("tenth digit wrong") << U("7707083894") << 1 << checkDigits;
        QTest::newRow("eleventh digit wrong") << U("500100732269") << 2 << checkDigits;
        QTest::newRow("twelfth digit wrong") << U("500100732258") << 2 << checkDigits;
    }
    void confirmationShowsTheNumberAndWhatIsWrongWithIt() {
        QFETCH(QString, inn);
        QFETCH(int, group);
        QFETCH(QString, problem);
        ScriptedDialogs dialogs;
        dialogs.answerNo();
        InnInput input = Input("", "1", QDate(2012, 5, 5), group - 1);
        input.taxpayerNumber = inn;
        QVERIFY(!ProgramInn(input, dialogs).sent);
        QCOMPARE(dialogs.shown.size(), 1);
        QCOMPARE(dialogs.shown[0].text,
                 QStringLiteral("ИНН: %1\nГруппа: %2\nДата: 05.05.2012\n").arg(inn).arg(group) +
                     problem + Question);
        QVERIFY(dialogs.shown[0].defaultNo);
        QVERIFY(device().log().isEmpty());
    }

    void refusedByTheDevice() {
        ScriptedDialogs dialogs;
        device().setWorkingMode(true);  // the ИНН is already programmed
        dialogs.answerYes();
        const InnOutcome outcome =
            ProgramInn(Input("1234567890", "1", QDate(2012, 5, 5), 1), dialogs);
        QVERIFY(outcome.closeDialog && outcome.sent && !outcome.succeeded);
        QVERIFY(IsError(dialogs.shown.last()));
        QCOMPARE(dialogs.shown.last().text, U("Не удалось записать параметр...  ИНН установлен."));
    }

    void dialogStartsFromItsInitialValues() {
        ScriptedDialogs dialogs;
        for (int opening = 0; opening < 2; ++opening) {
            InnDialog dialog;
            dialog.show();
            QCOMPARE(dialog.windowTitle(), U("Программирование ИНН...."));
            QCOMPARE(dialog.innEdit->text(), U("0"));
            QCOMPARE(dialog.passwordEdit->text(), U("0"));
            QCOMPARE(dialog.innEdit->maxLength(), 12);
            QCOMPARE(dialog.passwordEdit->maxLength(), 5);
            QCOMPARE(dialog.passwordEdit->echoMode(), QLineEdit::Password);
            QCOMPARE(dialog.dateEdit->date(), QDate::currentDate());
            QCOMPARE(dialog.dateEdit->minimumDate(), QDate(2000, 1, 1));
            QVERIFY(dialog.dateEdit->calendarPopup());
            QCOMPARE(dialog.groupCombo->currentText(), U("Группа 1"));
            QCOMPARE(dialog.groupCombo->count(), 3);

            // Letters do not reach the digit fields.
            dialog.innEdit->clear();
            QTest::keyClicks(dialog.innEdit, QStringLiteral("7a8-9"));
            QCOMPARE(dialog.innEdit->text(), U("789"));
            dialog.groupCombo->setCurrentIndex(2);
            dialog.dateEdit->setDate(QDate(2001, 1, 1));

            // "Нет" goes back to the dialog with everything as typed; the
            // question named the date too.
            dialogs.answerNo();
            QTest::mouseClick(dialog.applyButton, Qt::LeftButton);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.innEdit->text(), U("789"));
            QCOMPARE(dialog.dateEdit->date(), QDate(2001, 1, 1));
            QCOMPARE(dialog.groupCombo->currentIndex(), 2);
            QVERIFY(dialogs.texts().last().contains(U("Дата: 01.01.2001\n")));
            QTest::mouseClick(dialog.cancelButton, Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
        QVERIFY(InProcessEmulator().log().isEmpty());
    }

    void emptyFieldKeepsTheDialogOpenWithFocus() {
        ScriptedDialogs dialogs;
        InnDialog dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        dialog.passwordEdit->clear();
        dialog.applyClicked();
        QVERIFY(dialog.isVisible());
        QTRY_VERIFY(dialog.passwordEdit->hasFocus());
        QCOMPARE(dialogs.texts(), QStringList{U("Поле пароль не заполнено...")});
    }

    void applyProgramsWhatWasTyped() {
        ScriptedDialogs dialogs;
        InnDialog dialog;
        dialog.show();
        dialog.innEdit->setText(QStringLiteral("1234567"));
        dialog.passwordEdit->setText(QStringLiteral("42"));
        dialog.dateEdit->setDate(QDate(2010, 3, 15));
        dialog.groupCombo->setCurrentIndex(2);
        dialogs.answerYes();
        dialog.applyClicked();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(device().taxpayerNumber(), 1234567u);
        QCOMPARE(device().innPassword(), 42);
        QCOMPARE(int(device().group()), 3);
        QCOMPARE(dialogs.texts().last(), U("Записано удачно..."));
    }

    // The exchange log's refresh is the window's own: it never meets the
    // refusal of user input while the question is open, and "Да" programs.
    void programmedWithTheExchangeLogOpen() {
        SlowReader dialogs;
        ExchangeLogWindow log(ProgramExchangeLog());
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        InnDialog dialog;
        dialog.show();
        dialog.innEdit->setText(QStringLiteral("7707083893"));
        dialog.passwordEdit->setText(QStringLiteral("5"));
        dialogs.answerYes();
        dialog.applyClicked();
        QCOMPARE(dialogs.shown.size(), 2);
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[1].text, U("Записано удачно..."));
        QCOMPARE(device().taxpayerNumber(), uint64_t(7707083893));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestInn)
#include "tst_inn.moc"
