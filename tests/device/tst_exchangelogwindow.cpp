// The "Журнал обмена" window: rows in batches, the error filter, marks, copy,
// save and clear, and what it shows when the log has dropped old exchanges.
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include "device/ExchangeLog.h"
#include "device/ExchangeLogText.h"
#include "device/Protocol.h"
#include "device/ui/ExchangeLogModel.h"
#include "device/ui/ExchangeLogWindow.h"
#include "support/FakeLink.h"
#include "support/ScriptedDialogs.h"

namespace {

// One state query: answered well, with a device error, or not at all.
enum class Outcome { Ok, DeviceError, Silent };

void Exchange(FakeLink& link, Outcome outcome) {
    if (outcome == Outcome::Ok) link.answers << Answer(CmdState, StateResponseLength);
    if (outcome == Outcome::DeviceError) link.answers << Answer(CmdState, StateResponseLength, 35);
    uint8_t error = 0, mode = 0, flash = 0, battery = 0, documentState = 0, day = 0, month = 0,
            year = 0, hour = 0, minute = 0, group = 0;
    uint16_t document = 0;
    uint32_t factory = 0;
    uint64_t taxpayer = 0;
    char errorText[ErrorTextSize] = {};
    StateCommand(error, mode, flash, battery, document, documentState, day, month, year, hour,
                 minute, factory, taxpayer, group, errorText);
}

}  // namespace

class TestExchangeLogWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<ExchangeLogWindow> window;
    std::unique_ptr<FakeLink> link;
    ExchangeLogModel* model() { return window->model(); }

