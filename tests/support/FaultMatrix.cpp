#include "support/FaultMatrix.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <exception>

#include "admin/InnProgramming.h"
#include "config/ConfigurationDiff.h"
#include "config/ConfigurationTransfer.h"
#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "config/UploadSkips.h"
#include "device/Protocol.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"
#include "emulator/FrameCodec.h"
#include "forms/FormTableTransfer.h"
#include "forms/FormTransfer.h"
#include "goods/GoodsTable.h"
#include "goods/GoodsTransfer.h"
#include "image/WholeConfigurationTransfer.h"
#include "shell/Progress.h"
#include "shell/UserDialogs.h"
#include "support/TestDevice.h"
#include "wizard/PageTransfer.h"

namespace {

// ---- The user, the window and the line ----------------------------------------

class MatrixProgress : public Progress {
public:
    void begin() override {}
    void step(int, int) override {}
    void end() override {}
    void setBusyCursor(bool) override {}
    void showWait(const QString&) override {}
    void setWaitText(const QString&) override {}
    void setWaitCaption(const QString&) override {}
    void hideWait() override {}
    void processEvents() override {}
    bool stopRequested() const override { return stop; }
    bool stop = false;
};

class MatrixDialogs : public UserDialogs {
public:
    explicit MatrixDialogs(MatrixAnswer answer) : answer_(answer) {}

    bool ask(const QString& caption, const QString& text, DialogIcon) override {
        // Confirmations before a transfer are answered Yes: the matrix is about
        // what happens once it runs.
        if (caption == CaptionConfirmation()) return true;
        ++questions;
        messages << text;
        return answer_ == MatrixAnswer::Yes || answer_ == MatrixAnswer::YesForAll;
    }
    void inform(const QString&, const QString& text, DialogIcon) override { messages << text; }
    FailureAnswer continueAfterFailure(const ItemFailure& failure) override {
        ++questions;
        asked << failure.item + QStringLiteral(": ") + failure.message;
        switch (answer_) {
            case MatrixAnswer::Yes:
                return FailureAnswer::Continue;
            case MatrixAnswer::YesForAll:
                return FailureAnswer::ContinueAll;
            default:
                return FailureAnswer::Stop;
        }
    }

    int questions = 0;
    QStringList messages;
    QStringList asked;  // the questions after a failed item

private:
    MatrixAnswer answer_;
};

// The emulated device's link, with the fault armed at one exchange and the
// user's "Прервать" pressed while that exchange waits.
class FaultingLink : public SerialLink {
public:
    FaultingLink(EmulatorLink& inner, int target, const MatrixFault& fault, MatrixProgress* stop)
        : inner_(inner), target_(target), fault_(fault), stop_(stop) {}

    bool open(const QString& path) override { return inner_.open(path); }
    void configure(int baudRate) override { inner_.configure(baudRate); }
    qint64 write(const QByteArray& bytes) override {
        if (int(frames.size()) == target_) {
            Fault fault;
            fault.kind = fault_.kind;
            fault.value = fault_.value;
            fault.count = 1;
            inner_.device().addFault(fault);
            if (stop_) stop_->stop = true;
        }
        frames << bytes;
        return inner_.write(bytes);
    }
    QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) override {
        return inner_.read(expected, byteTimeoutMs, totalTimeoutMs);
    }
    void discardLateInput(int quietMs, int boundMs) override {
        inner_.discardLateInput(quietMs, boundMs);
    }
    void close() override { inner_.close(); }

    QList<QByteArray> frames;

private:
    EmulatorLink& inner_;
    int target_;
    MatrixFault fault_;
    MatrixProgress* stop_;
};

// ---- The program's data ------------------------------------------------------------

DeviceConfiguration g_config;

GoodsTable& Table() {
    static GoodsTable table;
    return table;
}

DeviceEmulator& Device() {
    return InProcessEmulator();
}

QByteArray Field(const char* bytes, int size) {
    return QByteArray(bytes, size);
}

struct Parameter {
    QString item;
    int group, index, line;
};

