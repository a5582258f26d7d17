#include <QTextCodec>

#include "device/DeviceCharset.h"

namespace {

QTextCodec* Cp1251() {
    static QTextCodec* codec = QTextCodec::codecForName("Windows-1251");
    return codec;
}

}  // namespace

QString FromCp1251(const QByteArray& bytes) {
    return Cp1251()->toUnicode(bytes);
}

QByteArray ToCp1251(const QString& text) {
    return Cp1251()->fromUnicode(text);
}
