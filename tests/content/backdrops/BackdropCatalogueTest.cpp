#include "content/backdrops/Backdrop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace zephrin {
namespace {

TEST(BackdropPresets, HoldTheTwentySixInPickerOrderWithUniqueIds)
{
    const auto& presets = Backdrop::presets();
    ASSERT_EQ(presets.size(), 26u);
    std::set<QString> ids;
    for (const Backdrop& preset : presets)
        ids.insert(preset.id);
    EXPECT_EQ(ids.size(), 26u);
    EXPECT_EQ(presets.front().id, "studio-white");
    EXPECT_EQ(presets[6].id, "table-white");
    EXPECT_EQ(presets[10].id, "grad-sunset");
    EXPECT_EQ(presets[16].id, "bokeh-gold");
    EXPECT_EQ(presets[20].id, "tex-paper");
    EXPECT_EQ(presets.back().id, "tex-marble-black");
    EXPECT_EQ(presets.back().name, "Black Marble");
    // Built once and shared.
    EXPECT_EQ(&Backdrop::presets(), &presets);
}

TEST(BackdropPresets, GroupTheMarblesWithTheTextures)
{
    const auto& presets = Backdrop::presets();
    const auto textures = std::count_if(presets.begin(), presets.end(), [](const Backdrop& b) {
        return b.category == BackdropCategory::texture;
    });
    EXPECT_EQ(textures, 6);
    EXPECT_TRUE(std::holds_alternative<MarbleStyle>(presets[24].style));
    EXPECT_EQ(presets[24].category, BackdropCategory::texture);
}

TEST(BackdropPresets, KeepEachCategoryTogetherInCategoryOrder)
{
    std::vector<BackdropCategory> order;
    for (const Backdrop& preset : Backdrop::presets())
        if (order.empty() || order.back() != preset.category)
            order.push_back(preset.category);
    const auto all = allCases<BackdropCategory>();
    EXPECT_EQ(order, std::vector<BackdropCategory>(all.begin(), all.end()));
}

TEST(BackdropCategory, ComesOnlyFromItsOwnRawValues)
{
    EXPECT_EQ(fromRaw<BackdropCategory>(u"Bokeh"), BackdropCategory::bokeh);
    EXPECT_EQ(fromRaw<BackdropCategory>(u"Marble"), std::nullopt);
    EXPECT_EQ(fromRaw<CustomBackdropShape>(u"Spotlight"), CustomBackdropShape::spotlight);
}

TEST(CustomBackdrop, FadesOrSpotlightsTheTwoChosenColours)
{
    const RGBAColor a{1, 0, 0, 1};
    const RGBAColor b{0, 0, 1, 1};
    const Backdrop fade = Backdrop::custom(a, b, CustomBackdropShape::fade);
    EXPECT_EQ(fade.id, "custom");
    EXPECT_EQ(fade.name, "Custom");
    EXPECT_EQ(fade.category, BackdropCategory::gradient);
    EXPECT_EQ(fade.style, BackdropStyle(LinearStyle{a, b}));
    EXPECT_EQ(Backdrop::custom(a, b, CustomBackdropShape::spotlight).style, BackdropStyle(StudioStyle{a, b}));
}

} // namespace
} // namespace zephrin