QVector<Parameter> Parameters(bool operators = true, bool document = true, bool services = true,
                              bool requisites = true, bool cliches = true) {
    QVector<Parameter> list;
    const auto records = [&](int group, const char* word, int count, int lines) {
        for (int n = 1; n <= count; ++n)
            for (int l = 1; l <= lines; ++l)
                list.append(
                    {QStringLiteral("%1 %2, строка %3").arg(U(word)).arg(n).arg(l), group, n, l});
    };
    if (operators) records(GroupOperator, "оператор", 8, 3);
    if (document) list.append({QStringLiteral("ДСО"), GroupDocumentName, 1, 1});
    if (services) records(GroupService, "услуга", 8, 3);
    if (requisites) records(GroupRequisite, "реквизит", 8, 3);
    if (cliches) records(GroupCliche, "клише", 2, 8);
    return list;
}

QByteArray ProgramField(const Parameter& p) {
    DeviceConfiguration& c = g_config;
    const int n = p.index - 1, l = p.line - 1;
    switch (p.group) {
        case GroupOperator:
            if (l == 0) return Field(c.operators[n].position.bytes, sizeof c.operators[n].position);
            if (l == 1) return Field(c.operators[n].name.bytes, sizeof c.operators[n].name);
            return Field(c.operators[n].password, sizeof c.operators[n].password);
        case GroupDocumentName:
            return Field(c.documentName.bytes, sizeof c.documentName.bytes);
        case GroupService:
            return Field(c.services[n].lines[l].bytes, sizeof c.services[n].lines[l].bytes);
        case GroupRequisite:
            return Field(c.requisites[n].lines[l].bytes, sizeof c.requisites[n].lines[l].bytes);
        default:
            return Field(c.cliches[n].lines[l].bytes, sizeof c.cliches[n].lines[l].bytes);
    }
}

QByteArray FormBytes(uint8_t variant, uint8_t requisite, uint8_t kind) {
    QByteArray bytes;
    bytes.append(char(variant)).append(char(requisite)).append(char(kind));
    return bytes;
}

ItemValues ProgramValues(const QVector<Parameter>& parameters, bool forms) {
    ItemValues values;
    for (const Parameter& p : parameters) values.insert(p.item, ProgramField(p));
    if (forms)
        for (int n = 1; n <= FormCount; ++n) {
            const FormSlot& slot = g_config.forms[n - 1];
            values.insert(QStringLiteral("форма %1").arg(n),
                          FormBytes(slot.variant, slot.requisite, slot.kind));
        }
    return values;
}

ItemValues DeviceValues(const QVector<Parameter>& parameters, bool forms) {
    ItemValues values;
    for (const Parameter& p : parameters)
        values.insert(p.item, Device().parameter(p.group, p.index, p.line));
    if (forms)
        for (int n = 1; n <= FormCount; ++n) {
            const DeviceEmulator::Form form = Device().form(n);
            values.insert(QStringLiteral("форма %1").arg(n),
                          FormBytes(form.variant, form.requisite, form.kind));
        }
    return values;
}

// Every item's own text, told apart by item and by side ('D' device, 'P'
// program, 'O' old), so that a value in the wrong place is seen.
QByteArray ItemText(char side, const Parameter& p) {
    return QByteArray("0") + side + QByteArray::number(p.group * 100 + p.index * 10 + p.line);
}

QByteArray Password(char side, int operatorNumber) {
    return QByteArray::number((side == 'P' ? 50 : side == 'D' ? 70 : 90) + operatorNumber);
}

void SetDeviceParameters(char side) {
    for (const Parameter& p : Parameters()) {
        const QByteArray text = p.group == GroupOperator && p.line == 3
                                    ? Password(side, p.index)
                                    : DeviceLine(ItemText(side, p).constData());
        Device().setParameter(p.group, p.index, p.line, text);
    }
    for (int n = 1; n <= FormCount; ++n)
        Device().setForm(n, {true, uint8_t(side == 'P' ? 2 : 1), uint8_t(n), uint8_t(1)});
}

