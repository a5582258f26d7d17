#include "image/ImageFile.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>
#include <cstring>
#include <optional>

#include "config/ConfigurationFile.h"
#include "config/DeviceConfiguration.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "shell/RegularFile.h"
#include "shell/SafeSave.h"

namespace {

const QString KeyFormat = QStringLiteral("format");
const QString KeyVersion = QStringLiteral("version");
const QString KeyProgram = QStringLiteral("program");
const QString KeyCreated = QStringLiteral("created");
const QString KeyFactoryNumber = QStringLiteral("factoryNumber");
const QString KeyTaxpayerNumber = QStringLiteral("taxpayerNumber");
const QString KeyState = QStringLiteral("state");
const QString KeyFiles = QStringLiteral("files");

ImageFileResult Incorrect(const QString& problem) {
    return {ImageFileStatus::Incorrect, problem};
}

// One part's bytes: strict base64 of exactly `size` bytes.
std::optional<QByteArray> Part(const QJsonObject& files, const QString& name, int size,
                               QString& problem) {
    const QJsonValue value = files.value(name);
    if (!value.isString()) {
        problem = QStringLiteral("В образе нет части «%1».").arg(name);
        return std::nullopt;
    }
    const auto decoded = QByteArray::fromBase64Encoding(value.toString().toLatin1(),
                                                        QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) {
        problem = QStringLiteral("Часть «%1» повреждена.").arg(name);
        return std::nullopt;
    }
    if (decoded.decoded.size() != size) {
        problem = QStringLiteral("Часть «%1»: %2 байт, а должно быть %3.")
                      .arg(name)
                      .arg(decoded.decoded.size())
                      .arg(size);
        return std::nullopt;
    }
    return decoded.decoded;
}

}  // namespace

QString ImageFormatName() {
    return QStringLiteral("zelvo-device-image");
}

QString ImageConfigurationName() {
    return QStringLiteral("configuration.cfg");
}

QString ImageGoodsName() {
    return QStringLiteral("goods.base");
}

QByteArray EncodeImage(const DeviceImage& image) {
    const QJsonObject files{
        {ImageConfigurationName(), QString::fromLatin1(image.configuration.toBase64())},
        {ImageGoodsName(), QString::fromLatin1(image.goods.toBase64())}};
    const QJsonObject root{
        {KeyFormat, ImageFormatName()},
        {KeyVersion, ImageFormatVersion},
        {KeyProgram, image.program},
        {KeyCreated, image.created.toUTC().toString(Qt::ISODate)},
        {KeyFactoryNumber, image.factoryNumber},
        {KeyTaxpayerNumber, image.taxpayerNumber},
        {KeyState, image.state},
        {KeyFiles, files},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

ImageFileResult DecodeImage(const QByteArray& bytes, DeviceImage& image) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return Incorrect(QStringLiteral("Это не образ АС."));
    const QJsonObject root = document.object();
    if (root.value(KeyFormat).toString() != ImageFormatName())
        return Incorrect(QStringLiteral("Это не образ АС."));
    const QJsonValue version = root.value(KeyVersion);
    if (!version.isDouble() || version.toDouble() < 1 ||
        version.toDouble() != double(version.toInt()))
        return Incorrect(QStringLiteral("Версия формата образа не указана."));
    if (version.toInt() > ImageFormatVersion)
        return {ImageFileStatus::Newer,
                QStringLiteral("Образ записан в формате версии %1, а эта программа читает "
                               "образы версии до %2. Нужна более новая программа.")
                    .arg(version.toInt())
                    .arg(ImageFormatVersion)};
    const QJsonObject files = root.value(KeyFiles).toObject();
    QString problem;
    const auto configuration =
        Part(files, ImageConfigurationName(), ConfigurationFileSize, problem);
    if (!configuration) return Incorrect(problem);
    const auto goods = Part(files, ImageGoodsName(), GoodsFileSize, problem);
    if (!goods) return Incorrect(problem);
    // The goods part is written to the device as it is: every record must be
    // one the goods file may hold, not merely the right number of bytes.
    GoodsTable table;
    const GoodsFileResult decoded = DecodeGoodsFile(table, *goods);
    if (decoded.status != GoodsFileStatus::Ok)
        return Incorrect(QStringLiteral("Часть «%1»: запись %2 некорректна.")
                             .arg(ImageGoodsName())
                             .arg(decoded.recordsLoaded));

    image.program = root.value(KeyProgram).toString();
    image.created = QDateTime::fromString(root.value(KeyCreated).toString(), Qt::ISODate);
    image.factoryNumber = qint64(root.value(KeyFactoryNumber).toDouble());
    image.taxpayerNumber = qint64(root.value(KeyTaxpayerNumber).toDouble());
    image.state = root.value(KeyState).toObject();
    image.configuration = *configuration;
    image.goods = *goods;
    return {};
}

ImageFileResult SaveImageFile(const DeviceImage& image, const QString& path) {
    if (SaveFileSafely(path, EncodeImage(image), NewFileReaders::OwnerOnly)) return {};
    return {ImageFileStatus::CannotCreate, {}};
}

ImageFileResult LoadImageFile(const QString& path, DeviceImage& image) {
    QFile file;
    if (!OpenRegularFile(file, path)) return {ImageFileStatus::CannotOpen, {}};
    // One byte more than allowed tells a file that is too large without
    // reading all of it.
    const QByteArray bytes = file.read(ImageFileMaxSize + 1);
    if (file.error() != QFileDevice::NoError) return {ImageFileStatus::CannotOpen, {}};
    if (bytes.size() > ImageFileMaxSize)
        return Incorrect(
            QStringLiteral("Файл больше %1 байт: это не образ АС.").arg(ImageFileMaxSize));
    return DecodeImage(bytes, image);
}

QString ImageFileMessage(const ImageFileResult& result) {
    switch (result.status) {
        case ImageFileStatus::Ok:
            return {};
        case ImageFileStatus::CannotOpen:
            return QStringLiteral("Не удалось открыть файл...");
        case ImageFileStatus::CannotCreate:
            return QStringLiteral("Не удалось создать файл...");
        case ImageFileStatus::Incorrect:
        case ImageFileStatus::Newer:
            break;
    }
    return QStringLiteral("Некорректный файл...\n") + result.problem;
}

bool ImageConfiguration(const DeviceImage& image, DeviceConfiguration& config) {
    std::memset(&config, 0, sizeof config);
    ResetFormTable(config);
    ResetConfiguration(config);
    return DecodeConfigurationFile(config, image.configuration);
}

bool ImageGoods(const DeviceImage& image, GoodsTable& table) {
    if (image.goods.size() != GoodsFileSize) return false;
    return DecodeGoodsFile(table, image.goods).status == GoodsFileStatus::Ok;
}
