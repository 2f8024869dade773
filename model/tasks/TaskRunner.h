#pragma once
// Where the editor's background work runs and how its results come back.
//
// A job runs off the GUI thread on the pool of its priority and returns its
// continuation, which the runner calls on the GUI thread, and only while the
// context object still exists. Timers call back on the GUI thread after a delay.
//
// ThreadTaskRunner is the real one: the two worker pools of content/tasks and
// precise single-shot timers. Tests put a runner of their own in its place that
// runs jobs and advances time only when told, so every interleaving can be
// replayed exactly.

#include <QObject>

#include <chrono>
#include <functional>

namespace zephrin {

enum class TaskPriority {
    userInitiated,  // work the user waits for: cutouts, renders, exports, loads
    utility,        // work nobody waits for: model warm-up, the fill-holes probe
};

class TaskRunner {
public:
    using Continuation = std::function<void()>;
    using Job = std::function<Continuation()>;

    virtual ~TaskRunner() = default;

    // Runs `job` on a worker; then its continuation (when not empty) on the GUI
    // thread, unless `context` has been destroyed by then.
    virtual void run(TaskPriority priority, QObject* context, Job job) = 0;

    // Calls `callback` on the GUI thread `delay` from now, unless `context` has
    // been destroyed by then. A delay of zero calls it at once, before returning.
    virtual void after(std::chrono::milliseconds delay, QObject* context, std::function<void()> callback) = 0;
};

class ThreadTaskRunner final : public TaskRunner {
public:
    void run(TaskPriority priority, QObject* context, Job job) override;
    void after(std::chrono::milliseconds delay, QObject* context, std::function<void()> callback) override;
};

} // namespace zephrin
