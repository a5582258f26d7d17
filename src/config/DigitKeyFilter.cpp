#include "config/DigitKeyFilter.h"

void FilterDigitKey(QChar& key) {
    const char16_t c = key.unicode();
    if ((c >= u'0' && c <= u'9') || c == 8 || c == 37 || c == 39) return;
    key = QChar(0);
}
