#include "content/tasks/WorkerPools.h"

#include "engine/threads/ThreadBudget.h"

#include <QThread>
#include <QThreadPool>

namespace zephrin {

QThreadPool* userInitiatedPool()
{
    static QThreadPool* pool = [] {
        QThreadPool* global = QThreadPool::globalInstance();
        global->setMaxThreadCount(threadBudget().userTasks);
        return global;
    }();
    return pool;
}

QThreadPool* utilityPool()
{
    static QThreadPool* pool = [] {
        auto* created = new QThreadPool;  // lives for the process, as the global pool does
        created->setThreadPriority(QThread::LowPriority);
        created->setMaxThreadCount(threadBudget().utilityTasks);
        return created;
    }();
    return pool;
}

} // namespace zephrin
