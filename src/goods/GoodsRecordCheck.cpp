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

QString EmptyFieldMessage(const QString& title) {
    return QStringLiteral("Незаполнено поле \"%1\"!").arg(title);
}

QString GoodsNameProblem(const QString& name, bool wide) {
    if (wide && name.size() > GoodsWideNameLength)
        return QStringLiteral("Наименование широким шрифтом длиннее %1 символов!")
            .arg(GoodsWideNameLength);
    if (name.size() > GoodsNameLength)
        return QStringLiteral("Наименование длиннее %1 символов!").arg(GoodsNameLength);
    return {};
}

QString GoodsBarcodeProblem(const QString& barcode) {
    // The digit filter lets '%' and '\'' through; a barcode with them would
    // reach the device as 0. Non-Latin-1 characters become '?' and fail too.
    int64_t value = 0;
    if (!CellNumber(barcode.toLatin1(), MaxGoodsBarcode, value))
        return QStringLiteral("Неккоректное значение штрих-кода!");
    return {};
}

QString GoodsSectionProblem(const QString& section) {
    // One byte on the device and in the file: a larger section would come
    // back as another number.
    int64_t value = 0;
    if (!CellNumber(section.toLatin1(), MaxGoodsSection, value))
        return QStringLiteral("Неккоректное значение секции!");
    return {};
}

GoodsPriceCheck CheckGoodsPrice(const QString& price) {
    GoodsPriceCheck check;
    const QByteArray text = price.toLatin1();
    const std::optional<int64_t> kopecks = parsePrice(text);
    if (!kopecks) {
        check.problem =
            QStringLiteral("Неккоректное значение цены!\nВозможно неккоректный разделитель!");
    } else if (*kopecks > MaxGoodsPrice) {
        check.problem = QStringLiteral("Значение параметра \"Цена\" превышает разрядность!");
    } else {
        // Rouble digits as typed, unless leading zeros leave no room for the
        // point and the kopecks in the editor's field, which would cut them off.
        check.normalised = SplitPrice(text).normalised();
        if (check.normalised.size() > GoodsPriceFieldLength)
            check.normalised = formatPrice(*kopecks);
    }
    return check;
}

GoodsEntryCheck CheckGoodsEntries(const QString& name, bool wide, const QString& barcode,
                                  const QString& section, const QString& price) {
    if (barcode.isEmpty())
        return Failure(EmptyFieldMessage(QStringLiteral("Штрих-код")), GoodsEntryField::None);
    if (section.isEmpty())
        return Failure(EmptyFieldMessage(QStringLiteral("Секция")), GoodsEntryField::None);
    if (price.isEmpty())
        return Failure(EmptyFieldMessage(QStringLiteral("Цена")), GoodsEntryField::None);

    const GoodsPriceCheck priceCheck = CheckGoodsPrice(price);
    if (!priceCheck.problem.isEmpty()) return Failure(priceCheck.problem, GoodsEntryField::Price);
    // The price is normalised once its own checks pass, whatever the later
    // checks find.
    const QByteArray& normalised = priceCheck.normalised;

    const QString sectionProblem = GoodsSectionProblem(section);
    if (!sectionProblem.isEmpty())
        return Failure(sectionProblem, GoodsEntryField::Section, normalised);
    const QString barcodeProblem = GoodsBarcodeProblem(barcode);
    if (!barcodeProblem.isEmpty())
        return Failure(barcodeProblem, GoodsEntryField::Barcode, normalised);
    const QString nameProblem = GoodsNameProblem(name, wide);
    if (!nameProblem.isEmpty()) return Failure(nameProblem, GoodsEntryField::Name, normalised);

    GoodsEntryCheck check;
    check.ok = true;
    check.price = normalised;
    return check;
}
