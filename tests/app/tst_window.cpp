// The main window grows: its smallest size is the one it always had, with
// every control where it was; the data pages take the extra room, the state
// page stays in the middle; the size is kept between runs.
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTextEdit>
#include <QtTest>

#include "admin/ui/StatePage.h"
#include "app/MainWindow.h"
#include "forms/ui/FormConstructorPage.h"
#include "goods/ui/GoodsPage.h"
#include "shell/ProgramSettings.h"
#include "shell/ui/GridPage.h"
#include "wizard/ui/WizardWindow.h"

namespace {

// A maximized window on a 1366×768 screen with a 40-pixel task bar.
const QSize Maximized1366(1366, 728);

QMap<QString, QRect> Geometries(QWidget* window) {
    QMap<QString, QRect> map;
    int n = 0;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisibleTo(window)) continue;
        map.insert(QStringLiteral("%1 %2 %3")
                       .arg(QString::fromLatin1(child->metaObject()->className()))
                       .arg(child->objectName())
                       .arg(n++),
                   QRect(child->mapTo(window, QPoint(0, 0)), child->size()));
    }
    return map;
}

// Where `widget` is in `page`.
QRect In(const QWidget* page, const QWidget* widget) {
    return QRect(widget->mapTo(page, QPoint(0, 0)), widget->size());
}

int FullRows(const GridPage* grid) {
    return grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize();
}

}  // namespace

class TestWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    void start() {
        MainWindow::setSplashEnabled(false);
        window = std::make_unique<MainWindow>();
        QSignalSpy started(window.get(), &MainWindow::started);
        window->show();
        QVERIFY(started.wait(5000));
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
    void resizeTo(QSize size) {
        window->resize(size);
        QTRY_COMPARE(window->size(), size);
        QApplication::processEvents();
    }

private slots:
    void initTestCase() {
        // The settings of whoever runs the tests are never read or written.
        QStandardPaths::setTestModeEnabled(true);
        QSettings(QStringLiteral("Zelvo"), QStringLiteral("Zelvo")).clear();
    }
    void init() { start(); }
    void cleanup() {
        window.reset();
        MainWindow::setGeometryKept(false);
    }

