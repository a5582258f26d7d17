#include "support/FakeLink.h"

#include "device/Protocol.h"

FakeLink::FakeLink() {
    ForgetLineStates();
    SetLinkOverride(this);
}

void FakeLink::close() {
    isOpen = false;
    if (!lateAnswers) ForgetLineStates();
}

FakeLink::~FakeLink() {
    SetLinkOverride(nullptr);
}

bool FakeLink::open(const QString& path) {
    lastPath = path;
    ++opens;
    if (refuseOpen) return false;
    isOpen = true;
    return true;
}

qint64 FakeLink::write(const QByteArray& bytes) {
    written.append(bytes);
    return bytes.size();
}

QByteArray FakeLink::read(int expected, int, int) {
    lastExpected = expected;
    if (answers.isEmpty()) return {};
    return answers.takeFirst().left(expected);
}

QByteArray Answer(uint8_t command, int responseLength, uint8_t error, const QByteArray& data) {
    QByteArray frame(responseLength, '\0');
    frame[0] = char(STX_SLAVE);
    frame[1] = char(command - 0x20);
    frame[2] = char(responseLength);
    frame[3] = char(error);
    for (int i = 0; i < data.size() && 4 + i < responseLength; ++i) frame[4 + i] = data[i];
    return frame;
}
