#pragma once

// One record of the goods database as the goods table holds it: the texts of
// its six cells, in Windows-1251. The device form and the file form are built
// from these texts only when a record travels, and checked on the way, so that
// nothing leaves the table in a form that would not come back the same.

#include <QByteArray>
#include <cstdint>

constexpr int GoodsRecordCount = 1001;
constexpr int GoodsNameLength = 24;
// Font flag and name, as the device and the file carry them.
constexpr int GoodsNameFieldSize = 1 + GoodsNameLength;
// The largest barcode the device keeps (48 bits).
constexpr int64_t MaxGoodsBarcode = (int64_t(1) << 48) - 1;
// The editor's largest price, 999 999 999.00; it fits the device's 40 bits.
constexpr int64_t MaxGoodsPrice = 99'999'999'900;

constexpr char WideFlag = '1';
constexpr char NarrowFlag = '0';

// Columns of the goods table; column 0 is the fixed one.
enum GoodsColumn : int {
    ColNumber = 0,
    ColCode = 1,
    ColName = 2,
    ColFont = 3,
    ColBarcode = 4,
    ColSection = 5,
    ColPrice = 6,
    GoodsColumnCount = 7,
};

// "широкий" and "узкий", the two texts of the font column, in Windows-1251.
const QByteArray& WideFontText();
const QByteArray& NarrowFontText();

struct GoodsRecord {
    QByteArray code;     // decimal record number; empty in a blank row
    QByteArray name;     // up to 24 characters
    QByteArray font;     // WideFontText(), NarrowFontText() or empty
    QByteArray barcode;  // decimal digits or empty
    QByteArray section;  // decimal number or empty
    QByteArray price;    // price text (formatPrice) or empty

    bool isWide() const { return font == WideFontText(); }
    bool isBlank() const;
    // Holds goods: a name, or a barcode, section or price other than zero. A
    // row of codes and zeros is what the device keeps for an unused record.
    bool hasGoods() const;
    // Column 1..6; other columns have no text.
    QByteArray cell(int column) const;
    void setCell(int column, const QByteArray& text);

    bool operator==(const GoodsRecord& other) const;
    bool operator!=(const GoodsRecord& other) const { return !(*this == other); }
};

// Strict decimal reading of a cell: digits only, no sign, no spaces, and the
// value within `max`. Empty text is not a number.
bool CellNumber(const QByteArray& text, int64_t max, int64_t& value);
