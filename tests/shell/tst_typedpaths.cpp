// A file name typed into the program's open dialogs, key by key through the
// window system as a keyboard sends it: the way many users open files. The
// dialog's completion list pops up on the way (a window of its own) and the
// keys must still reach the dialog. Driven through the real windows of the
// program, input guard included.
#include <QAction>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

#include "app/ProgramWindows.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationSync.h"
#include "device/DeviceLock.h"
#include "goods/GoodsCsv.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/ui/GoodsPage.h"
#include "support/GoodsRows.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

// What happened to the file dialog that `open` showed.
struct Typing {
    bool dialogSeen = false;
    bool completionShown = false;
    bool dialogLeftOpen = false;
};

void TypeKeys(QWindow* window, const QString& text) {
    for (const QChar c : text) QTest::keyClick(window, c.toLatin1());
}

// Opens the dialog with `open`, points it at `folder`, types the first three
// letters of `name`, waits for the completion list, types the rest and presses
// Enter. A dialog still open after that is cancelled, so the test never hangs.
Typing TypeFileName(const std::function<void()>& open, const QString& folder, const QString& name) {
    Typing typing;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        typing.dialogSeen = true;
        dialog->setDirectory(folder);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(edit);
        edit->setFocus();
        QWindow* window = dialog->windowHandle();
        TypeKeys(window, name.left(3));
        typing.completionShown = QTest::qWaitFor([] { return QApplication::activePopupWidget(); });
        TypeKeys(window, name.mid(3));
        for (int presses = 0; presses < 3 && dialog->isVisible(); ++presses) {
            QTest::keyClick(window, Qt::Key_Return);
            QTest::qWait(20);
        }
        if (dialog->isVisible()) {
            typing.dialogLeftOpen = true;
            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            dialog->reject();
        }
    });
    open();
    return typing;
}

}  // namespace

class TestTypedPaths : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramWindows> windows;
    std::unique_ptr<ScriptedDialogs> dialogs;
    QTemporaryDir dir;
    GoodsPage* page = nullptr;

    MainWindow& main() { return windows->mainWindow; }

    void checkTyped(const Typing& typing) {
        QVERIFY(typing.dialogSeen);
        QVERIFY(typing.completionShown);
        QVERIFY(!typing.dialogLeftOpen);
        QVERIFY(!DeviceLock::busy());
    }

    GoodsTable& sampleTable() {
        static GoodsTable table;
        table.clear();
        table.setRecord(1, Row(0, "ХЛЕБ", false, "4600001", "1", "25.50"));
        table.setRecord(8, Row(7, "МОЛОКО", true, "4600007", "2", "61.00"));
        return table;
    }

    void checkSampleLoaded() {
        QCOMPARE(page->table().record(1).name, W("ХЛЕБ"));
        QCOMPARE(page->table().record(8).barcode, QByteArray("4600007"));
    }

private slots:
    void initTestCase() { QVERIFY(dir.isValid()); }

    void init() {
        MainWindow::setSplashEnabled(false);
        windows = std::make_unique<ProgramWindows>();
        dialogs = std::make_unique<ScriptedDialogs>();
        QSignalSpy started(&main(), &MainWindow::started);
        main().show();
        QVERIFY(started.wait(5000));
        UseEmulator();
        main().EnableDeviceControls(true);
        page = main().goodsPage();
        main().ShowMainPage(page);
        QVERIFY(QTest::qWaitForWindowExposed(&main()));
    }

    void cleanup() {
        dialogs.reset();
        windows.reset();
    }

    void configurationFile() {
        MarkConfiguration(CurrentConfiguration());
        SetStored(CurrentConfiguration().documentName, "0ИЗ ФАЙЛА");
        const QString path = dir.filePath(QStringLiteral("shop.cfg"));
        QCOMPARE(SaveConfigurationFile(CurrentConfiguration(), path), ConfigurationFileResult::Ok);
        MarkConfiguration(CurrentConfiguration());
        ProgramConfigurationSync().keepAll(CurrentConfiguration());

        checkTyped(TypeFileName([this] { main().actLoadFile->trigger(); }, dir.path(),
                                QStringLiteral("shop.cfg")));
        QCOMPARE(Stored(CurrentConfiguration().documentName), U("0ИЗ ФАЙЛА"));
        QVERIFY(main().actSaveFile->isEnabled());
    }

    void goodsFile() {
        const QString path = dir.filePath(QStringLiteral("shop.base"));
        QCOMPARE(SaveGoodsFile(sampleTable(), path).status, GoodsFileStatus::Ok);
        checkTyped(TypeFileName([this] { page->loadFileButton->click(); }, dir.path(),
                                QStringLiteral("shop.base")));
        checkSampleLoaded();
    }

    void csvImport() {
        const QString path = dir.filePath(QStringLiteral("shop.csv"));
        QCOMPARE(ExportGoodsCsv(sampleTable(), path), 2);
        checkTyped(TypeFileName([this] { page->importCsvButton->click(); }, dir.path(),
                                QStringLiteral("shop.csv")));
        checkSampleLoaded();
    }

    // A dialog that an operation itself opens gets its completion list too.
    void completionListOfAWindowOpenedDuringAnOperation() {
        DeviceLock lock;
        QVERIFY(windows->inputGuard().active());
        QDialog dialog(&main());
        dialog.setWindowModality(Qt::ApplicationModal);
        auto* edit = new QLineEdit(&dialog);
        auto* completer = new QCompleter(QStringList{QStringLiteral("shop.base")}, edit);
        edit->setCompleter(completer);
        dialog.show();
        dialog.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &dialog);
        edit->setFocus();
        QVERIFY(edit->hasFocus());
        TypeKeys(dialog.windowHandle(), QStringLiteral("sh"));
        QTRY_VERIFY(QApplication::activePopupWidget());
        TypeKeys(dialog.windowHandle(), QStringLiteral("op"));
        QCOMPARE(edit->text(), QStringLiteral("shop"));
        if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }
};

QTEST_MAIN(TestTypedPaths)
#include "tst_typedpaths.moc"
