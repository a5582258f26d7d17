// The image against the in-process emulated device: a model device read into
// an image and written to a replacement, only what differs; the ИНН never
// sent; the summary never a success after a failure; one wait window over
// all parts.
#include <QTemporaryDir>
#include <QtTest>

#include "device/DeviceCharset.h"
#include "emulator/DeviceEmulator.h"
#include "image/ImageFile.h"
#include "image/ImageTransfer.h"
#include "support/RecordingProgress.h"
#include "support/ScriptedDialogs.h"
#include "support/TestDevice.h"

namespace {

DeviceEmulator& Device() {
    return InProcessEmulator();
}

DeviceEmulator::GoodsRecord DeviceGoods(const char* utf8, uint64_t barcode, uint64_t price) {
    DeviceEmulator::GoodsRecord record;
    const QByteArray pc = ToCp1251(U(utf8));
    QByteArray encoded(26, '\0');
    EncodeDeviceText(pc.constData(), encoded.data());
    record.name = encoded.left(25);
    record.barcode = barcode;
    record.price = price;
    record.section = 1;
    return record;
}

int RequestsOf(uint8_t command, int mode = -1) {
    int count = 0;
    for (const auto& exchange : Device().log())
        if (uint8_t(exchange.request.at(6)) == command &&
            (mode < 0 || exchange.request.at(8) == char(mode)))
            ++count;
    return count;
}

// The goods records the device was asked to write, in order.
QList<int> WrittenGoods() {
    QList<int> numbers;
    for (const auto& exchange : Device().log())
        if (uint8_t(exchange.request.at(6)) == CmdGoods && exchange.request.at(8) == ModeWrite)
            numbers << (uchar(exchange.request.at(9)) | uchar(exchange.request.at(10)) << 8);
    return numbers;
}

// A model device: an operator, form 2, three goods, a factory number and an ИНН.
void MakeModelDevice() {
    UseEmulator();
    Device().setFactoryNumber(0);
    Device().setTaxpayerNumber(770123456789ULL);
    Device().setParameter(0, 3, 1, DeviceLine("0ПЕТРОВ"));
    Device().setParameter(0, 3, 3, QByteArray("1234"));
    Device().setForm(2, {true, 3, 2, 1});
    Device().setGoods(3, DeviceGoods("0ХЛЕБ", 4600000000017ULL, 4550));
    Device().setGoods(500, DeviceGoods("1МОЛОКО", 4600000000500ULL, 8900));
    Device().setGoods(1000, DeviceGoods("0СОЛЬ", 0, 1200));
}

Fault GoodsFault(int record, int mode) {
    Q_UNUSED(mode);
    Fault fault;
    fault.kind = FaultKind::DeviceError;
    fault.value = 51;
    fault.command = CmdGoods;
    fault.index = record;
    fault.count = 1;
    return fault;
}

bool AnyTextContains(const ScriptedDialogs& dialogs, const QString& part) {
    for (const QString& text : dialogs.texts())
        if (text.contains(part)) return true;
    return false;
}

}  // namespace

class TestImageTransfer : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    DeviceImage readModel() {
        MakeModelDevice();
        RecordingProgress progress;
        ScriptedDialogs dialogs;
        DeviceImage image;
        const ImageOutcome outcome = ReadDeviceImage(image, progress, dialogs);
        if (!outcome.ok() || !dialogs.shown.isEmpty()) return {};
        return image;
    }

