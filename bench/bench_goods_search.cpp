// The goods page's search with all 1001 rows filled: the time from a key press
// in "Поиск:" to the grid repainted with the row found, for a text that finds
// a row at once, one that finds the last row, and one that finds none (every
// row read), typed a key at a time; Enter going on to the next match; and the
// search alone without the repaint.
// A frame at 60 Hz is 16.7 ms.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "BenchSupport.h"
#include "device/DeviceCharset.h"
#include "goods/GoodsSearch.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "goods/ui/GoodsPage.h"
#include "goods/ui/GoodsSearchBar.h"
#include "shell/ui/GridPage.h"

namespace {

using namespace bench;
constexpr int Rounds = 15;

void FillAll(GoodsTable& table) {
    QVector<GoodsRecord> rows(GoodsRecordCount);
    for (int i = 0; i < GoodsRecordCount; ++i) {
        GoodsRecord& row = rows[i];
        row.code = QByteArray::number(i);
        row.name = ToCp1251(QStringLiteral("ТОВАР НОМЕР %1").arg(i));
        row.font = NarrowFontText();
        row.barcode = QByteArray::number(4600000000000LL + i);
        row.section = "1";
        row.price = formatPrice(100 * i + 99);
    }
    rows.last().name = ToCp1251(QStringLiteral("Последний чайник"));
    table.setRecords(1, rows);
}

// Milliseconds per key for typing `text` from an empty field, the repaint included.
std::vector<double> TypeTimes(GoodsPage& page, const QString& text) {
    QLineEdit* field = page.searchBar->field;
    std::vector<double> times;
    for (int round = 0; round < Rounds; ++round) {
        field->clear();
        page.grid->selectCell(1, 1);
        QApplication::processEvents();
        for (QChar c : text) {
            QElapsedTimer clock;
            clock.start();
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
            page.grid->viewport()->repaint();
            QApplication::processEvents();
            times.push_back(Ms(clock));
        }
    }
    return times;
}

std::vector<double> EnterTimes(GoodsPage& page, const QString& text) {
    QLineEdit* field = page.searchBar->field;
    field->setText(text);
    std::vector<double> times;
    for (int round = 0; round < Rounds * 4; ++round) {
        QElapsedTimer clock;
        clock.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(field, &press);
        page.grid->viewport()->repaint();
        QApplication::processEvents();
        times.push_back(Ms(clock));
    }
    return times;
}

void Print(const char* what, const std::vector<double>& times) {
    std::printf("%-44s median %6.2f ms, longest %6.2f ms per key\n", what, Median(times),
                *std::max_element(times.begin(), times.end()));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    GoodsPage page;
    page.resize(1000, 700);
    FillAll(page.table());
    page.show();
    QApplication::processEvents();

    std::printf("Goods search, %d rows, %d rounds:\n", GoodsRecordCount, Rounds);
    Print("first row matches (\"товар\")", TypeTimes(page, QStringLiteral("товар")));
    Print("last row matches (\"чайник\")", TypeTimes(page, QStringLiteral("чайник")));
    Print("no row matches (\"молоко\")", TypeTimes(page, QStringLiteral("молоко")));
    Print("barcode digits (\"4600000001000\")", TypeTimes(page, QStringLiteral("4600000001000")));
    Print("Enter, next of 1001 matches (\"товар\")", EnterTimes(page, QStringLiteral("товар")));
    // The search alone, without the repaint: every row read.
    std::vector<double> alone;
    for (int round = 0; round < Rounds * 4; ++round) {
        QElapsedTimer clock;
        clock.start();
        FindGoodsRow(page.table(), QStringLiteral("молоко"), 1);
        alone.push_back(Ms(clock));
    }
    Print("search alone, no row matches", alone);
    return 0;
}
