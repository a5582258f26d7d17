// The image file: what it keeps, and every kind of file that is no image
// refused without touching what the caller holds.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include "config/ConfigurationFile.h"
#include "config/DeviceConfiguration.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "image/ImageFile.h"
#include "support/FifoWatch.h"
#include "support/TestDevice.h"

namespace {

DeviceImage SampleImage() {
    DeviceConfiguration config;
    MarkConfiguration(config);
    config.forms[1] = {1, 3, 2, 1};
    GoodsTable table;
    GoodsRecord record;
    record.code = "517";
    record.name = ToCp1251(U("ХЛЕБ"));
    record.font = NarrowFontText();
    record.barcode = "4600000000017";
    record.section = "2";
    record.price = formatPrice(4550);
    table.setRecord(518, record);
    DeviceImage image;
    image.program = QStringLiteral("9.9.9");
    image.created = QDateTime(QDate(2026, 12, 7), QTime(20, 45), Qt::UTC);
    image.factoryNumber = 100231;
    image.taxpayerNumber = 770123456789;
    image.state = QJsonObject{{QStringLiteral("currentGroup"), 2}};
    image.configuration = EncodeConfigurationFile(config);
    EncodeGoodsFile(table, image.goods);
    return image;
}

// The sample's JSON with `change` applied to its root object.
QByteArray Changed(const std::function<void(QJsonObject&)>& change) {
    QJsonObject root = QJsonDocument::fromJson(EncodeImage(SampleImage())).object();
    change(root);
    return QJsonDocument(root).toJson();
}

void SetPart(QJsonObject& root, const QString& name, const QJsonValue& value) {
    QJsonObject files = root.value(QStringLiteral("files")).toObject();
    files.insert(name, value);
    root.insert(QStringLiteral("files"), files);
}

}  // namespace

class TestImageFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void keepsEveryPartByteForByte() {
        const DeviceImage written = SampleImage();
        const QString path = dir_.filePath(QStringLiteral("a.zimg"));
        QVERIFY(SaveImageFile(written, path).ok());
#ifdef Q_OS_UNIX
        // The configuration holds operators' passwords. (Windows has no group
        // and other bits: Qt makes them up from the read-only attribute.)
        QCOMPARE(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther),
                 QFile::Permissions());
#endif
        DeviceImage read;
        QVERIFY(LoadImageFile(path, read).ok());
        QCOMPARE(read.configuration, written.configuration);
        QCOMPARE(read.goods, written.goods);
        QCOMPARE(read.factoryNumber, 100231);
        QCOMPARE(read.taxpayerNumber, 770123456789);
        QCOMPARE(read.created, written.created);
        QCOMPARE(read.program, QStringLiteral("9.9.9"));
        QCOMPARE(read.state.value(QStringLiteral("currentGroup")).toInt(), 2);

        // The parts are the program's own files, readable as such.
        DeviceConfiguration config;
        QVERIFY(ImageConfiguration(read, config));
        QCOMPARE(int(config.forms[1].variant), 3);
        QCOMPARE(Stored(config.operators[0].name), U("0СТАРОЕ"));
        GoodsTable table;
        QVERIFY(ImageGoods(read, table));
        QCOMPARE(table.record(518).barcode, QByteArray("4600000000017"));
    }

    void refusesWhatIsNoWholeImage_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("problem");
        const int incorrect = int(ImageFileStatus::Incorrect);
        QTest::newRow("not json") << QByteArray("PK\x03\x04") << incorrect << U("Это не образ АС.");
        QTest::newRow("other json")
            << QByteArray("{\"a\":1}") << incorrect << U("Это не образ АС.");
        QTest::newRow("array") << QByteArray("[]") << incorrect << U("Это не образ АС.");
        QTest::newRow("no version")
            << Changed([](QJsonObject& r) { r.remove(QStringLiteral("version")); }) << incorrect
            << U("Версия формата образа не указана.");
        QTest::newRow("fractional version")
            << Changed([](QJsonObject& r) { r.insert(QStringLiteral("version"), 1.5); })
            << incorrect << U("Версия формата образа не указана.");
        QTest::newRow("newer version")
            << Changed([](QJsonObject& r) { r.insert(QStringLiteral("version"), 2); })
            << int(ImageFileStatus::Newer)
            << U("Образ записан в формате версии 2, а эта программа читает образы версии до 1. "
                 "Нужна более новая программа.");
        QTest::newRow("no goods part")
            << Changed([](QJsonObject& r) { SetPart(r, ImageGoodsName(), QJsonValue()); })
            << incorrect << U("В образе нет части «goods.base».");
        QTest::newRow("short configuration") << Changed([](QJsonObject& r) {
            SetPart(r, ImageConfigurationName(),
                    QString::fromLatin1(QByteArray(2835, '\0').toBase64()));
        }) << incorrect << U("Часть «configuration.cfg»: 2835 байт, а должно быть 2836.");
        QTest::newRow("not base64")
            << Changed([](QJsonObject& r) { SetPart(r, ImageGoodsName(), QStringLiteral("*!")); })
            << incorrect << U("Часть «goods.base» повреждена.");
        // Record 3's flag is neither '0', '1' nor a blank row's zero.
        QByteArray goods = SampleImage().goods;
        goods[3 * GoodsFileRecordSize + 2] = 'x';
        QTest::newRow("bad goods record") << Changed([&goods](QJsonObject& r) {
            SetPart(r, ImageGoodsName(), QString::fromLatin1(goods.toBase64()));
        }) << incorrect << U("Часть «goods.base»: запись 3 некорректна.");
    }

    void refusesWhatIsNoWholeImage() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(QString, problem);
        DeviceImage image = SampleImage();
        image.factoryNumber = 42;
        const ImageFileResult result = DecodeImage(bytes, image);
        QCOMPARE(int(result.status), status);
        QCOMPARE(result.problem, problem);
        QCOMPARE(ImageFileMessage(result), U("Некорректный файл...\n") + problem);
        QCOMPARE(image.factoryNumber, 42);  // untouched
    }

    void anyFileLoadsWithoutHangingOrReadingItWhole() {
        DeviceImage image;
        QCOMPARE(LoadImageFile(dir_.path(), image).status, ImageFileStatus::CannotOpen);
        QCOMPARE(LoadImageFile(dir_.filePath(QStringLiteral("none")), image).status,
                 ImageFileStatus::CannotOpen);
#ifdef Q_OS_UNIX
        // FIFOs are Unix's own.
        FifoWatch fifo(dir_.filePath(QStringLiteral("fifo.zimg")));
        QVERIFY(fifo.made());
        QCOMPARE(LoadImageFile(dir_.filePath(QStringLiteral("fifo.zimg")), image).status,
                 ImageFileStatus::CannotOpen);
        QVERIFY(!fifo.opened());
#endif

        // A valid image padded past the bound is refused for its size.
        QFile big(dir_.filePath(QStringLiteral("big.zimg")));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(EncodeImage(SampleImage()));
        big.write(QByteArray(int(ImageFileMaxSize), ' '));
        big.close();
        const ImageFileResult result = LoadImageFile(big.fileName(), image);
        QCOMPARE(result.status, ImageFileStatus::Incorrect);
        QCOMPARE(result.problem, U("Файл больше 1048576 байт: это не образ АС."));
    }
};

QTEST_GUILESS_MAIN(TestImageFile)
#include "tst_file.moc"
