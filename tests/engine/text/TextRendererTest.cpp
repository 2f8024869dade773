#include "engine/text/TextRenderer.h"

#include "support/GuiApplication.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace zephrin;

namespace {

class TextRendererTest : public ::testing::Test {
protected:
    void SetUp() override { zephrin::testing::ensureGuiApplication(); }
};

cv::Vec4b pixelAt(const Image& image, int x, int y) { return image.pixels.at<cv::Vec4b>(y, x); }

// Number of pixels with any alpha.
int inkedPixels(const Image& image)
{
    std::vector<cv::Mat> channels;
    cv::split(image.pixels, channels);
    return cv::countNonZero(channels[3]);
}

// Sum of alpha, in pixels.
double ink(const Image& image) { return cv::sum(image.pixels)[3] / 255.0; }

// The glyph-space point (advance / 2, 0) of an item, the centre of its baseline,
// in layout space.
QPointF baselineCentre(const TextRenderer::Item& item) { return item.transform.map(QPointF(item.box.width() / 2, 0)); }

TextLayer plainText(const QString& text)
{
    TextLayer layer;
    layer.text = text;
    layer.x = 0.5;
    layer.y = 0.5;
    layer.color = {0, 0, 0, 1};
    return layer;
}

TextLayer label(const QString& shape)
{
    TextLayer layer;
    layer.shape = shape;
    layer.text = QStringLiteral("I");
    layer.x = 0.5;
    layer.y = 0.5;
    layer.shapeW = 0.8;
    layer.shapeH = 0.6;
    layer.labelFill = 1;
    layer.fill = {0, 0, 1, 1};
    layer.color = {1, 0, 0, 1};
    return layer;
}

} // namespace

TEST_F(TextRendererTest, CurvedLineSpansItsArcAndEndsAt162DegreesFromTheTop)
{
    TextLayer layer = plainText(QStringLiteral("Round and round"));
    const TextRenderer::Layout straight = TextRenderer::layout(layer, 400);
    ASSERT_FALSE(straight.items.empty());
    // Straight lines are centred on x = 0: the first glyph starts at -w / 2.
    const double width = -2 * straight.items.front().transform.dx();
    ASSERT_GT(width, 100);

    layer.curve = 100;
    const TextRenderer::Layout curved = TextRenderer::layout(layer, 400);
    ASSERT_EQ(curved.items.size(), straight.items.size());
    const double radius = width / (1.8 * std::numbers::pi);
    const QPointF centre(0, -radius);  // an arch: the circle lies below the baseline

    for (const TextRenderer::Item& item : curved.items) {
        const QPointF p = baselineCentre(item);
        EXPECT_NEAR(std::hypot(p.x() - centre.x(), p.y() - centre.y()), radius, 1e-6);
        // Each glyph is turned to follow the circle: its baseline is the tangent.
        const QPointF along = item.transform.map(QPointF(1, 0)) - item.transform.map(QPointF(0, 0));
        const double angle = std::atan2(p.x(), p.y() - centre.y());
        EXPECT_NEAR(std::atan2(-along.y(), along.x()), angle, 1e-9);
    }
    const TextRenderer::Item& first = curved.items.front();
    const TextRenderer::Item& last = curved.items.back();
    const QPointF firstCentre = baselineCentre(first);
    const QPointF lastCentre = baselineCentre(last);
    const double startAngle = std::atan2(firstCentre.x(), firstCentre.y() + radius) - first.box.width() / 2 / radius;
    const double endAngle = std::atan2(lastCentre.x(), lastCentre.y() + radius) + last.box.width() / 2 / radius;
    EXPECT_NEAR(startAngle * 180 / std::numbers::pi, -162, 0.5);
    EXPECT_NEAR(endAngle * 180 / std::numbers::pi, 162, 0.5);

    // A bowl mirrors the arch: the circle lies above and the ends rise.
    layer.curve = -100;
    const TextRenderer::Layout bowl = TextRenderer::layout(layer, 400);
    EXPECT_NEAR(baselineCentre(bowl.items.front()).y(), -baselineCentre(first).y(), 1e-9);
    EXPECT_GT(baselineCentre(bowl.items.front()).y(), 0);
}

