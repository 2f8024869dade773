#include "engine/isnet/IsnetLog.h"

#include <gtest/gtest.h>

using namespace zephrin;

TEST(IsnetLog, CategoryIsNamedIsNetAndPassesInfoLines)
{
    EXPECT_STREQ(isnetLog().categoryName(), "IS-Net");
    // The runner and the pipeline log at info level; it must be on by default.
    EXPECT_TRUE(isnetLog().isInfoEnabled());
    EXPECT_TRUE(isnetLog().isCriticalEnabled());
}
