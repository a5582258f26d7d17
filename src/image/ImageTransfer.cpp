#include "image/ImageTransfer.h"

#include <QDateTime>
#include <cstring>

#include "admin/StateJson.h"
#include "config/ConfigurationDiff.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/UploadSkips.h"
#include "device/DeviceCharset.h"
#include "device/Protocol.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "image/ImageFile.h"
#include "image/ImageParts.h"
#include "image/WholeConfigurationTransfer.h"

namespace {

// Items of each part, for the one bar over all of them: the state query, the
// configuration's 97 parameters and 8 forms, the goods records.
constexpr int StateItems = 1;
constexpr int ConfigurationItems = 24 + 1 + 24 + 24 + 16 + FormCount;

const QString ReadCaption = QStringLiteral("Чтение образа АС...");
const QString CompareCaption = QStringLiteral("Сравнение образа с АС...");
const QString WriteCaption = QStringLiteral("Запись образа в АС...");
const QString StateText = QStringLiteral("Запрос состояния...");

// The wait window and the parts' dialogs for one image operation, taken down
// however it ends (a factory number that does not convert throws).
class ImageRun {
public:
    ImageRun(Progress& progress, UserDialogs& dialogs, int total, const QString& caption)
        : progress_(progress, total), dialogs_(dialogs), installed_(progress_, dialogs_) {
        progress_.open(caption, StateText);
    }
    ~ImageRun() { progress_.close(); }

    ImageProgress& progress() { return progress_; }
    ImageDialogs& dialogs() { return dialogs_; }

    // The one exchange of the state query, counted as an item of the bar.
    std::optional<DeviceStateAnswer> queryState() {
        const StateQuery query = QueryDeviceState();
        progress_.begin();
        progress_.step(StateItems, StateItems);
        progress_.end();
        if (query.ok()) return query.answer;
        dialogs_.error(StateFailureMessage(query));
        return std::nullopt;
    }

private:
    ImageProgress progress_;
    ImageDialogs dialogs_;
    ImagePartsInstalled installed_;
};

std::unique_ptr<DeviceConfiguration> FreshConfiguration() {
    auto config = std::make_unique<DeviceConfiguration>();
    std::memset(config.get(), 0, sizeof *config);
    ResetFormTable(*config);
    ResetConfiguration(*config);
    return config;
}

std::unique_ptr<DeviceConfiguration> ConfigurationOf(const DeviceImage& image) {
    auto config = FreshConfiguration();
    ImageConfiguration(image, *config);
    return config;
}

bool ReadParts(DeviceImage& image, ImageRun& run) {
    const std::optional<DeviceStateAnswer> state = run.queryState();
    if (!state) return false;
    image.factoryNumber = qint64(state->factoryNumber);
    image.taxpayerNumber = qint64(state->taxpayerNumber);
    image.state = StateJson(*state);

    const auto config = FreshConfiguration();
    // Whatever could not be read is among the run's failures, and an image
    // with a failure is never saved.
    UnreadItems unread;
    if (!ReadConfigurationForComparison(*config, unread)) return false;
    image.configuration = EncodeConfigurationFile(*config);

    GoodsTable table;
    if (!ReadAllGoods(table, run.progress(), run.dialogs())) return false;
    const GoodsFileResult encoded = EncodeGoodsFile(table, image.goods);
    if (encoded.status != GoodsFileStatus::Ok) {
        run.dialogs().error(PriceTooLargeMessage(encoded.code, encoded.price));
        return false;
    }
    image.program = QStringLiteral(ZELVO_VERSION);
    image.created = QDateTime::currentDateTimeUtc();
    return true;
}

QString FailureList(const QStringList& failures) {
    return failures.join(QStringLiteral("; "));
}

QString GoodsText(const GoodsRecord& record) {
    if (!record.hasGoods()) return QStringLiteral("пусто");
    return QStringLiteral("%1; %2; штрихкод %3; секция %4; цена %5")
        .arg(FromCp1251(record.name), FromCp1251(record.font), FromCp1251(record.barcode),
             FromCp1251(record.section), FromCp1251(record.price));
}

QString PartOf(const ConfigurationDifference& difference) {
    return difference.item.kind == ConfigurationItemKind::Form ? QStringLiteral("формы БСО")
                                                               : QStringLiteral("конфигурация");
}

// The closing message of a write: success only when every part ran to its end
// and nothing failed on the way.
void TellWriteOutcome(const ImageOutcome& outcome, int configurationItems, int goodsRecords,
                      bool stopped, UserDialogs& dialogs) {
    if (outcome.ok()) {
        dialogs.success(QStringLiteral("Образ записан в АС: элементов конфигурации и форм "
                                       "БСО — %1, записей базы товаров — %2.")
                            .arg(configurationItems)
                            .arg(goodsRecords));
        return;
    }
    // A stop has been told as such ("Операция прервана.").
    if (stopped && outcome.failures.isEmpty()) return;
    QString text = QStringLiteral("Образ записан в АС не полностью.");
    if (!outcome.failures.isEmpty())
        text +=
            QStringLiteral("\nНе записано: ") + FailureList(outcome.failures) + QLatin1Char('.');
    dialogs.error(text);
}

void WarnAboutTaxpayerNumber(const DeviceImage& image, const DeviceStateAnswer& device,
                             UserDialogs& dialogs) {
    if (image.taxpayerNumber != qint64(device.taxpayerNumber))
        dialogs.warning(
            TaxpayerNumberNotWrittenText(image.taxpayerNumber, qint64(device.taxpayerNumber)));
}

}  // namespace

