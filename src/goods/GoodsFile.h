#pragma once

// The goods file ("*.base"): no header, 1001 records of 40 bytes, record i at
// offset 40 * i holding table row i + 1, numbers little-endian, names in
// Windows-1251 as the user sees them.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

class GoodsTable;

#pragma pack(push, 1)
struct GoodsFileRecord {
    uint16_t code;    // the "Код товара" cell modulo 65 536, 0 when empty
    char flag;        // '1' wide, '0' narrow, 0 in a blank row
    char name[24];    // Windows-1251, zero-filled; 24 characters have no terminator
    int64_t barcode;  // 0 when empty
    uint8_t section;  // low 8 bits
    int32_t price;    // kopecks
};
#pragma pack(pop)

static_assert(sizeof(GoodsFileRecord) == 40);
static_assert(offsetof(GoodsFileRecord, flag) == 2);
static_assert(offsetof(GoodsFileRecord, name) == 3);
static_assert(offsetof(GoodsFileRecord, barcode) == 27);
static_assert(offsetof(GoodsFileRecord, section) == 35);
static_assert(offsetof(GoodsFileRecord, price) == 36);

constexpr int GoodsFileRecordSize = int(sizeof(GoodsFileRecord));
constexpr int GoodsFileSize = 40040;

enum class GoodsFileStatus {
    Ok,
    CannotCreate,  // "Не удалось создать файл..."
    CannotOpen,  // "Не удалось открыть файл...": no regular file that could be opened
    Incorrect,      // "Некорректный файл..."
    PriceTooLarge,  // a row's price does not fit the file's 32 bits; nothing written
};

struct GoodsFileResult {
    GoodsFileStatus status = GoodsFileStatus::Ok;
    int recordsLoaded = 0;  // loading: records put into the table
    int row = 0;            // PriceTooLarge: the table row
    QByteArray code;        // PriceTooLarge: the row's "Код товара" text
    QByteArray price;       // PriceTooLarge: the row's price text
    QString cause;          // CannotOpen, Incorrect: why, for the user
};

// The file image of the whole table, or PriceTooLarge for the first row whose
// price the file cannot hold (then `bytes` is left empty).
GoodsFileResult EncodeGoodsFile(const GoodsTable& table, QByteArray& bytes);

// Saves through SaveFileSafely: an error leaves an existing file as it was
// (SafeSave.h names the one case in which the file is written in place).
GoodsFileResult SaveGoodsFile(const GoodsTable& table, const QString& path);

// Reads the first 1001 records of the file (a longer file's rest is ignored)
// into rows 1.. in order. A file that ends inside the records, or a record
// whose flag, barcode or price no goods record can have, stops the load there
// with Incorrect; the rows loaded before stay.
GoodsFileResult LoadGoodsFile(GoodsTable& table, const QString& path);
// The same over bytes already read.
GoodsFileResult DecodeGoodsFile(GoodsTable& table, const QByteArray& bytes);

// With the page's messages.
GoodsFileResult SaveGoodsFileInteractive(const GoodsTable& table, const QString& path);
GoodsFileResult LoadGoodsFileInteractive(GoodsTable& table, const QString& path);

// The message for a price that the file cannot hold, naming the goods by the
// "Код товара" the user sees in the table.
QString PriceTooLargeMessage(const QByteArray& code, const QByteArray& price);
