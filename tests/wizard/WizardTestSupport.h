#pragma once

// Shared set-up of the wizard tests: the in-process device behind the
// emulator port entry, texts in both character sets, a link that loses
// chosen requests, and a way to answer a modal editor without blocking.

#include <QApplication>
#include <QByteArray>
#include <QSet>
#include <QTimer>
#include <QtTest>
#include <cstring>
#include <functional>

#include "config/DeviceConfiguration.h"
#include "config/ParameterCatalogue.h"
#include "device/DeviceCharset.h"
#include "device/PortNames.h"
#include "device/PortSettings.h"
#include "device/Protocol.h"
#include "device/SerialLink.h"
#include "emulator/DeviceEmulator.h"
#include "emulator/EmulatorLink.h"
#include "support/TestDevice.h"

// The device switched off: every request is lost.
inline void SwitchOff(DeviceEmulator& device) {
    Fault silent;
    silent.kind = FaultKind::Silent;
    device.addFault(silent);
}

inline QList<QByteArray> Requests(const DeviceEmulator& device) {
    QList<QByteArray> list;
    for (const auto& exchange : device.log()) list << exchange.request;
    return list;
}

// The in-process device, except that the requests whose numbers (1-based,
// counted from the link's creation) are listed get no answer.
class LosingLink : public SerialLink {
public:
    explicit LosingLink(QSet<int> lost) : lost_(std::move(lost)) { SetLinkOverride(this); }
    ~LosingLink() override { SetLinkOverride(nullptr); }
    bool open(const QString& path) override { return inner().open(path); }
    void configure(int baud) override { inner().configure(baud); }
    qint64 write(const QByteArray& bytes) override {
        if (lost_.contains(++writes_)) {
            Fault silent;
            silent.kind = FaultKind::Silent;
            silent.count = 1;
            inner().device().addFault(silent);
        }
        return inner().write(bytes);
    }
    QByteArray read(int expected, int byteMs, int totalMs) override {
        return inner().read(expected, byteMs, totalMs);
    }
    void close() override { inner().close(); }

private:
    static EmulatorLink& inner() { return InProcessEmulatorLink(); }
    QSet<int> lost_;
    int writes_ = 0;
};

// Types text as key presses, any characters (QTest::keyClicks takes Latin-1 only).
inline void TypeText(QWidget* widget, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Runs `act` on the modal window of type T as soon as it is on screen (the
// wizard lets events through while it shows itself, so it may take a few
// turns of the event loop), so that a test never waits on a modal window.
template <typename T>
void WhenModal(std::function<void(T*)> act, int turnsLeft = 500) {
    QTimer::singleShot(turnsLeft == 500 ? 0 : 10, [act, turnsLeft] {
        auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!window) {
            if (turnsLeft > 0) {
                WhenModal<T>(act, turnsLeft - 1);
                return;
            }
            if (QWidget* other = QApplication::activeModalWidget()) other->close();
            QFAIL("the expected modal window did not open");
        }
        act(window);
        // A failed check inside `act` must not leave the test waiting on the window.
        if (window->isVisible()) {
            window->done(0);
            QFAIL("the modal window was left open");
        }
    });
}
