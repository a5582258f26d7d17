// The five device commands: each fills its request, runs the common exchange
// with its checks in their fixed order, and decodes the answer on success.
#include <QByteArray>
#include <cstring>

#include "device/DeviceCharset.h"
#include "device/ExchangeRecorder.h"
#include "device/FrameLayout.h"
#include "device/Protocol.h"

namespace {

void PutLe(int offset, uint64_t value, int width) {
    ::PutLe(FrameBuffer, offset, value, width);
}

uint64_t GetLe(int offset, int width) {
    return ::GetLe(FrameBuffer, offset, width);
}

// Clears the caller's error text the way a success must: as many bytes as the
// text held before, so the buffer reads as empty.
void ClearErrorText(char* errorText) {
    if (!errorText) return;
    const std::size_t len = strnlen(errorText, ErrorTextSize);
    std::memset(errorText, 0, len);
}

void SetErrorText(char* errorText, const QByteArray& text) {
    if (!errorText) return;
    const int n = std::min<int>(int(text.size()), ErrorTextSize - 1);
    std::memcpy(errorText, text.constData(), std::size_t(n));
    errorText[n] = 0;
}

// A port that did not open says so, with the link's reason where it fits the
// caller's buffer: its first line, or none (the command line and the settings
// dialog give the whole of it).
QByteArray PortNotOpenedErrorText() {
    const QString reason = LastPortOpenError();
    const QByteArray full = ToCp1251(PortNotOpenedText(reason.section(QLatin1Char('\n'), 0, 0)));
    if (full.size() < ErrorTextSize) return full;
    return ToCp1251(PortNotOpenedText({}));
}

// Steps 1–4 of every command: header, data written by `fillData`, end mark,
// checksum.
template <typename Fill>
void BuildRequest(uint8_t command, int requestLength, Fill fillData) {
    const int32_t machine = MachineNumberValue(CurrentPortSettings().MachineNumber);
    StartRequest(FrameBuffer, command, requestLength, machine);
    fillData();
    EndRequest(FrameBuffer, requestLength);
}

// Steps 6–9: the header checks in their fixed order.
CommandStatus CheckAnswer(bool answered, uint8_t command, bool checkLength, uint8_t& deviceError,
                          char* errorText, uint8_t* recordFlag) {
    if (!answered && LastLineOutOfStep()) {
        SetErrorText(errorText, StatusText(StatusOutOfStep));
        return StatusOutOfStep;
    }
    const CommandStatus status = JudgeAnswer(FrameBuffer, answered ? int(TransferCount) : 0,
                                             command, checkLength, deviceError);
    if (status == StatusOk || status == StatusDeviceError) {
        if (recordFlag) *recordFlag = FrameBuffer[6];
    }
    if (status == StatusOk)
        ClearErrorText(errorText);
    else if (status == StatusDeviceError)
        SetErrorText(errorText, DeviceErrorText(deviceError));
    else if (!answered && LastOpenFailed())
        SetErrorText(errorText, PortNotOpenedErrorText());
    else
        SetErrorText(errorText, StatusText(status));
    return status;
}

// Steps 5–9: the exchange and the header checks in their fixed order, recorded
// in the exchange log.
CommandStatus Exchange(uint8_t command, int requestLength, int responseLength, bool checkLength,
                       uint8_t& deviceError, char* errorText, uint8_t* recordFlag = nullptr) {
    ExchangeRecorder recorder(requestLength, responseLength);
    TransferCount = uint32_t(requestLength);
    const bool answered = Transact(responseLength);
    recorder.transacted();
    const CommandStatus status =
        CheckAnswer(answered, command, checkLength, deviceError, errorText, recordFlag);
    recorder.finish(status, status == StatusDeviceError ? deviceError : 0);
    return status;
}

// Copies a 25-byte data field up to its first zero and zero-fills the rest.
void CopyDataField(int offset, char* destination) {
    int i = 0;
    for (; i < DeviceDataSize && FrameBuffer[offset + i] != 0; ++i)
        destination[i] = char(FrameBuffer[offset + i]);
    for (; i < DeviceDataSize; ++i) destination[i] = 0;
}

}  // namespace

int64_t LenientDecimal(const char* text) {
    if (!text) return 0;
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    uint64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + uint64_t(*p - '0');  // wraps like the device field
    return int64_t(negative ? (0 - value) : value);
}

bool StrictDecimal(const char* text, int64_t& value) {
    value = 0;
    if (!text) return false;
    bool ok = false;
    const qlonglong v = QByteArray(text).toLongLong(&ok, 10);
    if (!ok) return false;
    value = v;
    return true;
}

