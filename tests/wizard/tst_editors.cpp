// The line and number editors and the typed-text rule behind every device
// line: capitals the device prints, Ё as Е, the rest refused with a message
// naming it, 24 characters, Enter, the digit filter.
#include <QCheckBox>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "support/ScriptedDialogs.h"
#include "wizard/DeviceLine.h"
#include "wizard/WizardTestSupport.h"
#include "wizard/ui/LineEditorDialog.h"
#include "wizard/ui/NumberEditorDialog.h"

class TestEditors : public QObject {
    Q_OBJECT

    std::unique_ptr<LineEditorDialog> lineEditor;
    std::unique_ptr<NumberEditorDialog> numberEditor;

private slots:
    void initTestCase() {
        lineEditor = std::make_unique<LineEditorDialog>();
        numberEditor = std::make_unique<NumberEditorDialog>();
    }

    void typedTextBecomesDeviceText_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("refused");
        QTest::newRow("latin and cyrillic small")
            << U("иванов ivan") << U("ИВАНОВ IVAN") << QString();
        QTest::newRow("yo") << U("ЁЖИК ёлка") << U("ЕЖИК ЕЛКА") << QString();
        QTest::newRow("number sign") << U("№5 №6") << U("5 6") << U("№");
        QTest::newRow("the device's letter places")
            << U("Ёлка {1} ~|^`") << U("ЕЛКА 1 ") << U("{}~|^`");
        QTest::newRow("emoji") << U("чай☕и 😀") << U("ЧАЙИ ") << U("☕😀");
        QTest::newRow("control characters") << U("a\tb\x01") << U("A B ") << QString();
        QTest::newRow("outside 1251 and 1251 signs") << U("çà«»€") << QString() << U("çà«»€");
        QTest::newRow("grows when upper-cased") << U("straße") << U("STRASSE") << QString();
        QTest::newRow("every sign it prints")
            << U("!\"#$%&'()*+,-./:;<=>?@[\\]_") << U("!\"#$%&'()*+,-./:;<=>?@[\\]_") << QString();
    }
    void typedTextBecomesDeviceText() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, refused);
        QString got;
        QCOMPARE(DeviceLineInput(typed, &got), kept);
        QCOMPARE(got, refused);
        // What is kept is what the device prints: through the device's
        // letters and back it comes out the same.
        const QByteArray bytes = ToCp1251(kept);
        char device[64] = {}, back[64] = {};
        EncodeDeviceText(bytes.constData(), device);
        DecodeDeviceText(device, back);
        QCOMPARE(FromCp1251(back), kept);
    }

    void refusalNamesTheCharacters() {
        QCOMPARE(RefusedCharactersMessage(U("№")), U("АС не печатает символ «№»; он не введен."));
        QCOMPARE(RefusedCharactersMessage(U("{😀")),
                 U("АС не печатает символы «{», «😀»; они не введены."));
        QCOMPARE(RefusedCharactersReason(U("~")), U("АС не печатает символ «~»"));
    }

    // The stored line never runs past its 26 bytes, whatever its text (here
    // as the edit fields give it).
    void storedLineKeepsItsLimits() {
        DeviceText line;
        std::memset(line.bytes, 'x', sizeof line.bytes);
        StoreLine(line, QString(40, QChar(u'Ж')), false);
        QCOMPARE(Stored(line), U("0") + QString(24, QChar(u'Ж')));
        QCOMPARE(line.bytes[25], '\0');
        StoreLine(line, DeviceLineInput(U("ßßßßßßßß")), true);  // each grows to two capitals
        QCOMPARE(Stored(line), U("1SSSSSSSSSSSS"));
        StoreLine(line, DeviceLineInput(U("чай😀")), false);
        QCOMPARE(Stored(line), U("0ЧАЙ"));
        char encoded[27] = {};
        EncodeDeviceText(line.bytes, encoded);
        QCOMPARE(QByteArray(encoded), QByteArray("0~aj"));
        StoreLine(line, DeviceLineInput(U("Ёж №")), false);
        std::memset(encoded, 0, sizeof encoded);
        EncodeDeviceText(line.bytes, encoded);
        QCOMPARE(QByteArray(encoded), QByteArray("0ev "));  // nothing the device cannot print
    }

    // Rebuilding a line from the text it already holds changes no byte: small
    // letters, a byte Windows-1251 has no character for, what follows a zero.
    void unchangedTextKeepsTheStoredBytes() {
        const QByteArray stored = QByteArray("0kwit\x98\0AB", 9) + QByteArray(17, '\0');
        DeviceText line;
        std::memcpy(line.bytes, stored.constData(), sizeof line.bytes);
        StoreLine(line, LineText(line), false);
        QCOMPARE(QByteArray(line.bytes, int(sizeof line.bytes)), stored);
        StoreLine(line, LineText(line), true);  // "Широкий" keeps 12 of them
        QCOMPARE(QByteArray(line.bytes, int(sizeof line.bytes)), '1' + stored.mid(1));
        StoreLine(line, U("kwitx"), false);  // a changed text is taken as it is
        QCOMPARE(Stored(line), U("0kwitx"));
    }

    // Only what the user types or pastes becomes capitals; the text the field
    // was given (a stored line) stays as it is around it.
    void typedTextBesideStoredText() {
        ScriptedDialogs dialogs;
        QLineEdit* edit = lineEditor->field;
        edit->setText(U("kwit"));
        QCOMPARE(edit->text(), U("kwit"));
        edit->setCursorPosition(4);
        TypeText(edit, U("a"));
        QCOMPARE(edit->text(), U("kwitA"));
        edit->setCursorPosition(0);
        TypeText(edit, U("k"));  // the same letter as the one behind it
        QCOMPARE(edit->text(), U("KkwitA"));
        QCOMPARE(edit->cursorPosition(), 1);
        edit->setSelection(2, 3);
        QGuiApplication::clipboard()->setText(U("щ😀"));
        edit->paste();
        QCOMPARE(edit->text(), U("KkЩA"));
        QCOMPARE(edit->cursorPosition(), 3);
        QCOMPARE(dialogs.texts(), QStringList{U("АС не печатает символ «😀»; он не введен.")});
        QVERIFY(IsWarning(dialogs.shown[0]));
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), U("KkA"));
    }

    // A typed character the device cannot print is not put in, and the
    // message names it; Ё goes in as Е.
    void refusedKeysAreNotInserted() {
        ScriptedDialogs dialogs;
        QLineEdit* edit = lineEditor->field;
        edit->clear();
        TypeText(edit, U("ёлка {"));
        QCOMPARE(edit->text(), U("ЕЛКА "));
        QCOMPARE(edit->cursorPosition(), 5);
        QCOMPARE(dialogs.texts(), QStringList{U("АС не печатает символ «{»; он не введен.")});
        TypeText(edit, U("№1"));
        QCOMPARE(edit->text(), U("ЕЛКА 1"));
        QCOMPARE(dialogs.shown.size(), 2);
        QCOMPARE(dialogs.shown[1].text, U("АС не печатает символ «№»; он не введен."));
    }

    // The capitals are the field's own edits: Ctrl+Z in the field takes the
    // typed keys back, Ctrl+Y (and the system's redo key) does them again, a
    // stored text the field was given stays, a paste is one step too.
    void typedCapitalsAreUndoneInTheField() {
        ScriptedDialogs dialogs;
        QLineEdit* edit = lineEditor->field;
        edit->setText(U("kwit"));
        edit->end(false);
        TypeText(edit, U(" ab"));
        QCOMPARE(edit->text(), U("kwit AB"));
        QVERIFY(edit->isUndoAvailable());
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), U("kwit"));
        QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(edit->text(), U("kwit AB"));
        edit->undo();
        QTest::keySequence(edit, QKeySequence(QKeySequence::Redo));
        QCOMPARE(edit->text(), U("kwit AB"));

        // A refused key and a key past the limit leave the field's history
        // as the accepted keys made it.
        edit->setText(QString());
        TypeText(edit, U("a{b"));
        QCOMPARE(edit->text(), U("AB"));
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        edit->setText(QString(24, QLatin1Char('X')));
        edit->end(false);
        TypeText(edit, U("y"));
        QCOMPARE(edit->text(), QString(24, QLatin1Char('X')));
        QGuiApplication::clipboard()->setText(U("чай"));
        edit->setSelection(0, 3);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), U("ЧАЙ") + QString(21, QLatin1Char('X')));
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString(24, QLatin1Char('X')));
        QCOMPARE(dialogs.texts(), QStringList{U("АС не печатает символ «{»; он не введен.")});
    }

    // Text that comes in past the digit keys' filter (an input method) is
    // held to digits as the field's own edit: Ctrl+Z takes it back.
    void heldDigitsAreUndoneInTheField() {
        QLineEdit* edit = numberEditor->field;
        edit->setText(QString());
        TypeText(edit, U("1"));
        QInputMethodEvent commit;
        commit.setCommitString(U("2я3"));
        QApplication::sendEvent(edit, &commit);
        QCOMPARE(edit->text(), U("123"));
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(edit->text(), U("123"));
    }

    void lineEditorTypesCapitalsWithinTheLimit() {
        ScriptedDialogs dialogs;
        QLineEdit* edit = lineEditor->field;
        edit->clear();
        TypeText(edit, U("петров п.п. and a very long tail"));
        QCOMPARE(edit->text(), U("ПЕТРОВ П.П. AND A VERY L"));
        edit->clear();
        QGuiApplication::clipboard()->setText(U("щи😀ё\nx"));
        edit->paste();
        QVERIFY(!edit->text().isEmpty());
        QCOMPARE(DeviceLineInput(edit->text()), edit->text());
        QVERIFY(edit->text().startsWith(U("ЩИЕ")));
        QCOMPARE(dialogs.texts(), QStringList{U("АС не печатает символ «😀»; он не введен.")});
    }

    void lineEditorAcceptsByEnterAndApplyOnly_data() {
        QTest::addColumn<int>("how");  // 0 Enter, 1 Применить, 2 Отмена, 3 Esc
        QTest::addColumn<bool>("accepted");
        QTest::newRow("enter") << 0 << true;
        QTest::newRow("apply") << 1 << true;
        QTest::newRow("cancel") << 2 << false;
        QTest::newRow("escape") << 3 << false;
    }
    void lineEditorAcceptsByEnterAndApplyOnly() {
        QFETCH(int, how);
        QFETCH(bool, accepted);
        lineEditor->field->setText(U("КАССИР"));
        lineEditor->Accepted = !accepted;
        WhenModal<LineEditorDialog>([how](LineEditorDialog* editor) {
            QCOMPARE(editor->focusWidget(), editor->field);
            TypeText(editor->field, U("ша"));
            if (how == 0) QTest::keyClick(editor->field, Qt::Key_Return);
            if (how == 1) editor->applyButton->click();
            if (how == 2) editor->cancelButton->click();
            if (how == 3) QTest::keyClick(editor->field, Qt::Key_Escape);
        });
        lineEditor->exec();
        QCOMPARE(lineEditor->Accepted, accepted);
        QVERIFY(lineEditor->field->text().endsWith(U("ША")));
    }

    void numberEditorTakesFourDigitsAndEnter() {
        QLineEdit* edit = numberEditor->field;
        edit->clear();
        WhenModal<NumberEditorDialog>([](NumberEditorDialog* editor) {
            TypeText(editor->field, U("1a-2ж34 5"));
            QTest::keyClick(editor->field, Qt::Key_Enter);
        });
        numberEditor->exec();
        QVERIFY(numberEditor->Accepted);
        QCOMPARE(edit->text(), U("1234"));
        WhenModal<NumberEditorDialog>([](NumberEditorDialog* editor) {
            QTest::keyClick(editor->field, Qt::Key_Backspace);
            editor->cancelButton->click();
        });
        numberEditor->exec();
        QVERIFY(!numberEditor->Accepted);
        QCOMPARE(edit->text(), U("123"));
        // Text that comes other than by a key (an input method, the selection
        // pasted by the middle button) is held to the same digits.
        edit->clear();
        QInputMethodEvent composed;
        composed.setCommitString(U("4ж5z"));
        QApplication::sendEvent(edit, &composed);
        QCOMPARE(edit->text(), U("45"));
    }

    // The line editor holds the limits the goods editor holds: a paste that
    // does not fit is cut and said, a wide line over 12 characters is refused
    // rather than cut when it is stored.
    void lineEditorSaysWhenItCuts() {
        ScriptedDialogs dialogs;
        QLineEdit* edit = lineEditor->field;
        edit->setText(U("АБВ"));
        edit->end(false);
        QGuiApplication::clipboard()->setText(QString(30, QLatin1Char('X')));
        edit->paste();
        QCOMPARE(edit->text(), U("АБВ") + QString(21, QLatin1Char('X')));
        QCOMPARE(dialogs.texts(),
                 QStringList{U("В строке не больше 24 символов; лишние символы (9) не введены.")});

        // What follows the cursor stays; the paste loses its end.
        edit->setText(U("КОНЕЦ"));
        edit->home(false);
        QGuiApplication::clipboard()->setText(QString(22, QLatin1Char('Y')));
        edit->paste();
        QCOMPARE(edit->text(), QString(19, QLatin1Char('Y')) + U("КОНЕЦ"));
        QCOMPARE(edit->cursorPosition(), 19);
    }

    void lineEditorRefusesAWideLineOverTwelve() {
        ScriptedDialogs dialogs;
        lineEditor->field->setText(U("СТАРШИЙ КАССИР"));
        lineEditor->wideBox->setChecked(true);
        bool stayedOpen = false;
        WhenModal<LineEditorDialog>([&stayedOpen](LineEditorDialog* editor) {
            editor->applyButton->click();
            stayedOpen = editor->isVisible();
            editor->wideBox->setChecked(false);
            QTest::keyClick(editor->field, Qt::Key_Return);
        });
        lineEditor->exec();
        QVERIFY(stayedOpen);
        QVERIFY(lineEditor->Accepted);
        QCOMPARE(dialogs.texts(), QStringList{U("Строка широким шрифтом длиннее 12 символов!")});
        QCOMPARE(lineEditor->field->text(), U("СТАРШИЙ КАССИР"));
        QCOMPARE(LineLengthProblem(QString(12, QLatin1Char('A')), true), QString());
        QCOMPARE(LineLengthProblem(QString(25, QLatin1Char('A')), false),
                 U("Строка длиннее 24 символов!"));
    }

    // The password field says what it takes and what it did not take.
    void passwordEditorSaysWhatItDrops() {
        QCOMPARE(numberEditor->fieldLabel->text(), U("&Пароль оператора (до 4 цифр):"));
        QCOMPARE(numberEditor->fieldLabel->buddy(), numberEditor->field);
        numberEditor->field->clear();
        QString afterLetter, afterFifth;
        WhenModal<NumberEditorDialog>([&](NumberEditorDialog* editor) {
            QVERIFY(editor->noteLabel->text().isEmpty());
            TypeText(editor->field, U("12ж"));
            afterLetter = editor->noteLabel->text();
            TypeText(editor->field, U("345"));
            afterFifth = editor->noteLabel->text();
            editor->cancelButton->click();
        });
        numberEditor->exec();
        QCOMPARE(afterLetter, U("«ж» не введено: пароль состоит только из цифр."));
        QCOMPARE(afterFifth, U("В пароле не больше 4 цифр."));
        QCOMPARE(numberEditor->field->text(), U("1234"));
    }

    void passwordRule() {
        char password[5] = {};
        StorePassword(password, U("123456"));
        QCOMPARE(QByteArray(password), QByteArray("1234"));
        QVERIFY(PasswordUsable(password));
        for (const char* bad : {"", "0000", "0", "12a"}) {
            StorePassword(password, U(bad));
            QVERIFY2(!PasswordUsable(password), bad);
        }
    }
};

QTEST_MAIN(TestEditors)
#include "tst_editors.moc"
