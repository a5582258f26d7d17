// The goods database: the goods file saved from and loaded into a full goods
// table, the table's repaint, CSV export and import of the full table and how
// fast files that are no table are refused, all 1001 records written to and
// read from zelvo-sim through the real serial code (answers paced at 115200
// bit/s, set against the line's own time for the same bytes), five changed
// records written against all of them, the longest pause between two repaints
// while a transfer runs (also with the exchange log window open and filling),
// and the program's memory with the goods table full.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "BenchSupport.h"
#include "app/MainWindow.h"
#include "device/DeviceCharset.h"
#include "device/ExchangeLog.h"
#include "device/Protocol.h"
#include "device/ui/ExchangeLogModel.h"
#include "device/ui/ExchangeLogWindow.h"
#include "goods/GoodsCsv.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "goods/Price.h"
#include "goods/ui/GoodsPage.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"
#include "shell/ui/GridPage.h"
#include "shell/ui/WindowProgress.h"
#include "support/SimProcess.h"

namespace {

using namespace bench;
constexpr int Rounds = 21;

// The window's own progress, timing the gaps between the repaints it allows.
class TimedProgress : public WindowProgress {
public:
    explicit TimedProgress(PageHost* host) : WindowProgress(host, nullptr) {}
    void step(int done, int total) override {
        WindowProgress::step(done, total);
        const qint64 now = clock.nsecsElapsed();
        if (last >= 0) longestGapNs = std::max(longestGapNs, now - last);
        last = now;
    }
    void begin() override {
        WindowProgress::begin();
        clock.start();
        last = -1;
        longestGapNs = 0;
    }
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 longestGapNs = 0;
};

template <typename F>
double MedianMs(F f, int rounds = Rounds) {
    std::vector<double> times;
    QElapsedTimer clock;
    for (int i = 0; i < rounds; ++i) {
        clock.start();
        f();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return Median(times);
}

// Every row filled to its widest: 24 characters (12 in wide print), 13
// barcode digits, a section of three digits and the largest price the file
// holds.
void FillFull(GoodsTable& table) {
    QVector<GoodsRecord> rows(GoodsRecordCount);
    const QByteArray name = ToCp1251(QStringLiteral("ТОВАР ДЛИНОЙ 24 СИМВОЛА "));
    for (int i = 0; i < GoodsRecordCount; ++i) {
        GoodsRecord& row = rows[i];
        row.code = QByteArray::number(i);
        row.name = name.left(i % 2 ? 8 : 20) + QByteArray::number(1000 + i);
        row.font = i % 2 ? WideFontText() : NarrowFontText();
        row.barcode = QByteArray::number(4600000000000LL + i);
        row.section = QByteArray::number(100 + i % 156);
        row.price = formatPrice(2147483647 - i);
    }
    table.setRecords(1, rows);
}

long StatusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ')[0].toLong();
    return -1;
}

void WriteFile(const QString& path, const std::function<void(QFile&)>& fill) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) fill(file);
}

