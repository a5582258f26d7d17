#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include "device/SerialLink.h"

// A serial link whose answers a test scripts byte for byte. Installs itself as
// the program's link override for its lifetime.
class FakeLink : public SerialLink {
public:
    FakeLink();
    ~FakeLink() override;

    bool open(const QString& path) override;
    void configure(int baudRate) override { lastBaud = baudRate; }
    qint64 write(const QByteArray& bytes) override;
    QByteArray read(int expected, int byteTimeoutMs, int totalTimeoutMs) override;
    // A scripted line has no answer on its way between exchanges: each one
    // starts in step, with no marker before it, unless `lateAnswers` is set.
    void close() override;

    // The next answers, one per exchange; an exchange without a queued answer gets silence.
    QList<QByteArray> answers;
    QList<QByteArray> written;
    QString lastPath;
    int lastBaud = 0;
    int opens = 0;
    bool isOpen = false;
    bool refuseOpen = false;
    bool lateAnswers = false;
    int lastExpected = 0;
};

// A well-formed answer: 18, code, length, error, data padded to the command's
// response length (closing bytes included).
QByteArray Answer(uint8_t command, int responseLength, uint8_t error = 0,
                  const QByteArray& data = {});
