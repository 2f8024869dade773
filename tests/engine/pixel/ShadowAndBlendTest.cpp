#include "engine/pixel/ColorBlendMode.h"
#include "engine/pixel/ColorMonochrome.h"
#include "engine/pixel/ColoredMatte.h"
#include "engine/pixel/DrawingContext.h"
#include "engine/pixel/DropShadow.h"
#include "support/GuiApplication.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

Image pixel(cv::Vec4b value) { return Image(cv::Mat(1, 1, CV_8UC4, cv::Scalar(value[0], value[1], value[2], value[3]))); }

cv::Vec4b only(const Image& image) { return image.pixels.at<cv::Vec4b>(0, 0); }

double lum(cv::Vec4b p) { return (0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2]) / p[3]; }

} // namespace

TEST(ColorBlendMode, TakesHueFromTheForegroundAndLuminosityFromTheBackground)
{
    const cv::Vec4b grey(128, 128, 128, 255);
    const cv::Vec4b blended = only(colorBlendMode(pixel({255, 0, 0, 255}), pixel(grey)));
    EXPECT_NEAR(lum(blended), lum(grey), 0.01);
    EXPECT_GT(blended[0], blended[1]) << "reddish";
    EXPECT_EQ(blended[1], blended[2]);
    EXPECT_EQ(blended[3], 255);

    // A luminosity the hue can't reach in gamut is clipped, keeping the hue.
    const cv::Vec4b bright = only(colorBlendMode(pixel({0, 0, 255, 255}), pixel({250, 250, 250, 255})));
    EXPECT_NEAR(lum(bright), 250 / 255.0, 0.02);
    EXPECT_GE(bright[2], bright[0]);

    // Where one side is missing, the other shows as it is.
    EXPECT_EQ(only(colorBlendMode(pixel({0, 0, 0, 0}), pixel(grey))), grey);
    EXPECT_EQ(only(colorBlendMode(pixel({60, 0, 0, 128}), pixel({0, 0, 0, 0}))), cv::Vec4b(60, 0, 0, 128));

    const Image photo = zephrin::testing::photoLikeImage({61, 43}, 7, true);
    const Image paint = zephrin::testing::photoLikeImage({61, 43}, 8, true);
    EXPECT_TRUE(zephrin::testing::isPremultiplied(colorBlendMode(paint, photo)));
}

TEST(ColorMonochrome, OverlaysTheLumaWithTheColourByTheIntensity)
{
    const RGBAColor violet{0.5, 0.25, 1, 1};
    const Image image = zephrin::testing::photoLikeImage({31, 17}, 3, true);
    EXPECT_EQ(zephrin::testing::maxDifference(colorMonochrome(image, violet, 0).pixels, image.pixels), 0);
    EXPECT_EQ(zephrin::testing::maxDifference(colorMonochrome(image, violet, -0.2).pixels, image.pixels), 0);
    EXPECT_TRUE(zephrin::testing::isPremultiplied(colorMonochrome(image, violet, 1.5)));

    EXPECT_EQ(only(colorMonochrome(pixel({0, 0, 0, 255}), violet, 1)), cv::Vec4b(0, 0, 0, 255));
    EXPECT_EQ(only(colorMonochrome(pixel({255, 255, 255, 255}), violet, 1)), cv::Vec4b(255, 255, 255, 255));
    const cv::Vec4b middle = only(colorMonochrome(pixel({128, 128, 128, 255}), violet, 1));
    EXPECT_NEAR(middle[0], 128, 2);
    EXPECT_NEAR(middle[1], 64, 2);
    EXPECT_NEAR(middle[2], 255, 2);
    // Intensity above 1 is full strength, alpha is kept.
    EXPECT_EQ(only(colorMonochrome(pixel({64, 64, 64, 128}), violet, 7)), only(colorMonochrome(pixel({64, 64, 64, 128}), violet, 1)));
    EXPECT_EQ(only(colorMonochrome(pixel({64, 64, 64, 128}), violet, 1))[3], 128);
}

TEST(DropShadow, ColoursTheBlurredAlphaAndMovesIt)
{
    const Matte dot = Matte::filled({4, 4}, 255, {10, 10});
    const Image hard = dropShadow(dot, {1, 0, 0, 0.5}, 0, {3, -2}, EdgeMode::transparent);
    EXPECT_EQ(hard.extent(), cv::Rect(13, 8, 4, 4));
    EXPECT_EQ(hard.pixels.at<cv::Vec4b>(0, 0), cv::Vec4b(128, 0, 0, 128));

    const Image soft = dropShadow(dot, {0, 0, 0, 1}, 2, {0, 5}, EdgeMode::transparent);
    EXPECT_EQ(soft.extent(), cv::Rect(4, 9, 16, 16)) << "grown by 3 sigma, moved down 5";
    EXPECT_LT(soft.pixels.at<cv::Vec4b>(8, 8)[3], 255);
    EXPECT_GT(soft.pixels.at<cv::Vec4b>(8, 8)[3], soft.pixels.at<cv::Vec4b>(2, 8)[3]);

    // Clamped edges keep the extent: a matte that is white to its border casts
    // a shadow that stays opaque there.
    const Image clamped = dropShadow(Matte::filled({20, 20}, 255), {0, 0, 0, 1}, 4, {0, 0}, EdgeMode::clamp);
    EXPECT_EQ(clamped.extent(), cv::Rect(0, 0, 20, 20));
    EXPECT_EQ(clamped.pixels.at<cv::Vec4b>(0, 0)[3], 255);
}

