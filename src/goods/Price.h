#pragma once

// Money is held as a whole count of kopecks; the goods table shows it as
// roubles, a point and exactly two kopeck digits.

#include <QByteArray>
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
