// What a user does while a transfer runs: every click, key and menu reaches
// nothing but the wait window's "Прервать" and the transfer's own questions.
// Driven through the real windows of the program, offscreen.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QComboBox>
#include <QDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <functional>

#include "app/ProgramWindows.h"
#include "device/DeviceCharset.h"
#include "device/DeviceLock.h"
#include "emulator/DeviceEmulator.h"
#include "goods/GoodsTable.h"
#include "goods/ui/GoodsPage.h"
#include "shell/ui/GridPage.h"
#include "shell/ui/WaitWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"
#include "wizard/ui/OperatorsPage.h"
#include "wizard/ui/WizardWindow.h"

namespace {

GoodsRecord Row(int code) {
    GoodsRecord row;
    row.code = QByteArray::number(code);
    row.name = ToCp1251(QStringLiteral("ТОВАР %1").arg(code));
    row.font = NarrowFontText();
    row.barcode = QByteArray::number(4600000 + code);
    row.section = "1";
    row.price = "12.50";
    return row;
}

// Calls `during` on every pass of the event loop while a device operation
// runs; any modal window that opens meanwhile (the guard failed) is recorded
// and closed so that the test ends instead of hanging.
class DuringOperation : public QObject {
public:
    explicit DuringOperation(std::function<void()> during) : during_(std::move(during)) {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                if (!qobject_cast<WizardWindow*>(modal) && !qobject_cast<QMessageBox*>(modal)) {
                    unexpectedWindows << QString::fromLatin1(modal->metaObject()->className());
                    modal->close();
                }
            }
            if (DeviceLock::busy()) {
                ++passes;
                during_();
            }
        });
        timer_.start();
    }
    int passes = 0;
    QStringList unexpectedWindows;

private:
    std::function<void()> during_;
    QTimer timer_;
};

}  // namespace

class TestTransferInput : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramWindows> windows;
    std::unique_ptr<ScriptedDialogs> dialogs;
    DeviceEmulator* device = nullptr;
    GoodsPage* page = nullptr;

    MainWindow& main() { return windows->mainWindow; }

    void fillTable(int rows) {
        for (int row = 1; row <= rows; ++row) page->table().setRecord(row, Row(row - 1));
    }

    // Everything a user could reach on the goods page and the main window.
    void pokeEverything() {
        QTest::mouseClick(page->clearButton, Qt::LeftButton);
        QTest::keyClick(page, Qt::Key_Escape);
        QTest::keyClick(page->grid, Qt::Key_Escape);
        const QPoint cell = page->grid->visualRect(page->grid->model()->index(0, 2)).center();
        QTest::mouseDClick(page->grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell);
        QTest::mouseClick(main().toolSettings, Qt::LeftButton);
        QTest::mouseClick(main().toolWizard, Qt::LeftButton);
        QMenuBar* bar = main().menuBar();
        for (QAction* menu : bar->actions())
            QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier,
                              bar->actionGeometry(menu).center());
        QTest::mouseClick(page->readButton, Qt::LeftButton);
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QTest::mouseClick(page->loadFileButton, Qt::LeftButton);
        QTest::mouseClick(page->saveFileButton, Qt::LeftButton);
        QTest::mouseClick(page->exitButton, Qt::LeftButton);
    }

