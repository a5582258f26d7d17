#pragma once

#include <QString>
#include <exception>
#include <utility>

#include "shell/DeviceOperation.h"

// Reports an exception that escapes a user action in an error box, after
// taking down the indicators of a transfer it may have ended; the program goes on.
void ReportException(const std::exception& error);
void ReportUnknownException();
// The text for a failure that is not a standard exception.
QString UnknownErrorText();

// Wraps a button or menu handler so that an exception it throws (a number
// that does not convert, say) is reported where it happens instead of
// unwinding through the toolkit. Every handler that can throw is connected
// through it.
//
// While a device operation runs the handler does not run: the user is told
// that an exchange is running. The input guard holds back keys and clicks,
// but an accessibility client's "press" or a queued click reaches a button
// without an input event, and no user action may change what a transfer moves.
template <typename F>
auto Guarded(F handler) {
    return [handler = std::move(handler)](auto&&...) mutable {
        try {
            if (RefuseDuringDeviceOperation()) return;
            handler();
        } catch (const std::exception& error) {
            ReportException(error);
        } catch (...) {
            ReportUnknownException();
        }
    };
}

// For what the program itself starts (a timer, a refresh): an exception is
// reported as Guarded does, but a running device operation is no reason to
// refuse, and no reason to tell the user anything — they did nothing.
template <typename F>
auto Reported(F handler) {
    return [handler = std::move(handler)](auto&&...) mutable {
        try {
            handler();
        } catch (const std::exception& error) {
            ReportException(error);
        } catch (...) {
            ReportUnknownException();
        }
    };
}