ImageComparison::ImageComparison() : goodsTable(std::make_shared<GoodsTable>()) {}

ImageOutcome ReadDeviceImage(DeviceImage& image, Progress& progress, UserDialogs& dialogs) {
    MachineNumberValue(CurrentPortSettings().MachineNumber);  // throws before anything shows
    ImageOutcome outcome;
    DeviceImage read;
    {
        ImageRun run(progress, dialogs, StateItems + ConfigurationItems + GoodsRecordCount,
                     ReadCaption);
        outcome.completed = ReadParts(read, run);
        if (outcome.completed) run.progress().complete();
        outcome.failures = run.dialogs().failures();
    }
    if (outcome.ok()) image = read;
    return outcome;
}

ImageOutcome ReadDeviceImageToFile(const QString& path, DeviceImage& image, Progress& progress,
                                   UserDialogs& dialogs) {
    ImageOutcome outcome = ReadDeviceImage(image, progress, dialogs);
    if (!outcome.completed) return outcome;  // the part that stopped has said why
    if (!outcome.failures.isEmpty()) {
        dialogs.error(QStringLiteral("Образ не сохранён: из АС прочитано не всё.\nНе "
                                     "прочитано: ") +
                      FailureList(outcome.failures) + QLatin1Char('.'));
        return outcome;
    }
    const ImageFileResult saved = SaveImageFile(image, path);
    if (!saved.ok()) {
        outcome.failures << ImageFileMessage(saved);
        outcome.fileFailed = true;
        dialogs.error(ImageFileMessage(saved));
        return outcome;
    }
    GoodsTable table;
    ImageGoods(image, table);
    int withGoods = 0;
    for (const GoodsRecord& record : table.records())
        if (record.hasGoods()) ++withGoods;
    dialogs.success(QStringLiteral("Образ АС сохранён: конфигурация, формы БСО и база товаров "
                                   "(записей с товарами: %1).\nЗаводской номер АС: %2, ИНН: %3.")
                        .arg(withGoods)
                        .arg(image.factoryNumber)
                        .arg(image.taxpayerNumber));
    return outcome;
}

ImageOutcome CompareImageWithDevice(const DeviceImage& image, ImageComparison& comparison,
                                    Progress& progress, UserDialogs& dialogs) {
    MachineNumberValue(CurrentPortSettings().MachineNumber);
    ImageOutcome outcome;
    ImageComparison found;
    {
        ImageRun run(progress, dialogs, StateItems + ConfigurationItems + GoodsRecordCount,
                     CompareCaption);
        outcome.completed = [&] {
            const std::optional<DeviceStateAnswer> state = run.queryState();
            if (!state) return false;
            found.device = *state;
            found.taxpayerNumberDiffers = image.taxpayerNumber != qint64(state->taxpayerNumber);
            WarnAboutTaxpayerNumber(image, *state, run.dialogs());

            const auto program = ConfigurationOf(image);
            auto device = std::make_unique<DeviceConfiguration>(*program);
            // An item that could not be read keeps the image's value in
            // `device`: only `unreadItems` stops it from passing for equal.
            UnreadItems unreadItems;
            if (!ReadConfigurationForComparison(*device, unreadItems)) return false;
            found.configuration = CompareConfigurations(*device, *program, unreadItems);

            GoodsTable& table = *found.goodsTable;
            if (!ReadAllGoods(table, run.progress(), run.dialogs())) return false;
            const QVector<GoodsRecord> deviceRecords = table.records();
            QVector<bool> unreadRows(GoodsRecordCount);
            for (int row = 1; row <= GoodsRecordCount; ++row)
                unreadRows[row - 1] = table.isUnread(row);
            GoodsTable imageTable;
            ImageGoods(image, imageTable);
            table.setRecords(1, imageTable.records());
            for (const int row : table.changedRows()) {
                GoodsDifference difference{row - 1, deviceRecords[row - 1], imageTable.record(row)};
                if (unreadRows[row - 1]) difference.device = GoodsRecord();
                found.goods.append(difference);
            }
            return true;
        }();
        outcome.failures = run.dialogs().failures();
    }
    if (outcome.completed) comparison = found;
    return outcome;
}