private slots:
    void init() {
        MainWindow::setSplashEnabled(false);
        windows = std::make_unique<ProgramWindows>();
        dialogs = std::make_unique<ScriptedDialogs>();
        QSignalSpy started(&main(), &MainWindow::started);
        main().show();
        QVERIFY(started.wait(5000));
        device = &UseEmulator();
        main().EnableDeviceControls(true);
        page = main().goodsPage();
        main().ShowMainPage(page);
        QVERIFY(QTest::qWaitForWindowExposed(&main()));
    }
    void cleanup() {
        dialogs.reset();
        windows.reset();
    }

    void inputDuringWriteAllChangesNothing() {
        fillTable(1001);
        DuringOperation user([this] { pokeEverything(); });
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QVERIFY(user.passes > 0);
        QCOMPARE(user.unexpectedWindows, QStringList());
        QCOMPARE(dialogs->texts(), QStringList{QStringLiteral("Записано удачно...")});
        for (int index : {0, 500, 1000}) {
            QCOMPARE(page->table().record(index + 1).name, Row(index).name);
            QCOMPARE(device->goods(index).barcode, uint64_t(4600000 + index));
        }
        QCOMPARE(main().currentPage(), page);
        QVERIFY(!windows->inputGuard().active());
    }

    void inputDuringReadAllChangesNothing() {
        for (int index = 0; index < 1001; ++index) {
            DeviceEmulator::GoodsRecord record;
            record.name = ToCp1251(QStringLiteral("0ИЗ АС")).leftJustified(25, '\0');
            record.barcode = uint64_t(700 + index);
            device->setGoods(index, record);
        }
        DuringOperation user([this] { pokeEverything(); });
        QTest::mouseClick(page->readButton, Qt::LeftButton);
        QVERIFY(user.passes > 0);
        QCOMPARE(user.unexpectedWindows, QStringList());
        QCOMPARE(dialogs->texts(), QStringList{QStringLiteral("Прочитано удачно...")});
        for (int row : {1, 2, 1001})
            QCOMPARE(page->table().record(row).barcode, QByteArray::number(699 + row));
    }

    // "Прервать" ends the write after the exchange in flight: the device holds
    // exactly the records sent before it, and no success is claimed.
    void stopEndsWriteAfterTheExchangeInFlight() {
        fillTable(1001);
        int sentAtStop = -1;
        DuringOperation user([&] {
            if (sentAtStop < 0 && device->log().size() >= 7) {
                sentAtStop = device->log().size();
                QVERIFY(windows->waitWindow().isVisible());
                QTest::mouseClick(windows->waitWindow().stopButton, Qt::LeftButton);
            }
        });
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QVERIFY(sentAtStop >= 7);
        QCOMPARE(device->log().size(), sentAtStop);
        for (int index = 0; index < 1001; ++index)
            QCOMPARE(device->goods(index).barcode,
                     index < sentAtStop ? uint64_t(4600000 + index) : 0u);
        QCOMPARE(dialogs->shown.size(), 1);
        QVERIFY(IsWarning(dialogs->shown[0]));
        QCOMPARE(dialogs->shown[0].text, QStringLiteral("Операция прервана."));
        QVERIFY(!windows->waitWindow().isVisible());
        QVERIFY(!main().progressBar()->isVisible());

        // The stop belongs to that transfer alone: the next one runs whole.
        dialogs->clear();
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(), QStringList{QStringLiteral("Записано удачно...")});
        QCOMPARE(device->goods(1000).barcode, uint64_t(4601000));
    }

    void stopKeepsTheRowsReadSoFar() {
        fillTable(1001);
        for (int index = 0; index < 1001; ++index) {
            DeviceEmulator::GoodsRecord record;
            record.name = ToCp1251(QStringLiteral("0ИЗ АС")).leftJustified(25, '\0');
            record.barcode = uint64_t(9000 + index);
            device->setGoods(index, record);
        }
        int readAtStop = -1;
        DuringOperation user([&] {
            if (readAtStop < 0 && device->log().size() >= 5) {
                readAtStop = device->log().size();
                QTest::mouseClick(windows->waitWindow().stopButton, Qt::LeftButton);
            }
        });
        dialogs->answerYes();  // over the rows the device does not hold
        QTest::mouseClick(page->readButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts().size(), 2);
        QVERIFY(dialogs->texts()[0].startsWith(QStringLiteral("Изменения не записаны в АС: ")));
        QCOMPARE(dialogs->texts()[1], QStringLiteral("Операция прервана."));
        QCOMPARE(page->table().record(1).barcode, QByteArray("9000"));
        QCOMPARE(page->table().record(readAtStop).barcode,
                 QByteArray::number(9000 + readAtStop - 1));
        QCOMPARE(page->table().record(readAtStop + 1).name, Row(readAtStop).name);
    }

    // The questions of a loop still take their answer while everything else
    // is held back.
    void questionsOfTheLoopStillWork() {
        fillTable(3);
        device->addFault(Fault{});  // silent from now on
        dialogs.reset();
        SetDialogs(&windows->dialogs());
        int answered = 0;
        QStringList told;
        DuringOperation user([&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            QAbstractButton* no = box->button(QMessageBox::No);
            if (!no) {  // the summary at the end
                told << box->text();
                box->button(QMessageBox::Ok)->click();
                return;
            }
            ++answered;
            // No answer from the device: "Нет" is the default, and "Да для всех" is offered.
            QCOMPARE(box->defaultButton(), no);
            QVERIFY(box->button(QMessageBox::YesToAll));
            QCOMPARE(box->informativeText(), QStringLiteral("Не выполнено: товар 0."));
            QTest::keyClick(box, Qt::Key_N, Qt::AltModifier);
            if (box->isVisible()) no->click();
        });
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QCOMPARE(answered, 1);
        QCOMPARE(device->log().size(), 1);
        QCOMPARE(told, QStringList{QStringLiteral(
                           "Записано: 0. Не записаны: товар 0. Остальные не записывались.")});
    }

    // A window the operation opens (a file dialog) works whole, its popups too.
    void windowsOpenedDuringTheOperationTakeInput() {
        fillTable(1);
        DeviceLock lock;
        QVERIFY(windows->inputGuard().active());
        QDialog dialog(&main());
        dialog.setWindowModality(Qt::ApplicationModal);
        auto* combo = new QComboBox(&dialog);
        combo->addItems({QStringLiteral("*.base"), QStringLiteral("*.csv")});
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        combo->showPopup();
        QAbstractItemView* list = combo->view();
        QTRY_VERIFY(list->isVisible());
        // Inside the popup whatever its width: an item may be wider than the
        // popup the style makes (Fusion under Windows).
        const QRect item = list->visualRect(list->model()->index(1, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(list->viewport()->width() / 2, item.center().y()));
        QTRY_COMPARE(combo->currentIndex(), 1);
        QTest::mouseClick(page->clearButton, Qt::LeftButton);  // the main window stays shut
        QCOMPARE(page->table().record(1).code, Row(0).code);
    }

    // An accessibility client's "press" carries no input event: the buttons it
    // reaches, and the handlers behind them, refuse while the write runs.
    void accessibilityPressDuringWriteAllChangesNothing() {
        fillTable(1001);
        const QList<QAbstractButton*> buttons = {page->clearButton,    page->exitButton,
                                                 page->loadFileButton, page->readButton,
                                                 main().toolWizard,    main().toolSettings};
        bool pressed = false;
        DuringOperation user([&] {
            if (pressed) return;
            pressed = true;
            for (QAbstractButton* button : buttons) {
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
                QVERIFY(accessible && accessible->actionInterface());
                accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            }
            // The press clicks after a moment: let it land while the write runs.
            QTest::qWait(250);
            QVERIFY(DeviceLock::busy());
        });
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QVERIFY(pressed);
        QCOMPARE(user.unexpectedWindows, QStringList());
        QStringList expected(
            buttons.size(),
            QStringLiteral("Идёт обмен с АС. Дождитесь окончания текущей операции."));
        expected << QStringLiteral("Записано удачно...");
        QCOMPARE(dialogs->texts(), expected);
        for (int index : {0, 500, 1000}) {
            QCOMPARE(page->table().record(index + 1).name, Row(index).name);
            QCOMPARE(device->goods(index).barcode, uint64_t(4600000 + index));
        }
        QCOMPARE(main().currentPage(), page);
    }

    // The window system's close request (the close box, Alt+F4) during a
    // transfer is refused with the message; the window stays.
    void windowSystemCloseDuringWriteAllClosesNothing() {
        fillTable(1001);
        bool asked = false;
        DuringOperation user([&] {
            if (asked) return;
            asked = true;
            // QWindow::close() of a top-level window is the platform's close
            // request, delivered as the window system's own close event.
            QVERIFY(!main().windowHandle()->close());
        });
        QTest::mouseClick(page->writeButton, Qt::LeftButton);
        QVERIFY(asked);
        QVERIFY(main().isVisible());
        QCOMPARE(
            dialogs->texts(),
            (QStringList{QStringLiteral("Идёт обмен с АС. Дождитесь окончания текущей операции."),
                         QStringLiteral("Записано удачно...")}));
        QCOMPARE(device->goods(1000).barcode, uint64_t(4601000));
        // Once the transfer has ended the window closes as ever.
        QVERIFY(main().windowHandle()->close());
        QVERIFY(!main().isVisible());
    }

    // The wizard is a modal window opened before the transfer: its own
    // buttons are held back like the main window's.
    void wizardPageButtonsAreHeldBack() {
        MarkConfiguration(CurrentConfiguration());
        for (OperatorRecord& op : CurrentConfiguration().operators) op.access = 1;
        WizardWindow wizard(&main(), 1, true, &main());
        wizard.setWindowModality(Qt::ApplicationModal);
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        OperatorsPage* operators = wizard.operatorsPage;
        QVERIFY(operators && operators->isVisible());
        DuringOperation user([&] {
            QTest::mouseClick(operators->clearButton, Qt::LeftButton);
            QTest::keyClick(&wizard, Qt::Key_Escape);
        });
        QTest::mouseClick(operators->writeButton, Qt::LeftButton);
        QVERIFY(user.passes > 0);
        QCOMPARE(user.unexpectedWindows, QStringList());
        QVERIFY(wizard.isVisible());
        QCOMPARE(dialogs->texts(), QStringList{QStringLiteral("Записано удачно...")});
        // "Текущий" is ticked: the first operator, all three lines, as stored.
        QCOMPARE(device->log().size(), 3);
        QCOMPARE(device->parameter(0, 1, 1).left(7), DeviceLine("0СТАРОЕ"));
        QCOMPARE(Stored(CurrentConfiguration().operators[0].position), U("0СТАРОЕ"));
    }
};

QTEST_MAIN(TestTransferInput)
#include "tst_transferinput.moc"
