// The "Помощник" as a user meets it: opening whole or for one page, the page
// flow and the exit rule, the start page's download, editing by double-click,
// the cliché choice, "Готово", and one page over a real serial line.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "app/MainWindow.h"
#include "config/ConfigurationSync.h"
#include "emulator/Requests.h"
#include "forms/ui/FormConstructorPage.h"
#include "shell/ColumnFit.h"
#include "shell/ui/GridPage.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/SimProcess.h"
#include "wizard/PageTransfer.h"
#include "wizard/WizardTestSupport.h"
#include "wizard/ui/ClichePage.h"
#include "wizard/ui/DocumentNamePage.h"
#include "wizard/ui/LineEditorDialog.h"
#include "wizard/ui/NumberEditorDialog.h"
#include "wizard/ui/OperatorsPage.h"
#include "wizard/ui/RequisitesPage.h"
#include "wizard/ui/ServicesPage.h"
#include "wizard/ui/WizardLastPage.h"
#include "wizard/ui/WizardStartPage.h"
#include "wizard/ui/WizardWindow.h"

namespace {

QString ExitQuestion() {
    return U("Вы действительно хотите выйти из \"Помощника\"?  ");
}

// A double click on a data cell, as the mouse gives it.
void DoubleClickCell(GridPage* grid, int row, int col) {
    const QRect cell = grid->visualRect(grid->model()->index(row - 1, col));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

}  // namespace

class TestWizard : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<LineEditorDialog> lineEditor;
    std::unique_ptr<NumberEditorDialog> numberEditor;
    DeviceEmulator* device = nullptr;

