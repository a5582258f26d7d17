#pragma once

// The checks of the goods record editor's "Применить", in their order. The
// first failure gives the message and the field to focus; success gives the
// price as it goes into the table.

#include <QByteArray>
#include <QString>

enum class GoodsEntryField { None, Barcode, Section, Price };

struct GoodsEntryCheck {
    bool ok = false;
    QString message;                                // shown under "Ошибка..."
    GoodsEntryField focus = GoodsEntryField::None;  // the field that gets the focus
    QByteArray price;                               // on success: normalised price text
};

// The section of a record is one byte on the device and in the file.
constexpr int MaxGoodsSection = 255;

// Texts as typed (the fields hold only what their key filters let through,
// which includes '%' and '\'').
GoodsEntryCheck CheckGoodsEntries(const QString& barcode, const QString& section,
                                  const QString& price);
