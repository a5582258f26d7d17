#pragma once

// The six BSO form variants and the three groups they fall into. The table is
// what the constructor page shows beside its captions and what decides which
// controls it offers and which lines the form preview carries.

#include <QString>
#include <QStringList>

struct FormVariant {
    int number;  // 0 for "no variant chosen", 1..6 otherwise
    // The texts of the value labels, in the order of ValueTexts().
    QString group;      // "Текущая группа"
    QString documents;  // "Количество ДСО:"
    QString services;   // "Кол-во услуг:"
    QString sumDigits;  // "Разрядность сумм:"
    QString requisite;  // "Дополнительный реквизит:"
    QString discount;   // "Скидка: "
    QString tax;        // "Налог:"
    QString code;       // "Код:"

    // The requisite controls and the requisite lines of the preview.
    bool offersRequisite;
    // The С/Н/К buttons and the discount, tax or code line of the preview.
    bool offersDiscount;
    // Whether К is among the offered buttons.
    bool offersCode;

    // The eight value labels' texts: group, documents, services, sum digits,
    // requisite, discount, tax, code.
    QStringList valueTexts() const;
};

constexpr int FormVariantCount = 6;

// The row of a stored variant number: 1..6 their rows, 0 the all-"---" row.
// Any other value (a file or a device answer can hold one) has no row: nullptr.
const FormVariant* FormVariantOf(int number);