class DrawingContextTest : public ::testing::Test {
protected:
    void SetUp() override { zephrin::testing::ensureGuiApplication(); }

    QImage canvas{100, 100, QImage::Format_RGBA8888_Premultiplied};
    DrawingContextTest() { canvas.fill(Qt::transparent); }

    int alphaAt(int x, int y) const { return qAlpha(canvas.pixel(x, y)); }
};

TEST_F(DrawingContextTest, LayerCastsItsShadowInDeviceSpace)
{
    {
        DrawingContext context(canvas);
        // A mirrored, y-up user space: the shadow's offset must not follow it.
        context.painter().setTransform(QTransform(-1, 0, 0, -1, 100, 100));
        context.setShadow(ContextShadow{{20, 10}, 0, {0, 0, 0, 1}});
        context.beginTransparencyLayer(QRectF(60, 60, 20, 20));
        context.painter().fillRect(QRectF(60, 60, 20, 20), Qt::red);  // device (20, 20) to (40, 40)
        context.endTransparencyLayer();
    }
    EXPECT_EQ(canvas.pixelColor(30, 30), QColor(Qt::red));
    EXPECT_EQ(canvas.pixelColor(55, 45), QColor(Qt::black)) << "the shadow, 20 right and 10 down";
    EXPECT_EQ(alphaAt(15, 15), 0);
    EXPECT_EQ(alphaAt(5, 45), 0);
}

TEST_F(DrawingContextTest, ShadowFallsFromTheFinishedLayerOnly)
{
    {
        DrawingContext context(canvas);
        context.save();
        context.setShadow(ContextShadow{{0, 30}, 0, {0, 0, 0, 1}});
        context.beginTransparencyLayer(QRectF(0, 0, 100, 50));
        // Inside the layer there is no shadow, so nested layers cast none of their own.
        context.beginTransparencyLayer(QRectF(0, 0, 100, 50));
        context.painter().fillRect(QRectF(10, 10, 20, 20), QColor(255, 0, 0, 128));
        context.endTransparencyLayer();
        context.painter().fillRect(QRectF(20, 10, 20, 20), QColor(255, 0, 0, 128));
        context.endTransparencyLayer();
        context.restore();
        // restore() took the shadow back off.
        context.beginTransparencyLayer(QRectF(60, 0, 40, 40));
        context.painter().fillRect(QRectF(70, 10, 10, 10), Qt::blue);
        context.endTransparencyLayer();
    }
    EXPECT_EQ(alphaAt(15, 45), 128) << "one shadow of the left square";
    EXPECT_EQ(alphaAt(25, 45), 192) << "the overlap casts the layer's combined alpha";
    EXPECT_EQ(alphaAt(75, 45), 0);
    EXPECT_EQ(alphaAt(75, 15), 255);
}

TEST_F(DrawingContextTest, ShadowOfDrawingJustOffTheCanvasStillFallsOnIt)
{
    {
        DrawingContext context(canvas);
        context.setShadow(ContextShadow{{0, 20}, 0, {0, 0, 0, 1}});
        context.beginTransparencyLayer(QRectF(40, -15, 20, 10));
        context.painter().fillRect(QRectF(40, -15, 20, 10), Qt::red);
        context.endTransparencyLayer();
    }
    EXPECT_EQ(canvas.pixelColor(50, 10), QColor(Qt::black)) << "the shadow of the square above the canvas";
    EXPECT_EQ(alphaAt(50, 2), 0);
}

TEST(ColoredMatte, IsTheColourMaskedByTheMatte)
{
    Matte matte = Matte::filled({3, 1}, 0, {5, 7});
    matte.pixels.at<uchar>(0, 1) = 128;
    matte.pixels.at<uchar>(0, 2) = 255;
    const Image colored = coloredMatte(matte, {1, 0.5, 0, 0.5});
    EXPECT_EQ(colored.extent(), cv::Rect(5, 7, 3, 1));
    EXPECT_EQ(colored.pixels.at<cv::Vec4b>(0, 0), cv::Vec4b(0, 0, 0, 0));
    EXPECT_EQ(colored.pixels.at<cv::Vec4b>(0, 1), cv::Vec4b(64, 32, 0, 64));
    EXPECT_EQ(colored.pixels.at<cv::Vec4b>(0, 2), cv::Vec4b(128, 64, 0, 128));
}
