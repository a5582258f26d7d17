#pragma once

#include <QByteArray>
#include <functional>

#include "device/SerialLink.h"

// A serial link whose answers come from the fuzzer, one per exchange. It puts
// itself in place of the program's link for its lifetime, sets the port
// settings every command needs, and checks what the commands do with a link:
// every request is a whole, well-formed frame, and the port is opened, used
// and closed in order.
class InputLink : public SerialLink {
public:
    using AnswerSource = std::function<QByteArray()>;

    explicit InputLink(AnswerSource nextAnswer);
    ~InputLink() override;
    InputLink(const InputLink&) = delete;
    InputLink& operator=(const InputLink&) = delete;

    bool open(const QString& path) override;
    void configure(int baudRate) override;
    qint64 write(const QByteArray& bytes) override;
    bool drain(QDeadlineTimer deadline) override;
    QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) override;
    void discardLateInput(int quietMs, int boundMs) override;
    void close() override;

    int exchanges() const { return exchanges_; }
    const QByteArray& lastRequest() const { return lastRequest_; }

private:
    AnswerSource nextAnswer_;
    bool open_ = false;
    int exchanges_ = 0;
    QByteArray lastRequest_;
};
