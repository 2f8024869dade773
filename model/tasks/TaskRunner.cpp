#include "model/tasks/TaskRunner.h"

#include "content/tasks/WorkerPools.h"

#include <QFuture>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

namespace zephrin {

void ThreadTaskRunner::run(TaskPriority priority, QObject* context, Job job)
{
    QThreadPool* pool = priority == TaskPriority::utility ? utilityPool() : userInitiatedPool();
    // then() with a context runs the continuation on the context's thread and
    // drops it when the context is gone.
    QtConcurrent::run(pool, std::move(job)).then(context, [](const Continuation& continuation) {
        if (continuation)
            continuation();
    });
}

void ThreadTaskRunner::after(std::chrono::milliseconds delay, QObject* context, std::function<void()> callback)
{
    if (delay <= std::chrono::milliseconds::zero()) {
        callback();
        return;
    }
    QTimer::singleShot(delay, Qt::PreciseTimer, context, std::move(callback));
}

} // namespace zephrin
