#pragma once

// Moving a whole device image between a device and the program: reading
// everything into an image, comparing an image with the device part by part,
// and writing it, only what differs or all of it. Each part goes through its
// own transfer (state query, configuration with forms, goods); this only runs
// them as one operation with one summary. The ИНН is never programmed: it is
// written once and for ever, per device, and has its own dialog.

#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

#include "admin/StateDecoding.h"
#include "config/ConfigurationDiff.h"
#include "goods/GoodsRecord.h"

struct DeviceImage;
class GoodsTable;
class Progress;
class UserDialogs;

// How an image operation ended; its closing message has been shown.
struct ImageOutcome {
    bool completed = false;   // every part ran to its end: not stopped, not refused
    QStringList failures;     // the items (or messages) that failed on the way
    bool fileFailed = false;  // the image file could not be saved
    bool ok() const { return completed && failures.isEmpty(); }
};

// Reads the state, the configuration with the eight forms and the 1001 goods
// records into `image`. An image with a part that could not be read is no
// image of the device: `image` is then left as it was, and the failures named.
ImageOutcome ReadDeviceImage(DeviceImage& image, Progress& progress, UserDialogs& dialogs);
// The read, then the save to `path`, and the one message that tells both.
ImageOutcome ReadDeviceImageToFile(const QString& path, DeviceImage& image, Progress& progress,
                                   UserDialogs& dialogs);

struct GoodsDifference {
    int record = 0;  // 0..1000
    GoodsRecord device;
    GoodsRecord image;
};

// What the device holds against an image.
struct ImageComparison {
    DeviceStateAnswer device;                        // the device's state when compared
    QVector<ConfigurationDifference> configuration;  // forms last, as ConfigurationDiff gives them
    QVector<GoodsDifference> goods;
    // The device's goods as read, then the image's records set over them: its
    // changed rows are the records a write of the differences sends.
    std::shared_ptr<GoodsTable> goodsTable;
    bool taxpayerNumberDiffers = false;

    ImageComparison();
    bool empty() const { return configuration.isEmpty() && goods.isEmpty(); }
};

// Reads the device (state, configuration, forms, goods) and compares it with
// `image`. Warns when the image's ИНН is another than the device's. Writes nothing.
ImageOutcome CompareImageWithDevice(const DeviceImage& image, ImageComparison& comparison,
                                    Progress& progress, UserDialogs& dialogs);

// Writes what `comparison` found different: the configuration items and forms
// the upload writes, and the goods records. Nothing to write is said as such.
ImageOutcome WriteImageDifferences(const DeviceImage& image, const ImageComparison& comparison,
                                   Progress& progress, UserDialogs& dialogs);
// Writes every item of the image: the whole configuration, the eight forms
// and all 1001 goods records, after a state query that finds the device.
ImageOutcome WriteWholeImage(const DeviceImage& image, Progress& progress, UserDialogs& dialogs);

// One line of a comparison as the user reads it.
struct ImageDifferenceLine {
    QString part;  // "конфигурация", "формы БСО", "база товаров"
    QString item;  // "оператор 3, Ф.И.О.", "форма 2", "товар 517"
    QString device;
    QString image;
    QString notWritten;  // why a write of the differences passes it over
};
QVector<ImageDifferenceLine> ImageDifferenceLines(const ImageComparison& comparison);
// "конфигурация: 3, формы БСО: 1, база товаров: 12" — the count per part.
QString ImageDifferenceCounts(const ImageComparison& comparison);

// The warning when the image was read from a device with another ИНН.
QString TaxpayerNumberNotWrittenText(qint64 image, qint64 device);
