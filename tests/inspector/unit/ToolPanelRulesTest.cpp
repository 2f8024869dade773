// The tool panels' rules that are more than layout.

#include "inspector/ToolPanelRules.h"

#include <gtest/gtest.h>

namespace zephrin::inspector {
namespace {

TEST(ToolPanelRules, OnlyTheBackgroundSetLocksAndOnlyWithoutAPictureBehind)
{
    EXPECT_TRUE(adjustLocked(QStringLiteral("Background"), QStringLiteral("Transparent")));
    EXPECT_TRUE(adjustLocked(QStringLiteral("Background"), QStringLiteral("Color")));
    EXPECT_FALSE(adjustLocked(QStringLiteral("Background"), QStringLiteral("Original")));
    EXPECT_FALSE(adjustLocked(QStringLiteral("Background"), QStringLiteral("Image")));
    EXPECT_FALSE(adjustLocked(QStringLiteral("Subject"), QStringLiteral("Transparent")));

    const QVariantMap zero{{"exposure", 0.0}, {"contrast", 0.0}, {"saturation", 0.0}, {"warmth", 0.0}};
    EXPECT_TRUE(isNeutralAdjust(zero));
    QVariantMap tiny = zero;
    tiny.insert(QStringLiteral("exposure"), 0.0001);   // exactly zero, nothing less
    EXPECT_FALSE(isNeutralAdjust(tiny));
}

TEST(ToolPanelRules, ThePresetMenuSplitsApparelFromMarketplaces)
{
    EXPECT_EQ(listingPresetTitles(true),
              (QStringList{"DTF / DTG shirt (12 × 16 in)", "Pocket print (4 × 4 in)", "Cap front (3 × 2.25 in)",
                           "Sublimation shirt (12 × 16 in)", "HTV / iron-on (SVG, mirrored)"}));
    EXPECT_EQ(listingPresetTitles(false), (QStringList{"Etsy listing", "Amazon main image", "Shopify product",
                                                       "Instagram post", "iMessage sticker", "App icon"}));
}

TEST(ToolPanelRules, TheChecklistHeadingNeedsEveryRowMet)
{
    const QVariantMap met{{"ok", true}, {"text", "a"}};
    const QVariantMap unmet{{"ok", false}, {"text", "b"}};
    EXPECT_TRUE(allMet({met, met}));
    EXPECT_FALSE(allMet({met, unmet, met}));
    EXPECT_EQ(complianceHeading(QStringLiteral("Etsy listing"), true), QStringLiteral("Etsy listing: ready"));
    EXPECT_EQ(complianceHeading(QStringLiteral("Etsy listing"), false),
              QStringLiteral("Etsy listing: needs attention"));
}

TEST(ToolPanelRules, AnglePresets)
{
    EXPECT_TRUE(isAnglePreset(44.6, 45));
    EXPECT_FALSE(isAnglePreset(44.4, 45));
    EXPECT_FALSE(isAnglePreset(45.5, 45));
}

} // namespace
} // namespace zephrin::inspector