void SetProgramParameters(char side) {
    std::memset(&g_config, 0, sizeof g_config);
    ResetFormTable(g_config);
    ResetConfiguration(g_config);
    for (int n = 0; n < OperatorCount; ++n) {
        OperatorRecord& op = g_config.operators[n];
        CopyToField(op.position.bytes, sizeof op.position.bytes,
                    ItemText(side, {{}, GroupOperator, n + 1, 1}));
        CopyToField(op.name.bytes, sizeof op.name.bytes,
                    ItemText(side, {{}, GroupOperator, n + 1, 2}));
        CopyToField(op.password, sizeof op.password, Password(side, n + 1));
        op.access = 1;
    }
    CopyToField(g_config.documentName.bytes, sizeof g_config.documentName.bytes,
                ItemText(side, {{}, GroupDocumentName, 1, 1}));
    for (int g : {int(GroupService), int(GroupRequisite)}) {
        ThreeLineRecord* records = g == GroupService ? g_config.services : g_config.requisites;
        for (int n = 0; n < 8; ++n) {
            records[n].access = 1;
            for (int l = 0; l < 3; ++l)
                CopyToField(records[n].lines[l].bytes, sizeof records[n].lines[l].bytes,
                            ItemText(side, {{}, g, n + 1, l + 1}));
        }
    }
    for (int c = 0; c < ClicheCount; ++c)
        for (int l = 0; l < ClicheLineCount; ++l)
            CopyToField(g_config.cliches[c].lines[l].bytes,
                        sizeof g_config.cliches[c].lines[l].bytes,
                        ItemText(side, {{}, GroupCliche, c + 1, l + 1}));
    for (int n = 0; n < FormCount; ++n) {
        FormSlot& slot = g_config.forms[n];
        slot.variant = uint8_t(side == 'P' ? 2 : 3);
        slot.requisite = uint8_t(n + 1);
        slot.kind = uint8_t(side == 'P' ? 2 : 3);
        slot.status = 1;
    }
}

// Whether the device's record flag bars writing `item`.
bool LockedOnDevice(const QString& item) {
    for (const Parameter& p : Parameters())
        if (p.item == item) return !Device().access(p.group, p.index);
    return false;
}

// ---- Goods ---------------------------------------------------------------------

GoodsRecord GoodsRow(char side, int number) {
    GoodsRecord row;
    row.code = QByteArray::number(number);
    row.name = QByteArray(1, side) + QByteArray::number(number);
    row.font = NarrowFontText();
    row.barcode = QByteArray::number((side == 'P' ? 500000 : 700000) + number);
    row.section = QByteArray::number(number % 10 + 1);
    row.price = QByteArray::number(number) + QByteArray(",00");
    return row;
}

QString GoodsItem(int number) {
    return QStringLiteral("товар %1").arg(number);
}

ItemValues ProgramGoods() {
    ItemValues values;
    for (int n = 0; n < GoodsRecordCount; ++n) {
        const GoodsRecord& row = Table().record(n + 1);
        values.insert(GoodsItem(n), row.name + '|' + row.barcode + '|' + row.section + '|' +
                                        row.price + '|' + row.font);
    }
    return values;
}

ItemValues DeviceGoods() {
    ItemValues values;
    for (int n = 0; n < GoodsRecordCount; ++n) {
        const DeviceEmulator::GoodsRecord record = Device().goods(n);
        values.insert(GoodsItem(n), record.name + '|' + QByteArray::number(record.barcode) + '|' +
                                        QByteArray::number(record.section) + '|' +
                                        QByteArray::number(record.price));
    }
    return values;
}

void FillTable(char side) {
    QVector<GoodsRecord> rows;
    for (int n = 0; n < GoodsRecordCount; ++n) rows << GoodsRow(side, n);
    Table().setRecords(1, rows);
}

// The device holding the goods of `side`, written once through the program
// itself and kept, so that each run starts from the same records.
void SetDeviceGoods(char side) {
    static QMap<char, DeviceEmulator> kept;
    if (!kept.contains(side)) {
        FillTable(side);
        SetLinkOverride(nullptr);
        MatrixProgress quiet;
        MatrixDialogs dialogs(MatrixAnswer::No);
        UserDialogs* before = &Dialogs();
        SetDialogs(&dialogs);
        WriteAllGoods(Table(), quiet, dialogs);
        SetDialogs(before);
        Device().clearLog();
        kept.insert(side, Device());
    }
    Device() = kept.value(side);
}

// The rows write-changed sends: every hundredth.
bool ChangedRow(int number) {
    return number % 100 == 0;
}

// ---- The wizard's pages ----------------------------------------------------------

class NoView : public PageView {
public:
    void clearCells(int, int) override {}
    void refill() override {}
    void showAccess(int) override {}
};

// ---- Every transfer --------------------------------------------------------------

