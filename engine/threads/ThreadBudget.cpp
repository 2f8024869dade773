#include "engine/threads/ThreadBudget.h"

#include <opencv2/core.hpp>

#include <sched.h>

#include <algorithm>
#include <thread>

namespace zephrin {

ThreadBudget threadBudgetFor(int cores)
{
    const int n = std::max(1, cores);
    return ThreadBudget{
        .cores = n,
        .networkThreads = n,
        .pixelThreads = n,
        .userTasks = std::max(2, n / 2),
        .utilityTasks = std::max(1, n - std::max(2, n / 2)),
    };
}

int availableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        return std::max(1, CPU_COUNT(&set));
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

const ThreadBudget& threadBudget()
{
    static const ThreadBudget budget = [] {
        const ThreadBudget decided = threadBudgetFor(availableCores());
        cv::setNumThreads(decided.pixelThreads);
        return decided;
    }();
    return budget;
}

} // namespace zephrin