private slots:
    void replacementGetsOnlyWhatDiffersAndNeverTheInn() {
        const DeviceImage image = readModel();
        QCOMPARE(image.taxpayerNumber, 770123456789);
        QCOMPARE(image.configuration.size(), 2836);

        // The replacement: fresh, with an ИНН of its own and a product the
        // model does not have, which the image is to blank.
        UseEmulator();
        Device().setTaxpayerNumber(0);
        Device().setGoods(7, DeviceGoods("0ЛИШНЕЕ", 1, 100));
        RecordingProgress progress;
        ScriptedDialogs dialogs;
        ImageComparison comparison;
        QVERIFY(CompareImageWithDevice(image, comparison, progress, dialogs).ok());
        QCOMPARE(RequestsOf(CmdParameter, ModeWrite) + RequestsOf(CmdGoods, ModeWrite), 0);
        QVERIFY(comparison.taxpayerNumberDiffers);
        QCOMPARE(dialogs.texts(), QStringList{TaxpayerNumberNotWrittenText(770123456789, 0)});

        QStringList items;
        for (const ImageDifferenceLine& line : ImageDifferenceLines(comparison))
            items << line.part + QLatin1Char('/') + line.item;
        QCOMPARE(items, L({"конфигурация/оператор 3, должность", "конфигурация/оператор 3, пароль",
                           "формы БСО/форма 2", "база товаров/товар 3", "база товаров/товар 7",
                           "база товаров/товар 500", "база товаров/товар 1000"}));
        QCOMPARE(ImageDifferenceCounts(comparison),
                 U("конфигурация: 2, формы БСО: 1, база товаров: 4"));
        const ImageDifferenceLine goods7 = ImageDifferenceLines(comparison)[4];
        QCOMPARE(goods7.image, U("пусто"));

        Device().clearLog();
        dialogs.clear();
        const ImageOutcome written = WriteImageDifferences(image, comparison, progress, dialogs);
        QVERIFY(written.ok());
        QCOMPARE(WrittenGoods(), (QList<int>{3, 7, 500, 1000}));
        QCOMPARE(RequestsOf(CmdParameter, ModeWrite), 2);
        QCOMPARE(RequestsOf(CmdForm, ModeWrite), 1);
        QCOMPARE(RequestsOf(CmdInn), 0);
        QCOMPARE(dialogs.texts(),
                 QStringList{U("Образ записан в АС: элементов конфигурации и форм БСО — 3, "
                               "записей базы товаров — 4.")});
        QCOMPARE(Device().taxpayerNumber(), 0ULL);

        // Now the device is the image.
        ImageComparison again;
        dialogs.clear();
        QVERIFY(CompareImageWithDevice(image, again, progress, dialogs).ok());
        QVERIFY(again.empty());
        dialogs.clear();
        QVERIFY(WriteImageDifferences(image, again, progress, dialogs).ok());
        QVERIFY(!AnyTextContains(dialogs, U("Образ записан")));
    }

    void aFailureIsNamedAndNeverReportedAsSuccess() {
        const DeviceImage image = readModel();
        UseEmulator();
        Device().addFault(GoodsFault(500, ModeWrite));
        RecordingProgress progress;
        ScriptedDialogs dialogs;
        dialogs.answerYes();  // go on after the failed record
        const ImageOutcome outcome = WriteWholeImage(image, progress, dialogs);
        QVERIFY(outcome.completed);
        QVERIFY(!outcome.ok());
        QCOMPARE(dialogs.unexpectedQuestions, 0);
        QVERIFY(!AnyTextContains(dialogs, U("удачно")));
        QVERIFY(!AnyTextContains(dialogs, U("Образ записан в АС:")));
        const ScriptedDialogs::Shown last = dialogs.shown.last();
        QVERIFY(IsError(last));
        QVERIFY2(last.text.startsWith(U("Образ записан в АС не полностью.\nНе записано: ")) &&
                     last.text.contains(U("товар 500")),
                 qPrintable(last.text));
        // Every other record went out.
        QCOMPARE(RequestsOf(CmdGoods, ModeWrite), 1001);
    }

    void anImageWithAPartNotReadIsNotSaved() {
        MakeModelDevice();
        Device().addFault(GoodsFault(5, ModeRead));
        RecordingProgress progress;
        ScriptedDialogs dialogs;
        dialogs.answerYes();
        const QString path = dir_.filePath(QStringLiteral("model.zimg"));
        DeviceImage image;
        const ImageOutcome outcome = ReadDeviceImageToFile(path, image, progress, dialogs);
        QVERIFY(!outcome.ok());
        QVERIFY(!QFile::exists(path));
        QVERIFY(image.configuration.isEmpty());
        QVERIFY(IsError(dialogs.shown.last()));
        QCOMPARE(dialogs.shown.last().text,
                 U("Образ не сохранён: из АС прочитано не всё.\nНе прочитано: товар 5."));
    }

    void oneWaitWindowAndOneBarOverAllParts() {
        MakeModelDevice();
        RecordingProgress progress;
        ScriptedDialogs dialogs;
        const QString path = dir_.filePath(QStringLiteral("bar.zimg"));
        DeviceImage image;
        QVERIFY(ReadDeviceImageToFile(path, image, progress, dialogs).ok());
        QCOMPARE(progress.log.count(QStringLiteral("hide")), 1);
        QCOMPARE(progress.log.last(), QStringLiteral("hide"));
        QCOMPARE(progress.log.count(QStringLiteral("begin")), 1);
        int last = 0;
        int total = 0;
        for (const QString& entry : progress.log) {
            if (!entry.startsWith(QStringLiteral("step "))) continue;
            const QStringList parts = entry.mid(5).split(QLatin1Char('/'));
            QVERIFY2(parts[0].toInt() >= last, qPrintable(entry));
            last = parts[0].toInt();
            total = parts[1].toInt();
        }
        QCOMPARE(total, 1 + 97 + 1001);  // state, 89 parameters and 8 forms, goods
        QCOMPARE(last, total);
        QCOMPARE(dialogs.shown.size(), 1);  // the one summary
        QVERIFY(dialogs.shown[0].text.startsWith(U("Образ АС сохранён")));
    }

    void aStopEndsTheWholeImageWithoutASummary() {
        const DeviceImage image = readModel();
        UseEmulator();
        RecordingProgress progress;
        progress.stopAfterSteps = 300;
        ScriptedDialogs dialogs;
        const ImageOutcome outcome = WriteWholeImage(image, progress, dialogs);
        QVERIFY(!outcome.completed);
        QVERIFY(RequestsOf(CmdGoods, ModeWrite) < 1001);
        // The replacement's ИНН is another; then only the stop is told.
        QCOMPARE(dialogs.texts().last(), U("Операция прервана."));
        QVERIFY(!AnyTextContains(dialogs, U("Образ записан")));
        QVERIFY(!progress.waitVisible);
        QVERIFY(!progress.busyNow);
    }
};

QTEST_GUILESS_MAIN(TestImageTransfer)
#include "tst_transfer.moc"