void FreshDevice() {
    UseEmulator();
    PortSettings& settings = CurrentPortSettings();
    settings.ByteTimeout = MatrixByteTimeoutMs;
    settings.TotalTimeout = MatrixTotalTimeoutMs;
}

MatrixTransfer ConfigurationTransfer(const QString& name, bool writes,
                                     const QVector<Parameter>& parameters, bool forms,
                                     std::function<void()> run, const QString& success,
                                     bool compares = false) {
    MatrixTransfer t;
    t.name = name;
    t.writes = writes;
    t.compares = compares;
    t.successText = success;
    t.setup = [writes] {
        FreshDevice();
        // A write sends the program's values over the device's old ones; a
        // read brings the device's over the program's old ones.
        SetDeviceParameters(writes ? 'O' : 'D');
        SetProgramParameters(writes ? 'P' : 'O');
    };
    t.run = std::move(run);
    t.values = [writes, parameters, forms] {
        return writes ? DeviceValues(parameters, forms) : ProgramValues(parameters, forms);
    };
    return t;
}

// What the comparison showed the user: whether it was shown at all (its read
// ran to its end), and the items whose device value it showed as unknown.
struct ComparisonShown {
    bool shown = false;
    QStringList unknown;
    // The questions asked by then: the upload after it is a transfer of its
    // own, with its own "Да для всех".
    int questions = 0;
};
ComparisonShown g_comparison;

// The comparison's read, then the differences taken into the program or sent,
// as the comparison window's two buttons and `config write --changed` do.
void Compare(bool take) {
    g_comparison = {};
    DeviceConfiguration device = g_config;
    UnreadItems unread;
    if (!ReadConfigurationForComparison(device, unread)) return;
    const QVector<ConfigurationDifference> differences =
        CompareConfigurations(device, g_config, unread);
    g_comparison.shown = true;
    if (const auto* dialogs = dynamic_cast<const MatrixDialogs*>(&Dialogs()))
        g_comparison.questions = dialogs->questions;
    for (const ConfigurationDifference& difference : differences)
        if (difference.deviceState == DeviceValueState::Unknown)
            g_comparison.unknown << MatrixItemName(difference.item);
    if (take) {
        CopyConfigurationItems(g_config, device, TakenItems(differences));
        return;
    }
    const QVector<ConfigurationItem> items = WrittenItems(differences);
    if (!items.isEmpty()) UploadConfigurationAndForms(WithDeviceAccess(g_config, device), items);
}

MatrixTransfer GoodsTransfer(const QString& name, bool writes, std::function<void()> run,
                             const QString& success) {
    MatrixTransfer t;
    t.name = name;
    t.writes = writes;
    t.successText = success;
    t.run = std::move(run);
    t.values = [writes] { return writes ? DeviceGoods() : ProgramGoods(); };
    return t;
}

MatrixTransfer PageTransfer(const QString& name, bool writes,
                            const std::function<TransferPage()>& page,
                            const QVector<Parameter>& parameters) {
    MatrixTransfer t = ConfigurationTransfer(
        name, writes, parameters, false,
        [writes, page] {
            NoView view;
            const TransferPage p = page();
            if (writes)
                WriteItems(p, view);
            else
                ReadItems(p, view);
        },
        writes ? QStringLiteral("Записано удачно...") : QStringLiteral("Прочитано удачно..."));
    return t;
}

}  // namespace

QString AnswerName(MatrixAnswer answer) {
    switch (answer) {
        case MatrixAnswer::Yes:
            return QStringLiteral("Да");
        case MatrixAnswer::YesForAll:
            return QStringLiteral("Да для всех");
        case MatrixAnswer::No:
            return QStringLiteral("Нет");
        case MatrixAnswer::Stop:
            break;
    }
    return QStringLiteral("Прервать");
}

const QVector<MatrixAnswer>& MatrixAnswers() {
    static const QVector<MatrixAnswer> answers{MatrixAnswer::Yes, MatrixAnswer::YesForAll,
                                               MatrixAnswer::No, MatrixAnswer::Stop};
    return answers;
}

