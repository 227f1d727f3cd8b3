#pragma once

namespace voltwise {

// The minute timer's counter: a refresh at the first tick and then every
// UpdateInterval ticks, while automatic checking is on. The counter runs on
// while it is off and is never reset.
class MinuteCounter
{
public:
    bool shouldRefresh(bool autoCheck) const { return m_counter == 0 && autoCheck; }

    // Called after the tick's refresh (if any), with the interval of that moment.
    void advance(int updateInterval)
    {
        const int interval = updateInterval < 1 ? 1 : updateInterval;
        m_counter = (m_counter + 1) % interval;
    }

    int value() const { return m_counter; }

private:
    int m_counter = 0;
};

} // namespace voltwise