// Import of files that are no goods table: each must end in its message at
// once, reading no more than the bounds allow.
void RefusedFiles(const QTemporaryDir& dir) {
    const QByteArray header =
        QStringLiteral("Код товара;Наименование;Тип. шрифта;Штрих-код;Секция;Цена\r\n").toUtf8();
    struct Case {
        const char* what;
        QString path;
    };
    std::vector<Case> cases;
    auto add = [&](const char* what, const char* name, const std::function<void(QFile&)>& fill) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        WriteFile(path, fill);
        cases.push_back({what, path});
    };
    add("100 MB without a line break", "huge.csv", [&](QFile& f) {
        f.write(header);
        const QByteArray block(1024 * 1024, 'A');
        for (int i = 0; i < 100; ++i) f.write(block);
    });
    add("a million lines (25 MB)", "million.csv", [&](QFile& f) {
        f.write(header);
        const QByteArray block =
            QStringLiteral("1;ЧАЙ;узкий;1;1;1.00\r\n").toUtf8().repeated(10000);
        for (int i = 0; i < 100; ++i) f.write(block);
    });
    add("binary, 1 MB", "binary.csv", [&](QFile& f) {
        QByteArray bytes(1024 * 1024, '\0');
        for (int i = 0; i < bytes.size(); ++i) bytes[i] = char((i * 7919) >> 3);
        f.write(bytes);
    });
    add("empty", "empty.csv", [](QFile&) {});
    add("unbalanced quote in line 2 of 1002", "quote.csv", [&](QFile& f) {
        f.write(header);
        f.write("0;\"A;0;1;1;1\r\n");
        for (int i = 1; i < GoodsRecordCount; ++i)
            f.write(QByteArray::number(i) + ";A;0;1;1;1\r\n");
    });
    std::printf("refused CSV files (median of %d), peak RSS before: %ld kB\n", Rounds,
                StatusKb("VmHWM:"));
    for (const Case& c : cases) {
        GoodsCsvStatus status = GoodsCsvStatus::Ok;
        const double ms = MedianMs([&] { status = ReadGoodsCsv(c.path).status; });
        std::printf("  %-36s %7.2f ms  status %d\n", c.what, ms, int(status));
    }
    std::printf("  peak RSS after: %ld kB\n", StatusKb("VmHWM:"));
}

void Transfers(PageHost* host, GoodsPage* page, bool paced) {
    SimProcess sim(SimArguments(paced));
    if (!SimStarted(sim)) return;
    UsePort(sim.portPath());
    CountingDialogs dialogs;
    SetDialogs(&dialogs);
    TimedProgress progress(host);
    SetProgress(&progress);
    std::printf("%s:\n", paced ? "paced at 115200 bit/s" : "unpaced, for the program's own cost");
    for (const bool write : {true, false}) {
        sim.clearLog();
        QElapsedTimer clock;
        clock.start();
        if (write)
            WriteAllGoods(page->table(), progress, dialogs);
        else
            ReadAllGoods(page->table(), progress, dialogs);
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        sim.waitForExchanges(GoodsRecordCount);
        qint64 bytes = 0;
        for (const QByteArray& r : sim.requests()) bytes += r.size();
        for (const QByteArray& r : sim.responses()) bytes += r.size();
        const double line = double(bytes) * 10.0 * 1000.0 / Baud;
        std::printf("  %-5s all %d records: %lld exchanges, %lld bytes: %8.1f ms",
                    write ? "write" : "read", GoodsRecordCount,
                    static_cast<long long>(sim.responses().size()), static_cast<long long>(bytes),
                    ms);
        if (paced)
            std::printf(", line's own time %8.1f ms, overhead %+5.1f %%", line,
                        (ms / line - 1.0) * 100.0);
        else
            std::printf(", %.3f ms per exchange", ms / GoodsRecordCount);
        std::printf(", longest gap between repaints %.1f ms%s\n",
                    double(progress.longestGapNs) / 1e6,
                    dialogs.questions ? "  [FAILED RECORDS]" : "");
    }
    // Five records edited after the read: "Загрузить изменённые" against the
    // whole write.
    const QByteArray price = paced ? "1.00" : "2.00";
    for (int row : {1, 250, 500, 750, 1001}) page->table().setCell(ColPrice, row, price);
    sim.clearLog();
    QElapsedTimer clock;
    clock.start();
    WriteChangedGoods(page->table(), progress, dialogs);
    const double changedMs = double(clock.nsecsElapsed()) / 1e6;
    sim.waitForExchanges(5);
    std::printf("  write the %lld changed records of %d: %8.1f ms (%lld exchanges)%s\n",
                static_cast<long long>(5), GoodsRecordCount, changedMs,
                static_cast<long long>(sim.responses().size()),
                dialogs.questions ? "  [FAILED RECORDS]" : "");
    SetProgress(nullptr);
    SetDialogs(nullptr);
}

