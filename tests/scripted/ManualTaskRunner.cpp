#include "ManualTaskRunner.h"

#include <algorithm>

namespace zephrin::testing {

void ManualTaskRunner::run(TaskPriority priority, QObject* context, Job job)
{
    m_jobs.push_back({priority, context, std::move(job)});
}

void ManualTaskRunner::after(std::chrono::milliseconds delay, QObject* context, std::function<void()> callback)
{
    if (delay <= std::chrono::milliseconds::zero()) {
        callback();
        return;
    }
    m_timers.push_back({m_now + delay, m_order++, context, std::move(callback)});
}

bool ManualTaskRunner::runWork(std::size_t index)
{
    if (index >= m_jobs.size())
        return false;
    Waiting waiting = std::move(m_jobs[index]);
    m_jobs.erase(m_jobs.begin() + std::ptrdiff_t(index));
    m_finished.push_back({waiting.context, waiting.job()});
    return true;
}

void ManualTaskRunner::deliver()
{
    while (!m_finished.empty()) {
        Finished finished = std::move(m_finished.front());
        m_finished.pop_front();
        if (finished.context && finished.continuation)
            finished.continuation();
    }
}

bool ManualTaskRunner::runJob(std::size_t index)
{
    if (!runWork(index))
        return false;
    Finished finished = std::move(m_finished.back());
    m_finished.pop_back();
    if (finished.context && finished.continuation)
        finished.continuation();
    return true;
}

int ManualTaskRunner::runAll()
{
    int ran = 0;
    while (runJob(0))
        ++ran;
    return ran;
}

void ManualTaskRunner::advance(std::chrono::milliseconds duration)
{
    const auto end = m_now + duration;
    for (;;) {
        const auto next = std::min_element(m_timers.begin(), m_timers.end(), [](const Timer& a, const Timer& b) {
            return a.due < b.due || (a.due == b.due && a.order < b.order);
        });
        if (next == m_timers.end() || next->due > end)
            break;
        Timer timer = std::move(*next);
        m_timers.erase(next);
        m_now = timer.due;
        if (timer.context)
            timer.callback();
    }
    m_now = end;
}

void ManualTaskRunner::settle()
{
    for (;;) {
        runAll();
        if (m_timers.empty())
            return;
        const auto next = std::min_element(m_timers.begin(), m_timers.end(),
                                           [](const Timer& a, const Timer& b) { return a.due < b.due; });
        advance(next->due - m_now);
    }
}

} // namespace zephrin::testing