QVector<MatrixFault> MatrixFaults() {
    // A late answer comes a little after the time-out it is late by.
    const auto late = [](int times) {
        return MatrixFault{QStringLiteral("late×%1").arg(times), FaultKind::Late,
                           times * MatrixTotalTimeoutMs + MatrixByteTimeoutMs};
    };
    return {{QStringLiteral("silent"), FaultKind::Silent, -1},
            {QStringLiteral("truncate"), FaultKind::Truncate, 5},
            {QStringLiteral("first-byte"), FaultKind::WrongFirstByte, 0},
            {QStringLiteral("device-error"), FaultKind::DeviceError, 30},
            late(1),
            late(2),
            late(10)};
}

QVector<MatrixTransfer> MatrixTransfers() {
    const QString written = QStringLiteral("Записано удачно...");
    const QString read = QStringLiteral("Прочитано удачно...");
    QVector<MatrixTransfer> list;
    list << ConfigurationTransfer(
        QStringLiteral("config-read"), false, Parameters(), false,
        [] { DownloadConfiguration(g_config); }, read);
    list << ConfigurationTransfer(
        QStringLiteral("config-write"), true, Parameters(), false,
        [] { UploadConfiguration(g_config); }, written);
    list << ConfigurationTransfer(
        QStringLiteral("compare-take"), false, Parameters(), true, [] { Compare(true); }, QString(),
        true);
    list << ConfigurationTransfer(
        QStringLiteral("compare-write"), true, Parameters(), true, [] { Compare(false); }, written,
        true);
    // Only what differs goes: the device already holds service 2 as the
    // program has it, and its requisite 3 is locked while the program's
    // record says it may be written.
    MatrixTransfer changed = ConfigurationTransfer(
        QStringLiteral("config-write-changed"), true, Parameters(), true, [] { Compare(false); },
        written, true);
    changed.setup = [] {
        FreshDevice();
        SetDeviceParameters('O');
        SetProgramParameters('P');
        for (const Parameter& p : Parameters(false, false, true, false, false))
            if (p.index == 2)
                Device().setParameter(p.group, p.index, p.line,
                                      DeviceLine(ItemText('P', p).constData()));
        Device().setAccess(GroupRequisite, 3, false);
    };
    list << changed;
    list << ConfigurationTransfer(
        QStringLiteral("forms-read"), false, {}, true, [] { ReadFormTable(g_config); }, QString());
    MatrixTransfer program = ConfigurationTransfer(
        QStringLiteral("form-program"), true, {}, true,
        [] { ProgramFormReporting(g_config, 3, Dialogs()); },
        QStringLiteral("Бланк удачно запрограммированн..."));
    program.namesItems = false;
    list << program;

    MatrixTransfer goodsRead = GoodsTransfer(
        QStringLiteral("goods-read"), false,
        [] { ReadAllGoods(Table(), CurrentProgress(), Dialogs()); }, read);
    goodsRead.setup = [] {
        FreshDevice();
        SetDeviceGoods('D');
        FillTable('O');
    };
    list << goodsRead;
    MatrixTransfer goodsWrite = GoodsTransfer(
        QStringLiteral("goods-write"), true,
        [] { WriteAllGoods(Table(), CurrentProgress(), Dialogs()); }, written);
    goodsWrite.setup = [] {
        FreshDevice();
        SetDeviceGoods('O');
        FillTable('P');
    };
    list << goodsWrite;
    MatrixTransfer goodsChanged = GoodsTransfer(
        QStringLiteral("goods-write-changed"), true,
        [] { WriteChangedGoods(Table(), CurrentProgress(), Dialogs()); }, written);
    goodsChanged.setup = [] {
        FreshDevice();
        SetDeviceGoods('O');
        FillTable('O');
        for (int row = 1; row <= GoodsRecordCount; ++row) Table().markInStep(row);
        for (int n = 0; n < GoodsRecordCount; ++n)
            if (ChangedRow(n)) Table().setRecord(n + 1, GoodsRow('P', n));
    };
    list << goodsChanged;

    const QVector<Parameter> operators = Parameters(true, false, false, false, false);
    const QVector<Parameter> services = Parameters(false, false, true, false, false);
    QVector<Parameter> cliche;
    for (const Parameter& p : Parameters(false, false, false, false, true))
        if (p.index == 1) cliche << p;
    for (bool writes : {false, true}) {
        const QString direction = writes ? QStringLiteral("write") : QStringLiteral("read");
        list << PageTransfer(
            QStringLiteral("wizard-operators-") + direction, writes,
            [] { return OperatorsTransfer(g_config); }, operators);
        list << PageTransfer(
            QStringLiteral("wizard-services-") + direction, writes,
            [] { return ThreeLineTransfer(g_config, GroupService); }, services);
        list << PageTransfer(
            QStringLiteral("wizard-cliche-") + direction, writes,
            [] { return ClicheTransfer(g_config, 0); }, cliche);
    }

    MatrixTransfer inn;
    inn.name = QStringLiteral("inn");
    inn.writes = true;
    inn.namesItems = false;
    inn.successText = written;
    inn.setup = [] { FreshDevice(); };
    inn.run = [] {
        InnInput input;
        input.taxpayerNumber = QStringLiteral("7707083893");
        input.password = QStringLiteral("123");
        input.date = QDate(2026, 12, 7);
        input.groupIndex = 1;
        ProgramInn(input, Dialogs());
    };
    inn.values = [] {
        return ItemValues{
            {QStringLiteral("ИНН"), QByteArray::number(qulonglong(Device().taxpayerNumber())) +
                                        (Device().workingMode() ? "+" : "-")}};
    };
    list << inn;
    return list;
}

