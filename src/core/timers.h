#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace voltwise {

// A single-shot timer on the user-interface thread. Destroying it stops it,
// so whatever its callback holds is released with it.
class OneShotTimer
{
public:
    virtual ~OneShotTimer() = default;
    // Starts the countdown again from now.
    virtual void start(std::chrono::milliseconds interval) = 0;
    virtual void stop() = 0;
};

// Where code that waits makes its timers, so that tests can drive time
// instead of sleeping.
class TimerFactory
{
public:
    virtual ~TimerFactory() = default;
    // A stopped timer that calls expired each time it runs out.
    virtual std::unique_ptr<OneShotTimer> create(std::function<void()> expired) = 0;
};

// Real time, through QTimer.
TimerFactory &SystemTimers();

} // namespace voltwise
