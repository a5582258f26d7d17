// The variant table and the text preview of a BSO form, without widgets.

#include <QRandomGenerator>
#include <QtTest>
#include <cstring>

#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"
#include "forms/FormPreview.h"
#include "forms/FormVariants.h"

namespace {

void SetText(DeviceText& text, const QString& flagAndCharacters) {
    CopyToField(text.bytes, int(sizeof text.bytes), ToCp1251(flagAndCharacters));
}

DeviceConfiguration FreshConfiguration() {
    DeviceConfiguration config;
    std::memset(&config, 0, sizeof config);
    ResetFormTable(config);
    ResetConfiguration(config);
    return config;
}

const QStringList DocumentTop = {
    QStringLiteral("ИНН         000000000000"), QStringLiteral("ЗАВОД. НОМЕР    00000000"),
    QStringLiteral("ДОК. НОМЕР          0000"), QStringLiteral("------------------------")};
const QStringList ServiceLines = {
    QStringLiteral("Серия АБ-0000    0000000"), QStringLiteral("00/00/00           00:00"),
    QStringLiteral("  ПЕРВАЯ СТРОКА УСЛУГИ  "), QStringLiteral("  ВТОРАЯ СТРОКА УСЛУГИ  "),
    QStringLiteral("  ТРЕТЬЯ СТРОКА УСЛУГИ  "), QStringLiteral("                 *000.00")};
const QStringList DocumentBottom = {QStringLiteral("ИТОГО            *000.00"),
                                    QStringLiteral("НАЛИЧНЫМИ"),
                                    QStringLiteral("------------------------"),
                                    QStringLiteral("ПРИНЯЛ ОПЕРАТОР №0:     "),
                                    QStringLiteral("ДОЛЖНОСТЬ ОПЕРАТОРА     "),
                                    QStringLiteral("Ф.И.О. ОПЕРАТОРА        "),
                                    QString(),
                                    QStringLiteral("ПОДПИСЬ ................")};

}  // namespace

class TestFormPreview : public QObject {
    Q_OBJECT
private slots:
    void variantsOfferWhatTheirGroupPrints();
    void emptyConfiguration();
    void form3WithVariant5AndRequisite2();
    void variant1KeepsStoredCodeKind();
    void discountLinePerKindAndVariant();
    void wideAndNarrowLines();
    void valuesOutOfRangeAddNothing();
    void anyBytesNeverOverrunAField();
};

void TestFormPreview::variantsOfferWhatTheirGroupPrints() {
    QString requisite, discount, code;
    for (int v = 1; v <= FormVariantCount; ++v) {
        const FormVariant* row = FormVariantOf(v);
        QVERIFY(row);
        if (row->offersRequisite) requisite += QString::number(v);
        if (row->offersDiscount) discount += QString::number(v);
        if (row->offersCode) code += QString::number(v);
        QCOMPARE(row->offersDiscount, row->discount == QStringLiteral("есть"));
    }
    QCOMPARE(requisite, QStringLiteral("1356"));
    QCOMPARE(discount, QStringLiteral("136"));
    QCOMPARE(code, QStringLiteral("36"));
    QCOMPARE(FormVariantOf(2)->valueTexts(),
             (QStringList{QStringLiteral("1"), QStringLiteral("3240000"), QStringLiteral("1"),
                          QStringLiteral("6"), QStringLiteral("нет"), QStringLiteral("нет"),
                          QStringLiteral("нет"), QStringLiteral("нет")}));
    QCOMPARE(FormVariantOf(0)->valueTexts(), QStringList(8, QStringLiteral("---")));
    const QString groups = QStringLiteral("213233");  // variants 1..6
    for (int v = 1; v <= FormVariantCount; ++v)
        QCOMPARE(FormVariantOf(v)->group, QString(groups[v - 1]));
    for (int stored : {7, 9, 255, -1}) QVERIFY(!FormVariantOf(stored));
}

