// Undo in the configuration's editors: an edit through the line editor,
// "Очистить поля", the document name and a form's choice are taken back with
// Ctrl+Z (or "Отменить" in the context menu) and done again with Ctrl+Y, the
// page showing each state; the history outlives the wizard's window.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QUndoStack>
#include <QtTest>

#include "app/MainWindow.h"
#include "config/ConfigurationSync.h"
#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "config/ui/ConfigurationUndo.h"
#include "forms/ui/FormConstructorLayout.h"
#include "forms/ui/FormConstructorPage.h"
#include "shell/ui/GridPage.h"
#include "support/ScriptedDialogs.h"
#include "wizard/PageTransfer.h"
#include "wizard/WizardTestSupport.h"
#include "wizard/ui/DocumentNamePage.h"
#include "wizard/ui/LineEditorDialog.h"
#include "wizard/ui/NumberEditorDialog.h"
#include "wizard/ui/ServicesPage.h"
#include "wizard/ui/WizardWindow.h"

namespace {

void DoubleClickCell(GridPage* grid, int row, int col) {
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

// The line editor, when it opens, takes `text` typed over what it shows.
void TypeInLineEditor(const QString& text) {
    WhenModal<LineEditorDialog>([text](LineEditorDialog* editor) {
        editor->field->clear();
        TypeText(editor->field, text);
        editor->applyButton->click();
    });
}

// A key with Ctrl as the user presses it on `target` in its active window.
bool CtrlKey(QWidget* target, Qt::Key key) {
    QWidget* window = target->window();
    window->activateWindow();
    // A closed editor may still be the application's active window for a turn.
    if (!QTest::qWaitFor([window] { return QApplication::activeWindow() == window; })) return false;
    QTest::keyClick(target, key, Qt::ControlModifier);
    return true;
}

QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) texts << action->text();
    return texts;
}

}  // namespace

class TestUndo : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<LineEditorDialog> lineEditor;
    std::unique_ptr<NumberEditorDialog> numberEditor;
    DeviceEmulator* device = nullptr;

    std::unique_ptr<WizardWindow> openWizard(int startPage) {
        auto wizard = std::make_unique<WizardWindow>(window.get(), startPage, true, window.get());
        wizard->show();
        return wizard;
    }
    QUndoStack& stack() { return *window->configurationUndo()->stack(); }

