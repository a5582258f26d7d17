// Finding goods: what matches, where the search goes next, and that the row
// found is the row the editor, "Текущий" and the transfers act on.
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>

#include "emulator/Requests.h"
#include "goods/GoodsSearch.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "goods/ui/GoodsPage.h"
#include "goods/ui/GoodsSearchBar.h"
#include "shell/ui/GridPage.h"
#include "support/GoodsRows.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"

namespace {

// Rows 1..1001 named "ТОВАР n", with a few that a search looks for.
void FillNamed(GoodsTable& table) {
    QVector<GoodsRecord> rows;
    for (int i = 0; i < GoodsRecordCount; ++i)
        rows << Row(i, QStringLiteral("ТОВАР %1").arg(i).toUtf8().constData(), false, "", "1",
                    "1.00");
    rows[9] = Row(9, "ЧАЙ ЗЕЛЕНЫЙ", false, "4600000000017", "1", "1.00");
    rows[500] = Row(500, "Чайник", true, "", "1", "1.00");
    rows[900] = Row(900, "КОФЕ", false, "4601234567890", "1", "1.00");
    table.setRecords(1, rows);
}

bool RowVisible(const GridPage* grid, int row) {
    const QRect rect = grid->visualRect(grid->model()->index(row - 1, 1));
    return grid->viewport()->rect().contains(rect);
}

}  // namespace

class TestSearch : public QObject {
    Q_OBJECT

    std::unique_ptr<GoodsPage> page;
    QLineEdit* field = nullptr;

    void type(const QString& text) {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
        }
    }

private slots:
    void init() {
        page = std::make_unique<GoodsPage>();
        FillNamed(page->table());
        page->show();
        QVERIFY(QTest::qWaitForWindowExposed(page.get()));
        field = page->searchBar->field;
        field->setFocus();
    }
    void cleanup() { page.reset(); }

    void matchesCodeNameOrBarcodeInAnyCase() {
        const GoodsTable& table = page->table();
        QCOMPARE(FindGoodsRow(table, U("чай"), 1), 10);
        QCOMPARE(FindGoodsRow(table, U("ЧАЙ"), 11), 501);   // "Чайник", typed in capitals
        QCOMPARE(FindGoodsRow(table, U("чай"), 502), 10);   // round past the last row
        QCOMPARE(FindGoodsRow(table, U("12345"), 1), 901);  // a part of the barcode
        QCOMPARE(FindGoodsRow(table, U("999"), 1), 1000);   // the code 999
        QCOMPARE(FindGoodsRow(table, U("товар 7"), 20), 71);
        QCOMPARE(FindGoodsRow(table, U("МОЛОКО"), 1), 0);
        QCOMPARE(FindGoodsRow(table, QString(), 1), 0);
        QCOMPARE(CountGoodsMatches(table, U("чай")), 2);
    }

    // Typing goes to the first match from the selected row, Enter to the next,
    // and the row found is selected and in view.
    void typingSelectsEnterGoesOn() {
        GridPage* grid = page->grid;
        type(U("кофе"));
        QCOMPARE(page->CurrentRow(), 901);
        QVERIFY(RowVisible(grid, 901));
        QVERIFY(grid->selectionModel()->isRowSelected(900, {}));
        QVERIFY(field->hasFocus());

        field->clear();
        type(U("чай"));
        QCOMPARE(page->CurrentRow(), 10);  // from 901 round to the first
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(page->CurrentRow(), 501);
        QVERIFY(RowVisible(grid, 501));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(page->CurrentRow(), 10);
        // A longer text keeps the row while it still matches.
        type(U(" з"));
        QCOMPARE(page->CurrentRow(), 10);
        QVERIFY(!page->searchBar->notFound());
    }

    void noMatchLeavesTheSelection() {
        page->grid->selectCell(42, 1);
        type(U("молоко"));
        QVERIFY(page->searchBar->notFound());
        QCOMPARE(page->CurrentRow(), 42);
    }

    // Esc empties the field and nothing else: the page's own Esc would empty
    // every row ("Очистить поля").
    void escapeClearsTheFieldOnly() {
        type(U("кофе"));
        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(field->text(), QString());
        QVERIFY(!page->searchBar->notFound());
        QCOMPARE(page->table().record(901).name, W("КОФЕ"));
        QCOMPARE(page->CurrentRow(), 901);
    }

    // "Текущий" writes the row the search selected, and only it.
    void currentActsOnTheRowFound() {
        DeviceEmulator& device = UseEmulator();
        ScriptedDialogs dialogs;
        RecordingProgress progress;
        type(U("чайник"));
        QCOMPARE(page->CurrentRow(), 501);
        page->currentOnlyBox->setChecked(true);
        device.clearLog();
        page->writeClicked();
        QCOMPARE(device.log().size(), 1);
        // Record 500 (row 501), the index after the mode byte.
        const QByteArray request = device.log().first().request;
        QCOMPARE(FrameByte(request, 6), CmdGoods);
        QCOMPARE(FrameByte(request, 9) | FrameByte(request, 10) << 8, 500);
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
