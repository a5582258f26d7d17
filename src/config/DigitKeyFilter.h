#pragma once

#include <QChar>

// The key filter of every numeric field: lets through digits, backspace (8),
// '%' (37) and '\'' (39); turns every other character into 0 so that the field
// ignores the key.
void FilterDigitKey(QChar& key);