CommandStatus ParameterCommand(uint8_t mode, uint8_t group, uint8_t firstIndex, uint8_t secondIndex,
                               char* data, uint8_t& deviceError, char* errorText,
                               uint8_t* recordFlag) {
    BuildRequest(CmdParameter, ParameterRequestLength, [&] {
        FrameBuffer[8] = mode;
        FrameBuffer[9] = group;
        FrameBuffer[10] = firstIndex;
        FrameBuffer[11] = secondIndex;
        if (mode == ModeWrite && data) {
            // A wide line carries its flag and 12 characters; a narrow one the whole field.
            const int limit = data[0] == '1' ? 13 : DeviceDataSize;
            for (int i = 0; i < limit && data[i] != 0; ++i) FrameBuffer[12 + i] = uint8_t(data[i]);
        }
    });
    const CommandStatus status =
        Exchange(CmdParameter, ParameterRequestLength, ParameterResponseLength, true, deviceError,
                 errorText, recordFlag);
    if (status == StatusOk && mode == ModeRead && data) CopyDataField(8, data);
    return status;
}

CommandStatus FormCommand(uint8_t mode, uint8_t& formNumber, uint8_t& variant, uint8_t& requisite,
                          uint8_t& kind, uint8_t& deviceError, char* errorText) {
    BuildRequest(CmdForm, FormRequestLength, [&] {
        FrameBuffer[8] = mode;
        FrameBuffer[9] = formNumber;
        FrameBuffer[10] = variant;
        FrameBuffer[11] = requisite;
        FrameBuffer[12] = kind;
    });
    const CommandStatus status =
        Exchange(CmdForm, FormRequestLength, FormResponseLength, true, deviceError, errorText);
    if (status == StatusOk && mode == ModeRead) {
        formNumber = FrameBuffer[4];
        variant = FrameBuffer[5];
        requisite = FrameBuffer[6];
        kind = FrameBuffer[7];
    }
    return status;
}

CommandStatus InnCommand(int32_t password, uint8_t year, uint8_t month, uint8_t day, uint8_t group,
                         const char* taxpayerNumber, uint8_t& deviceError, char* errorText) {
    BuildRequest(CmdInn, InnRequestLength, [&] {
        PutLe(8, uint32_t(password), 4);
        FrameBuffer[12] = day;
        FrameBuffer[13] = month;
        FrameBuffer[14] = year;
        FrameBuffer[15] = group;
        PutLe(16, uint64_t(LenientDecimal(taxpayerNumber)), 6);
    });
    return Exchange(CmdInn, InnRequestLength, InnResponseLength, true, deviceError, errorText);
}

CommandStatus GoodsCommand(uint8_t mode, uint16_t recordIndex, char* name, char* barcode,
                           uint8_t& section, int64_t& price, uint8_t& deviceError,
                           char* errorText) {
    BuildRequest(CmdGoods, GoodsRequestLength, [&] {
        FrameBuffer[8] = mode;
        PutLe(9, recordIndex, 2);
        if (mode == ModeWrite && name) {
            for (int i = 0; i < DeviceDataSize && name[i] != 0; ++i)
                FrameBuffer[11 + i] = uint8_t(name[i]);
        }
        // A read carries the caller's numbers as a write does. An empty
        // barcode erases the record's numbers, whatever price and section say.
        if (barcode && barcode[0] != 0) {
            int64_t code = 0;
            StrictDecimal(barcode, code);
            PutLe(36, uint64_t(code), 6);
            PutLe(42, uint64_t(price), 5);
            FrameBuffer[47] = section;
        }
    });
    const CommandStatus status =
        Exchange(CmdGoods, GoodsRequestLength, GoodsResponseLength, true, deviceError, errorText);
    if (status == StatusOk && mode == ModeRead) {
        if (name) CopyDataField(6, name);
        if (barcode) {
            const QByteArray text = QByteArray::number(qulonglong(GetLe(31, 6)));
            std::memcpy(barcode, text.constData(), std::size_t(text.size()) + 1);
        }
        price = int64_t(GetLe(37, 5));
        section = FrameBuffer[42];
    }
    return status;
}

CommandStatus StateCommand(uint8_t& deviceError, uint8_t& modeByte, uint8_t& flashState,
                           uint8_t& batteryState, uint16_t& documentNumber, uint8_t& documentState,
                           uint8_t& day, uint8_t& month, uint8_t& year, uint8_t& hour,
                           uint8_t& minute, uint32_t& factoryNumber, uint64_t& taxpayerNumber,
                           uint8_t& currentGroup, char* errorText) {
    BuildRequest(CmdState, StateRequestLength, [] {});
    // The state answer is taken whatever its length byte says.
    const CommandStatus status =
        Exchange(CmdState, StateRequestLength, StateResponseLength, false, deviceError, errorText);
    if (status == StatusOk) {
        modeByte = FrameBuffer[4];
        flashState = FrameBuffer[5];
        currentGroup = FrameBuffer[6];
        batteryState = FrameBuffer[7];
        documentNumber = uint16_t(GetLe(8, 2));
        documentState = FrameBuffer[10];
        day = FrameBuffer[11];
        month = FrameBuffer[12];
        year = FrameBuffer[13];
        hour = FrameBuffer[14];
        minute = FrameBuffer[15];
        factoryNumber = uint32_t(GetLe(16, 4));
        taxpayerNumber = GetLe(22, 6);
    }
    return status;
}
