// The goods page and the record editor as a user meets them: the grid, the
// selection, the editor opened by a double click, Esc, "Выход", the file
// dialogs and a transfer started from the page.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include "app/MainWindow.h"
#include "device/DeviceCharset.h"
#include "device/DeviceLock.h"
#include "device/PortNames.h"
#include "device/Protocol.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"
#include "goods/GoodsCsv.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "goods/ui/GoodsPage.h"
#include "goods/ui/GoodsRecordEditor.h"
#include "goods/ui/GoodsSearchBar.h"
#include "shell/ui/GridPage.h"
#include "support/GoodsRows.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

// Runs `drive` on the editor once it is shown modally; the editor is closed
// afterwards if `drive` left it open.
void WhenEditorOpen(const std::function<void(GoodsRecordEditor*)>& drive) {
    QTimer::singleShot(0, [drive] {
        auto* editor = qobject_cast<GoodsRecordEditor*>(QApplication::activeModalWidget());
        QVERIFY(editor);
        drive(editor);
        // A failed check inside `drive` returns early; never leave the test hanging.
        if (editor->isVisible()) editor->cancelClicked();
    });
}

// Types text key by key, Cyrillic included, through the widget's filters.
void Type(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

QPoint CellCentre(GridPage* grid, int row, int col) {
    return grid->visualRect(grid->model()->index(row - 1, col)).center();
}

GoodsRecord SomeRow() {
    GoodsRecord row;
    row.code = "2";
    row.name = W("ЧАЙ");
    row.font = WideFontText();
    row.barcode = "17";
    row.section = "3";
    row.price = "25.50";
    return row;
}

}  // namespace

class TestPage : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<GoodsRecordEditor> editor;
    GoodsPage* page = nullptr;
    GridPage* grid = nullptr;