QString MatrixItemName(const ConfigurationItem& item) {
    const auto line = [&item](const char* noun) {
        return QStringLiteral("%1 %2, строка %3").arg(U(noun)).arg(item.record).arg(item.line);
    };
    switch (item.kind) {
        case ConfigurationItemKind::OperatorLine:
            return line("оператор");
        case ConfigurationItemKind::DocumentName:
            return QStringLiteral("ДСО");
        case ConfigurationItemKind::ServiceLine:
            return line("услуга");
        case ConfigurationItemKind::RequisiteLine:
            return line("реквизит");
        case ConfigurationItemKind::ClicheLine:
            return line("клише");
        case ConfigurationItemKind::Form:
            break;
    }
    return QStringLiteral("форма %1").arg(item.record);
}

QString ViolationClass(const QString& violation) {
    static const QRegularExpression items(QStringLiteral(
        "(оператор|услуга|реквизит|клише) \\d+, строка \\d+|(товар|форма) \\d+|ДСО|ИНН"));
    static const QRegularExpression numbers(QStringLiteral("\\d+"));
    static const QRegularExpression detail(QStringLiteral(" \\(.*\\)$"));
    QString text = violation;
    text.remove(detail);
    text.replace(items, QStringLiteral("<item>"));
    text.replace(numbers, QStringLiteral("N"));
    return text;
}

QString RequestItem(const QByteArray& request, bool writes) {
    const uint8_t command = FrameByte(request, 6);
    const uint8_t mode = FrameByte(request, 8);
    if (command == CmdInn) return QStringLiteral("ИНН");
    if (command != CmdParameter && command != CmdForm && command != CmdGoods) return {};
    // In a transfer that writes, its reads (the probe of a cliché) are no items;
    // the comparison's reads are, and the caller asks for them.
    if (writes && mode != ModeWrite) return {};
    if (command == CmdForm) return QStringLiteral("форма %1").arg(FrameByte(request, 9));
    if (command == CmdGoods) return GoodsItem(int(FrameUnsigned(request, 9, 2)));
    const int group = FrameByte(request, 9), index = FrameByte(request, 10),
              line = FrameByte(request, 11);
    for (const Parameter& p : Parameters())
        if (p.group == group && p.index == index && p.line == line) return p.item;
    return {};
}

bool NamesItem(const QString& text, const QString& item) {
    for (qsizetype at = text.indexOf(item); at >= 0; at = text.indexOf(item, at + 1)) {
        const qsizetype end = at + item.size();
        if (end >= text.size() || !text.at(end).isDigit()) return true;
    }
    return false;
}