    std::unique_ptr<WizardWindow> openWizard(int startPage, bool singlePage) {
        auto wizard =
            std::make_unique<WizardWindow>(window.get(), startPage, singlePage, window.get());
        wizard->show();
        return wizard;
    }

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
        // As if the marked configuration came from a file: nothing of it is unsent.
        ProgramConfigurationSync().keepAll(CurrentConfiguration());
    }

    // From the main menu: the services page alone, no way to another page,
    // and "Выход" closes without a question.
    void servicesMenuOpensOnePage() {
        ScriptedDialogs dialogs;
        bool checked = false;
        WhenModal<WizardWindow>([&](WizardWindow* wizard) {
            QCOMPARE(wizard->windowTitle(), U("Конструктор..."));
            QCOMPARE(wizard->currentPage(), static_cast<QWidget*>(wizard->servicesPage));
            for (int i = 0; i < WizardWindow::PageCount; ++i)
                QCOMPARE(wizard->page(i)->isVisible(), i == 3);
            QVERIFY(wizard->servicesPage->nextButton->isHidden());
            QVERIFY(wizard->servicesPage->backButton->isHidden());
            QVERIFY(wizard->servicesPage->readButton->isVisible());
            QCOMPARE(wizard->servicesPage->Cells->cell(1, 1), U("СТАРОЕ"));
            checked = true;
            wizard->servicesPage->exitButton->click();
        });
        window->actServices->trigger();
        QVERIFY(checked);
        QVERIFY(dialogs.shown.isEmpty());
    }

    // The exit questions of the whole wizard; No keeps the page and its edits.
    void exitAsksUnlessOnePage() {
        ScriptedDialogs dialogs;
        auto wizard = openWizard(0, false);
        wizard->ShowPage(wizard->servicesPage);
        dialogs.answerNo(2);
        wizard->servicesPage->exitButton->click();
        wizard->requisitesPage->exitButton->click();
        QCOMPARE(dialogs.texts(), QStringList({U("Вы действительно хотите выйти из конструктора?"),
                                               ExitQuestion()}));
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        dialogs.answerNo();
        QTest::keyClick(wizard->servicesPage, Qt::Key_Escape);  // Esc is the page's "Выход"
        QCOMPARE(dialogs.shown.size(), 3);
        QVERIFY(wizard->isVisible());
        QCOMPARE(wizard->currentPage(), static_cast<QWidget*>(wizard->servicesPage));
        dialogs.clear();
        // Opened for one page, the start and last pages would still ask.
        auto single = openWizard(4, true);
        dialogs.answerNo();
        single->lastPage->exitButton->click();
        QCOMPARE(dialogs.texts(), QStringList({ExitQuestion()}));
        single->requisitesPage->exitButton->click();
        QVERIFY(!single->isVisible());
        dialogs.answerYes();
        wizard->welcomePage->exitButton->click();
        QVERIFY(!wizard->isVisible());
        // A start page out of range shows no page; Esc still gets out.
        auto empty = openWizard(7, false);
        QCOMPARE(empty->currentPage(), nullptr);
        QTest::keyClick(empty.get(), Qt::Key_Escape);
        QVERIFY(!empty->isVisible());
    }

    // "Далее >>>" waits for a download that ran to its end; a stopped one
    // leaves it as it was.
    void startPageDownloadUnlocksNext() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        auto wizard = openWizard(0, false);
        WizardStartPage* start = wizard->welcomePage;
        QCOMPARE(wizard->currentPage(), static_cast<QWidget*>(start));
        QVERIFY(!start->nextButton->isEnabled());
        QVERIFY(!start->backButton->isEnabled());
        start->backButton->click();
        QCOMPARE(wizard->currentPage(), static_cast<QWidget*>(start));

        SwitchOff(*device);
        dialogs.answerNo();
        start->readButton->click();
        QCOMPARE(dialogs.shown.size(), 1 + 1);  // the question, the summary
        QVERIFY(IsErrorQuestion(dialogs.shown[0]));
        QVERIFY(dialogs.shown[1].summary);
        QVERIFY(!start->nextButton->isEnabled());
        // Refilled after the stop, with what the failed read left: the program's own.
        QCOMPARE(wizard->operatorsPage->Cells->cell(1, 1), U("СТАРОЕ"));

        device->clearFaults();
        device->setParameter(0, 2, 2, DeviceLine("0ПЕТРОВ"));
        device->setParameter(4, 1, 1, DeviceLine("0ПЕРВОЕ"));
        device->setParameter(4, 2, 1, DeviceLine("0ВТОРОЕ"));
        dialogs.clear();
        start->readButton->click();
        QCOMPARE(dialogs.texts(), QStringList({U("Прочитано удачно...")}));
        QVERIFY(start->nextButton->isEnabled());
        QCOMPARE(wizard->operatorsPage->Cells->cell(2, 2), U("ПЕТРОВ"));
        QCOMPARE(wizard->clichePage->clicheCombo->currentIndex(), 1);
        QCOMPARE(wizard->clichePage->Cells->cell(1, 1), U("ВТОРОЕ"));

        start->nextButton->click();
        QCOMPARE(wizard->currentPage(), static_cast<QWidget*>(wizard->operatorsPage));
        QVERIFY(!start->isVisible());
        wizard->operatorsPage->nextButton->click();
        wizard->documentNamePage->backButton->click();
        QCOMPARE(wizard->currentPage(), static_cast<QWidget*>(wizard->operatorsPage));
    }

    // The page opens on cliché 2; choosing cliché 1 changes nothing until it
    // is read, then the grid shows it.
    void clicheChoiceActsOnTheSelectedCliche() {
        ScriptedDialogs dialogs;
        SetStored(CurrentConfiguration().cliches[0].lines[0], "0ОДИН");
        SetStored(CurrentConfiguration().cliches[1].lines[0], "0ДВА");
        ProgramConfigurationSync().keepAll(CurrentConfiguration());
        device->setParameter(4, 1, 1, DeviceLine("0С УСТРОЙСТВА"));
        auto wizard = openWizard(5, true);
        ClichePage* page = wizard->clichePage;
        QCOMPARE(page->clicheCombo->currentText(), U("Клише 2"));
        QCOMPARE(page->Cells->cell(1, 1), U("ДВА"));
        page->clicheCombo->setCurrentIndex(0);
        QCOMPARE(page->Cells->cell(1, 1), U("ДВА"));
        page->readButton->click();
        QCOMPARE(dialogs.texts(), QStringList({U("Прочитано удачно...")}));
        for (int line = 1; line <= 8; ++line)
            QCOMPARE(Requests(*device).value(line - 1), ParameterRequest(ModeRead, 4, 1, line));
        QCOMPARE(page->Cells->cell(1, 1), U("С УСТРОЙСТВА"));
        QCOMPARE(page->clicheCombo->currentIndex(), 0);
        QCOMPARE(Stored(CurrentConfiguration().cliches[1].lines[0]), U("0ДВА"));
    }

    // A 20-character line typed with "Широкий": the cell shows all 20, the
    // store keeps 12, and 13 data bytes go to the device.
    void wideLineThroughTheEditor() {
        ScriptedDialogs dialogs;
        auto wizard = openWizard(0, false);
        wizard->ShowPage(wizard->clichePage);
        ClichePage* page = wizard->clichePage;
        WhenModal<LineEditorDialog>([](LineEditorDialog* editor) {
            QCOMPARE(editor->field->text(), U("СТАРОЕ"));
            editor->field->clear();
            TypeText(editor->field, U("двадцать символов!!!"));
            editor->wideBox->setChecked(true);
            // Twenty characters do not fit a wide line: refused, not cut.
            editor->applyButton->click();
            QVERIFY(editor->isVisible());
            for (int i = 0; i < 8; ++i) QTest::keyClick(editor->field, Qt::Key_Backspace);
            editor->applyButton->click();
        });
        DoubleClickCell(page->grid, 3, 1);
        QCOMPARE(page->CurrentRow(), 3);
        QCOMPARE(page->Cells->cell(1, 3), U("ДВАДЦАТЬ СИМ"));
        QCOMPARE(Stored(CurrentConfiguration().cliches[1].lines[2]), U("1ДВАДЦАТЬ СИМ"));
        QCOMPARE(Stored(CurrentConfiguration().cliches[0].lines[2]), U("0СТАРОЕ"));
        page->writeButton->click();
        QCOMPARE(dialogs.texts(), QStringList({U("Строка широким шрифтом длиннее 12 символов!"),
                                               U("Записано удачно...")}));
        QCOMPARE(Requests(*device).value(2),
                 ParameterRequest(ModeWrite, 4, 2, 3, DeviceLine("1ДВАДЦАТЬ СИМ")));
        QCOMPARE(page->Cells->cell(1, 3), U("ДВАДЦАТЬ СИМ"));  // refilled from the store
    }

    // Operators: the editor by column, "Отмена" with "Широкий" still cuts the
    // store, and a zero password never reaches the device.
    // The wizard opens as large as the main window's page area and its lists
    // use the room: the grid takes the page's width, each column at least as
    // wide as its text.
    void pagesGrowWithTheWindow() {
        window->resize(window->minimumSize() + QSize(300, 200));
        auto wizard = openWizard(1, true);
        // As wide as the page area, where the screen has the room.
        const int room = std::min(window->centralWidget()->width(),
                                  window->screen()->availableGeometry().width());
        QVERIFY2(wizard->width() >= room, qPrintable(QStringLiteral("%1 for %2 (window %3)")
                                                         .arg(wizard->width())
                                                         .arg(room)
                                                         .arg(window->width())));
        OperatorsPage* page = wizard->operatorsPage;
        QCOMPARE(page->width(), wizard->width() - 5);
        QVERIFY(page->grid->width() >= page->width() - 2 * WizardPage::Margin);
        QCOMPARE(page->exitButton->geometry().bottom(), page->height() - WizardPage::Margin - 1);
        page->Cells->setCell(1, 1, U("СТАРШИЙ КАССИР-ОПЕРАТОР"));
        const int needed =
            page->grid->fontMetrics().horizontalAdvance(U("СТАРШИЙ КАССИР-ОПЕРАТОР"));
        QVERIFY2(
            page->grid->columnWidth(1) > needed,
            qPrintable(QStringLiteral("%1 for %2").arg(page->grid->columnWidth(1)).arg(needed)));
        // Back at the smallest size, every page is laid out as it always was.
        wizard->resize(wizard->minimumSize());
        QCOMPARE(page->size(), QSize(WizardPage::PageWidth, WizardPage::PageHeight));
        window->resize(window->minimumSize());

        // The widths themselves: text first, then the spare room shared.
        QCOMPARE(FitColumnWidths({20, 100, 50}, {10, 150, 0}, 250), QVector<int>({20, 172, 58}));
        QCOMPARE(FitColumnWidths({20, 100, 50}, {10, 150, 0}, 100), QVector<int>({20, 150, 50}));
        QCOMPARE(FitColumnWidths({20, 100, 100}, {}, 320), QVector<int>({20, 150, 150}));
        QCOMPARE(FitColumnWidths({}, {}, 100), QVector<int>());
    }

    void operatorsEditing() {
        ScriptedDialogs dialogs;
        auto wizard = openWizard(1, true);
        OperatorsPage* page = wizard->operatorsPage;
        OperatorRecord& op = CurrentConfiguration().operators[1];
        SetStored(op.name, "0СИДОРОВ ПАВЕЛ ПЕТРОВИЧ");
        page->Fill();

        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = true;
                modal->close();
            }
        });
        DoubleClickCell(page->grid, 2, 4);  // "Дост."
        QCoreApplication::processEvents();
        QVERIFY(!opened);

        WhenModal<LineEditorDialog>([](LineEditorDialog* editor) {
            QVERIFY(!editor->wideBox->isChecked());
            editor->wideBox->setChecked(true);
            editor->cancelButton->click();
        });
        DoubleClickCell(page->grid, 2, 2);
        QCOMPARE(page->Cells->cell(2, 2), U("СИДОРОВ ПАВЕЛ ПЕТРОВИЧ"));
        QCOMPARE(Stored(op.name), U("1СИДОРОВ ПАВЕ"));

        WhenModal<NumberEditorDialog>([](NumberEditorDialog* editor) {
            editor->field->clear();
            TypeText(editor->field, U("0000"));
            QTest::keyClick(editor->field, Qt::Key_Return);
        });
        DoubleClickCell(page->grid, 2, 3);
        QCOMPARE(page->Cells->cell(3, 2), U("0000"));
        QCOMPARE(QByteArray(op.password), QByteArray("0000"));
        QVERIFY(page->currentOnlyBox->isChecked());
        page->writeButton->click();
        QCOMPARE(dialogs.texts(), QStringList({U("Пароль не может быть нулевым...")}));
        QVERIFY(device->log().isEmpty());

        // "Очистить поля" leaves a row the device does not let change.
        CurrentConfiguration().operators[4].access = 0;
        page->Fill();
        dialogs.answerYes();
        page->clearButton->click();
        QCOMPARE(dialogs.texts().last(), ClearPageQuestion());
        QCOMPARE(page->Cells->cell(1, 5), U("СТАРОЕ"));
        QCOMPARE(page->Cells->cell(1, 2), QString());
        QCOMPARE(page->Cells->cell(4, 5), U("нет"));
    }

    // The document name follows its field and "Широкий" at once; a name never
    // set stays all zero when the page shows it, so it is written as zeros.
    void documentNameField() {
        ScriptedDialogs dialogs;
        DeviceText& name = CurrentConfiguration().documentName;
        std::memset(name.bytes, 0, sizeof name.bytes);
        {
            auto unset = openWizard(2, true);
            QCOMPARE(unset->documentNamePage->nameEdit->text(), QString());
            QVERIFY(!unset->documentNamePage->wideBox->isChecked());
            QCOMPARE(QByteArray(name.bytes, sizeof name.bytes), QByteArray(26, '\0'));
        }
        SetStored(name, "0СТАРОЕ");
        auto wizard = openWizard(2, true);
        DocumentNamePage* page = wizard->documentNamePage;
        QCOMPARE(page->nameEdit->text(), U("СТАРОЕ"));
        page->nameEdit->clear();
        TypeText(page->nameEdit, U("квитанция об оплате"));
        QCOMPARE(page->nameEdit->text(), U("КВИТАНЦИЯ ОБ ОПЛАТЕ"));
        // A wide line takes 12 characters: the box is refused, nothing is cut.
        page->wideBox->click();
        QCOMPARE(dialogs.texts(), QStringList{U("Строка широким шрифтом длиннее 12 символов!")});
        QVERIFY(!page->wideBox->isChecked());
        QCOMPARE(Stored(CurrentConfiguration().documentName), U("0КВИТАНЦИЯ ОБ ОПЛАТЕ"));

        // A short name goes wide, and the field then takes no more than 12.
        page->nameEdit->clear();
        TypeText(page->nameEdit, U("чек"));
        page->wideBox->click();
        QVERIFY(page->wideBox->isChecked());
        TypeText(page->nameEdit, U(" об оплате услуг"));
        QCOMPARE(page->nameEdit->text(), U("ЧЕК ОБ ОПЛАТ"));
        QCOMPARE(Stored(CurrentConfiguration().documentName), U("1ЧЕК ОБ ОПЛАТ"));
        page->wideBox->click();
        TypeText(page->nameEdit, U("А"));
        QCOMPARE(Stored(CurrentConfiguration().documentName), U("0ЧЕК ОБ ОПЛАТА"));
        QCOMPARE(dialogs.texts().size(), 1);
    }

    // The row "Текущий" acts on is marked from the start on every list page.
    void listPagesMarkTheCurrentRowAtStart() {
        auto wizard = openWizard(0, false);
        for (ListPage* page : std::initializer_list<ListPage*>{
                 wizard->operatorsPage, wizard->servicesPage, wizard->requisitesPage}) {
            QCOMPARE(page->CurrentRow(), 1);
            QCOMPARE(page->grid->currentIndex(), page->grid->model()->index(0, 1));
            QVERIFY(page->grid->selectionModel()->isRowSelected(0, {}));
        }
    }

    // A name loaded from a file in small letters stays as it is when the page
    // shows it and when the line editor is cancelled; only what is typed
    // becomes capitals.
    void storedTextIsNeverUpperCased() {
        ScriptedDialogs dialogs;
        DeviceConfiguration& config = CurrentConfiguration();
        SetStored(config.documentName, "1kwit");
        SetStored(config.operators[2].name, "0ivanov");
        const QByteArray operatorBefore(config.operators[2].name.bytes, sizeof(DeviceText));
        {
            auto wizard = openWizard(2, true);
            QCOMPARE(wizard->documentNamePage->nameEdit->text(), U("kwit"));
            QCOMPARE(Stored(config.documentName), U("1kwit"));
            wizard->documentNamePage->nameEdit->end(false);
            TypeText(wizard->documentNamePage->nameEdit, U("ы"));
            QCOMPARE(Stored(config.documentName), U("1kwitЫ"));
        }
        auto wizard = openWizard(1, true);
        OperatorsPage* page = wizard->operatorsPage;
        WhenModal<LineEditorDialog>([](LineEditorDialog* editor) {
            QCOMPARE(editor->field->text(), U("ivanov"));
            editor->cancelButton->click();
        });
        DoubleClickCell(page->grid, 3, 2);
        QCOMPARE(page->Cells->cell(2, 3), U("ivanov"));
        QCOMPARE(QByteArray(config.operators[2].name.bytes, sizeof(DeviceText)), operatorBefore);
        QVERIFY(dialogs.shown.isEmpty());
    }

    // "Готово" with the device silent: the state question, then Yes tries
    // form 1 and No reads nothing; either way the constructor page follows.
    void doneWithSilentDevice_data() {
        QTest::addColumn<bool>("goOn");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }
    void doneWithSilentDevice() {
        QFETCH(bool, goOn);
        ScriptedDialogs dialogs;
        auto wizard = openWizard(0, false);
        wizard->ShowPage(wizard->lastPage);
        window->ShowMainPage(nullptr);
        SwitchOff(*device);
        dialogs.answer(goOn);
        wizard->lastPage->nextButton->click();
        // Yes: form 1 does not answer either, and the table says so.
        QCOMPARE(dialogs.shown.size(), goOn ? 2 : 1);
        if (goOn)
            QCOMPARE(dialogs.shown[1].text,
                     U("Прочитано: 0. Не прочитаны: форма 1. Остальные не читались."));
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text,
                 U("Не удалось выполнить запрос состояния!\nТекущая группа неизвестна. Желаете "
                   "продолжить?"));
        // Going on, the markers after the silence go unanswered: the form is not asked for.
        QList<QByteArray> expected = {StateRequest()};
        if (goOn)
            for (int i = 0; i < MarkerAttempts; ++i) expected << StateRequest();
        QCOMPARE(Requests(*device), expected);
        QCOMPARE(window->currentPage(), static_cast<QWidget*>(window->constructorPage()));
        QVERIFY(!wizard->isVisible());
    }

    // The last page says what this opening put into the device: a page written
    // whole counts until its data change; "Записать незаписанные" asks, "Нет"
    // by default, and writes the rest in one upload.
    void lastPageSaysWhatWasWritten() {
        ScriptedDialogs dialogs;
        auto wizard = openWizard(0, false);
        WizardLastPage* last = wizard->lastPage;
        const QString offer =
            U("\nНезаписанные данные можно записать в АС сейчас кнопкой «Записать "
              "незаписанные».");
        wizard->ShowPage(last);
        QCOMPARE(last->summary->text(),
                 U("Не записаны в АС: Данные операторов, Название ДСО, Услуги, Дополнительные "
                   "реквизиты, Клише 1, Клише 2.") +
                     offer);
        QVERIFY(last->writeMissingButton->isVisible());
        QVERIFY(!last->TextLines[0]->isVisible());

        wizard->ShowPage(wizard->servicesPage);
        wizard->servicesPage->currentOnlyBox->setChecked(false);
        wizard->servicesPage->writeButton->click();
        QCOMPARE(dialogs.texts(), QStringList{U("Записано удачно...")});
        wizard->ShowPage(last);
        const QString servicesWritten =
            U("Записаны в АС: Услуги.\nНе записаны в АС: Данные операторов, Название ДСО, "
              "Дополнительные реквизиты, Клише 1, Клише 2.") +
            offer;
        QCOMPARE(last->summary->text(), servicesWritten);
        // Changed after the write, the services are the device's no more.
        char& letter = CurrentConfiguration().services[0].lines[0].bytes[1];
        letter = char(letter + 1);
        last->Fill();
        QVERIFY(last->summary->text().startsWith(
            U("Не записаны в АС: Данные операторов, Название ДСО, Услуги")));
        letter = char(letter - 1);
        last->Fill();
        QCOMPARE(last->summary->text(), servicesWritten);

        dialogs.clear();
        const int before = int(device->log().size());
        dialogs.answerNo();
        last->writeMissingButton->click();
        QCOMPARE(dialogs.texts(),
                 QStringList{U("Записать в АС: Данные операторов, Название ДСО, Дополнительные "
                               "реквизиты, Клише 1, Клише 2 (элементов: 65)?\nЗначения в АС "
                               "будут заменены.")});
        QVERIFY(dialogs.shown[0].defaultNo);
        QCOMPARE(int(device->log().size()), before);

        dialogs.clear();
        dialogs.answerYes();
        last->writeMissingButton->click();
        QCOMPARE(dialogs.texts().last(), U("Записано удачно..."));
        QVERIFY(int(device->log().size()) > before);
        QVERIFY(!last->writeMissingButton->isVisible());
        QVERIFY(!last->summary->isVisible());
        QVERIFY(last->TextLines[0]->isVisible());
    }

    // The document name over a pseudo-terminal and the real serial code.
    void documentNameOverSerialLine() {
        SimProcess sim;
        QVERIFY2(sim.isReady(), qPrintable(sim.errorString()));
        CurrentPortSettings().PortName = sim.portPath();
        ScriptedDialogs dialogs;
        auto wizard = openWizard(2, true);
        DocumentNamePage* page = wizard->documentNamePage;
        page->nameEdit->setText(U("ЧЕК №1"));
        page->wideBox->setChecked(true);
        page->writeButton->click();
        // The name typed since is no longer what the device holds: the read asks.
        page->nameEdit->setText(U("ДРУГОЕ"));
        page->wideBox->setChecked(false);
        dialogs.answerYes();
        page->readButton->click();
        QCOMPARE(dialogs.texts(),
                 QStringList({U("Записано удачно..."),
                              U("Изменения не записаны в АС: название ДСО.\nПрочитать данные из "
                                "АС поверх них?"),
                              U("Прочитано удачно...")}));
        QCOMPARE(page->nameEdit->text(), U("ЧЕК  1"));  // the device has no "№"
        QVERIFY(page->wideBox->isChecked());
        QCOMPARE(Stored(CurrentConfiguration().documentName), U("1ЧЕК  1"));
    }
};

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
