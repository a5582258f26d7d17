#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// While a device operation runs, the program's windows repaint but take no
// user input: long transfers let events through so the windows stay alive, and
// a click there must never change the data a transfer is moving. What still
// takes input: the wait window ("Прервать") and the message boxes the operation
// itself asks or tells with. One filter on the whole application, so that a
// new button or shortcut cannot reopen the hole.
class InputGuard : public QObject {
    Q_OBJECT
public:
    // `waitWindow` is the one window that stays open to the user.
    explicit InputGuard(QWidget* waitWindow);
    ~InputGuard() override;

    // Set up by the program: follows DeviceLock from here on.
    void followDeviceOperations();
    bool active() const { return active_; }

    // Starts and ends holding back input (DeviceLock's observer calls these).
    void begin();
    void end();

signals:
    // The operation has ended and no held-back input is left.
    void ended();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool mayTakeInput(QObject* target) const;

    QPointer<QWidget> waitWindow_;
    // A modal window open before the operation (the wizard) stays closed to
    // input; only those opened during it (its questions) take it.
    QPointer<QWidget> modalAtStart_;
    bool active_ = false;
};
