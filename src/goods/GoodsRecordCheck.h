#pragma once

// The rules a goods record's entries must keep, written once. The record
// editor's "Применить" runs them in its order and stops at the first failure;
// the CSV import runs every rule on every row. Each message is the editor's.

#include <QByteArray>
#include <QString>

enum class GoodsEntryField { None, Name, Barcode, Section, Price };

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
// Wide print takes two places of the 24 a line has.
constexpr int GoodsWideNameLength = 12;

// "Незаполнено поле "<title>"!"
QString EmptyFieldMessage(const QString& title);

// The single rules over a filled entry; an empty message when it passes.
QString GoodsNameProblem(const QString& name, bool wide);
QString GoodsBarcodeProblem(const QString& barcode);
QString GoodsSectionProblem(const QString& section);
struct GoodsPriceCheck {
    QString problem;
    QByteArray normalised;  // when it passes: as GoodsEntryCheck::price
};
GoodsPriceCheck CheckGoodsPrice(const QString& price);

// "Применить": texts as typed (the fields hold only what their key filters let
// through, which includes '%' and '\''). Emptiness first, then the price, the
// section, the barcode and the name.
GoodsEntryCheck CheckGoodsEntries(const QString& name, bool wide, const QString& barcode,
                                  const QString& section, const QString& price);
