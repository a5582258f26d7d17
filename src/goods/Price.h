#pragma once

// Money is held as a whole count of kopecks; the goods table shows it as
// roubles, a point and exactly two kopeck digits.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// 0 → "0.00", 5 → "0.05", 1205 → "12.05". A negative count is written with a
// leading minus; the table never receives one.
QByteArray formatPrice(int64_t kopecks);

// The price text split the way the editor reads it: the roubles in front of
// the first point, at most two kopeck digits behind it (one digit is followed
// by "0", none gives "00"); what follows the second kopeck digit is dropped.
struct PriceParts {
    QByteArray roubles;
    QByteArray kopecks;  // always two characters
    // Roubles as typed, a point, the two kopeck characters.
    QByteArray normalised() const { return roubles + '.' + kopecks; }
};
PriceParts SplitPrice(const QByteArray& text);

// Text to kopecks: empty text gives 0; otherwise the roubles followed by the
// kopecks must be a decimal number (digits only). Nothing for an invalid text
// or one whose value does not fit 64 bits.
std::optional<int64_t> parsePrice(const QByteArray& text);

// A price pasted from elsewhere ("Цена: 1 234,50 руб.", "123 456 789,99" with
// no-break spaces) as the price field holds it ("1234.50"): the words around
// the number are dropped, spaces inside it are digit groups, a comma is the
// point. Nothing when the text holds no number, more than one, or more than
// one decimal separator: such a paste is refused, not guessed at.
std::optional<QString> PriceFromPaste(const QString& pasted);