void TestFormPreview::emptyConfiguration() {
    const DeviceConfiguration config = FreshConfiguration();
    const QStringList expected = DocumentTop + ServiceLines + DocumentBottom;
    for (int form = 1; form <= FormCount; ++form)
        QCOMPARE(FormPreviewLines(config, form), expected);
    QVERIFY(FormPreviewLines(config, 0).isEmpty());
    QVERIFY(FormPreviewLines(config, 9).isEmpty());
}

void TestFormPreview::form3WithVariant5AndRequisite2() {
    DeviceConfiguration config = FreshConfiguration();
    SetText(config.cliches[0].lines[0], QStringLiteral("0ООО \"РОМАШКА\""));
    SetText(config.cliches[0].lines[2], QStringLiteral("1ДОБРО"));  // line 2 stays empty
    SetText(config.cliches[0].lines[5], QStringLiteral("0СПАСИБО ЗА ПОКУПКУ"));
    SetText(config.cliches[1].lines[0], QStringLiteral("0ВТОРОЕ КЛИШЕ"));
    SetText(config.documentName, QStringLiteral("0КВИТАНЦИЯ"));
    SetText(config.requisites[1].lines[0], QStringLiteral("0ЛИЦЕВОЙ СЧЕТ"));
    SetText(config.requisites[1].lines[2], QStringLiteral("0ПЕРИОД"));
    SetText(config.requisites[0].lines[0], QStringLiteral("0ЧУЖОЙ РЕКВИЗИТ"));
    config.forms[2] = FormSlot{1, 5, 2, 1};  // the kind is stored, variant 5 prints none

    const QStringList expected =
        QStringList{QStringLiteral("ООО \"РОМАШКА\""), QStringLiteral("Д О Б Р О ")} + DocumentTop +
        QStringList{QStringLiteral("КВИТАНЦИЯ")} + ServiceLines +
        QStringList{QStringLiteral("ЛИЦЕВОЙ СЧЕТ"), QStringLiteral("ПЕРИОД")} + DocumentBottom +
        QStringList{QStringLiteral("СПАСИБО ЗА ПОКУПКУ")};
    QCOMPARE(FormPreviewLines(config, 3), expected);
}

void TestFormPreview::variant1KeepsStoredCodeKind() {
    DeviceConfiguration config = FreshConfiguration();
    SetText(config.requisites[7].lines[1], QStringLiteral("0ВОСЬМОЙ"));
    config.forms[0] = FormSlot{1, 1, 8, 3};
    const QStringList lines = FormPreviewLines(config, 1);
    const int total = int(lines.indexOf(QStringLiteral("ИТОГО            *000.00")));
    QVERIFY(total > 1);
    QCOMPARE(lines[total - 1], QStringLiteral("КОД "));
    QCOMPARE(lines[total - 2], QStringLiteral("ВОСЬМОЙ"));
}

void TestFormPreview::discountLinePerKindAndVariant() {
    const QString sum = QStringLiteral("                 *000.00");
    const struct {
        int variant, kind;
        QString line;
    } cases[] = {{3, 1, QStringLiteral("СКИДКА 00%        *00.00")},
                 {6, 2, QStringLiteral("НАЛОГ 00%        *00.00")},
                 {3, 3, QStringLiteral("КОД ")},
                 {6, 0, sum},
                 {2, 1, sum},
                 {4, 2, sum},
                 {5, 3, sum},
                 {0, 1, sum},
                 {1, 7, sum}};
    for (const auto& c : cases) {
        DeviceConfiguration config = FreshConfiguration();
        config.forms[5] = FormSlot{1, uint8_t(c.variant), 0, uint8_t(c.kind)};
        const QStringList lines = FormPreviewLines(config, 6);
        const int total = int(lines.indexOf(QStringLiteral("ИТОГО            *000.00")));
        QVERIFY2(lines[total - 1] == c.line,
                 qPrintable(QStringLiteral("variant %1 kind %2").arg(c.variant).arg(c.kind)));
    }
}

