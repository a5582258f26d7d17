#pragma once

// One device operation at a time. A lock that is not acquired tells its caller
// that another operation runs; the caller decides what the user is told.

class DeviceLock {
public:
    // Takes the lock if it is free; acquired() tells whether it did.
    DeviceLock();
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    bool acquired() const { return acquired_; }
    static bool busy();

    // Told when an operation begins (true) and when it has ended (false): the
    // window program holds back user input for that long.
    using Observer = void (*)(bool busy);
    static void setObserver(Observer observer);

private:
    bool acquired_;
};