private slots:
    void initTestCase() {
        MainWindow::setSplashEnabled(false);
        window = std::make_unique<MainWindow>();
        lineEditor = std::make_unique<LineEditorDialog>(window.get());
        numberEditor = std::make_unique<NumberEditorDialog>(window.get());
        SharedLineEditor = lineEditor.get();
        SharedNumberEditor = numberEditor.get();
        QSignalSpy started(window.get(), &MainWindow::started);
        window->show();
        QVERIFY(started.wait(5000));
        window->EnableDeviceControls(true);
    }
    void cleanupTestCase() {
        SharedLineEditor = nullptr;
        SharedNumberEditor = nullptr;
        numberEditor.reset();
        lineEditor.reset();
        window.reset();
    }
    void init() {
        device = &UseEmulator();
        MarkConfiguration(CurrentConfiguration());
        ProgramConfigurationSync().keepAll(CurrentConfiguration());
        stack().clear();
    }

    // A line typed in the editor: Ctrl+Z shows and stores the old line again,
    // and the line is no longer unsent; Ctrl+Y brings the typed one back.
    void editorEditIsUndoneAndRedoneByKeys() {
        ScriptedDialogs dialogs;
        auto wizard = openWizard(3);
        ServicesPage* page = wizard->servicesPage;
        TypeInLineEditor(U("новая"));
        DoubleClickCell(page->grid, 2, 1);
        QCOMPARE(page->Cells->cell(1, 2), U("НОВАЯ"));
        QCOMPARE(Stored(CurrentConfiguration().services[1].lines[0]), U("0НОВАЯ"));
        QVERIFY(page->undoAction->isEnabled());
        QVERIFY(!page->redoAction->isEnabled());
        QCOMPARE(page->undoAction->toolTip(), U("Изменить: услуга 2, строка 1"));

        QVERIFY(CtrlKey(page->grid, Qt::Key_Z));
        QCOMPARE(page->Cells->cell(1, 2), U("СТАРОЕ"));
        QCOMPARE(Stored(CurrentConfiguration().services[1].lines[0]), U("0СТАРОЕ"));
        QVERIFY(ProgramConfigurationSync().unsentText(CurrentConfiguration()).isEmpty());
        QVERIFY(page->redoAction->isEnabled());

        QVERIFY(CtrlKey(page->grid, Qt::Key_Y));
        QCOMPARE(page->Cells->cell(1, 2), U("НОВАЯ"));
        QCOMPARE(Stored(CurrentConfiguration().services[1].lines[0]), U("0НОВАЯ"));
        // An editor closed with "Отмена" changed nothing: no step to take back.
        WhenModal<LineEditorDialog>([](LineEditorDialog* editor) { editor->cancelClicked(); });
        DoubleClickCell(page->grid, 3, 1);
        QCOMPARE(stack().count(), 1);
        QCOMPARE(dialogs.unexpectedQuestions, 0);
    }

    // "Очистить поля" is one step: the context menu's "Отменить" brings every
    // line back, Ctrl+Y clears them again, Ctrl+Z once more undoes it.
    void clearingIsUndoneFromTheMenuAndTheKeys() {
        ScriptedDialogs dialogs;
        auto wizard = openWizard(3);
        ServicesPage* page = wizard->servicesPage;
        dialogs.answerYes();
        page->clearButton->click();
        QCOMPARE(dialogs.texts(), QStringList({ClearPageQuestion()}));
        for (int row = 1; row <= 8; ++row) QCOMPARE(page->Cells->cell(3, row), QString());
        QCOMPARE(stack().count(), 1);

        QCOMPARE(MenuTexts(page->undoMenu), QStringList({U("Отменить"), U("Повторить")}));
        const QRect cell = page->grid->visualRect(page->grid->model()->index(4, 2));
        QTimer::singleShot(0, [&] {
            QVERIFY(page->undoMenu->isVisible());
            page->undoMenu->actions().at(0)->trigger();
            page->undoMenu->close();
        });
        emit page->grid->customContextMenuRequested(cell.center());
        QTRY_VERIFY(!page->undoMenu->isVisible());
        for (int row = 1; row <= 8; ++row) QCOMPARE(page->Cells->cell(3, row), U("СТАРОЕ"));

        QVERIFY(CtrlKey(page->grid, Qt::Key_Y));
        for (int row = 1; row <= 8; ++row) QCOMPARE(page->Cells->cell(1, row), QString());
        QCOMPARE(Stored(CurrentConfiguration().services[7].lines[2]), QString());
        QVERIFY(CtrlKey(page->clearButton, Qt::Key_Z));
        QCOMPARE(Stored(CurrentConfiguration().services[7].lines[2]), U("0СТАРОЕ"));
        QCOMPARE(page->Cells->cell(2, 8), U("СТАРОЕ"));
        // "Нет" to the question changes nothing and adds no step.
        dialogs.answerNo();
        page->clearButton->click();
        QCOMPARE(stack().index(), 0);
    }

    // A read from the device is no step: undoing the edit made before it
    // leaves the line the device gave, and takes back the other line only.
    void aReadBetweenIsNeverUndone() {
        ScriptedDialogs dialogs;
        device->setParameter(GroupService, 2, 1, DeviceLine("0С УСТРОЙСТВА"));
        auto wizard = openWizard(3);
        ServicesPage* page = wizard->servicesPage;
        TypeInLineEditor(U("правка"));
        DoubleClickCell(page->grid, 2, 1);
        TypeInLineEditor(U("вторая"));
        DoubleClickCell(page->grid, 3, 1);
        QCOMPARE(stack().count(), 2);
        page->grid->selectCell(2, 1);
        dialogs.answerYes();
        page->readButton->click();  // "Текущий": service 2 only
        QCOMPARE(dialogs.texts().last(), U("Прочитано удачно..."));
        QCOMPARE(page->Cells->cell(1, 2), U("С УСТРОЙСТВА"));
        QCOMPARE(stack().count(), 2);

        QVERIFY(CtrlKey(page->grid, Qt::Key_Z));
        QCOMPARE(page->Cells->cell(1, 3), U("СТАРОЕ"));
        QVERIFY(CtrlKey(page->grid, Qt::Key_Z));
        QCOMPARE(page->Cells->cell(1, 2), U("С УСТРОЙСТВА"));
        QCOMPARE(Stored(CurrentConfiguration().services[1].lines[0]), U("0С УСТРОЙСТВА"));
        QVERIFY(CtrlKey(page->grid, Qt::Key_Y));
        QVERIFY(CtrlKey(page->grid, Qt::Key_Y));
        QCOMPARE(page->Cells->cell(1, 2), U("С УСТРОЙСТВА"));
        QCOMPARE(page->Cells->cell(1, 3), U("ВТОРАЯ"));
    }

    // What was done in a wizard since closed is taken back in the next one.
    void undoOutlivesTheWizardWindow() {
        ScriptedDialogs dialogs;
        {
            auto wizard = openWizard(3);
            TypeInLineEditor(U("до закрытия"));
            DoubleClickCell(wizard->servicesPage->grid, 1, 3);
            wizard->servicesPage->exitButton->click();
            QVERIFY(!wizard->isVisible());
        }
        QCOMPARE(Stored(CurrentConfiguration().services[0].lines[2]), U("0ДО ЗАКРЫТИЯ"));
        auto wizard = openWizard(3);
        ServicesPage* page = wizard->servicesPage;
        QCOMPARE(page->Cells->cell(3, 1), U("ДО ЗАКРЫТИЯ"));
        QVERIFY(page->undoAction->isEnabled());
        QVERIFY(CtrlKey(page->grid, Qt::Key_Z));
        QCOMPARE(page->Cells->cell(3, 1), U("СТАРОЕ"));
        QCOMPARE(Stored(CurrentConfiguration().services[0].lines[2]), U("0СТАРОЕ"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    // The name's keys are one step that the field's own Ctrl+Z takes back
    // key by key; "Широкий" is a step of its own, taken back by the page's
    // Ctrl+Z wherever the focus is but in the field.
    void documentNameKeysAndWideBox() {
        ScriptedDialogs dialogs;
        auto wizard = openWizard(2);
        DocumentNamePage* page = wizard->documentNamePage;
        QCOMPARE(page->nameEdit->text(), U("СТАРОЕ"));
        wizard->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(wizard.get()));
        page->nameEdit->setFocus();
        page->nameEdit->end(false);
        TypeText(page->nameEdit, U(" чек"));
        QCOMPARE(Stored(CurrentConfiguration().documentName), U("0СТАРОЕ ЧЕК"));
        QCOMPARE(stack().count(), 1);
        QTest::keyClick(page->nameEdit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(page->nameEdit->text(), U("СТАРОЕ"));
        QCOMPARE(Stored(CurrentConfiguration().documentName), U("0СТАРОЕ"));
        QCOMPARE(stack().count(), 0);  // typed and taken back: nothing left to undo
        QTest::keyClick(page->nameEdit, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(page->nameEdit->text(), U("СТАРОЕ ЧЕК"));

        page->wideBox->click();
        QCOMPARE(Stored(CurrentConfiguration().documentName), U("1СТАРОЕ ЧЕК"));
        QCOMPARE(stack().count(), 2);
        QVERIFY(CtrlKey(page->wideBox, Qt::Key_Z));
        QVERIFY(!page->wideBox->isChecked());
        QCOMPARE(Stored(CurrentConfiguration().documentName), U("0СТАРОЕ ЧЕК"));
        QVERIFY(CtrlKey(page->wideBox, Qt::Key_Z));
        QCOMPARE(page->nameEdit->text(), U("СТАРОЕ"));
        QVERIFY(CtrlKey(page->wideBox, Qt::Key_Y));
        QVERIFY(CtrlKey(page->wideBox, Qt::Key_Y));
        QVERIFY(page->wideBox->isChecked());
        QCOMPARE(page->nameEdit->text(), U("СТАРОЕ ЧЕК"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    // A form's variant and kind on the constructor page: Ctrl+Z takes the
    // kind back, then the variant, the page still showing the form; Ctrl+Y
    // does both again.
    void formChoiceIsUndoneAndRedoneByKeys() {
        ScriptedDialogs dialogs;
        window->showFormConstructor();
        FormConstructorPage* page = window->constructorPage();
        QCOMPARE(FormConstructorLayout::Slot(3).variant, 0);
        page->FormButtons[2]->click();
        page->VariantButtons[2]->click();  // variant 3: discount, tax, code
        QCOMPARE(FormConstructorLayout::Slot(3).variant, 3);
        QVERIFY(page->DiscountControls->isVisibleTo(page));
        page->TypeButtons[1]->click();
        QCOMPARE(FormConstructorLayout::Slot(3).kind, 2);
        QCOMPARE(stack().count(), 2);
        QCOMPARE(page->undoAction->toolTip(), U("Изменить: форма 3"));
        QCOMPARE(MenuTexts(page->undoMenu), QStringList({U("Отменить"), U("Повторить")}));

        QVERIFY(CtrlKey(page, Qt::Key_Z));
        QCOMPARE(FormConstructorLayout::Slot(3).kind, 0);
        QCOMPARE(page->selectedForm(), 3);
        QCOMPARE(page->pressedVariant(), 3);
        QVERIFY(!page->TypeButtons[1]->isChecked());
        QVERIFY(CtrlKey(page, Qt::Key_Z));
        QCOMPARE(FormConstructorLayout::Slot(3).variant, 0);
        QCOMPARE(page->selectedForm(), 3);
        QCOMPARE(page->pressedVariant(), 0);
        QVERIFY(!page->DiscountControls->isVisibleTo(page));

        QVERIFY(CtrlKey(page, Qt::Key_Y));
        QVERIFY(CtrlKey(page, Qt::Key_Y));
        QCOMPARE(FormConstructorLayout::Slot(3).variant, 3);
        QCOMPARE(FormConstructorLayout::Slot(3).kind, 2);
        QCOMPARE(page->pressedVariant(), 3);
        QVERIFY(page->TypeButtons[1]->isChecked());
        QVERIFY(dialogs.shown.isEmpty());
        window->ShowMainPage(nullptr);
    }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
