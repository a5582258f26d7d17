#include "goods/GoodsFile.h"

#include <QFile>
#include <QtEndian>
#include <cstring>
#include <limits>

#include "device/DeviceCharset.h"
#include "goods/GoodsTable.h"
#include "goods/Price.h"
#include "shell/RegularFile.h"
#include "shell/SafeSave.h"
#include "shell/UserDialogs.h"

namespace {

constexpr int64_t MaxFilePrice = std::numeric_limits<int32_t>::max();

// A cell that holds no number (it is empty) is stored as 0.
int64_t CellValue(const QByteArray& text) {
    int64_t value = 0;
    return CellNumber(text, std::numeric_limits<int64_t>::max(), value) ? value : 0;
}

GoodsFileRecord FileRecordOf(const GoodsRecord& record, int64_t price) {
    GoodsFileRecord out{};
    out.code = qToLittleEndian(uint16_t(CellValue(record.code) & 0xFFFF));
    out.flag = record.font == WideFontText()     ? WideFlag
               : record.font == NarrowFontText() ? NarrowFlag
                                                 : '\0';
    std::memcpy(out.name, record.name.constData(),
                std::size_t(std::min<int>(int(record.name.size()), GoodsNameLength)));
    out.barcode = qToLittleEndian(CellValue(record.barcode));
    out.section = uint8_t(CellValue(record.section) & 0xFF);
    out.price = qToLittleEndian(int32_t(price));
    return out;
}

// False for a record that no table row can come from: a flag other than the
// two font flags and the blank 0, a barcode the device cannot keep, or a
// negative price.
bool RecordOfFile(const GoodsFileRecord& in, GoodsRecord& record) {
    const int64_t barcode = qFromLittleEndian(in.barcode);
    const int32_t price = qFromLittleEndian(in.price);
    if (in.flag != WideFlag && in.flag != NarrowFlag && in.flag != '\0') return false;
    if (barcode < 0 || barcode > MaxGoodsBarcode || price < 0) return false;
    record.code = QByteArray::number(qFromLittleEndian(in.code));
    record.name = FieldText(in.name, GoodsNameLength);
    record.font = in.flag == WideFlag     ? WideFontText()
                  : in.flag == NarrowFlag ? NarrowFontText()
                                          : QByteArray();
    record.barcode = barcode == 0 ? QByteArray() : QByteArray::number(qlonglong(barcode));
    record.section = QByteArray::number(in.section);
    record.price = formatPrice(price);
    return true;
}

}  // namespace

QString PriceTooLargeMessage(const QByteArray& code, const QByteArray& price) {
    return QStringLiteral(
               "Код товара %1: цена %2 больше наибольшей цены файла базы (%3).\n"
               "Файл не сохранен...")
        .arg(FromCp1251(code), FromCp1251(price), QString::fromLatin1(formatPrice(MaxFilePrice)));
}

GoodsFileResult EncodeGoodsFile(const GoodsTable& table, QByteArray& bytes) {
    bytes.clear();
    QByteArray image(GoodsFileSize, '\0');
    for (int row = 1; row <= GoodsRecordCount; ++row) {
        const GoodsRecord& record = table.record(row);
        const std::optional<int64_t> price = parsePrice(record.price);
        if (!price || *price < 0 || *price > MaxFilePrice) {
            GoodsFileResult result;
            result.status = GoodsFileStatus::PriceTooLarge;
            result.row = row;
            result.code = record.code;
            result.price = record.price;
            return result;
        }
        const GoodsFileRecord out = FileRecordOf(record, *price);
        std::memcpy(image.data() + (row - 1) * GoodsFileRecordSize, &out, sizeof out);
    }
    bytes = image;
    return {};
}

GoodsFileResult SaveGoodsFile(const GoodsTable& table, const QString& path) {
    QByteArray bytes;
    GoodsFileResult result = EncodeGoodsFile(table, bytes);
    if (result.status != GoodsFileStatus::Ok) return result;
    if (!SaveFileSafely(path, bytes)) result.status = GoodsFileStatus::CannotCreate;
    return result;
}

GoodsFileResult DecodeGoodsFile(GoodsTable& table, const QByteArray& bytes) {
    GoodsFileResult result;
    const int whole = std::min(int(bytes.size()) / GoodsFileRecordSize, GoodsRecordCount);
    QVector<GoodsRecord> records;
    records.reserve(whole);
    for (int i = 0; i < whole; ++i) {
        GoodsFileRecord in;
        std::memcpy(&in, bytes.constData() + i * GoodsFileRecordSize, sizeof in);
        GoodsRecord record;
        if (!RecordOfFile(in, record)) break;
        records.append(record);
    }
    table.setRecords(1, records);
    result.recordsLoaded = int(records.size());
    if (result.recordsLoaded < GoodsRecordCount) {
        result.status = GoodsFileStatus::Incorrect;
        if (bytes.isEmpty())
            result.cause = QStringLiteral("файл пуст");
        else if (result.recordsLoaded < whole)
            result.cause = QStringLiteral("запись %1 из %2 повреждена")
                               .arg(result.recordsLoaded + 1)
                               .arg(GoodsRecordCount);
        else
            result.cause = QStringLiteral("файл обрывается после записи %1 из %2")
                               .arg(result.recordsLoaded)
                               .arg(GoodsRecordCount);
    }
    return result;
}

GoodsFileResult LoadGoodsFile(GoodsTable& table, const QString& path) {
    QFile file;
    if (!OpenRegularFile(file, path)) {
        GoodsFileResult result;
        result.status = GoodsFileStatus::CannotOpen;
        result.cause = FileOpenFailureCause(path);
        return result;
    }
    // Only the records are read, however long the file is.
    QByteArray bytes(GoodsFileSize, '\0');
    qint64 got = 0;
    while (got < GoodsFileSize) {
        const qint64 n = file.read(bytes.data() + got, GoodsFileSize - got);
        if (n <= 0) break;
        got += n;
    }
    bytes.truncate(int(got));
    return DecodeGoodsFile(table, bytes);
}

GoodsFileResult SaveGoodsFileInteractive(const GoodsTable& table, const QString& path) {
    const GoodsFileResult result = SaveGoodsFile(table, path);
    switch (result.status) {
        case GoodsFileStatus::Ok:
            Dialogs().plain(QStringLiteral("Сохранено..."));
            break;
        case GoodsFileStatus::PriceTooLarge:
            Dialogs().error(PriceTooLargeMessage(result.code, result.price));
            break;
        default:
            Dialogs().error(QStringLiteral("Не удалось создать файл..."));
            break;
    }
    return result;
}

GoodsFileResult LoadGoodsFileInteractive(GoodsTable& table, const QString& path) {
    const GoodsFileResult result = LoadGoodsFile(table, path);
    switch (result.status) {
        case GoodsFileStatus::Ok:
            break;
        case GoodsFileStatus::CannotOpen:
            Dialogs().error(
                FileMessage(QStringLiteral("Не удалось открыть файл..."), path, result.cause));
            break;
        default:
            Dialogs().error(
                FileMessage(QStringLiteral("Некорректный файл..."), path, result.cause));
            break;
    }
    return result;
}
