#pragma once

#include <functional>

namespace testsupport
{
    // Runs the message loop for the given time.
    void pumpMessages (int milliseconds);

    // Runs the message loop until the condition holds or the time is up;
    // returns the condition's last value.
    bool pumpUntil (const std::function<bool()>& condition, int timeoutMilliseconds = 5000);
}
