#include "engine/text/TextLayer.h"

#include <gtest/gtest.h>

using namespace zephrin;

TEST(TextLayer, NewLayerHoldsTheDefaults)
{
    const TextLayer layer = TextLayer::makeDefault();
    EXPECT_FALSE(layer.id.isNull());
    EXPECT_EQ(layer.text, QStringLiteral("Your Text"));
    EXPECT_EQ(layer.fontName, QStringLiteral("HelveticaNeue-Bold"));
    EXPECT_EQ(layer.fontLabel, QStringLiteral("Helvetica Neue"));
    EXPECT_FALSE(layer.fontID.has_value());
    EXPECT_EQ(layer.size, 0.1);
    EXPECT_EQ(layer.color, (RGBAColor{0.1, 0.1, 0.12, 1}));
    EXPECT_EQ(layer.x, 0.5);
    EXPECT_EQ(layer.y, 0.15);
    EXPECT_FALSE(layer.bold);
    EXPECT_FALSE(layer.italic);
    EXPECT_EQ(layer.outline, 0);
    EXPECT_EQ(layer.outlineColor, (RGBAColor{1, 1, 1, 1}));
    EXPECT_EQ(layer.effect, QStringLiteral("none"));
    EXPECT_EQ(layer.effectColor, (RGBAColor{0, 0, 0, 0.6}));
    EXPECT_EQ(layer.effectSize, 0.5);
    EXPECT_EQ(layer.curve, 0);
    EXPECT_TRUE(layer.shape.isEmpty()) << "a plain layer has no shape, not \"none\"";
    EXPECT_EQ(layer.shapeW, 0.5);
    EXPECT_EQ(layer.shapeH, 0.3);
    EXPECT_EQ(layer.fill, (RGBAColor{0.5450980392156862, 0.3607843137254902, 0.9647058823529412, 1}));
    EXPECT_EQ(layer.border, 0);
    EXPECT_EQ(layer.borderColor, (RGBAColor{1, 1, 1, 1}));
    EXPECT_FALSE(layer.knockout);
    EXPECT_EQ(layer.labelFill, 0.85);
}

TEST(TextLayer, EveryNewLayerGetsItsOwnId)
{
    EXPECT_NE(TextLayer::makeDefault().id, TextLayer::makeDefault().id);
    EXPECT_NE(TextLayer().id, TextLayer().id);
}

TEST(TextLayer, EqualityCoversIdentityAndOptionalFont)
{
    const TextLayer layer = TextLayer::makeDefault();
    TextLayer copy = layer;
    EXPECT_EQ(copy, layer);

    copy.id = QUuid::createUuid();
    EXPECT_NE(copy, layer) << "layers with different ids are never equal";

    TextLayer noFont = layer;
    TextLayer emptyFont = layer;
    emptyFont.fontID = QString();
    EXPECT_NE(noFont, emptyFont) << "no font picked is not the same as an empty id";
    noFont.fontID = QStringLiteral("inter");
    emptyFont.fontID = QStringLiteral("inter");
    EXPECT_EQ(noFont, emptyFont);

    TextLayer recoloured = layer;
    recoloured.borderColor.a = 0.99;
    EXPECT_NE(recoloured, layer);
    TextLayer refilled = layer;
    refilled.labelFill = 0.86;
    EXPECT_NE(refilled, layer);
}

TEST(TextLayer, FontSizeIsAFractionOfTheHeightWithAFloorOfFourPixels)
{
    TextLayer layer;
    EXPECT_DOUBLE_EQ(layer.fontSize(1000), 100);
    layer.size = 0.02;
    EXPECT_EQ(layer.fontSize(100), 4) << "2 pixels is below the floor";
    EXPECT_DOUBLE_EQ(layer.fontSize(250), 5);
    layer.size = 0;
    EXPECT_EQ(layer.fontSize(4000), 4);
}