private slots:
    void init() {
        ProgramExchangeLog().clear();
        CurrentPortSettings() = PortSettings{};
        CurrentPortSettings().PortName = QStringLiteral("COM2");
        CurrentPortSettings().BaudRate = 19200;
        link = std::make_unique<FakeLink>();
        window = std::make_unique<ExchangeLogWindow>(ProgramExchangeLog());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void cleanup() {
        window.reset();
        link.reset();
    }

    void exchangesArriveInBatches() {
        QSignalSpy inserted(model(), &QAbstractItemModel::rowsInserted);
        // Exchanges made while no event is processed show up all at once at the next look.
        for (int i = 0; i < 500; ++i) Exchange(*link, Outcome::Ok);
        QCOMPARE(model()->rowCount(), 0);
        QTRY_COMPARE(model()->rowCount(), 500);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(window->counts->text(), QStringLiteral("Обменов: 500"));
        // The view follows the newest row.
        QScrollBar* bar = window->table->verticalScrollBar();
        QCOMPARE(bar->value(), bar->maximum());

        // Scrolled back by the user, it stays where it was.
        bar->setValue(0);
        Exchange(*link, Outcome::Ok);
        QTRY_COMPARE(model()->rowCount(), 501);
        QCOMPARE(bar->value(), 0);
    }

    // Reopened, the window starts at its left edge, and the text columns are
    // as wide as what they hold: the device error whole, the status no wider
    // than its texts and title.
    void reopensAtTheLeftWithColumnsFittingTheirText() {
        Exchange(*link, Outcome::Ok);
        Exchange(*link, Outcome::DeviceError);
        window->refresh();
        QTableView* table = window->table;
        QScrollBar* bar = table->horizontalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        bar->setValue(bar->maximum());
        window->hide();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QCOMPARE(bar->value(), 0);

        const QFontMetrics text(table->font());
        const auto widest = [&](int column) {
            int width = text.horizontalAdvance(
                model()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
            for (int row = 0; row < model()->rowCount(); ++row)
                width = std::max(
                    width, text.horizontalAdvance(model()->index(row, column).data().toString()));
            return width;
        };
        for (const int column :
             {int(ExchangeLogModel::StatusColumn), int(ExchangeLogModel::DeviceErrorColumn),
              int(ExchangeLogModel::AddressColumn)}) {
            QVERIFY2(table->columnWidth(column) >= widest(column),
                     qPrintable(QString::number(column)));
            QVERIFY2(table->columnWidth(column) <= widest(column) + 40,
                     qPrintable(QString::number(column)));
        }
    }

    void failedRowsAreMarkedAndCanBeShownAlone() {
        Exchange(*link, Outcome::Ok);
        Exchange(*link, Outcome::DeviceError);
        Exchange(*link, Outcome::Silent);
        window->refresh();
        QCOMPARE(model()->rowCount(), 3);
        const auto at = [this](int row, int column) { return model()->index(row, column); };
        QVERIFY(!at(0, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(at(1, 0).data(Qt::BackgroundRole).isValid());
        QVERIFY(at(2, ExchangeLogModel::AnswerColumn).data(Qt::BackgroundRole).isValid());
        const QFont hex = at(0, ExchangeLogModel::RequestColumn).data(Qt::FontRole).value<QFont>();
        // The bytes of the rows stand under each other: every hex digit and
        // the space take the same room, whatever the system calls the font.
        const QFontMetrics metrics(hex);
        for (const QChar c : QStringLiteral("0123456789ABCDEF"))
            QCOMPARE(metrics.horizontalAdvance(c), metrics.horizontalAdvance(QLatin1Char(' ')));
        QCOMPARE(at(1, ExchangeLogModel::DeviceErrorColumn).data().toString(),
                 QStringLiteral("35 Нет бумаги."));
        QCOMPARE(at(1, ExchangeLogModel::CommandColumn).data().toString(),
                 QStringLiteral("Состояние"));
        QCOMPARE(at(2, ExchangeLogModel::AnswerColumn).data().toString(), QString());

        window->onlyFailures->click();
        QCOMPARE(model()->rowCount(), 2);
        QCOMPARE(at(0, ExchangeLogModel::NumberColumn).data().toString(), QStringLiteral("2"));
        Exchange(*link, Outcome::Ok);
        Exchange(*link, Outcome::Silent);
        window->refresh();
        QCOMPARE(model()->rowCount(), 3);
        QCOMPARE(at(2, ExchangeLogModel::NumberColumn).data().toString(), QStringLiteral("5"));
        QCOMPARE(window->counts->text(), QStringLiteral("Обменов: 5, с ошибкой: 3"));

        window->onlyFailures->click();
        QCOMPARE(model()->rowCount(), 5);
    }

    void selectedRowsAreCopiedAsTextBlocks() {
        for (int i = 0; i < 4; ++i) Exchange(*link, i == 2 ? Outcome::Silent : Outcome::Ok);
        window->refresh();
        window->table->selectRow(3);
        window->table->selectionModel()->select(
            model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QApplication::clipboard()->clear();
        window->table->setFocus();
        QTest::keyClick(window->table, Qt::Key_C, Qt::ControlModifier);
        const ExchangeLog& log = ProgramExchangeLog();
        QCOMPARE(QApplication::clipboard()->text(), ExchangeBlocks({&log.at(1), &log.at(3)}));
        QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("№ 2  ")));
    }

    void saveReportsItsOutcome() {
        Exchange(*link, Outcome::Ok);
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("log.txt"));
        window->saveTo(path);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Сохранено...")});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("Состояние"));

        dialogs.clear();
        window->saveTo(dir.filePath(QStringLiteral("missing/log.txt")));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(IsError(dialogs.shown[0]));
        QCOMPARE(dialogs.shown[0].text, QStringLiteral("Не удалось создать файл..."));
    }

    void clearAsksFirst() {
        Exchange(*link, Outcome::Ok);
        window->refresh();
        ScriptedDialogs dialogs;
        dialogs.answerNo();
        window->clearButton->click();
        QCOMPARE(model()->rowCount(), 1);
        QVERIFY(IsConfirmation(dialogs.shown.constLast()));
        QCOMPARE(dialogs.shown.constLast().text, QStringLiteral("Очистить журнал обмена?"));

        dialogs.answerYes();
        window->clearButton->click();
        QCOMPARE(ProgramExchangeLog().size(), 0);
        QCOMPARE(model()->rowCount(), 0);
        Exchange(*link, Outcome::Ok);
        window->refresh();
        QCOMPARE(model()->index(0, 0).data().toString(), QStringLiteral("1"));
    }

    void droppedExchangesLeaveTheTable() {
        const int extra = 30;
        for (int i = 0; i < ExchangeLog::Capacity - 10; ++i) Exchange(*link, Outcome::Ok);
        window->refresh();
        QSignalSpy removed(model(), &QAbstractItemModel::rowsRemoved);
        for (int i = 0; i < extra + 10; ++i) Exchange(*link, Outcome::Ok);
        window->refresh();
        QCOMPARE(removed.count(), 1);
        QCOMPARE(model()->rowCount(), ExchangeLog::Capacity);
        QCOMPARE(model()->index(0, 0).data().toString(), QString::number(extra + 1));
        QCOMPARE(window->counts->text(),
                 QStringLiteral("Обменов: 20000, отброшено более старых: %1").arg(extra));
    }

    void hiddenWindowDoesNotLook() {
        window->hide();
        Exchange(*link, Outcome::Ok);
        QTest::qWait(3 * ExchangeLogWindow::RefreshIntervalMs);
        QCOMPARE(model()->rowCount(), 0);
        window->showAndRaise();
        QCOMPARE(model()->rowCount(), 1);
    }
};

QTEST_MAIN(TestExchangeLogWindow)
#include "tst_exchangelogwindow.moc"
