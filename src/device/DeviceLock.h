#pragma once

// One device operation at a time. Long transfers let window events through, so
// a second device action can be clicked while one runs; it must not start.

class DeviceLock {
public:
    // Takes the lock if it is free; acquired() tells whether it did.
    DeviceLock();
    ~DeviceLock();
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

    bool acquired() const { return acquired_; }
    static bool busy();

private:
    bool acquired_;
};

// Takes the lock or, when an exchange is already running, tells the user so and
// returns false. Every page action that talks to the device starts with it.
bool BeginDeviceOperation(DeviceLock& lock);
