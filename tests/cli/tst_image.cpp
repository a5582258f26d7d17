// image read, image diff and image write against zelvo-sim: a model device's
// image brought onto a replacement with another factory number and ИНН.
#include <QJsonArray>
#include <QTemporaryDir>
#include <QtTest>

#include "CliTestSupport.h"
#include "emulator/FrameCodec.h"
#include "support/CliRun.h"
#include "support/TestDevice.h"

namespace {

QStringList Args(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* word : words) list << QString::fromUtf8(word);
    return list;
}

int RequestsOf(SimProcess& sim, uint8_t command, int mode = -1) {
    int count = 0;
    for (const QByteArray& request : sim.requests())
        if (FrameByte(request, 6) == command && (mode < 0 || FrameByte(request, 8) == mode))
            ++count;
    return count;
}

// Each run reads the whole device: 1099 exchanges.
constexpr int Slow = 180000;

}  // namespace

class TestCliImage : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
    // Each step reads a whole device, so each is a test of its own, in order.
    QString image_;
    std::unique_ptr<SimProcess> replacement_;
    QStringList replacementPort_;

private slots:
    void modelDeviceIntoAnImage() {
        // Three products: a goods write of all 1001 records to each simulator
        // would be most of the test's time.
        const QString goods = path("goods.base");
        {
            GoodsTable table;
            for (const int row : {1, 518, 1001}) {
                GoodsRecord record;
                record.code = QByteArray::number(row - 1);
                record.name = ToCp1251(QStringLiteral("ТОВАР %1").arg(row - 1));
                record.font = NarrowFontText();
                record.barcode = QByteArray::number(4600000000000LL + row);
                record.section = "1";
                record.price = formatPrice(100 * row);
                table.setRecord(row, record);
            }
            QVERIFY(SaveGoodsFile(table, goods).status == GoodsFileStatus::Ok);
        }
        const QString image = path("model.zimg");
        image_ = image;
        {
            SimProcess model({QStringLiteral("--log")});
            QVERIFY(model.isReady());
            QVERIFY(model.command(QStringLiteral("factory 100231")));
            QVERIFY(model.command(QStringLiteral("inn 770123456789")));
            QVERIFY(model.command(QStringLiteral("param 0 3 3 1234")));
            const QStringList port =
                PortArguments(model.portPath()) +
                QStringList{QStringLiteral("--number"), QStringLiteral("100231")};
            QCOMPARE(RunCli(Args({"goods", "write-changed"}) + QStringList{goods} + port).exitCode,
                     0);
            const CliRun read =
                RunCli(Args({"image", "read", "--json"}) + QStringList{image} + port, Slow);
            QCOMPARE(read.exitCode, 0);
            QCOMPARE(read.json().value(QStringLiteral("factoryNumber")).toInteger(), 100231);
            QCOMPARE(read.json().value(QStringLiteral("taxpayerNumber")).toInteger(), 770123456789);
        }
    }

    void replacementComparedPartByPart() {
        QVERIFY(!image_.isEmpty());
        const QString image = image_;
        replacement_ = std::make_unique<SimProcess>(QStringList{QStringLiteral("--log")});
        SimProcess& replacement = *replacement_;
        QVERIFY(replacement.isReady());
        QVERIFY(replacement.command(QStringLiteral("factory 100232")));
        const QStringList port = PortArguments(replacement.portPath()) +
                                 QStringList{QStringLiteral("--number"), QStringLiteral("100232")};
        CliRun run = RunCli(Args({"image", "diff", "--json"}) + QStringList{image} + port, Slow);
        QCOMPARE(run.exitCode, 0);
        const QJsonArray differences = run.json().value(QStringLiteral("differences")).toArray();
        // The password of operator 3 and the three products.
        QCOMPARE(differences.size(), 1 + 3);
        QCOMPARE(differences[2].toObject().value(QStringLiteral("item")).toString(),
                 U("товар 517"));
        QCOMPARE(differences[2].toObject().value(QStringLiteral("device")).toString(), U("пусто"));
        QCOMPARE(differences[0].toObject().value(QStringLiteral("item")).toString(),
                 U("оператор 3, пароль"));
        QCOMPARE(differences[0].toObject().value(QStringLiteral("image")).toString(), U("**"));
        QCOMPARE(run.json()
                     .value(QStringLiteral("taxpayerNumber"))
                     .toObject()
                     .value(QStringLiteral("image"))
                     .toInteger(),
                 770123456789);
        QVERIFY(run.err.contains(U("ИНН при записи образа не программируется")));
        // The log comes after the answers: all of the comparison's before it is read.
        QVERIFY(replacement.waitForExchanges(1 + 97 + GoodsRecordCount));
        QCOMPARE(RequestsOf(replacement, CmdParameter, ModeWrite) +
                     RequestsOf(replacement, CmdGoods, ModeWrite),
                 0);

        replacement.clearLog();
        replacementPort_ = port;
    }

    void replacementGetsOnlyTheDifferences() {
        QVERIFY(replacement_ && !replacementPort_.isEmpty());
        SimProcess& replacement = *replacement_;
        const QString image = image_;
        const QStringList port = replacementPort_;
        const CliRun run = RunCli(Args({"image", "write"}) + QStringList{image} + port, Slow);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains(U("Образ записан в АС: элементов конфигурации и форм БСО — 1, "
                                    "записей базы товаров — 3.")),
                 qPrintable(run.err));
        // The comparison's reads, the password and the three products.
        QVERIFY(replacement.waitForExchanges(1 + 97 + GoodsRecordCount + 1 + 3));
        QCOMPARE(RequestsOf(replacement, CmdParameter, ModeWrite), 1);
        QCOMPARE(RequestsOf(replacement, CmdGoods, ModeWrite), 3);
        QCOMPARE(RequestsOf(replacement, CmdInn), 0);

        replacement_.reset();
    }

    void aFileThatIsNoImageSendsNothing() {
        SimProcess sim({QStringLiteral("--log")});
        QVERIFY(sim.isReady());
        const QString goods = path("not-an-image.zimg");
        WriteFullGoodsFile(goods);
        const CliRun run = RunCli(Args({"image", "write", "--all"}) + QStringList{goods} +
                                  PortArguments(sim.portPath()));
        QCOMPARE(run.exitCode, 3);
        QVERIFY(run.err.contains(U("Некорректный файл...")));
        QVERIFY(sim.requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCliImage)
#include "tst_image.moc"
