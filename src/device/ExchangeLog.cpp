#include "device/ExchangeLog.h"

#include <utility>

#include "device/ParameterGroups.h"

namespace {

SecretMask Bytes(int from, int count) {
    SecretMask mask = 0;
    for (int i = from; i < from + count && i < 64; ++i) mask |= SecretMask(1) << i;
    return mask;
}

SecretMask Checksum(int frameLength) {
    return Bytes(frameLength - 2, 2);
}

// The data field of a parameter answer and its checksum.
SecretMask PasswordAnswerSecret() {
    return Bytes(8, DeviceDataSize) | Checksum(ParameterResponseLength);
}

void Wipe(uint8_t* bytes, int length, SecretMask mask) {
    if (mask == 0) return;
    for (int i = 0; i < length; ++i)
        if (mask & (SecretMask(1) << i)) bytes[i] = 0;
}

}  // namespace

ExchangeSecrets SecretsOf(const uint8_t* request, int requestLength, int answerLength) {
    ExchangeSecrets secrets;
    if (requestLength < 12) return secrets;
    const uint8_t command = request[6];
    if (command == CmdInn) {
        secrets.request = Bytes(8, 4) | Checksum(requestLength);
    } else if (IsOperatorPasswordRequest(request, requestLength)) {
        secrets.request = Bytes(12, DeviceDataSize) | Checksum(requestLength);
        secrets.answer = PasswordAnswerSecret();
    }
    // Bytes that did not arrive are not marked.
    if (answerLength < 64) secrets.answer &= Bytes(0, answerLength);
    return secrets;
}

bool IsOperatorPasswordRequest(const uint8_t* request, int requestLength) {
    return requestLength >= 12 && request[6] == CmdParameter && request[9] == GroupOperator &&
           request[11] == OperatorPasswordLine;
}

void ExchangeLog::append(ExchangeRecord record) {
    ExchangeSecrets secrets = SecretsOf(record.request, record.requestLength, record.answerLength);
    // Whatever follows an operator's password exchange that went unanswered
    // may begin with that answer, arriving late: its data field is masked as
    // the password's own would be, whatever this exchange asked for.
    if (passwordOutstanding_.contains(record.port)) {
        secrets.answer |= PasswordAnswerSecret() & Bytes(0, record.answerLength);
    }
    if (record.status == StatusOk)
        passwordOutstanding_.remove(record.port);
    else if (record.portOpened && IsOperatorPasswordRequest(record.request, record.requestLength))
        passwordOutstanding_.insert(record.port);
    record.requestSecret = secrets.request;
    record.answerSecret = secrets.answer;
    Wipe(record.request, record.requestLength, secrets.request);
    Wipe(record.answer, record.answerLength, secrets.answer);
    record.number = nextNumber_++;
    if (size_ < Capacity) {
        // Room for the whole ring at once: it never moves, and pages are only
        // touched as records come in.
        if (slots_.capacity() == 0) slots_.reserve(Capacity);
        slots_.push_back(std::move(record));
        ++size_;
        return;
    }
    slots_[std::size_t(head_)] = std::move(record);
    head_ = (head_ + 1) % Capacity;
    ++dropped_;
}

void ExchangeLog::clear() {
    std::vector<ExchangeRecord>().swap(slots_);
    head_ = 0;
    size_ = 0;
    nextNumber_ = 1;
    dropped_ = 0;
    ++generation_;
}

const ExchangeRecord& ExchangeLog::at(int i) const {
    return slots_[std::size_t((head_ + i) % Capacity)];
}

const ExchangeRecord* ExchangeLog::find(uint64_t number) const {
    if (number < firstNumber() || number >= nextNumber_) return nullptr;
    return &at(int(number - firstNumber()));
}

ExchangeLog& ProgramExchangeLog() {
    static ExchangeLog log;
    return log;
}
