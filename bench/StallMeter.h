#pragma once
// Watches the GUI thread: the longest gap between two turns of its event loop
// since reset(), seen by a 2 ms heartbeat.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>

namespace zephrin::bench {

class StallMeter {
public:
    StallMeter()
    {
        m_beat.setTimerType(Qt::PreciseTimer);
        m_beat.setInterval(2);
        QObject::connect(&m_beat, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_clock.start();
        m_last = m_clock.nsecsElapsed();
        m_beat.start();
    }
    void reset()
    {
        m_last = m_clock.nsecsElapsed();
        m_longest = 0;
    }
    double longestMs() const { return std::max<qint64>(0, m_longest) / 1e6; }

private:
    QTimer m_beat;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

} // namespace zephrin::bench
