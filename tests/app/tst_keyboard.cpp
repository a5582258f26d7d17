// Every dialog in the hands of someone who does not reach for the mouse: Tab
// reaches each field and button in turn, Enter has a button to press, Esc
// leaves without applying anything.
#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>
#include <memory>

#include "admin/ui/InnDialog.h"
#include "app/AboutDialog.h"
#include "device/ui/ConnectionSettingsDialog.h"
#include "goods/ui/GoodsRecordEditor.h"
#include "support/ScriptedDialogs.h"
#include "wizard/ui/LineEditorDialog.h"
#include "wizard/ui/NumberEditorDialog.h"

namespace {

// The widget of the dialog that holds the focus: an editable combo box or a
// date field gives it to a part of its own.
QWidget* Owner(QWidget* focused, const QList<QWidget*>& reachable) {
    for (QWidget* w = focused; w; w = w->parentWidget())
        if (reachable.contains(w)) return w;
    return focused;
}

QList<QWidget*> Reachable(QDialog& dialog) {
    QList<QWidget*> reachable;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&dialog) || !w->isEnabled()) continue;
        if (!(w->focusPolicy() & Qt::TabFocus)) continue;
        // A part of a composite field: its owner is what Tab reaches.
        bool inner = false;
        for (QWidget* p = w->parentWidget(); p && p != &dialog; p = p->parentWidget())
            if (p->focusPolicy() & Qt::TabFocus) inner = true;
        if (!inner) reachable << w;
    }
    return reachable;
}

QString Named(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    return QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName();
}

}  // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    // Tab from the first field visits every reachable widget.
    static void tabReachesEverything(QDialog& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const QList<QWidget*> reachable = Reachable(dialog);
        QVERIFY(!reachable.isEmpty());
        QWidget* start = QApplication::focusWidget();
        QVERIFY2(start, qPrintable(dialog.windowTitle() + QStringLiteral(": no focus at start")));
        // A date field takes a Tab for each of its sections before it lets go.
        QList<QWidget*> visited;
        for (int i = 0; i < 4 * (reachable.size() + 1); ++i) {
            visited << Owner(QApplication::focusWidget(), reachable);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        for (QWidget* w : reachable)
            QVERIFY2(visited.contains(w),
                     qPrintable(dialog.windowTitle() + QStringLiteral(": Tab never reaches ") +
                                Named(w)));
    }

    static QPushButton* DefaultButton(QDialog& dialog) {
        for (QPushButton* b : dialog.findChildren<QPushButton*>())
            if (b->isDefault() && b->isVisibleTo(&dialog)) return b;
        return nullptr;
    }

    static void escapeLeaves(QDialog& dialog) {
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY2(!dialog.isVisible(), qPrintable(dialog.windowTitle()));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

private slots:
    void settingsDialog() {
        ScriptedDialogs dialogs;
        ConnectionSettingsDialog dialog;
        tabReachesEverything(dialog);
        QVERIFY(DefaultButton(dialog));
        escapeLeaves(dialog);
        QVERIFY(!dialog.applied());
    }

    void goodsRecordEditor() {
        ScriptedDialogs dialogs;
        GoodsRecordEditor editor;
        editor.FillFrom(GoodsRecord{});
        tabReachesEverything(editor);
        QCOMPARE(DefaultButton(editor), editor.applyButton);
        escapeLeaves(editor);
        QVERIFY(!editor.Applied);
    }

    // The ИНН is irreversible: Enter presses "Применить", which asks first
    // with "Нет" as its default.
    void innDialog() {
        ScriptedDialogs dialogs;
        InnDialog dialog;
        tabReachesEverything(dialog);
        QCOMPARE(DefaultButton(dialog), dialog.applyButton);
        escapeLeaves(dialog);
        QVERIFY(dialogs.shown.isEmpty());
    }

    // The line and number editors apply on Enter in their field.
    void lineAndNumberEditors() {
        ScriptedDialogs dialogs;
        LineEditorDialog line;
        NumberEditorDialog number;
        for (EditorDialog* editor :
             {static_cast<EditorDialog*>(&line), static_cast<EditorDialog*>(&number)}) {
            editor->field->setText(QStringLiteral("12"));
            tabReachesEverything(*editor);
            editor->field->setFocus();
            QTest::keyClick(editor->field, Qt::Key_Return);
            QVERIFY(editor->Accepted);
            escapeLeaves(*editor);
            QVERIFY(!editor->Accepted);
        }
    }

    void aboutBox() {
        AboutDialog about;
        tabReachesEverything(about);
        QVERIFY(DefaultButton(about));
        escapeLeaves(about);
    }
};

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