TEST_F(TextRendererTest, TextCurvesOnlyAboveHalfAPercentAndThenJoinsItsLines)
{
    TextLayer layer = plainText(QStringLiteral("ab\ncd"));
    const auto isStraight = [](const TextRenderer::Item& item) { return item.transform.type() <= QTransform::TxTranslate; };

    layer.curve = 0.5;
    const TextRenderer::Layout straight = TextRenderer::layout(layer, 200);
    ASSERT_EQ(straight.items.size(), 4u) << "two lines of two glyphs";
    for (const auto& item : straight.items)
        EXPECT_TRUE(isStraight(item));
    EXPECT_EQ(straight.items[0].transform.dy(), straight.items[1].transform.dy());
    EXPECT_LT(straight.items[2].transform.dy(), straight.items[0].transform.dy()) << "the second line lies below";

    layer.curve = -0.5;
    EXPECT_TRUE(isStraight(TextRenderer::layout(layer, 200).items.front()));

    layer.curve = 0.6;
    const TextRenderer::Layout curved = TextRenderer::layout(layer, 200);
    ASSERT_EQ(curved.items.size(), 5u) << "one line: the newline became a space";
    EXPECT_FALSE(isStraight(curved.items.front()));
    EXPECT_LT(baselineCentre(curved.items.front()).y(), 0) << "slightly bent: the ends go down";
}

TEST_F(TextRendererTest, EmptyTextDrawsNothingButKeepsTheBoxOfASpace)
{
    for (const QString& text : {QString(), QStringLiteral("  \n \t")}) {
        const auto overlay = TextRenderer::drawLayers({plainText(text)}, 300, 200);
        ASSERT_TRUE(overlay.has_value());
        EXPECT_EQ(inkedPixels(*overlay), 0) << text.toStdString();
    }
    const QSizeF empty = TextRenderer::boxSize(plainText(QString()), 200);
    EXPECT_EQ(empty, TextRenderer::boxSize(plainText(QStringLiteral(" ")), 200));
    EXPECT_GT(empty.width(), 0);

    // On a label, blank text leaves the label without text.
    TextLayer blank = label(QStringLiteral("rect"));
    blank.text = QStringLiteral(" \n ");
    const auto drawn = TextRenderer::drawLayers({blank}, 200, 100);
    EXPECT_EQ(pixelAt(*drawn, 100, 50), cv::Vec4b(0, 0, 255, 255));
}

TEST_F(TextRendererTest, EffectNamesAreCaseSensitive)
{
    // A rectangle label 80 × 60 in a 200 × 100 image leaves room for its shadow
    // below and right of it (device space, y down, whatever the flip of the text).
    const auto shadowBeside = [](const QString& effect) {
        TextLayer layer = label(QStringLiteral("rect"));
        layer.shapeW = 0.6;
        layer.effect = effect;
        layer.effectColor = {0, 0, 0, 1};
        layer.effectSize = 2;
        const auto drawn = TextRenderer::drawLayers({layer}, 200, 100);
        return int(pixelAt(*drawn, 135, 85)[3]);  // right of and below the label's corner (130, 80)
    };
    EXPECT_GT(shadowBeside(QStringLiteral("shadow")), 0);
    EXPECT_GT(shadowBeside(QStringLiteral("glow")), 0);
    EXPECT_EQ(shadowBeside(QStringLiteral("Shadow")), 0);
    EXPECT_EQ(shadowBeside(QStringLiteral("GLOW")), 0);
    EXPECT_EQ(shadowBeside(QStringLiteral("none")), 0);

    // The sprite still makes room for an unknown effect: only "none" gets the small margin.
    TextLayer layer = plainText(QStringLiteral("A"));
    layer.effect = QStringLiteral("none");
    const int small = TextRenderer::renderImage(layer, 400, 300, false)->width();
    layer.effect = QStringLiteral("Shadow");
    const int large = TextRenderer::renderImage(layer, 400, 300, false)->width();
    EXPECT_EQ(large - small, int(2 * 30 * 0.6)) << "font size 30: margins 2 (30 q + 4) for q 0.1 and 0.7";
}

