// zelvo-fuzz-seeds CORPUS-DIR: writes the seed corpus of every fuzz target
// into CORPUS-DIR/<target>/, from the program's own writers and the answers
// of the emulated device, so that each seed is an input the program really
// meets. The seeds are kept in the repository; run this again only when an
// input format of a target or a file or frame format changes.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <cstdio>

#include "admin/StateDecoding.h"
#include "config/ConfigurationFile.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "device/DeviceCharset.h"
#include "emulator/DeviceEmulator.h"
#include "goods/GoodsCsv.h"
#include "goods/GoodsFile.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"
#include "support/AnswerOperations.h"
#include "support/IndicatorProgress.h"
#include "support/InputLink.h"
#include "support/SampleData.h"
#include "support/TransferOperations.h"

namespace {

QString g_root;

void WriteSeed(const QString& target, const QString& name, const QByteArray& bytes) {
    const QString dir = g_root + QLatin1Char('/') + target;
    QDir().mkpath(dir);
    QFile file(dir + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
        std::exit(1);
    }
}

// Answers every question Yes and writes the reply into the recorded input.
class RecordingDialogs : public UserDialogs {
public:
    explicit RecordingDialogs(QByteArray& input) : input_(input) { SetDialogs(this); }
    ~RecordingDialogs() override { SetDialogs(nullptr); }
    bool ask(const QString&, const QString&, DialogIcon) override {
        input_.append('\x01');
        return true;
    }
    void inform(const QString&, const QString&, DialogIcon) override {}

private:
    QByteArray& input_;
};

// The emulated device behind the fuzzers' link, its answers written into
// the recorded input as the transfer target reads them.
class RecordedDevice {
public:
    explicit RecordedDevice(DeviceEmulator& device)
        : link_([this] { return answer(); }), device_(device) {}
    QByteArray input;
    bool chunked = true;

private:
    QByteArray answer() {
        const QByteArray bytes = device_.respond(link_.lastRequest());
        if (chunked) input.append(char(bytes.size()));
        input.append(bytes);
        return bytes;
    }
    InputLink link_;
    DeviceEmulator& device_;
};

// A fresh device holding the sample configuration and goods, as after the
// operator's first session: each seed starts from it.
void PrepareDevice(DeviceEmulator& device) {
    device.reset();
    device.setFactoryNumber(12345);
    device.setClock(QDateTime(QDate(2024, 5, 17), QTime(9, 5)));
    RecordedDevice unrecorded(device);
    DeviceConfiguration config;
    FillSampleConfiguration(config);
    UploadConfiguration(config);
    GoodsTable table;
    FillSampleGoods(table, 40);
    WriteAllGoods(table, SilentProgress(), Dialogs());
}

void AnswerSeeds(DeviceEmulator& device) {
    const char* names[AnswerOperationCount] = {"parameter-read", "password-read", "parameter-write",
                                               "form-read",      "form-write",    "inn",
                                               "goods-read",     "goods-write",   "state"};
    for (int choice = 0; choice < AnswerOperationCount; ++choice) {
        PrepareDevice(device);
        RecordedDevice recorded(device);
        recorded.chunked = false;
        RunAnswerOperation(choice);
        WriteSeed(QStringLiteral("device_answers"), QString::fromLatin1(names[choice]),
                  char(choice) + recorded.input);
    }
    // A device that refuses: the error path of a command.
    Fault refusal;
    refusal.kind = FaultKind::DeviceError;
    refusal.value = 52;
    refusal.count = 1;
    PrepareDevice(device);
    device.addFault(refusal);
    RecordedDevice recorded(device);
    recorded.chunked = false;
    RunAnswerOperation(0);
    WriteSeed(QStringLiteral("device_answers"), QStringLiteral("parameter-refused"),
              char(0) + recorded.input);
}

void TransferSeed(DeviceEmulator& device, const QString& name, uint8_t operation,
                  uint8_t stopAfter = 0xFF, const QVector<Fault>& faults = {}) {
    PrepareDevice(device);
    for (const Fault& fault : faults) device.addFault(fault);
    static DeviceConfiguration config;
    FillSampleConfiguration(config);
    static GoodsTable table;
    table.clear();
    FillSampleGoods(table, 40);
    RecordedDevice recorded(device);
    RecordingDialogs dialogs(recorded.input);
    IndicatorProgress progress(stopAfter == 0xFF ? -1 : stopAfter);
    RunTransferOperation(operation, config, table, progress, dialogs);
    QByteArray input;
    input.append(char(operation));
    input.append(char(stopAfter));
    WriteSeed(QStringLiteral("transfer_loops"), name, input + recorded.input);
}

// The list-page operation for ListPage argument `arg` (page, item, direction).
uint8_t ListPageOperation(int arg) {
    return uint8_t((arg / 4) << 4 | (11 + arg % 4));
}

void TransferSeeds(DeviceEmulator& device) {
    TransferSeed(device, QStringLiteral("upload-configuration"), 0x01);
    TransferSeed(device, QStringLiteral("download-configuration"), 0x00);
    TransferSeed(device, QStringLiteral("download-configuration-wizard"), 0x10);
    TransferSeed(device, QStringLiteral("form-table"), 0x02);
    TransferSeed(device, QStringLiteral("write-goods-stopped"), 0x04, 30);
    TransferSeed(device, QStringLiteral("read-all-goods"), 0x03);
    TransferSeed(device, QStringLiteral("erase-goods-stopped"), 0x05, 5);
    TransferSeed(device, QStringLiteral("read-goods-row"), 0x36);
    TransferSeed(device, QStringLiteral("write-goods-row"), 0x37);
    TransferSeed(device, QStringLiteral("read-document-name"), 0x08);
    TransferSeed(device, QStringLiteral("write-document-name"), 0x09);
    TransferSeed(device, QStringLiteral("operators-read-all"), ListPageOperation(0));
    TransferSeed(device, QStringLiteral("services-read-all"), ListPageOperation(1));
    TransferSeed(device, QStringLiteral("cliche-read"), ListPageOperation(3));
    TransferSeed(device, QStringLiteral("operators-write-all"), ListPageOperation(16));
    TransferSeed(device, QStringLiteral("requisites-write-all"), ListPageOperation(18));
    TransferSeed(device, QStringLiteral("operator-read-one"), ListPageOperation(40));
    TransferSeed(device, QStringLiteral("service-write-one"), ListPageOperation(53));
    // Failures the user passes over: a refused line and a silent goods record.
    Fault refusal;
    refusal.kind = FaultKind::DeviceError;
    refusal.value = 51;
    refusal.command = CmdParameter;
    refusal.group = 2;
    refusal.count = 1;
    TransferSeed(device, QStringLiteral("download-configuration-refused"), 0x00, 0xFF, {refusal});
    Fault silence;
    silence.kind = FaultKind::Silent;
    silence.command = CmdGoods;
    silence.index = 2;
    silence.count = 1;
    TransferSeed(device, QStringLiteral("read-goods-silent-stopped"), 0x03, 6, {silence});
    TransferSeed(device, QStringLiteral("inn"), 0x0A);
}

void FileSeeds() {
    DeviceConfiguration config;
    FillSampleConfiguration(config);
    const QString cfg = g_root + QStringLiteral("/configuration_file/sample.cfg");
    QDir().mkpath(g_root + QStringLiteral("/configuration_file"));
    if (SaveConfigurationFile(config, cfg) != ConfigurationFileResult::Ok) std::exit(1);

    GoodsTable table;
    FillSampleGoods(table, GoodsRecordCount);
    QByteArray goods;
    if (EncodeGoodsFile(table, goods).status != GoodsFileStatus::Ok) std::exit(1);
    WriteSeed(QStringLiteral("goods_file"), QStringLiteral("sample.base"), goods);

    GoodsTable few;
    FillSampleGoods(few, 12);
    WriteSeed(QStringLiteral("goods_csv"), QStringLiteral("export.csv"), EncodeGoodsCsv(few));
}

template <typename T>
void Put(QByteArray& bytes, T value) {
    bytes.append(reinterpret_cast<const char*>(&value), int(sizeof value));
}

void StateSeeds(DeviceEmulator& device) {
    PrepareDevice(device);
    RecordedDevice recorded(device);
    const StateQuery query = QueryDeviceState();
    if (!query.ok()) std::exit(1);
    const DeviceStateAnswer& a = query.answer;
    QByteArray bytes;
    for (const auto value : {a.modeByte, a.flash, a.currentGroup, a.battery}) Put(bytes, value);
    Put(bytes, a.documentNumber);
    for (const auto value : {a.documentState, a.day, a.month, a.year, a.hour, a.minute})
        Put(bytes, value);
    Put(bytes, a.factoryNumber);
    Put(bytes, a.taxpayerNumber);
    Put(bytes, int32_t(2));
    WriteSeed(QStringLiteral("state_decoding"), QStringLiteral("emulated-device"), bytes);
}

void TextSeeds() {
    const auto seed = [](const QString& name, int fieldSize, const QByteArray& earlier,
                         const QByteArray& text) {
        WriteSeed(QStringLiteral("device_text"), name,
                  char(fieldSize) + (char(earlier.size()) + earlier) + text);
    };
    seed(QStringLiteral("document-name"), 26, {}, ToCp1251(QStringLiteral("0КВИТАНЦИЯ")));
    seed(QStringLiteral("device-letters"), 5, "abc", "kwitanciq 12");
    seed(QStringLiteral("wide-name"), 13, {}, ToCp1251(QStringLiteral("1Иванов И.И. №5")));
}

void PriceSeeds() {
    const auto seed = [](const QString& name, int64_t kopecks, const QByteArray& barcode,
                         const QByteArray& section, const QByteArray& price) {
        QByteArray bytes;
        Put(bytes, qToLittleEndian(kopecks));
        bytes += char(barcode.size()) + barcode + char(section.size()) + section + price;
        WriteSeed(QStringLiteral("price"), name, bytes);
    };
    seed(QStringLiteral("ordinary"), 1205, "4600000000017", "12", "12.05");
    seed(QStringLiteral("largest"), 99'999'999'900, "281474976710655", "255", "999999999.00");
    seed(QStringLiteral("smallest"), 0, "1", "0", "0");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zelvo-fuzz-seeds CORPUS-DIR\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    DeviceEmulator device;
    AnswerSeeds(device);
    StateSeeds(device);
    TransferSeeds(device);
    FileSeeds();
    TextSeeds();
    PriceSeeds();
    return 0;
}
