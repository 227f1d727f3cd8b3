#include "core/idle_timeout.h"

#include <QTimer>

namespace voltwise {

namespace {

class TimerIdleTimeout final : public IdleTimeout
{
public:
    TimerIdleTimeout(std::chrono::milliseconds interval, std::function<void()> expired)
        : m_timer(new QTimer)
        , m_firing(std::make_shared<bool>(false))
    {
        m_timer->setSingleShot(true);
        m_timer->setInterval(interval);
        QObject::connect(m_timer, &QTimer::timeout, m_timer,
                         [firing = m_firing, expired = std::move(expired)] {
                             *firing = true;
                             expired(); // may end this time-out
                             *firing = false;
                         });
        m_timer->start();
    }

    ~TimerIdleTimeout() override
    {
        m_timer->stop();
        // Not inside the timer's own signal.
        if (*m_firing)
            m_timer->deleteLater();
        else
            delete m_timer;
    }

    void restart() override { m_timer->start(); }

private:
    QTimer *m_timer;
    std::shared_ptr<bool> m_firing;
};

} // namespace

std::unique_ptr<IdleTimeout> StartTimerIdleTimeout(std::chrono::milliseconds interval,
                                                   std::function<void()> expired)
{
    return std::make_unique<TimerIdleTimeout>(interval, std::move(expired));
}

} // namespace voltwise