namespace {

struct RunRecord {
    ItemValues before;
    ItemValues after;
    QStringList messages;
    QList<QByteArray> frames;
    int questions = 0;
    QStringList asked;
    QString exception;
    bool compared = false;          // the comparison was shown
    QStringList unknown;            // the items it showed as unknown
    int questionsBeforeUpload = 0;  // the questions of the comparison's read
};

RunRecord RunOnce(const MatrixTransfer& transfer, int target, const MatrixFault& fault,
                  MatrixAnswer answer) {
    RunRecord record;
    transfer.setup();
    record.before = transfer.values();
    MatrixProgress progress;
    MatrixDialogs dialogs(answer);
    UserDialogs* previousDialogs = &Dialogs();
    Progress* previousProgress = &CurrentProgress();
    SetDialogs(&dialogs);
    SetProgress(&progress);
    // A link of its own each run: a late answer of the last run is not on its line.
    EmulatorLink link(Device());
    FaultingLink faulting(link, target, fault, answer == MatrixAnswer::Stop ? &progress : nullptr);
    SetLinkOverride(&faulting);
    g_comparison = {};
    try {
        transfer.run();
    } catch (const std::exception& e) {
        record.exception = QString::fromLocal8Bit(e.what());
    } catch (...) {
        record.exception = QStringLiteral("исключение");
    }
    SetLinkOverride(nullptr);
    SetDialogs(previousDialogs);
    SetProgress(previousProgress);
    Device().clearFaults();
    record.after = transfer.values();
    record.messages = dialogs.messages;
    record.frames = faulting.frames;
    record.questions = dialogs.questions;
    record.asked = dialogs.asked;
    record.compared = g_comparison.shown;
    record.unknown = g_comparison.unknown;
    record.questionsBeforeUpload = g_comparison.shown ? g_comparison.questions : record.questions;
    return record;
}

}  // namespace

FaultMatrix::FaultMatrix(const MatrixTransfer& transfer) : transfer_(transfer) {
    const RunRecord clean = RunOnce(transfer, -1, MatrixFault{}, MatrixAnswer::No);
    old_ = clean.before;
    new_ = clean.after;
    // A transfer that writes has its writes for items, and the comparison its
    // reads as well; the upload's own reads (the probe of a cliché) are none.
    bool wrote = false;
    for (const QByteArray& frame : clean.frames) {
        const QString written = RequestItem(frame, true);
        const QString any = RequestItem(frame, false);
        const bool comparisonRead = transfer.compares && !wrote && written.isEmpty();
        wrote = wrote || !written.isEmpty();
        items_ << (transfer.writes && !comparisonRead ? written : any);
        reads_ << (comparisonRead && !any.isEmpty());
    }
    if (!clean.exception.isEmpty()) clean_ << QStringLiteral("clean run threw: ") + clean.exception;
    if (!transfer.successText.isEmpty() && !clean.messages.contains(transfer.successText))
        clean_ << QStringLiteral("clean run without its success text: ") +
                      clean.messages.join(QStringLiteral(" | "));
    if (transfer.compares && (!clean.compared || !clean.unknown.isEmpty()))
        clean_ << QStringLiteral("clean comparison not shown, or with unknown items: ") +
                      clean.unknown.join(QStringLiteral(" | "));
    // Every item the clean run sent takes its new value: the values tell the
    // two apart.
    for (const QByteArray& frame : clean.frames)
        cleanSent_.insert(RequestItem(frame, transfer.writes));
    for (auto it = old_.cbegin(); it != old_.cend(); ++it)
        if (cleanSent_.contains(it.key()) && it.value() == new_.value(it.key()))
            clean_ << QStringLiteral("clean run left %1 as it was").arg(it.key());
    if (!clean_.isEmpty()) items_.clear();
}

QVector<int> FaultMatrix::sampleExchanges() const {
    const int n = exchanges();
    if (n == 0) return {};
    QVector<int> sample{0, 1, n / 2, n - 1};
    if (transfer_.compares && transfer_.writes) {
        QSet<QString> records;
        for (int e = 0; e < n; ++e) {
            const QString& item = items_[e];
            const QString record = item.section(QLatin1Char(','), 0, 0);
            if (reads_[e] && !cleanSent_.contains(item) && !records.contains(record)) {
                records.insert(record);
                sample << e;
            }
        }
    }
    std::sort(sample.begin(), sample.end());
    sample.erase(std::unique(sample.begin(), sample.end()), sample.end());
    while (!sample.isEmpty() && sample.last() >= n) sample.removeLast();
    return sample;
}