// Paced reads of all records with the exchange log window closed and open (taking
// in every exchange as it comes), in alternating rounds so that both see the
// same machine.
void ReadWithLogWindow(PageHost* host, GoodsPage* page) {
    SimProcess sim({QStringLiteral("--pace"), QString::number(Baud)});
    if (!sim.isReady()) return;
    UsePort(sim.portPath());
    CountingDialogs dialogs;
    SetDialogs(&dialogs);
    TimedProgress progress(host);
    SetProgress(&progress);
    ExchangeLogWindow logWindow(ProgramExchangeLog());
    const double line =
        GoodsRecordCount * (GoodsRequestLength + GoodsResponseLength) * 10.0 * 1000.0 / Baud;
    std::printf("paced read of all %d records, line's own time %.1f ms:\n", GoodsRecordCount, line);
    for (int round = 0; round < 2; ++round) {
        for (const bool open : {false, true}) {
            ProgramExchangeLog().clear();
            logWindow.setVisible(open);
            QApplication::processEvents();
            QElapsedTimer clock;
            clock.start();
            ReadAllGoods(page->table(), progress, dialogs);
            const double ms = Ms(clock);
            logWindow.refresh();
            std::printf(
                "  log window %-6s %8.1f ms, overhead %+5.1f %%, longest gap between "
                "repaints %.1f ms",
                open ? "open:" : "closed:", ms, (ms / line - 1.0) * 100.0,
                double(progress.longestGapNs) / 1e6);
            if (open) std::printf(", %d rows in the window", logWindow.model()->rowCount());
            std::printf("%s\n", dialogs.questions ? "  [FAILED RECORDS]" : "");
        }
    }
    SetProgress(nullptr);
    SetDialogs(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const long startKb = StatusKb("VmHWM:");
    MainWindow::setSplashEnabled(false);
    MainWindow window;
    window.show();
    while (!window.goodsPage()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    GoodsPage* page = window.goodsPage();
    window.ShowMainPage(page);
    QApplication::processEvents();
    const long emptyRssKb = StatusKb("VmRSS:");
    FillFull(page->table());
    page->grid->scrollToBottom();
    QApplication::processEvents();
    const long fullRssKb = StatusKb("VmRSS:");
    const long fullKb = StatusKb("VmHWM:");
    // Only the paced write and read of every record: what the Windows build
    // measures through Wine's COM port (scripts/windows/bench.sh).
    if (app.arguments().contains(QStringLiteral("--paced-transfers"))) {
        Transfers(&window, page, true);
        return 0;
    }

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.base"));
    std::printf("goods file, 1001 full rows (median of %d):\n", Rounds);
    std::printf("  save (encode + write + commit)   %7.3f ms\n",
                MedianMs([&] { SaveGoodsFile(page->table(), path); }));
    std::printf("  load into the table              %7.3f ms\n",
                MedianMs([&] { LoadGoodsFile(page->table(), path); }));
    std::printf("  load and repaint the grid        %7.3f ms\n", MedianMs([&] {
                    LoadGoodsFile(page->table(), path);
                    page->grid->viewport()->repaint();
                }));

    std::printf("CSV, 1001 full rows (median of %d):\n", Rounds);
    const QString csvPath = dir.filePath(QStringLiteral("full.csv"));
    std::printf("  export (encode + write + commit) %7.3f ms\n",
                MedianMs([&] { ExportGoodsCsv(page->table(), csvPath); }));
    GoodsCsvImport import;
    std::printf("  import (read + decode + check)   %7.3f ms\n",
                MedianMs([&] { import = ReadGoodsCsv(csvPath); }));
    std::printf("  import into the table            %7.3f ms%s\n", MedianMs([&] {
                    import = ReadGoodsCsv(csvPath);
                    ApplyGoodsCsv(page->table(), import);
                }),
                import.ok() ? "" : "  [IMPORT FAILED]");
    RefusedFiles(dir);

    Transfers(&window, page, true);
    Transfers(&window, page, false);
    ReadWithLogWindow(&window, page);

    std::printf(
        "memory: peak RSS %ld kB at start, %ld kB with the main window and the goods table "
        "full (filling it took RSS from %ld to %ld kB), %ld kB after the transfers\n",
        startKb, fullKb, emptyRssKb, fullRssKb, StatusKb("VmHWM:"));
    return 0;
}
