#include "engine/types/CompositeSettings.h"
#include "engine/types/MatteSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace zephrin;

TEST(CompositeSettings, DefaultIsThePlainCutout)
{
    const CompositeSettings s;
    EXPECT_FALSE(s.crop.has_value());
    EXPECT_FALSE(s.mirror);
    EXPECT_EQ(s.colorMode, ColorMode::none);
    EXPECT_EQ(s.fillColor, (RGBAColor{0, 0, 0, 1}));
    EXPECT_EQ(s.tintColor, (RGBAColor{0.5450980392156862, 0.3607843137254902, 0.9647058823529412, 1}));
    EXPECT_EQ(s.tintStrength, 100);
    EXPECT_EQ(s.subjectAdjust, (AdjustSettings{0, 0, 0, 0}));
    EXPECT_EQ(s.backgroundAdjust, (AdjustSettings{0, 0, 0, 0}));
    EXPECT_EQ(s.backgroundMode, BackgroundMode::transparent);
    EXPECT_EQ(s.backgroundColor, (RGBAColor{1, 1, 1, 1}));
    EXPECT_EQ(s.edgeBlend, 60);
    EXPECT_EQ(s.backgroundBlur, 0);
    EXPECT_FALSE(s.shadowEnabled);
    EXPECT_EQ(s.shadowOpacity, 45);
    EXPECT_EQ(s.shadowBlur, 18);
    EXPECT_EQ(s.shadowOffsetX, 0);
    EXPECT_EQ(s.shadowOffsetY, 14);
    EXPECT_FALSE(s.outlineEnabled);
    EXPECT_EQ(s.outlineWidth, 12);
    EXPECT_EQ(s.outlineColor, (RGBAColor{1, 1, 1, 1}));
    EXPECT_FALSE(s.trimToContent);
    EXPECT_EQ(s.padding, 6);
    EXPECT_EQ(s.aspect, AspectPreset::original);
    EXPECT_EQ(s.shapeCrop, ShapeCrop::none);
    EXPECT_EQ(s.cornerRadius, 20);
    EXPECT_TRUE(s.texts.isEmpty());
}

TEST(CompositeSettings, AnySingleChangeMakesItDifferFromTheDefault)
{
    using Change = std::function<void(CompositeSettings&)>;
    const std::vector<Change> changes = {
        [](auto& s) { s.crop = QRectF(0, 0, 10, 10); },
        [](auto& s) { s.mirror = true; },
        [](auto& s) { s.colorMode = ColorMode::tint; },
        [](auto& s) { s.fillColor.r = 0.5; },
        [](auto& s) { s.tintColor.a = 0.5; },
        [](auto& s) { s.tintStrength = 99.5; },
        [](auto& s) { s.subjectAdjust.warmth = 1; },
        [](auto& s) { s.backgroundAdjust.exposure = -1; },
        [](auto& s) { s.backgroundMode = BackgroundMode::color; },
        [](auto& s) { s.backgroundColor.g = 0; },
        [](auto& s) { s.edgeBlend = 0; },
        [](auto& s) { s.backgroundBlur = 3; },
        [](auto& s) { s.shadowEnabled = true; },
        [](auto& s) { s.shadowOpacity = 50; },
        [](auto& s) { s.shadowBlur = 1; },
        [](auto& s) { s.shadowOffsetX = 2; },
        [](auto& s) { s.shadowOffsetY = -14; },
        [](auto& s) { s.outlineEnabled = true; },
        [](auto& s) { s.outlineWidth = 4; },
        [](auto& s) { s.outlineColor.b = 0; },
        [](auto& s) { s.trimToContent = true; },
        [](auto& s) { s.padding = 0; },
        [](auto& s) { s.aspect = AspectPreset::story; },
        [](auto& s) { s.shapeCrop = ShapeCrop::circle; },
        [](auto& s) { s.cornerRadius = 21; },
        [](auto& s) { s.texts.append(TextLayer::makeDefault()); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        CompositeSettings changed;
        changes[i](changed);
        EXPECT_NE(changed, CompositeSettings()) << "change " << i << " went unnoticed";
    }
}

TEST(CompositeSettings, CropsAndTextsCompareByContent)
{
    CompositeSettings a;
    CompositeSettings b;
    a.crop = QRectF(10, 20, 30, 40);
    b.crop = QRectF(10, 20, 30, 41);
    EXPECT_NE(a, b);
    b.crop = a.crop;
    EXPECT_EQ(a, b);

    const TextLayer first = TextLayer::makeDefault();
    const TextLayer second = TextLayer::makeDefault();
    a.texts = {first, second};
    b.texts = {first, second};
    EXPECT_EQ(a, b);
    b.texts = {second, first};
    EXPECT_NE(a, b) << "layer order is drawing order";
    b.texts = {first};
    EXPECT_NE(a, b);
    b.texts = {first, second};
    b.texts[1].text = QStringLiteral("Sale");
    EXPECT_NE(a, b);
}

TEST(MatteSettings, StartsFromTheEditorsValues)
{
    const MatteSettings s;
    EXPECT_FALSE(s.fillHoles);
    EXPECT_EQ(s.edgeMode, EdgeRefineMode::smooth);
    EXPECT_EQ(s.feather, 0.6);
    EXPECT_TRUE(s.decontaminateEnabled);
    EXPECT_EQ(s.decontaminate, 30);
}

TEST(MatteSettings, FloatsCompareExactly)
{
    MatteSettings a;
    MatteSettings b;
    b.decontaminate = 30.5;
    EXPECT_NE(a, b);
    b = a;
    b.feather = 0.6000001;
    EXPECT_NE(a, b);
    b.feather = a.feather;
    EXPECT_EQ(a, b);
}
