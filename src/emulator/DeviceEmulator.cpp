#include "emulator/DeviceEmulator.h"

#include "config/ParameterCatalogue.h"
#include "device/Protocol.h"
#include "emulator/FrameCodec.h"

namespace {

constexpr int MinimumFrame = 11;  // header, END_MARK and sum
constexpr int BareAnswerLength = 7;

int RequestLength(uint8_t command) {
    switch (command) {
        case CmdParameter:
            return ParameterRequestLength;
        case CmdForm:
            return FormRequestLength;
        case CmdInn:
            return InnRequestLength;
        case CmdGoods:
            return GoodsRequestLength;
        case CmdState:
            return StateRequestLength;
        default:
            return 0;
    }
}

int ResponseLength(uint8_t command) {
    switch (command) {
        case CmdParameter:
            return ParameterResponseLength;
        case CmdForm:
            return FormResponseLength;
        case CmdInn:
            return InnResponseLength;
        case CmdGoods:
            return GoodsResponseLength;
        case CmdState:
            return StateResponseLength;
        default:
            return BareAnswerLength;
    }
}

void Put(QByteArray& frame, int offset, uint8_t value) {
    PutUnsigned(frame, offset, 1, value);
}

// An answer frame of the command's length with the header filled in and the
// closing bytes still to be written.
QByteArray Answer(uint8_t command, uint8_t error) {
    const int length = ResponseLength(command);
    QByteArray frame(length, '\0');
    Put(frame, 0, STX_SLAVE);
    Put(frame, 1, static_cast<uint8_t>(command - 0x20));
    Put(frame, 2, static_cast<uint8_t>(length));
    Put(frame, 3, error);
    return frame;
}

QByteArray Refuse(QByteArray answer, uint8_t error) {
    Put(answer, 3, error);
    return answer;
}

QByteArray DataField(const QByteArray& bytes) {
    QByteArray field = bytes.left(DeviceDataSize);
    field.append(QByteArray(DeviceDataSize - field.size(), '\0'));
    return field;
}

}  // namespace

DeviceEmulator::DeviceEmulator() {
    reset();
}

void DeviceEmulator::reset() {
    factoryNumber_ = 0;
    oneClicheOnly_ = false;
    workingMode_ = false;
    clock_ = QDateTime();
    records_.fill(QByteArray(DeviceDataSize, '\0'));
    // A new device prints "КВИТАНЦИЯ" until it is told otherwise.
    records_[recordSlot(GroupDocumentName, 1, 1)] = DataField(QByteArrayLiteral("0kwitanciq"));
    access_.fill(true);
    forms_.fill(Form{});
    goods_ = QVector<GoodsRecord>(GoodsCount);
    taxpayerNumber_ = 0;
    innPassword_ = 0;
    innDate_ = QDate();
    group_ = 2;
    status_ = Status{};
    faults_.clear();
    delayMs_ = 0;
    paceBaud_ = 0;
    log_.clear();
}

QByteArray DeviceEmulator::respond(const QByteArray& request) {
    return exchange(request).bytes;
}

EmulatorReply DeviceEmulator::exchange(const QByteArray& request) {
    EmulatorReply reply;
    const QVector<Fault> matched = faults_.take(RequestTarget::of(request));
    // A lost request never reaches the device, and a refused one changes nothing.
    if (!FindFault(matched, FaultKind::Silent) && !request.isEmpty()) {
        const uint8_t command = FrameByte(request, 6);
        if (const Fault* refusal = FindFault(matched, FaultKind::DeviceError))
            reply.bytes = Answer(command, static_cast<uint8_t>(refusal->value));
        else
            reply.bytes = process(request);
        CloseFrame(reply.bytes);
        DamageReply(reply.bytes, command, matched);
    }
    const Fault* late = FindFault(matched, FaultKind::Late);
    const Fault* delay = late ? late : FindFault(matched, FaultKind::Delay);
    reply.delayMs = delay ? delay->value : delayMs_;
    reply.late = late != nullptr;
    const Fault* pace = FindFault(matched, FaultKind::Pace);
    reply.paceBaud = pace ? pace->value : paceBaud_;

    log_.append(Exchange{request, reply.bytes});
    if (log_.size() > LogLimit) log_.remove(0, log_.size() - LogLimit);
    return reply;
}

