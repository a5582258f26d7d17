// "Сравнить образ с АС": the rows part by part, and a write of the differences
// offered only when they are all known and there is something to write.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include "emulator/DeviceEmulator.h"
#include "goods/GoodsTable.h"
#include "image/ImageFile.h"
#include "image/ui/ImageWindow.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

class TestImageWindow : public QObject {
    Q_OBJECT

private slots:
    void showsThePartsAndOffersWhatCanBeWritten() {
        UseEmulator();
        InProcessEmulator().setParameter(0, 3, 1, DeviceLine("0ПЕТРОВ"));
        InProcessEmulator().setTaxpayerNumber(5);
        RecordingProgress progress;
        ScriptedDialogs dialogs;
        DeviceImage image;
        QVERIFY(ReadDeviceImage(image, progress, dialogs).ok());

        // The device moved on: another operator name, a product and another ИНН.
        UseEmulator();
        DeviceEmulator::GoodsRecord goods;
        goods.price = 100;
        InProcessEmulator().setGoods(12, goods);
        ImageComparison comparison;
        QVERIFY(CompareImageWithDevice(image, comparison, progress, dialogs).ok());

        ImageComparisonWindow window(comparison, true);
        QCOMPARE(window.windowTitle(), U("Сравнить образ с АС"));
        QCOMPARE(window.table->rowCount(), 2);
        QCOMPARE(window.table->item(0, 0)->text(), U("конфигурация"));
        QCOMPARE(window.table->item(1, 0)->text(), U("база товаров"));
        QCOMPARE(window.table->item(1, 1)->text(), U("товар 12"));
        // Operator 3 has no password: the device would refuse it, and the row says so.
        QVERIFY(window.table->item(0, 1)->toolTip().startsWith(U("Не будет записан в АС: ")));
        QVERIFY(window.noteLabel->text().contains(U("ИНН не записывается")));
        QVERIFY(window.differencesButton->isEnabled());
        QVERIFY(window.closeButton->isDefault());

        // Differences not all known: only the whole image.
        ImageComparisonWindow partial(comparison, false);
        QVERIFY(!partial.differencesButton->isEnabled());
        QVERIFY(partial.allButton->isEnabled());

        // Only the unwritable operator line left: nothing to write as differences.
        comparison.goodsTable->markInStep(13);
        ImageComparisonWindow nothing(comparison, true);
        QVERIFY(!nothing.differencesButton->isEnabled());
    }
};

QTEST_MAIN(TestImageWindow)
#include "tst_window.moc"