void TestFormPreview::wideAndNarrowLines() {
    DeviceText text{};
    SetText(text, QStringLiteral("1АБВ"));
    QCOMPARE(FromCp1251(PreviewLine(text)), QStringLiteral("А Б В "));
    QCOMPARE(PreviewLine(text).size(), 6);

    // A wide line longer than 12 characters prints only its first 12.
    SetText(text, QStringLiteral("1ABCDEFGHIJKLMNOP"));
    QCOMPARE(PreviewLine(text), QByteArray("A B C D E F G H I J K L "));
    SetText(text, QStringLiteral("0ABCDEFGHIJKLMNOPQRSTUVWX"));
    QCOMPARE(PreviewLine(text), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWX"));

    // The flag is a character: anything but '0' prints wide, a zero flag included.
    text = DeviceText{};
    std::memcpy(text.bytes, "\0AB", 3);
    QCOMPARE(PreviewLine(text), QByteArray("A B "));
    text.bytes[0] = 'X';
    QCOMPARE(PreviewLine(text), QByteArray("A B "));
    SetText(text, QStringLiteral("0"));
    QVERIFY(PreviewLine(text).isEmpty());

    // Line breaks and tabs from a foreign file keep the line one line.
    std::memcpy(text.bytes, "0A\nB\tC\r\0", 9);
    QCOMPARE(PreviewLine(text), QByteArray("A B C "));
    text.bytes[0] = '1';
    QCOMPARE(PreviewLine(text), QByteArray("A   B   C   "));

    DeviceConfiguration config = FreshConfiguration();
    SetText(config.cliches[0].lines[4], QStringLiteral("1АБВ"));
    QCOMPARE(FormPreviewLines(config, 1).first(), QStringLiteral("А Б В "));
}

void TestFormPreview::valuesOutOfRangeAddNothing() {
    DeviceConfiguration config = FreshConfiguration();
    for (ThreeLineRecord& requisite : config.requisites)
        SetText(requisite.lines[0], QStringLiteral("0РЕКВИЗИТ"));
    const QStringList plain = FormPreviewLines(FreshConfiguration(), 1);
    config.forms[0] = FormSlot{1, 9, 1, 1};  // unknown variant
    QCOMPARE(FormPreviewLines(config, 1), plain);
    config.forms[0] = FormSlot{1, 1, 12, 7};  // requisite and kind out of range
    QCOMPARE(FormPreviewLines(config, 1), plain);
    config.forms[0] = FormSlot{0, 255, 255, 255};
    QCOMPARE(FormPreviewLines(config, 1), plain);
}

void TestFormPreview::anyBytesNeverOverrunAField() {
    // Unterminated texts, odd flags and wild slot values, as a foreign file gives them.
    QRandomGenerator random(20240611);
    DeviceConfiguration config;
    for (int round = 0; round < 300; ++round) {
        auto* bytes = reinterpret_cast<quint32*>(&config);
        for (std::size_t i = 0; i < sizeof config / sizeof(quint32); ++i) bytes[i] = random();
        if (round % 3 == 0) std::memset(&config, 'A', sizeof config);
        for (int form = 0; form <= FormCount + 1; ++form) {
            const QStringList lines = FormPreviewLines(config, form);
            for (const QString& line : lines)
                QVERIFY2(line.size() <= PreviewLineWidth, qPrintable(line));
            QVERIFY(lines.size() <= 5 + 4 + 1 + 6 + 3 + 1 + 8 + 3);
        }
    }
    std::memset(&config, 'A', sizeof config);
    QCOMPARE(PreviewLine(config.documentName), QByteArray(12, 'A').replace("A", "A "));
    config.documentName.bytes[0] = '0';
    QCOMPARE(PreviewLine(config.documentName), QByteArray(24, 'A'));
}

QTEST_APPLESS_MAIN(TestFormPreview)
#include "tst_preview.moc"
