#pragma once

#include "core/timers.h"

#include <QList>

#include <optional>

namespace voltwise::testing {

// Timers on a clock that only moves when the test advances it.
class ManualTimers final : public TimerFactory
{
public:
    std::unique_ptr<OneShotTimer> create(std::function<void()> expired) override
    {
        return std::make_unique<Timer>(*this, std::move(expired));
    }

    // Fires, in order of their deadlines, the timers that run out on the way.
    void advance(std::chrono::milliseconds by)
    {
        const std::chrono::milliseconds until = m_now + by;
        while (Timer *next = nextDue(until)) {
            m_now = *std::exchange(next->m_deadline, std::nullopt);
            const std::function<void()> expired = next->m_expired;
            expired(); // may destroy any timer, this one included
        }
        m_now = until;
    }

    std::chrono::milliseconds now() const { return m_now; }
    int alive() const { return int(m_timers.size()); }
    // How often timers were started, restarts included.
    int starts() const { return m_starts; }

private:
    struct Timer final : OneShotTimer
    {
        Timer(ManualTimers &owner, std::function<void()> expired)
            : m_owner(owner)
            , m_expired(std::move(expired))
        {
            m_owner.m_timers.append(this);
        }
        ~Timer() override { m_owner.m_timers.removeOne(this); }
        void start(std::chrono::milliseconds interval) override
        {
            ++m_owner.m_starts;
            m_deadline = m_owner.m_now + interval;
        }
        void stop() override { m_deadline.reset(); }

        ManualTimers &m_owner;
        std::function<void()> m_expired;
        std::optional<std::chrono::milliseconds> m_deadline;
    };

    Timer *nextDue(std::chrono::milliseconds until) const
    {
        Timer *next = nullptr;
        for (Timer *t : m_timers)
            if (t->m_deadline && *t->m_deadline <= until &&
                (!next || t->m_deadline < next->m_deadline))
                next = t;
        return next;
    }

    std::chrono::milliseconds m_now{0};
    QList<Timer *> m_timers;
    int m_starts = 0;
};

} // namespace voltwise::testing
