#include "engine/matte/MatteEngine.h"

#include <gtest/gtest.h>

using namespace zephrin;

TEST(MatteEngine, RendersThroughAContextNamedZephrinWithoutCaching)
{
    const MatteEngine engine;
    EXPECT_EQ(engine.context().options(), (RenderContextOptions{QStringLiteral("Zephrin"), false}));
    EXPECT_EQ(MatteEngine::makeContext().options(), engine.context().options());
}