QByteArray DeviceEmulator::process(const QByteArray& request) {
    const int received = static_cast<int>(request.size());
    if (received == 0) return {};
    const uint8_t command = FrameByte(request, 6);
    if (FrameByte(request, 0) != STX) return Answer(command, ErrorCommand);
    if (received < MinimumFrame || FrameByte(request, 7) != received ||
        FrameByte(request, received - 3) != END_MARK)
        return Answer(command, ErrorInterface);
    if (AdditiveSum(request, received - 2) != FrameUnsigned(request, received - 2, 2))
        return Answer(command, ErrorChecksum);
    const int expected = RequestLength(command);
    if (expected == 0) return Answer(command, ErrorCommand);
    if (received != expected) return Answer(command, ErrorInterface);
    if (static_cast<int32_t>(FrameUnsigned(request, 2, 4)) != factoryNumber_)
        return Answer(command, ErrorFactoryNumber);

    switch (command) {
        case CmdParameter:
            return parameterCommand(request);
        case CmdForm:
            return formCommand(request);
        case CmdInn:
            return innCommand(request);
        case CmdGoods:
            return goodsCommand(request);
        default:
            return stateCommand();
    }
}

QByteArray DeviceEmulator::parameterCommand(const QByteArray& request) {
    const uint8_t mode = FrameByte(request, 8);
    const uint8_t group = FrameByte(request, 9);
    const uint8_t index = FrameByte(request, 10);
    const uint8_t line = FrameByte(request, 11);
    QByteArray answer = Answer(CmdParameter, 0);
    Put(answer, 4, group);
    Put(answer, 5, index);
    Put(answer, 7, line);

    const int slot = recordSlot(group, index, line);
    if (slot < 0 || mode > ModeRead) return Refuse(answer, ErrorParameter);
    const bool allowed = access_[accessSlot(group, index)];
    Put(answer, 6, allowed ? 1 : 0);
    if (mode == ModeWrite) {
        if (workingMode_) return Refuse(answer, ErrorMode);
        if (!allowed) return Refuse(answer, ErrorInUse);
        records_[slot] = request.mid(12, DeviceDataSize);
    }
    answer.replace(8, DeviceDataSize, records_[slot]);
    return answer;
}

QByteArray DeviceEmulator::formCommand(const QByteArray& request) {
    const uint8_t mode = FrameByte(request, 8);
    const uint8_t number = FrameByte(request, 9);
    QByteArray answer = Answer(CmdForm, 0);
    if (mode > ModeRead || number < 1 || number > FormCount) return Refuse(answer, ErrorParameter);

    Form& form = forms_[number - 1];
    if (mode == ModeWrite) {
        const Form wanted{true, FrameByte(request, 10), FrameByte(request, 11),
                          FrameByte(request, 12)};
        if (wanted.variant > 6 || wanted.requisite > 8 || wanted.kind > 3)
            return Refuse(answer, ErrorParameter);
        if (workingMode_ && form.present) return Refuse(answer, ErrorMode);
        form = wanted;
    }
    if (form.present) {
        Put(answer, 4, number);
        Put(answer, 5, form.variant);
        Put(answer, 6, form.requisite);
        Put(answer, 7, form.kind);
    }
    return answer;
}

QByteArray DeviceEmulator::innCommand(const QByteArray& request) {
    QByteArray answer = Answer(CmdInn, 0);
    if (workingMode_) return Refuse(answer, ErrorInnSet);
    const QDate date(2000 + FrameByte(request, 14), FrameByte(request, 13), FrameByte(request, 12));
    const uint8_t group = FrameByte(request, 15);
    if (group < 1 || group > 3 || !date.isValid()) return Refuse(answer, ErrorParameter);

    innPassword_ = static_cast<int32_t>(FrameUnsigned(request, 8, 4));
    innDate_ = date;
    group_ = group;
    taxpayerNumber_ = FrameUnsigned(request, 16, 6);
    workingMode_ = true;
    for (Form& form : forms_) form = Form{false, 0, 0, 0};
    return answer;
}

QByteArray DeviceEmulator::goodsCommand(const QByteArray& request) {
    const uint8_t mode = FrameByte(request, 8);
    const int index = static_cast<int>(FrameUnsigned(request, 9, 2));
    QByteArray answer = Answer(CmdGoods, 0);
    if (mode > ModeRead || index >= GoodsCount) return Refuse(answer, ErrorParameter);

    GoodsRecord& record = goods_[index];
    if (mode == ModeWrite) {
        const uint64_t price = FrameUnsigned(request, 42, 5);
        if (price > MaxPrice) return Refuse(answer, ErrorPrice);
        record.name = request.mid(11, DeviceDataSize);
        record.barcode = FrameUnsigned(request, 36, 6);
        record.price = price;
        record.section = FrameByte(request, 47);
    }
    PutUnsigned(answer, 4, 2, static_cast<uint64_t>(index));
    answer.replace(6, DeviceDataSize, record.name);
    PutUnsigned(answer, 31, 6, record.barcode);
    PutUnsigned(answer, 37, 5, record.price);
    Put(answer, 42, record.section);
    return answer;
}