QStringList FaultMatrix::run(int exchange, const MatrixFault& fault, MatrixAnswer answer) {
    const RunRecord r = RunOnce(transfer_, exchange, fault, answer);
    QStringList found;
    const auto violation = [&](const QString& what) { found << what; };
    if (!r.exception.isEmpty()) violation(QStringLiteral("threw: ") + r.exception);

    const QString said = r.messages.join(QLatin1Char('\n'));
    const bool success =
        !transfer_.successText.isEmpty() && r.messages.contains(transfer_.successText);
    // Named as failed in a message; a single command's message names nothing,
    // so there every item is named by the absence of the success text.
    const auto named = [&](const QString& item) {
        return transfer_.namesItems ? NamesItem(said, item) : !success;
    };
    const auto unknown = [&](const QString& item) {
        return r.compared && r.unknown.contains(item);
    };
    QSet<QString> sent;
    for (const QByteArray& frame : r.frames) {
        const QString item = RequestItem(frame, transfer_.writes);
        if (!item.isEmpty()) sent.insert(item);
    }
    const QString faulted = items_.value(exchange);

    // The final message. A comparison's read that failed is told by the
    // comparison itself (the item shown as unknown); the upload after it is
    // then about its own writes.
    if (!faulted.isEmpty()) {
        const bool shownUnknown = reads_.value(exchange) && unknown(faulted);
        if (success && !shownUnknown)
            violation(QStringLiteral("success text after %1 failed").arg(faulted));
        if (transfer_.namesItems && !NamesItem(said, faulted) && !shownUnknown)
            violation(QStringLiteral("%1 failed and is not named").arg(faulted));
    }
    if (answer == MatrixAnswer::Stop && r.questions > 0)
        violation(QStringLiteral("asked after the stop"));
    // The comparison's read and the upload after it are asked apart.
    if (answer == MatrixAnswer::YesForAll &&
        (r.questionsBeforeUpload > 1 || r.questions - r.questionsBeforeUpload > 1))
        violation(QStringLiteral("asked %1 times after «Да для всех» (%2)")
                      .arg(r.questions)
                      .arg(r.asked.join(QStringLiteral(" | "))));

    // Only a read at or after the fault can have failed.
    for (const QString& item : r.unknown) {
        const int read = int(items_.indexOf(item));
        if (read >= 0 && read < exchange && reads_.value(read))
            violation(QStringLiteral("%1 shown as unknown, read before the fault").arg(item));
    }

    // The comparison's upload, once it ran to its end: what differed in the
    // clean run, and every item shown as unknown that the device's lock does
    // not pass over; nothing the device was read to hold already.
    if (transfer_.compares && transfer_.writes && r.compared &&
        (answer == MatrixAnswer::Yes || answer == MatrixAnswer::YesForAll)) {
        for (const QString& item : r.unknown)
            if (!sent.contains(item) && !LockedOnDevice(item))
                violation(QStringLiteral("%1 shown as unknown and not written").arg(item));
        for (const QString& item : std::as_const(sent))
            if (!cleanSent_.contains(item) && !r.unknown.contains(item))
                violation(QStringLiteral("%1 written although the device held it").arg(item));
    }

    // The data, item by item.
    for (auto it = r.after.cbegin(); it != r.after.cend(); ++it) {
        const QString& item = it.key();
        const bool isNew = it.value() == new_.value(item);
        const bool isOld = it.value() == r.before.value(item);
        if (!isNew && !isOld) {
            violation(QStringLiteral("%1 holds neither its old nor its new value").arg(item));
            continue;
        }
        if (!sent.contains(item)) {
            if (!isOld) violation(QStringLiteral("%1 changed without a request").arg(item));
            continue;
        }
        if (transfer_.writes) {
            // A write that failed may still have reached the device.
            if (!named(item) && !isNew)
                violation(QStringLiteral("%1 reported written, the device holds its old value")
                              .arg(item));
            continue;
        }
        if (transfer_.compares && !r.compared) {
            if (!isOld)
                violation(
                    QStringLiteral("%1 taken although the comparison was not shown").arg(item));
            continue;
        }
        if (unknown(item)) {
            if (!isOld)
                violation(
                    QStringLiteral("%1 shown as unknown, the program's value replaced").arg(item));
            continue;
        }
        if (named(item)) {
            if (!isOld)
                violation(
                    QStringLiteral("%1 reported failed, the program's value replaced").arg(item));
            continue;
        }
        if (!isNew)
            violation(
                QStringLiteral("%1 reported read, the program holds its old value").arg(item));
    }
    return found;
}
