#pragma once

#include <chrono>
#include <functional>
#include <memory>

namespace voltwise {

// A time-out that every sign of progress starts again; it fires once, when
// the interval passes in silence. Tests pass their own and expire it by hand.
class IdleTimeout
{
public:
    virtual ~IdleTimeout() = default;
    virtual void restart() = 0;
};

// Creates a running time-out that calls expired once the interval passes.
using IdleTimeoutFactory = std::function<std::unique_ptr<IdleTimeout>(
    std::chrono::milliseconds interval, std::function<void()> expired)>;

// Over a QTimer of the calling thread's event loop.
std::unique_ptr<IdleTimeout> StartTimerIdleTimeout(std::chrono::milliseconds interval,
                                                   std::function<void()> expired);

} // namespace voltwise