QByteArray DeviceEmulator::stateCommand() const {
    QByteArray answer = Answer(CmdState, 0);
    const QDateTime now = clock();
    Put(answer, 4, static_cast<uint8_t>((status_.onlineMode << 4) | (workingMode_ ? 1 : 0)));
    Put(answer, 5, status_.flash);
    Put(answer, 6, group_);
    Put(answer, 7, status_.battery);
    PutUnsigned(answer, 8, 2, status_.documentNumber);
    Put(answer, 10, status_.documentState);
    Put(answer, 11, static_cast<uint8_t>(now.date().day()));
    Put(answer, 12, static_cast<uint8_t>(now.date().month()));
    Put(answer, 13, static_cast<uint8_t>(now.date().year() % 100));
    Put(answer, 14, static_cast<uint8_t>(now.time().hour()));
    Put(answer, 15, static_cast<uint8_t>(now.time().minute()));
    PutUnsigned(answer, 16, 4, static_cast<uint32_t>(factoryNumber_));
    PutUnsigned(answer, 22, 6, taxpayerNumber_);
    return answer;
}

QDateTime DeviceEmulator::clock() const {
    return clock_.isValid() ? clock_ : QDateTime::currentDateTime();
}

bool DeviceEmulator::isParameter(int group, int index, int line) const {
    return recordSlot(group, index, line) >= 0;
}

int DeviceEmulator::recordSlot(int group, int index, int line) const {
    auto inRange = [](int value, int last) { return value >= 1 && value <= last; };
    switch (group) {
        case GroupOperator:
            return inRange(index, 8) && inRange(line, 3) ? (index - 1) * 3 + line - 1 : -1;
        case GroupDocumentName:
            return index == 1 && line == 1 ? 24 : -1;
        case GroupService:
            return inRange(index, 8) && inRange(line, 3) ? 25 + (index - 1) * 3 + line - 1 : -1;
        case GroupRequisite:
            return inRange(index, 8) && inRange(line, 3) ? 49 + (index - 1) * 3 + line - 1 : -1;
        case GroupCliche:
            if (oneClicheOnly_ && index == 2) return -1;
            return inRange(index, 2) && inRange(line, 8) ? 73 + (index - 1) * 8 + line - 1 : -1;
        default:
            return -1;
    }
}

int DeviceEmulator::accessSlot(int group, int index) const {
    auto inRange = [](int value, int last) { return value >= 1 && value <= last; };
    switch (group) {
        case GroupOperator:
            return inRange(index, 8) ? index - 1 : -1;
        case GroupDocumentName:
            return index == 1 ? 8 : -1;
        case GroupService:
            return inRange(index, 8) ? 9 + index - 1 : -1;
        case GroupRequisite:
            return inRange(index, 8) ? 17 + index - 1 : -1;
        case GroupCliche:
            return inRange(index, 2) ? 25 + index - 1 : -1;
        default:
            return -1;
    }
}

QByteArray DeviceEmulator::parameter(int group, int index, int line) const {
    const int slot = recordSlot(group, index, line);
    return slot < 0 ? QByteArray() : records_[slot];
}

bool DeviceEmulator::setParameter(int group, int index, int line, const QByteArray& data) {
    const int slot = recordSlot(group, index, line);
    if (slot < 0) return false;
    records_[slot] = DataField(data);
    return true;
}

bool DeviceEmulator::access(int group, int index) const {
    const int slot = accessSlot(group, index);
    return slot >= 0 && access_[slot];
}

bool DeviceEmulator::setAccess(int group, int index, bool allowed) {
    const int slot = accessSlot(group, index);
    if (slot < 0) return false;
    access_[slot] = allowed;
    return true;
}

DeviceEmulator::Form DeviceEmulator::form(int number) const {
    if (number < 1 || number > FormCount) return Form{false, 0, 0, 0};
    return forms_[number - 1];
}

bool DeviceEmulator::setForm(int number, const Form& form) {
    if (number < 1 || number > FormCount) return false;
    forms_[number - 1] = form;
    return true;
}

DeviceEmulator::GoodsRecord DeviceEmulator::goods(int index) const {
    if (index < 0 || index >= GoodsCount) return GoodsRecord{};
    return goods_[index];
}

bool DeviceEmulator::setGoods(int index, const GoodsRecord& record) {
    if (index < 0 || index >= GoodsCount) return false;
    GoodsRecord& stored = goods_[index];
    stored.name = DataField(record.name);
    stored.barcode = record.barcode & 0xFFFFFFFFFFFFULL;
    stored.price = record.price & 0xFFFFFFFFFFULL;
    stored.section = record.section;
    return true;
}