TEST_F(TextRendererTest, ImitatesBoldAndItalicOnlyWhereTheFaceLacksThem)
{
    const auto styled = [](const char* font, bool bold, bool italic) {
        TextLayer layer = plainText(QStringLiteral("Hamburg"));
        layer.fontName = QString::fromLatin1(font);
        layer.bold = bold;
        layer.italic = italic;
        return TextRenderer::layout(layer, 400);
    };
    // Nimbus Sans (the stand-in of the default face) has bold and italic faces.
    EXPECT_FALSE(styled("HelveticaNeue-Bold", true, false).fakeBold);
    EXPECT_FALSE(styled("NimbusSans-Regular", true, true).fakeBold);
    EXPECT_FALSE(styled("NimbusSans-Regular", true, true).fakeItalic);
    // Z003 is one italic face: bold is imitated, italic is not.
    EXPECT_TRUE(styled("Z003-MediumItalic", true, false).fakeBold);
    EXPECT_FALSE(styled("Z003-MediumItalic", false, true).fakeItalic);
    // Nothing wanted, nothing imitated.
    EXPECT_FALSE(styled("Z003-MediumItalic", false, false).fakeBold);

    // Imitated italic widens the box by 0.12 × font size on each side and slants
    // the ink; imitated bold thickens it.
    const TextRenderer::Layout upright = styled("D050000L", false, false);
    const TextRenderer::Layout slanted = styled("D050000L", false, true);
    ASSERT_TRUE(slanted.fakeItalic);
    EXPECT_NEAR(slanted.bbox.width() - upright.bbox.width(), 2 * 0.12 * 40, 1e-9);

    TextLayer thin = plainText(QStringLiteral("Hamburg"));
    thin.fontName = QStringLiteral("Z003-MediumItalic");
    TextLayer thick = thin;
    thick.bold = true;
    EXPECT_GT(ink(*TextRenderer::drawLayers({thick}, 400, 400)), 1.1 * ink(*TextRenderer::drawLayers({thin}, 400, 400)));
}

TEST_F(TextRendererTest, KnockoutCutsTheLettersOutOfTheLabel)
{
    TextLayer layer = label(QStringLiteral("rect"));
    const auto onLabel = TextRenderer::drawLayers({layer}, 200, 100);
    ASSERT_TRUE(onLabel.has_value());
    EXPECT_EQ(pixelAt(*onLabel, 100, 50), cv::Vec4b(255, 0, 0, 255)) << "the letter I in the label's centre";
    EXPECT_EQ(pixelAt(*onLabel, 65, 25), cv::Vec4b(0, 0, 255, 255)) << "the label beside it";

    layer.knockout = true;
    const auto knockedOut = TextRenderer::drawLayers({layer}, 200, 100);
    EXPECT_EQ(pixelAt(*knockedOut, 100, 50)[3], 0) << "the overlay is clear through the letter";
    EXPECT_EQ(pixelAt(*knockedOut, 65, 25), cv::Vec4b(0, 0, 255, 255));

    // Over a picture the picture shows through the letter.
    const Image photo(cv::Mat(100, 200, CV_8UC4, cv::Scalar(0, 200, 0, 255)));
    const auto over = TextRenderer::renderLayers({layer}, photo, false);
    EXPECT_EQ(pixelAt(*over, 100, 50), cv::Vec4b(0, 200, 0, 255));
    EXPECT_EQ(pixelAt(*over, 65, 25), cv::Vec4b(0, 0, 255, 255));
}

TEST_F(TextRendererTest, LabelsDrawNothingWhenTooSmallOrUnknown)
{
    TextLayer tiny = label(QStringLiteral("rect"));
    tiny.shapeH = 0.01;  // 1 pixel in a 100-pixel-high image
    EXPECT_EQ(inkedPixels(*TextRenderer::drawLayers({tiny}, 200, 100)), 0);

    TextLayer unknown = label(QStringLiteral("Rect"));
    EXPECT_EQ(inkedPixels(*TextRenderer::drawLayers({unknown}, 200, 100)), 0) << "neither label nor text";
}

