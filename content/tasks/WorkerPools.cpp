#include "content/tasks/WorkerPools.h"

#include <QThread>
#include <QThreadPool>

namespace zephrin {

QThreadPool* userInitiatedPool()
{
    return QThreadPool::globalInstance();
}

QThreadPool* utilityPool()
{
    static QThreadPool* pool = [] {
        auto* created = new QThreadPool;  // lives for the process, as the global pool does
        created->setThreadPriority(QThread::LowPriority);
        return created;
    }();
    return pool;
}

} // namespace zephrin
