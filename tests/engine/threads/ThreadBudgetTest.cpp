#include "engine/threads/ThreadBudget.h"

#include <gtest/gtest.h>

using namespace zephrin;

TEST(ThreadBudget, GivesEveryPoolAThreadAndSharesTheCoresBetweenTheTaskPools)
{
    for (const int cores : {0, 1, 2, 3, 4, 8, 64}) {
        SCOPED_TRACE(cores);
        const ThreadBudget budget = threadBudgetFor(cores);
        EXPECT_EQ(budget.cores, std::max(1, cores));
        EXPECT_EQ(budget.networkThreads, budget.cores);
        EXPECT_EQ(budget.pixelThreads, budget.cores);
        EXPECT_GE(budget.userTasks, 2); // a long task never holds up a short one alone
        EXPECT_GE(budget.utilityTasks, 1);
        if (cores >= 4) {
            EXPECT_EQ(budget.userTasks + budget.utilityTasks, cores);
        }
    }
    EXPECT_GE(availableCores(), 1);
    EXPECT_EQ(threadBudget(), threadBudgetFor(availableCores()));
}