TEST_F(TextRendererTest, LabelTextFillIsClampedToTwentyToHundredPercent)
{
    const auto drawnWithFill = [](double fill) {
        TextLayer layer = label(QStringLiteral("ellipse"));
        layer.text = QStringLiteral("Fit");
        layer.labelFill = fill;
        return TextRenderer::drawLayers({layer}, 300, 200)->pixels;
    };
    const auto redPixels = [](const cv::Mat& pixels) {
        cv::Mat red;
        cv::inRange(pixels, cv::Scalar(128, 0, 0, 255), cv::Scalar(255, 127, 127, 255), red);
        return cv::countNonZero(red);
    };
    EXPECT_EQ(cv::norm(drawnWithFill(0.1), drawnWithFill(0.2), cv::NORM_INF), 0);
    EXPECT_EQ(cv::norm(drawnWithFill(1.5), drawnWithFill(1), cv::NORM_INF), 0);
    // The text's area grows with the square of its share.
    const double ratio = double(redPixels(drawnWithFill(1))) / redPixels(drawnWithFill(0.5));
    EXPECT_NEAR(ratio, 4, 0.6);
}

TEST_F(TextRendererTest, MirroringFlipsEachLayerAboutItsAnchor)
{
    TextLayer layer = plainText(QStringLiteral("L"));
    layer.x = 0.25;
    layer.size = 0.5;
    const Image white(cv::Mat(200, 400, CV_8UC4, cv::Scalar::all(255)));
    const auto plain = TextRenderer::renderLayers({layer}, white, false);
    const auto mirrored = TextRenderer::renderLayers({layer}, white, true);
    cv::Mat flipped;
    cv::flip(plain->pixels(cv::Rect(0, 0, 200, 200)), flipped, 1);
    // The anchor is x = 100; mirroring about it is a flip of the left half.
    EXPECT_LE(cv::norm(flipped, mirrored->pixels(cv::Rect(0, 0, 200, 200)), cv::NORM_INF), 1);
    EXPECT_EQ(cv::norm(plain->pixels(cv::Rect(200, 0, 200, 200)), white.pixels(cv::Rect(200, 0, 200, 200)), cv::NORM_INF), 0);
}

TEST_F(TextRendererTest, BitmapSizesAreTruncatedAndMustBePositiveAndFinite)
{
    const QList<TextLayer> layers{plainText(QStringLiteral("x"))};
    const auto overlay = TextRenderer::drawLayers(layers, 100.9, 50.2);
    ASSERT_TRUE(overlay.has_value());
    EXPECT_EQ(overlay->size(), cv::Size(100, 50));
    EXPECT_FALSE(TextRenderer::drawLayers(layers, 0, 50).has_value());
    EXPECT_FALSE(TextRenderer::drawLayers(layers, 0.5, 50).has_value());
    EXPECT_FALSE(TextRenderer::drawLayers(layers, -10, 50).has_value());
    EXPECT_FALSE(TextRenderer::drawLayers(layers, std::nan(""), 50).has_value());
    EXPECT_FALSE(TextRenderer::drawLayers(layers, 100, INFINITY).has_value());
    EXPECT_FALSE(TextRenderer::drawLayers(layers, 1e6, 1e6).has_value()) << "beyond the pixel layer's limits";
    EXPECT_FALSE(TextRenderer::renderLayers(layers, Image(), false).has_value());
}

TEST_F(TextRendererTest, LabelBoxIncludesTheBorderOnBothSides)
{
    TextLayer layer = label(QStringLiteral("heart"));
    layer.shapeW = 0.5;
    layer.shapeH = 0.3;
    layer.border = 0.1;
    EXPECT_EQ(TextRenderer::boxSize(layer, 100), QSizeF(56, 36));
}

TEST_F(TextRendererTest, AbsurdSettingsDrawWithinBoundedBitmaps)
{
    TextLayer huge = plainText(QStringLiteral("Big"));
    huge.effect = QStringLiteral("shadow");
    huge.effectSize = 1e12;
    huge.outline = 50;
    TextLayer broken = plainText(QStringLiteral("NaN"));
    broken.size = std::nan("");
    broken.curve = std::nan("");
    broken.effect = QStringLiteral("glow");
    broken.effectSize = std::nan("");
    TextLayer label = huge;
    label.shape = QStringLiteral("star");
    label.border = 1e3;
    const auto drawn = TextRenderer::drawLayers({huge, broken, label}, 200, 100);
    ASSERT_TRUE(drawn.has_value());
    EXPECT_EQ(drawn->size(), cv::Size(200, 100));
}
