// The shape gallery's groups and thumbnails: each kind fitted at 92 % of the
// limiting side, centred, filled non-zero.

#include "pickers/shapes/ShapeThumbnail.h"

#include "engine/shapes/ShapeKit.h"

#include <gtest/gtest.h>

namespace zephrin::shapethumbs {
namespace {

TEST(ShapeThumbnail, GroupsHoldEveryKindInCatalogueOrder)
{
    EXPECT_EQ(groups(), QStringList({"Basics", "Stickers", "Bubbles", "Frames"}));
    QStringList all;
    for (const QString& group : groups())
        for (const auto& [id, name] : kindsOf(group))
            all << id;
    EXPECT_EQ(all, QStringList({"rect", "rounded", "ellipse", "heart", "star", "badge", "banner", "speech",
                                "thought", "arch", "hexagon", "scallop"}));
    EXPECT_EQ(kindsOf("Bubbles").front().second, "Speech");
    EXPECT_TRUE(kindsOf("basics").isEmpty());
}

TEST(ShapeThumbnail, WideAndTallKindsFitTheirLimitingSide)
{
    const auto banner = thumbnailPath("banner", 54, 42);
    ASSERT_TRUE(banner);
    EXPECT_NEAR(banner->boundingRect().width(), 54 * 0.92, 0.05);
    EXPECT_NEAR(banner->boundingRect().center().y(), 21, 0.05);
    const auto arch = thumbnailPath("arch", 54, 42);
    ASSERT_TRUE(arch);
    EXPECT_NEAR(arch->boundingRect().height(), 42 * 0.92, 0.05);
    EXPECT_NEAR(arch->boundingRect().center().x(), 27, 0.05);
}

TEST(ShapeThumbnail, EveryKindIsFilledNonZeroAndUnknownIdsDrawNothing)
{
    for (const ShapeKit::Kind& kind : ShapeKit::kinds()) {
        const auto path = thumbnailPath(kind.id, 54, 42);
        ASSERT_TRUE(path) << kind.id.toStdString();
        EXPECT_EQ(path->fillRule(), Qt::WindingFill);
        // The middle of every label is inside its outline.
        EXPECT_TRUE(path->contains(QPointF(27, 21))) << kind.id.toStdString();
    }
    EXPECT_FALSE(thumbnailPath("Banner", 54, 42));
    EXPECT_FALSE(thumbnailPath("", 54, 42));
    EXPECT_FALSE(thumbnailPath("rect", 0, 42));
}

} // namespace
} // namespace zephrin::shapethumbs
