#pragma once

#include <QSet>
#include <QString>
#include <cstdint>
#include <vector>

#include "device/ExchangeRecord.h"

// The most recent exchanges with the device, whatever link carried them. A ring:
// when it is full the oldest exchange drops off and is counted. Secrets are
// masked as a record comes in, so they are never held here.
//
// Readers (the log window) poll: numbers grow by one per exchange and restart
// at 1 after clear(), which also changes generation().
class ExchangeLog {
public:
    static constexpr int Capacity = 20000;

    bool recording() const { return recording_; }
    // Off only to measure what recording costs.
    void setRecording(bool on) { recording_ = on; }

    // Numbers the record, masks its secrets and keeps it. After an operator's
    // password exchange that failed, the answers on that port are masked
    // like a password's answer until an exchange there succeeds.
    void append(ExchangeRecord record);
    void clear();

    int size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    // 0 is the oldest exchange held.
    const ExchangeRecord& at(int i) const;
    // The exchange with this number, or nullptr when it has dropped off or never was.
    const ExchangeRecord* find(uint64_t number) const;
    uint64_t firstNumber() const { return nextNumber_ - uint64_t(size_); }
    uint64_t nextNumber() const { return nextNumber_; }
    // Exchanges that dropped off since the log was last emptied.
    uint64_t dropped() const { return dropped_; }
    uint64_t generation() const { return generation_; }

private:
    std::vector<ExchangeRecord> slots_;
    int head_ = 0;  // the oldest record once the ring is full
    int size_ = 0;
    uint64_t nextNumber_ = 1;
    uint64_t dropped_ = 0;
    uint64_t generation_ = 0;
    bool recording_ = true;
    // Ports where an operator's password exchange failed and nothing has
    // succeeded since: its answer may still come, in front of another's.
    QSet<QString> passwordOutstanding_;
};

// The program's log, filled by every device command.
ExchangeLog& ProgramExchangeLog();

// Which bytes of a request and of its answer carry a secret: the ИНН command's
// password, and an operator's password (group 0, line 3) in either direction.
// The checksum of such a frame is secret too, since with the other bytes known
// it gives away the sum of the password's digits.
struct ExchangeSecrets {
    SecretMask request = 0;
    SecretMask answer = 0;
};
ExchangeSecrets SecretsOf(const uint8_t* request, int requestLength, int answerLength);
// A parameter request for an operator's password (group 0, line 3).
bool IsOperatorPasswordRequest(const uint8_t* request, int requestLength);
