#pragma once

// The checks of the goods record editor's "Применить", in their order. The
// first failure gives the message and the field to focus; a price that passed
// its own checks comes back normalised, as it goes into the table.

#include <QByteArray>
#include <QString>

enum class GoodsEntryField { None, Barcode, Section, Price };

struct GoodsEntryCheck {
    bool ok = false;
    QString message;                                // shown under "Ошибка..."
    GoodsEntryField focus = GoodsEntryField::None;  // the field that gets the focus
    // The normalised price text as soon as the price checks have passed (also
    // when a later check fails); empty before that. It always fits the price
    // field: rouble digits as typed, or without their leading zeros when the
    // point and the kopecks would not fit behind them.
    QByteArray price;
};

// The section of a record is one byte on the device and in the file.
constexpr int MaxGoodsSection = 255;
// The characters the editor's price field takes; the largest price,
// "999999999.00", just fits.
constexpr int GoodsPriceFieldLength = 12;

// Texts as typed (the fields hold only what their key filters let through,
// which includes '%' and '\'').
GoodsEntryCheck CheckGoodsEntries(const QString& barcode, const QString& section,
                                  const QString& price);
