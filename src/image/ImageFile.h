#pragma once

// The device image file (*.zimg): everything the program reads from one device
// in one file. A JSON document (UTF-8) whose manifest names the format and its
// version, the program that wrote it, when, and, for the record only, the
// device's factory number, ИНН and state at the time of reading; the
// configuration and the goods database are the bytes of the program's own
// *.cfg and *.base files, base64-encoded under those file names, so that each
// part stays exactly the file format the rest of the program reads.

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

struct DeviceConfiguration;
class GoodsTable;

QString ImageFormatName();  // "zelvo-device-image"
constexpr int ImageFormatVersion = 1;
// A real image is some 60 KB; anything far larger is no image and is not read whole.
constexpr qint64 ImageFileMaxSize = 1024 * 1024;

// The names of the two parts inside the image.
QString ImageConfigurationName();  // "configuration.cfg"
QString ImageGoodsName();          // "goods.base"

struct DeviceImage {
    QString program;  // version of the program that wrote it
    QDateTime created;
    qint64 factoryNumber = 0;
    qint64 taxpayerNumber = 0;
    QJsonObject state;         // the device state at the time of reading
    QByteArray configuration;  // the bytes of a *.cfg file
    QByteArray goods;          // the bytes of a *.base file
};

enum class ImageFileStatus {
    Ok,
    CannotOpen,    // no regular file that could be opened
    CannotCreate,  // the save failed; an earlier file is as it was
    Incorrect,     // no image, or one whose parts are not whole
    Newer,         // a format version this program does not know
};

struct ImageFileResult {
    ImageFileStatus status = ImageFileStatus::Ok;
    QString problem;  // Incorrect, Newer: what is wrong, for the user
    bool ok() const { return status == ImageFileStatus::Ok; }
};

QByteArray EncodeImage(const DeviceImage& image);
// Checks everything a write would rely on: the format, its version, both parts
// present, exactly the size of their files, and every goods record one that
// the goods file may hold. `image` is set only when it all holds.
ImageFileResult DecodeImage(const QByteArray& bytes, DeviceImage& image);

// Saves through SaveFileSafely, readable by its owner only (the configuration
// holds operators' passwords).
ImageFileResult SaveImageFile(const DeviceImage& image, const QString& path);
// Loads at most ImageFileMaxSize bytes of a regular file.
ImageFileResult LoadImageFile(const QString& path, DeviceImage& image);

// The message for a file that could not be saved or loaded.
QString ImageFileMessage(const ImageFileResult& result);

// The parts as the model holds them; false when the bytes are not a whole
// part (DecodeImage has checked that an image it loaded's are).
bool ImageConfiguration(const DeviceImage& image, DeviceConfiguration& config);
bool ImageGoods(const DeviceImage& image, GoodsTable& table);
