#pragma once
// A task runner for tests that does nothing by itself: jobs wait in a queue
// until the test runs them, in any order, and timers fire when the test moves
// the clock on. Every interleaving of results, documents and debounce waits can
// so be replayed exactly, without threads and without sleeping.

#include "model/tasks/TaskRunner.h"

#include <QPointer>

#include <chrono>
#include <cstddef>
#include <deque>
#include <vector>

namespace zephrin::testing {

class ManualTaskRunner final : public TaskRunner {
public:
    void run(TaskPriority priority, QObject* context, Job job) override;
    void after(std::chrono::milliseconds delay, QObject* context, std::function<void()> callback) override;

    // Jobs waiting to run, oldest first.
    std::size_t pendingJobs() const { return m_jobs.size(); }
    TaskPriority priorityOf(std::size_t index) const { return m_jobs.at(index).priority; }

    // Runs the waiting job at `index` (0 = oldest) and then its continuation.
    // False when there is none.
    bool runJob(std::size_t index = 0);
    // Runs only the work of the job at `index`; its continuation waits until
    // deliver() (a result that arrives late).
    bool runWork(std::size_t index = 0);
    // Calls the continuations whose work has run, oldest first.
    void deliver();
    // Runs waiting jobs, and those their continuations start, until none waits.
    // Returns how many ran.
    int runAll();

    // Moves the clock on, firing every timer that falls due, in order.
    void advance(std::chrono::milliseconds duration);
    std::chrono::milliseconds now() const { return m_now; }
    std::size_t pendingTimers() const { return m_timers.size(); }

    // Runs jobs and fires timers (moving the clock to each) until nothing is left.
    void settle();

private:
    struct Waiting {
        TaskPriority priority;
        QPointer<QObject> context;
        Job job;
    };
    struct Finished {
        QPointer<QObject> context;
        Continuation continuation;
    };
    struct Timer {
        std::chrono::milliseconds due;
        std::size_t order;
        QPointer<QObject> context;
        std::function<void()> callback;
    };

    std::deque<Waiting> m_jobs;
    std::deque<Finished> m_finished;
    std::vector<Timer> m_timers;
    std::chrono::milliseconds m_now{0};
    std::size_t m_order = 0;
};

} // namespace zephrin::testing
