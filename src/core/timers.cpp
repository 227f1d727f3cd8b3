#include "core/timers.h"

#include <QTimer>

namespace voltwise {

namespace {

class QtOneShotTimer final : public OneShotTimer
{
public:
    explicit QtOneShotTimer(std::function<void()> expired)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(expired));
    }

    void start(std::chrono::milliseconds interval) override { m_timer.start(interval); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

class QtTimerFactory final : public TimerFactory
{
public:
    std::unique_ptr<OneShotTimer> create(std::function<void()> expired) override
    {
        return std::make_unique<QtOneShotTimer>(std::move(expired));
    }
};

} // namespace

TimerFactory &SystemTimers()
{
    static QtTimerFactory factory;
    return factory;
}

} // namespace voltwise