private slots:
    void init() {
        MainWindow::setSplashEnabled(false);
        window = std::make_unique<MainWindow>();
        editor = std::make_unique<GoodsRecordEditor>(window.get());
        SharedGoodsEditor = editor.get();
        QSignalSpy started(window.get(), &MainWindow::started);
        window->show();
        QVERIFY(started.wait(5000));
        page = window->goodsPage();
        grid = page->grid;
        window->ShowMainPage(page);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        SharedGoodsEditor = nullptr;
        editor.reset();
        window.reset();
    }

    void gridLayout() {
        QCOMPARE(page->pos(), QPoint(5, 5));
        QCOMPARE(grid->model()->rowCount() + 1, 1002);
        QCOMPARE(grid->model()->columnCount(), 7);
        const QStringList headers = {U("№"),           U("Код товара"), U("Наименование"),
                                     U("Тип. шрифта"), U("Штрих-код"),  U("Секция"),
                                     U("Цена")};
        const QList<int> widths = {20, 75, 250, 80, 100, 55, 85};
        for (int col = 0; col < 7; ++col) {
            QCOMPARE(grid->model()->headerData(col, Qt::Horizontal).toString(), headers[col]);
            QCOMPARE(grid->columnWidth(col), widths[col]);
        }
        QCOMPARE(grid->verticalHeader()->defaultSectionSize(), 18);
        QCOMPARE(grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!page->currentOnlyBox->isChecked());
        QCOMPARE(page->CurrentRow(), 1);
        QCOMPARE(page->CurrentCol(), 1);
        // The row "Текущий" acts on is the one marked, from the start.
        QCOMPARE(grid->currentIndex(), grid->model()->index(0, 1));
        QCOMPARE(grid->selectionModel()->selectedRows(1),
                 QModelIndexList{grid->model()->index(0, 1)});
        QVERIFY(page->table().record(1).isBlank());
        // The grid is fully visible on the page: every column fits without scrolling.
        QVERIFY(grid->horizontalScrollBar()->maximum() == 0);
        for (QPushButton* b : page->findChildren<QPushButton*>())
            QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->text()));
    }

    void clickSelectsWholeRowAndRemembersCell() {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 5, 4));
        QCOMPARE(page->CurrentRow(), 5);
        QCOMPARE(page->CurrentCol(), 4);
        QVERIFY(grid->selectionModel()->isRowSelected(4, {}));
        // The fixed column cannot be selected.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 2, 0));
        QCOMPARE(page->CurrentRow(), 5);
        QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(page->CurrentRow(), 6);
        QTest::keyClick(grid, Qt::Key_Home);
        QCOMPARE(page->CurrentCol(), 1);
        // No editing in place: typing changes no cell, it starts a search.
        QTest::keyClicks(grid, U("abc"));
        QVERIFY(page->table().record(6).isBlank());
        QCOMPARE(page->searchBar->field->text(), U("abc"));
    }

    // Esc empties nothing; "Очистить поля" asks first, "Нет" by default, and
    // Ctrl+Z takes it back, Ctrl+Y does it again.
    void escapeKeepsTheTableAndClearingAsksFirst() {
        ScriptedDialogs dialogs;
        const QList<int> rows = {1, 500, 1001};
        for (int row : rows) page->table().setRecord(row, SomeRow());
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Escape);
        QTest::keyClick(page, Qt::Key_Escape);
        for (int row : rows) QCOMPARE(page->table().record(row), SomeRow());
        QVERIFY(dialogs.shown.isEmpty());

        dialogs.answerNo();
        QTest::mouseClick(page->clearButton, Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        QVERIFY(dialogs.shown[0].defaultNo);
        QCOMPARE(dialogs.shown[0].text, U("Очистить все поля таблицы товаров?"));
        for (int row : rows) QCOMPARE(page->table().record(row), SomeRow());

        dialogs.answerYes();
        QTest::mouseClick(page->clearButton, Qt::LeftButton);
        for (int row : rows) QVERIFY(page->table().record(row).isBlank());
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_Z, Qt::ControlModifier);
        for (int row : rows) QCOMPARE(page->table().record(row), SomeRow());
        QCOMPARE(page->changedLabel->text(), U("Изменено: 3"));
        QTest::keyClick(grid, Qt::Key_Y, Qt::ControlModifier);
        for (int row : rows) QVERIFY(page->table().record(row).isBlank());
        QCOMPARE(dialogs.unexpectedQuestions, 0);
    }

    // The grid's keys: Enter and F2 open the editor on the current row,
    // Delete clears that record, and each of them is undone in turn.
    void gridKeysEditClearAndUndo() {
        ScriptedDialogs dialogs;
        page->table().setRecord(5, SomeRow());
        grid->selectCell(5, ColName);
        grid->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_F2}) {
            bool opened = false;
            WhenEditorOpen([&](GoodsRecordEditor* e) {
                opened = true;
                QCOMPARE(e->nameEdit->text(), U("ЧАЙ"));
                e->nameEdit->setText(key == Qt::Key_F2 ? U("КОФЕ") : U("СОК"));
                QTest::mouseClick(e->applyButton, Qt::LeftButton);
                if (e->isVisible()) e->cancelClicked();
            });
            QTest::keyClick(grid, key);
            QVERIFY(opened);
            if (key == Qt::Key_Return) {
                QCOMPARE(page->table().record(5).name, W("СОК"));
                page->undoStack->undo();
                QCOMPARE(page->table().record(5), SomeRow());
            }
        }
        QCOMPARE(page->table().record(5).name, W("КОФЕ"));

        QTest::keyClick(grid, Qt::Key_Delete);
        QVERIFY(page->table().record(5).isBlank());
        QVERIFY(page->undoAction->isEnabled());
        page->undoAction->trigger();
        QCOMPARE(page->table().record(5).name, W("КОФЕ"));
        page->undoAction->trigger();
        QCOMPARE(page->table().record(5), SomeRow());
        page->redoAction->trigger();
        QCOMPARE(page->table().record(5).name, W("КОФЕ"));
        // Delete on a blank row adds nothing to take back.
        grid->selectCell(9, ColName);
        const int steps = page->undoStack->count();
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(page->undoStack->count(), steps);
        QCOMPARE(page->table().record(5).name, W("КОФЕ"));
        QVERIFY(dialogs.shown.isEmpty());
    }

    // A row's context menu: "Изменить", "Очистить", "Отменить", and opened on
    // a row it acts on that row.
    void rowContextMenu() {
        QStringList texts;
        for (QAction* action : page->rowMenu->actions())
            if (!action->isSeparator()) texts << action->text();
        QCOMPARE(texts, L({"Изменить", "Очистить", "Отменить"}));
        QVERIFY(!page->undoAction->isEnabled());

        page->table().setRecord(8, SomeRow());
        QTimer::singleShot(0, [this] {
            QVERIFY(page->rowMenu->isVisible());
            page->rowMenu->close();
        });
        emit grid->customContextMenuRequested(CellCentre(grid, 8, ColName));
        QTRY_VERIFY(!page->rowMenu->isVisible());
        QCOMPARE(page->CurrentRow(), 8);
        page->clearRecordAction->trigger();
        QVERIFY(page->table().record(8).isBlank());
        QVERIFY(page->undoAction->isEnabled());
        page->undoAction->trigger();
        QCOMPARE(page->table().record(8), SomeRow());
    }

    // Reading from the device or loading a file over records the device does
    // not hold asks first and names them; "Нет" leaves them, and what a load
    // replaced is taken back with "Отменить". Closing the program asks too.
    void unsentRecordsAreNotReplacedWithoutAQuestion() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        UseEmulator();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("goods.base"));
        GoodsRecord saved = SomeRow();
        saved.name = W("КОФЕ");
        page->table().setRecord(9, saved);
        page->SaveToFile(path);
        dialogs.clear();
        for (int row : {3, 4, 5, 6, 7, 8, 9}) page->table().setRecord(row, SomeRow());
        const QString question = U("Изменения не записаны в АС: товары 2, 3, 4, 5, 6 и ещё 2.\n");

        page->currentOnlyBox->setChecked(false);
        dialogs.answerNo();
        QTest::mouseClick(page->readButton, Qt::LeftButton);
        QCOMPARE(dialogs.texts(), QStringList{question + U("Прочитать данные из АС поверх них?")});
        QVERIFY(dialogs.shown[0].defaultNo);
        QVERIFY(InProcessEmulator().log().isEmpty());

        dialogs.clear();
        dialogs.answerNo();
        page->LoadFromFile(path);
        page->ImportFromCsv(path);
        QCOMPARE(dialogs.texts(), (QStringList{question + U("Загрузить файл поверх них?"),
                                               question + U("Загрузить файл поверх них?")}));
        QCOMPARE(page->table().record(9), SomeRow());

        // "Текущий" on a row without changes reads it without a question.
        dialogs.clear();
        page->currentOnlyBox->setChecked(true);
        grid->selectCell(20, ColName);
        QTest::mouseClick(page->readButton, Qt::LeftButton);
        QCOMPARE(InProcessEmulator().log().size(), 1);
        QCOMPARE(dialogs.texts(), QStringList{U("Прочитано удачно...")});
        page->currentOnlyBox->setChecked(false);

        dialogs.clear();
        QVERIFY(!window->close());
        QCOMPARE(dialogs.texts(), QStringList{question + U("Закрыть программу без записи?")});
        QVERIFY(window->isVisible());

        dialogs.clear();
        dialogs.answerYes();
        page->LoadFromFile(path);
        QCOMPARE(page->table().record(9), saved);
        page->undoAction->trigger();
        QCOMPARE(page->table().record(9), SomeRow());
        QCOMPARE(dialogs.unexpectedQuestions, 0);
    }

    void exitAsksAndKeepsTheTable() {
        ScriptedDialogs dialogs;
        page->table().setRecord(3, SomeRow());
        dialogs.answerNo();
        QTest::mouseClick(page->exitButton, Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text, U("Вы действительно хотите выйти из загрузчика базы?"));
        QCOMPARE(window->currentPage(), page);
        QVERIFY(page->isVisible());

        dialogs.answerYes();
        QTest::mouseClick(page->exitButton, Qt::LeftButton);
        QCOMPARE(window->currentPage(), nullptr);
        QVERIFY(!page->isVisible());
        window->actGoods->setEnabled(true);
        window->actGoods->trigger();
        QVERIFY(page->isVisible());
        QCOMPARE(page->table().record(3), SomeRow());
    }

    // A blank row: the editor opens with barcode "0", stops at the empty
    // section, and after a successful "Применить" the row gets its code.
    void editorWritesRowOnlyAfterApply() {
        ScriptedDialogs dialogs;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 4, 2));
        bool opened = false;
        WhenEditorOpen([&](GoodsRecordEditor* e) {
            opened = true;
            QCOMPARE(e->windowTitle(), U("Редактирование параметров..."));
            QCOMPARE(e->nameEdit->text(), QString());
            QCOMPARE(e->barcodeEdit->text(), U("0"));
            QCOMPARE(e->sectionEdit->text(), QString());
            QCOMPARE(e->priceEdit->text(), QString());
            QVERIFY(!e->wideBox->isChecked());
            QTest::mouseClick(e->applyButton, Qt::LeftButton);
            QCOMPARE(dialogs.texts(), QStringList{U("Незаполнено поле \"Секция\"!")});
            QCOMPARE(dialogs.shown[0].caption, CaptionError());
            QCOMPARE(dialogs.shown[0].icon, DialogIcon::None);
            QVERIFY(!dialogs.shown[0].question);
            QVERIFY(e->isVisible());
            e->nameEdit->setFocus();
            // The device has no "№": it is not put in, and the user is told.
            Type(e->nameEdit, U("чай №1"));
            QCOMPARE(dialogs.texts().last(), U("АС не печатает символ «№»; он не введен."));
            Type(e->sectionEdit, U("3a"));
            Type(e->priceEdit, U("12,5x"));
            QCOMPARE(e->nameEdit->text(), U("ЧАЙ 1"));
            QCOMPARE(e->sectionEdit->text(), U("3"));
            QCOMPARE(e->priceEdit->text(), U("12.5"));
            e->priceEdit->setText(U("1.2.3"));
            QTest::mouseClick(e->applyButton, Qt::LeftButton);
            QCOMPARE(dialogs.texts().last(),
                     U("Неккоректное значение цены!\nВозможно неккоректный разделитель!"));
            QCOMPARE(e->focusWidget(), e->priceEdit);
            QVERIFY(page->table().record(4).isBlank());  // nothing reached the table yet
            // A price that passes is normalised even when the section then fails.
            e->sectionEdit->setText(U("300"));
            e->priceEdit->setText(U("12.5"));
            QTest::mouseClick(e->applyButton, Qt::LeftButton);
            QCOMPARE(dialogs.texts().last(), U("Неккоректное значение секции!"));
            QCOMPARE(e->focusWidget(), e->sectionEdit);
            QCOMPARE(e->priceEdit->text(), U("12.50"));
            QVERIFY(page->table().record(4).isBlank());
            e->sectionEdit->setText(U("3"));
            e->wideBox->setChecked(true);
            QTest::mouseClick(e->applyButton, Qt::LeftButton);
        });
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 4, 2));
        QVERIFY(opened);
        GoodsRecord expected;
        expected.code = "3";
        expected.name = W("ЧАЙ 1");
        expected.font = WideFontText();
        expected.barcode = "0";
        expected.section = "3";
        expected.price = "12.50";
        QCOMPARE(page->table().record(4), expected);

        // Opened again and left with "Отмена": the row stays.
        WhenEditorOpen([](GoodsRecordEditor* e) {
            QCOMPARE(e->priceEdit->text(), U("12.50"));
            QVERIFY(e->wideBox->isChecked());
            e->nameEdit->setText(U("ДРУГОЕ"));
            QTest::mouseClick(e->cancelButton, Qt::LeftButton);
        });
        page->gridDoubleClicked();
        QCOMPARE(page->table().record(4), expected);
        // ... and left with Esc as well.
        WhenEditorOpen([](GoodsRecordEditor* e) {
            e->nameEdit->setText(U("ДРУГОЕ"));
            QTest::keyClick(e, Qt::Key_Escape);
        });
        page->gridDoubleClicked();
        QCOMPARE(page->table().record(4), expected);
        QVERIFY(!editor->Applied);
    }

    // A comma typed or pasted into the price is the decimal point: "45,50"
    // is 45.50, never 4550.00.
    void priceTakesACommaAsThePoint() {
        ScriptedDialogs dialogs;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 3, 2));
        WhenEditorOpen([](GoodsRecordEditor* e) {
            Type(e->nameEdit, U("хлеб"));
            Type(e->sectionEdit, U("1"));
            Type(e->priceEdit, U("45,50"));
            QCOMPARE(e->priceEdit->text(), U("45.50"));
            // Text that comes by the middle button or an input method as well.
            e->priceEdit->clear();
            QInputMethodEvent composed;
            composed.setCommitString(U("7,2"));
            QApplication::sendEvent(e->priceEdit, &composed);
            QCOMPARE(e->priceEdit->text(), U("7.2"));
            // Ctrl+V, with letters around the price that stay out.
            e->priceEdit->clear();
            QApplication::clipboard()->setText(U("цена 12,30 руб"));
            QTest::keyClick(e->priceEdit, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(e->priceEdit->text(), U("12.30"));
            e->priceEdit->clear();
            QApplication::clipboard()->setText(U("7,2"));
            QTest::keyClick(e->priceEdit, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(e->priceEdit->text(), U("7.2"));
            QTest::mouseClick(e->applyButton, Qt::LeftButton);
        });
        page->gridDoubleClicked();
        QCOMPARE(page->table().record(3).price, QByteArray("7.20"));
        QCOMPARE(dialogs.shown.size(), 0);
    }

    // A pasted price is cleaned before the field's limit cuts it, and a paste
    // that holds no one price is refused; typing and pasting stay undoable.
    void pastedPriceKeepsItsKopecksOrIsRefused() {
        ScriptedDialogs dialogs;
        grid->selectCell(3, 2);
        WhenEditorOpen([&](GoodsRecordEditor* e) {
            QLineEdit* price = e->priceEdit;
            price->setFocus();
            Type(price, U("4,5"));
            QCOMPARE(price->text(), U("4.5"));
            QVERIFY(price->isUndoAvailable());
            price->clear();
            QApplication::clipboard()->setText(U("123\u00A0456\u00A0789,99"));
            QTest::keyClick(price, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(price->text(), U("123456789.99"));
            price->selectAll();
            QApplication::clipboard()->setText(U("Цена: 1 234,50"));
            QTest::keyClick(price, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(price->text(), U("1234.50"));
            price->undo();
            QCOMPARE(price->text(), U("123456789.99"));
            QVERIFY(dialogs.shown.isEmpty());
            for (const QString& bad : {U("12 шт по 3,50"), U("1,50 2,30")}) {
                QApplication::clipboard()->setText(bad);
                QTest::keyClick(price, Qt::Key_V, Qt::ControlModifier);
                QCOMPARE(price->text(), U("123456789.99"));
            }
            // Twelve characters already: a price that does not fit is refused whole.
            price->end(false);
            QApplication::clipboard()->setText(U("5"));
            QTest::keyClick(price, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(price->text(), U("123456789.99"));
            QCOMPARE(dialogs.texts(), QStringList(3, PastedPriceRefusal()));
            QVERIFY(IsWarning(dialogs.shown[0]));
            e->cancelClicked();
        });
        page->gridDoubleClicked();
        QVERIFY(page->table().record(3).isBlank());
    }

    // Twelve characters of price with leading zeros: the rewritten price keeps
    // its point and kopecks in the field instead of losing them to its limit.
    void editorRewritesALongPriceWhole() {
        ScriptedDialogs dialogs;
        grid->selectCell(2, 2);
        WhenEditorOpen([](GoodsRecordEditor* e) {
            Type(e->sectionEdit, U("1"));
            Type(e->priceEdit, U("000000000001"));
            QCOMPARE(e->priceEdit->text(), U("000000000001"));
            e->sectionEdit->setText(U("300"));  // the price is rewritten before this fails
            QTest::mouseClick(e->applyButton, Qt::LeftButton);
            QCOMPARE(e->priceEdit->text(), U("1.00"));
            e->sectionEdit->setText(U("1"));
            QTest::mouseClick(e->applyButton, Qt::LeftButton);
        });
        page->gridDoubleClicked();
        QCOMPARE(dialogs.texts(), QStringList{U("Неккоректное значение секции!")});
        QCOMPARE(page->table().record(2).price, QByteArray("1.00"));
    }

    // A device barcode longer than the 13 digits one may type is shown and
    // written back whole when only the name is changed.
    void editorKeepsLongBarcode() {
        ScriptedDialogs dialogs;
        GoodsRecord row = SomeRow();
        row.barcode = "281474976710655";
        page->table().setRecord(2, row);
        grid->selectCell(2, 2);
        WhenEditorOpen([](GoodsRecordEditor* e) {
            QCOMPARE(e->barcodeEdit->text(), U("281474976710655"));
            e->nameEdit->setText(U("КОФЕ"));
            QTest::mouseClick(e->applyButton, Qt::LeftButton);
        });
        page->gridDoubleClicked();
        QVERIFY(dialogs.shown.isEmpty());
        row.code = "1";
        row.name = W("КОФЕ");
        QCOMPARE(page->table().record(2), row);
        // The next row opens with the usual limit again.
        grid->selectCell(3, 2);
        WhenEditorOpen([](GoodsRecordEditor* e) { QCOMPARE(e->barcodeEdit->maxLength(), 13); });
        page->gridDoubleClicked();
    }

    void doubleClickOnFixedColumnOpensNothing() {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            if (auto* e = qobject_cast<GoodsRecordEditor*>(QApplication::activeModalWidget())) {
                opened = true;
                e->cancelClicked();
            }
        });
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 3, 0));
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QCOMPARE(page->CurrentRow(), 1);
    }

    void fileDialogs() {
        std::unique_ptr<QFileDialog> save(GoodsPage::CreateSaveDialog(page));
        QCOMPARE(save->windowTitle(), U("Файлы базы данных"));
        QCOMPARE(save->nameFilters(), QStringList{U("Базы (*.base)")});
        QCOMPARE(save->defaultSuffix(), U("base"));
        QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(save->testOption(QFileDialog::DontConfirmOverwrite));
        std::unique_ptr<QFileDialog> open(GoodsPage::CreateOpenDialog(page));
        QCOMPARE(open->nameFilters(), QStringList{U("Базыl (*.base)")});
        QCOMPARE(open->defaultSuffix(), U("base"));
        QCOMPARE(open->acceptMode(), QFileDialog::AcceptOpen);
        // An empty name (a cancelled dialog) does nothing.
        ScriptedDialogs dialogs;
        page->SaveToFile(QString());
        page->LoadFromFile(QString());
        QVERIFY(dialogs.shown.isEmpty());
    }

    // The CSV buttons run file dialogs filtered on "*.csv"; export and import
    // from the page give back the same rows.
    void csvFromThePage() {
        QCOMPARE(page->exportCsvButton->text(), U("Экспорт в CSV..."));
        QCOMPARE(page->importCsvButton->text(), U("Импорт из CSV..."));
        std::unique_ptr<QFileDialog> save(GoodsPage::CreateCsvExportDialog(page));
        QCOMPARE(save->nameFilters(), QStringList{U("Таблицы CSV (*.csv)")});
        QCOMPARE(save->defaultSuffix(), U("csv"));
        QCOMPARE(save->acceptMode(), QFileDialog::AcceptSave);
        std::unique_ptr<QFileDialog> open(GoodsPage::CreateCsvImportDialog(page));
        QCOMPARE(open->nameFilters(), QStringList{U("Таблицы CSV (*.csv)")});
        QCOMPARE(open->acceptMode(), QFileDialog::AcceptOpen);

        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("goods.csv"));
        page->table().setRecord(3, SomeRow());
        page->ExportToCsv(path);
        page->table().clear();
        page->ImportFromCsv(path);
        page->ImportFromCsv(QString());
        QCOMPARE(page->table().record(3), SomeRow());
        QCOMPARE(dialogs.texts(), (L({"Сохранено записей: 1...", "Импортировано записей: 1..."})));
    }

    // The page counts the changed records, "Загрузить изменённые" writes only
    // them, and applied connection settings make every record unknown again.
    void changedRecordsOnThePage() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        UseEmulator();
        QCOMPARE(page->writeChangedButton->text(), U("Загрузить изменённые"));
        QCOMPARE(page->changedLabel->text(), U("Изменено: 0"));
        page->table().setRecord(3, SomeRow());
        QCOMPARE(page->changedLabel->text(), U("Изменено: 1"));
        QVERIFY(grid->model()->index(2, ColCode).data(GoodsChangedRole).toBool());

        QTest::mouseClick(page->writeChangedButton, Qt::LeftButton);
        QCOMPARE(InProcessEmulator().log().size(), 1);
        QCOMPARE(InProcessEmulator().goods(2).barcode, uint64_t(17));
        QCOMPARE(page->changedLabel->text(), U("Изменено: 0"));
        QTest::mouseClick(page->writeChangedButton, Qt::LeftButton);
        QCOMPARE(InProcessEmulator().log().size(), 1);
        QCOMPARE(dialogs.texts(), (QStringList{U("Записано удачно..."), NothingChangedMessage()}));

        window->AfterSettingsDialog();
        QCOMPARE(page->changedLabel->text(), U("Изменено: 1"));

        // "Применить" with the same port, speed and factory number keeps what
        // is known of the device.
        QTest::mouseClick(page->writeChangedButton, Qt::LeftButton);
        QCOMPARE(page->changedLabel->text(), U("Изменено: 0"));
        window->AfterSettingsDialog();
        QCOMPARE(page->changedLabel->text(), U("Изменено: 0"));

        // A record whose read failed is counted apart.
        Fault fault;
        fault.kind = FaultKind::DeviceError;
        fault.value = 51;
        fault.count = 1;
        QVERIFY(InProcessEmulator().addFault(fault));
        page->currentOnlyBox->setChecked(true);
        grid->selectCell(3, ColName);
        QTest::mouseClick(page->readButton, Qt::LeftButton);
        page->currentOnlyBox->setChecked(false);
        QCOMPARE(page->changedLabel->text(), U("Изменено: 0\nнеизвестно: 1"));
        QCOMPARE(grid->model()->index(2, ColNumber).data().toString(), UnreadMark());
    }

    // "Текущий" limits a transfer to the selected row; a second device
    // operation is refused while one runs.
    void transferFromThePage() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        RegisterInProcessEmulator();
        SetLinkOverride(nullptr);
        CurrentPortSettings().PortName = EmulatorPortName();
        CurrentPortSettings().MachineNumber = "0";
        InProcessEmulator().reset();
        GoodsRecord row = SomeRow();
        row.code = "6";
        page->table().setRecord(7, row);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(grid, 7, 1));
        page->currentOnlyBox->setChecked(true);
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QCOMPARE(InProcessEmulator().log().size(), 1);
        QCOMPARE(InProcessEmulator().goods(6).barcode, uint64_t(17));
        QCOMPARE(dialogs.texts(), QStringList{U("Записано удачно...")});

        {
            DeviceLock held;
            dialogs.clear();
            QTest::mouseClick(page->readButton, Qt::LeftButton);
            QTest::mouseClick(page->clearDeviceButton, Qt::LeftButton);
            QCOMPARE(dialogs.shown.size(), 2);
            QVERIFY(IsWarning(dialogs.shown[0]));
            QCOMPARE(InProcessEmulator().log().size(), 1);
        }

        page->currentOnlyBox->setChecked(false);
        page->table().clear();
        dialogs.clear();
        // The emptied row 7 is a change the device does not hold.
        dialogs.answerYes();
        QTest::mouseClick(page->readButton, Qt::LeftButton);
        QCOMPARE(InProcessEmulator().log().size(), 1 + 1001);
        QCOMPARE(page->table().record(7), row);
        QCOMPARE(page->table().record(8).code, QByteArray("7"));
        QCOMPARE(dialogs.texts(),
                 (QStringList{U("Изменения не записаны в АС: товар 6.\nПрочитать данные из АС "
                                "поверх них?"),
                              U("Прочитано удачно...")}));
    }

    // "Загрузить в АС" of a table without goods would blank every device
    // record: it asks first, "Нет" by default; a table with goods is written
    // without a question.
    void writingATableWithoutGoodsAsksFirst() {
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        RegisterInProcessEmulator();
        SetLinkOverride(nullptr);
        CurrentPortSettings().PortName = EmulatorPortName();
        CurrentPortSettings().MachineNumber = "0";
        InProcessEmulator().reset();
        page->currentOnlyBox->setChecked(false);
        dialogs.answerYes();
        page->clearButton->click();
        dialogs.clear();

        dialogs.answerNo();
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsConfirmation(dialogs.shown[0]));
        QVERIFY(dialogs.shown[0].defaultNo);
        QCOMPARE(dialogs.shown[0].text, EmptyGoodsWriteQuestion());
        QVERIFY(InProcessEmulator().log().isEmpty());

        dialogs.clear();
        dialogs.answerYes();
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QCOMPARE(InProcessEmulator().log().size(), GoodsRecordCount);
        QCOMPARE(dialogs.texts(),
                 (QStringList{EmptyGoodsWriteQuestion(), U("Записано удачно...")}));

        GoodsRecord row = SomeRow();
        page->table().setRecord(3, row);
        dialogs.clear();
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QCOMPARE(dialogs.texts(), QStringList{U("Записано удачно...")});
        QCOMPARE(InProcessEmulator().log().size(), 2 * GoodsRecordCount);
    }
};

QTEST_MAIN(TestPage)
#include "tst_page.moc"
