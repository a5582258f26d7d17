#include "forms/FormVariants.h"

#include <array>

namespace {

// Row order: variant, group, documents, services, digits, requisite, discount, tax, code.
const std::array<FormVariant, FormVariantCount + 1>& Table() {
    const QString Yes = QStringLiteral("есть");
    const QString No = QStringLiteral("нет");
    const QString None = QStringLiteral("---");
    static const std::array<FormVariant, FormVariantCount + 1> table = {{
        {0, None, None, None, None, None, None, None, None, false, false, false},
        {1, QStringLiteral("2"), QStringLiteral("2350000"), QStringLiteral("1"),
         QStringLiteral("9"), Yes, Yes, Yes, No, true, true, false},
        {2, QStringLiteral("1"), QStringLiteral("3240000"), QStringLiteral("1"),
         QStringLiteral("6"), No, No, No, No, false, false, false},
        {3, QStringLiteral("3"), QStringLiteral("1620000"), QStringLiteral("2"),
         QStringLiteral("9"), Yes, Yes, Yes, Yes, true, true, true},
        {4, QStringLiteral("2"), QStringLiteral("2350000"), QStringLiteral("2"),
         QStringLiteral("6"), No, No, No, No, false, false, false},
        {5, QStringLiteral("3"), QStringLiteral("1620000"), QStringLiteral("3"),
         QStringLiteral("7"), Yes, No, No, No, true, false, false},
        {6, QStringLiteral("3"), QStringLiteral("1620000"), QStringLiteral("3"),
         QStringLiteral("7"), Yes, Yes, Yes, Yes, true, true, true},
    }};
    return table;
}

}  // namespace

QStringList FormVariant::valueTexts() const {
    return {group, documents, services, sumDigits, requisite, discount, tax, code};
}

const FormVariant* FormVariantOf(int number) {
    if (number < 0 || number > FormVariantCount) return nullptr;
    return &Table()[std::size_t(number)];
}