    void smallestIsTheFirstSizeAndCanGrow() {
        const QSize smallest(742, 504 + window->menuBar()->sizeHint().height());
        QCOMPARE(window->minimumSize(), smallest);
        QCOMPARE(window->size(), smallest);
        QVERIFY(window->maximumWidth() > 2000 && window->maximumHeight() > 2000);
        QVERIFY(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    }

    // At the smallest size the pages stand where they always stood, and they
    // come back there after the window has been larger.
    void atTheSmallestEveryControlIsWhereItWas() {
        GoodsPage* goods = window->goodsPage();
        FormConstructorPage* constructor = window->constructorPage();
        QCOMPARE(goods->geometry(), QRect(5, 5, 730, 440));
        QCOMPARE(constructor->geometry(), QRect(5, 5, 728, 436));
        QCOMPARE(window->statePage()->geometry(), QRect(5, 5, 730, 440));
        QCOMPARE(constructor->preview->geometry(), QRect(456, 4, 268, 330));
        QCOMPARE(constructor->exitButton->geometry(), QRect(644, 406, 80, 26));
        QCOMPARE(constructor->grid->width(), 439);
        QCOMPARE(goods->grid->columnWidth(2), 250);
        // The goods controls under the grid, the search field in the title's row.
        window->ShowMainPage(goods);
        QApplication::processEvents();
        QVERIFY(In(goods, goods->exitButton).y() > goods->grid->geometry().bottom());
        QVERIFY(In(goods, goods->readButton).y() > goods->grid->geometry().bottom());
        QCOMPARE(FullRows(goods->grid), 14);

        QMap<QString, QRect> before[3];
        QWidget* pages[3] = {goods, constructor, window->statePage()};
        for (int p = 0; p < 3; ++p) {
            window->ShowMainPage(pages[p]);
            before[p] = Geometries(window.get());
        }
        resizeTo(Maximized1366);
        resizeTo(window->minimumSize());
        for (int p = 0; p < 3; ++p) {
            window->ShowMainPage(pages[p]);
            QCOMPARE(Geometries(window.get()), before[p]);
        }
    }

    void dataPagesTakeTheRoomTheStatePageStaysInTheMiddle() {
        resizeTo(Maximized1366);
        GoodsPage* goods = window->goodsPage();
        window->ShowMainPage(goods);
        QApplication::processEvents();
        QVERIFY2(FullRows(goods->grid) >= 30, qPrintable(QString::number(FullRows(goods->grid))));
        QVERIFY(goods->grid->columnWidth(2) > 250);
        // The controls stand beside the grid, inside the page.
        QVERIFY(In(goods, goods->exitButton).x() > goods->grid->geometry().right());
        QVERIFY(In(goods, goods->readButton).x() > goods->grid->geometry().right());
        QVERIFY(goods->rect().contains(In(goods, goods->exitButton)));

        FormConstructorPage* constructor = window->constructorPage();
        window->ShowMainPage(constructor);
        QVERIFY(constructor->preview->width() > 268 && constructor->preview->height() > 330);
        QVERIFY(constructor->grid->width() > 439);
        QCOMPARE(constructor->exitButton->geometry().right(),
                 constructor->preview->geometry().right());
        QVERIFY(constructor->exitButton->y() > constructor->preview->geometry().bottom());
        QVERIFY(constructor->rect().contains(constructor->exitButton->geometry()));

        QWidget* state = window->statePage();
        window->ShowMainPage(state);
        QCOMPARE(state->size(), QSize(730, 440));
        const QPoint offset = state->geometry().center() - window->contentPanel()->rect().center();
        QVERIFY(qAbs(offset.x()) <= 4 && qAbs(offset.y()) <= 4);
    }

    // On a window grown to the whole test screen (800×600).
    void wizardStaysInTheMiddle() {
        window->move(0, 0);
        resizeTo(window->screen()->availableGeometry().size());
        WizardWindow wizard(window.get(), 0, false, window.get());
        wizard.show();
        QVERIFY(QTest::qWaitForWindowExposed(&wizard));
        // It takes the room of the main window's page area, never beyond the
        // window or the screen, never below the size it was laid out for.
        QVERIFY(wizard.width() >= 466 && wizard.height() >= 344);
        QVERIFY2(wizard.width() <= window->width() && wizard.height() <= window->height(),
                 qPrintable(QStringLiteral("%1x%2").arg(wizard.width()).arg(wizard.height())));
        QVERIFY(wizard.width() >= window->centralWidget()->width() - 1);
        const QPoint offset = wizard.geometry().center() - window->geometry().center();
        QVERIFY2(qAbs(offset.x()) <= 20 && qAbs(offset.y()) <= 20,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    }

    void sizeAndPositionAreKeptBetweenRuns() {
        const std::unique_ptr<QSettings> kept = NewProgramSettings();
        QSettings& settings = *kept;
        QVERIFY(settings.fileName().contains(QStringLiteral("qttest")));
        // Without being asked to, the window leaves the settings alone.
        resizeTo(QSize(900, 650));
        window->close();
        window.reset();
        QVERIFY(settings.allKeys().isEmpty());

        MainWindow::setGeometryKept(true);
        start();
        QCOMPARE(window->size(), window->minimumSize());
        resizeTo(QSize(1000, 700));
        window->close();
        window.reset();
        start();
        QCOMPARE(window->size(), QSize(1000, 700));

        // Settings that are no geometry leave the first size.
        window.reset();
        settings.setValue(QStringLiteral("MainWindow/geometry"), QByteArray("garbage"));
        settings.sync();
        start();
        QCOMPARE(window->size(), window->minimumSize());
        window.reset();
        settings.clear();
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
