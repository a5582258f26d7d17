#include "goods/GoodsRecordCheck.h"

#include "goods/GoodsRecord.h"
#include "goods/Price.h"

namespace {

GoodsEntryCheck Failure(const QString& message, GoodsEntryField focus,
                        const QByteArray& price = {}) {
    GoodsEntryCheck check;
    check.message = message;
    check.focus = focus;
    check.price = price;
    return check;
}

}  // namespace

GoodsEntryCheck CheckGoodsEntries(const QString& barcode, const QString& section,
                                  const QString& price) {
    if (barcode.isEmpty())
        return Failure(QStringLiteral("Незаполнено поле \"Штрих-код\"!"), GoodsEntryField::None);
    if (section.isEmpty())
        return Failure(QStringLiteral("Незаполнено поле \"Секция\"!"), GoodsEntryField::None);
    if (price.isEmpty())
        return Failure(QStringLiteral("Незаполнено поле \"Цена\"!"), GoodsEntryField::None);

    // Non-Latin-1 characters cannot be digits; toLatin1 turns them into '?'.
    const QByteArray priceText = price.toLatin1();
    const std::optional<int64_t> kopecks = parsePrice(priceText);
    if (!kopecks)
        return Failure(
            QStringLiteral("Неккоректное значение цены!\nВозможно неккоректный разделитель!"),
            GoodsEntryField::Price);
    if (*kopecks > MaxGoodsPrice)
        return Failure(QStringLiteral("Значение параметра \"Цена\" превышает разрядность!"),
                       GoodsEntryField::Price);

    // The price is normalised once its own checks pass, whatever the later
    // checks find. Rouble digits as typed, unless leading zeros leave no room
    // for the point and the kopecks in the field, which would cut them off.
    QByteArray normalised = SplitPrice(priceText).normalised();
    if (normalised.size() > GoodsPriceFieldLength) normalised = formatPrice(*kopecks);

    // One byte on the device and in the file: a larger section would come
    // back as another number.
    int64_t sectionValue = 0;
    if (!CellNumber(section.toLatin1(), MaxGoodsSection, sectionValue))
        return Failure(QStringLiteral("Неккоректное значение секции!"), GoodsEntryField::Section,
                       normalised);

    // The digit filter lets '%' and '\'' through; a barcode with them would
    // reach the device as 0.
    int64_t barcodeValue = 0;
    if (!CellNumber(barcode.toLatin1(), MaxGoodsBarcode, barcodeValue))
        return Failure(QStringLiteral("Неккоректное значение штрих-кода!"),
                       GoodsEntryField::Barcode, normalised);

    GoodsEntryCheck check;
    check.ok = true;
    check.price = normalised;
    return check;
}