ImageOutcome WriteImageDifferences(const DeviceImage& image, const ImageComparison& comparison,
                                   Progress& progress, UserDialogs& dialogs) {
    MachineNumberValue(CurrentPortSettings().MachineNumber);
    const QVector<ConfigurationItem> items = WrittenItems(comparison.configuration);
    GoodsTable& table = *comparison.goodsTable;
    const int goodsRecords = table.changedCount();
    const QString skipped = SkippedDifferencesText(comparison.configuration);
    if (!skipped.isEmpty()) dialogs.warning(skipped);
    ImageOutcome outcome;
    if (items.isEmpty() && goodsRecords == 0) {
        // Nothing is sent: no "written" to report.
        dialogs.warning(
            QStringLiteral("Образ и АС не отличаются в том, что можно записать: "
                           "ничего не записано."));
        outcome.completed = true;
        return outcome;
    }
    const auto config = ConfigurationOf(image);
    bool stopped = false;
    {
        ImageRun run(progress, dialogs, ConfigurationItems + goodsRecords, WriteCaption);
        run.progress().setWaitText(QStringLiteral("Загрузка..."));
        outcome.completed =
            (items.isEmpty() || UploadConfigurationAndForms(*config, items)) &&
            (goodsRecords == 0 || WriteChangedGoods(table, run.progress(), run.dialogs()));
        outcome.failures = run.dialogs().failures();
        stopped = run.progress().stopRequested();
    }
    TellWriteOutcome(outcome, int(items.size()), goodsRecords, stopped, dialogs);
    return outcome;
}

ImageOutcome WriteWholeImage(const DeviceImage& image, Progress& progress, UserDialogs& dialogs) {
    MachineNumberValue(CurrentPortSettings().MachineNumber);
    const auto config = ConfigurationOf(image);
    GoodsTable table;
    ImageGoods(image, table);
    const QVector<ConfigurationItem> items = AllConfigurationItems();
    ImageOutcome outcome;
    bool stopped = false;
    {
        ImageRun run(progress, dialogs, StateItems + ConfigurationItems + GoodsRecordCount,
                     WriteCaption);
        outcome.completed = [&] {
            const std::optional<DeviceStateAnswer> state = run.queryState();
            if (!state) return false;
            WarnAboutTaxpayerNumber(image, *state, run.dialogs());
            return UploadConfigurationAndForms(*config, items) &&
                   WriteAllGoods(table, run.progress(), run.dialogs());
        }();
        outcome.failures = run.dialogs().failures();
        stopped = run.progress().stopRequested();
    }
    int written = 0;
    for (const ConfigurationItem& item : items)
        if (UploadSkipReason(*config, item).isEmpty()) ++written;
    TellWriteOutcome(outcome, written, GoodsRecordCount, stopped, dialogs);
    return outcome;
}

QVector<ImageDifferenceLine> ImageDifferenceLines(const ImageComparison& comparison) {
    QVector<ImageDifferenceLine> lines;
    for (const ConfigurationDifference& difference : comparison.configuration)
        lines.append({PartOf(difference), difference.name, difference.deviceValue,
                      difference.programValue, difference.skipReason});
    for (const GoodsDifference& difference : comparison.goods)
        lines.append({QStringLiteral("база товаров"),
                      QStringLiteral("товар %1").arg(difference.record),
                      GoodsText(difference.device), GoodsText(difference.image), QString()});
    return lines;
}

QString ImageDifferenceCounts(const ImageComparison& comparison) {
    int forms = 0;
    for (const ConfigurationDifference& difference : comparison.configuration)
        if (difference.item.kind == ConfigurationItemKind::Form) ++forms;
    return QStringLiteral("конфигурация: %1, формы БСО: %2, база товаров: %3")
        .arg(comparison.configuration.size() - forms)
        .arg(forms)
        .arg(comparison.goods.size());
}

QString TaxpayerNumberNotWrittenText(qint64 image, qint64 device) {
    return QStringLiteral(
               "ИНН в образе (%1) не тот, что в АС (%2). ИНН при записи образа не "
               "программируется: он программируется один раз, в окне "
               "«Программирование ИНН».")
        .arg(image)
        .arg(device);
}
