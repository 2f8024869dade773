#include "engine/composite/CanvasGeometry.h"
#include "engine/matte/MatteEngine.h"
#include "engine/types/MatteError.h"
#include "support/GuiApplication.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"

#include <gtest/gtest.h>

#include <opencv2/imgproc.hpp>

#include <cmath>

using namespace zephrin;

namespace {

// A cutout of `size` whose subject is an opaque box of one colour.
Image boxCutout(cv::Size size, cv::Rect box, cv::Scalar colour = {200, 100, 50, 255})
{
    Image cutout = Image::transparent(size);
    cutout.pixels(box).setTo(colour);
    return cutout;
}

cv::Vec4b pixelAt(const Image& image, int x, int y) { return image.pixels.at<cv::Vec4b>(y, x); }

class Compositor : public ::testing::Test {
protected:
    void SetUp() override { zephrin::testing::ensureGuiApplication(); }

    Image composite(const Image& cutout, const CompositeSettings& settings,
                    const std::optional<Image>& background = std::nullopt,
                    const std::optional<PaintLayers>& paint = std::nullopt) const
    {
        const Image source(cv::Mat(cutout.size(), CV_8UC4, cv::Scalar(20, 40, 60, 255)));
        return engine.composite(cutout, source, background, paint, settings);
    }

    MatteEngine engine;
};

} // namespace

TEST_F(Compositor, DefaultsLeaveTheCutoutAsItIs)
{
    const Image cutout = zephrin::testing::photoLikeImage({301, 217}, 11, true);
    const CompositeSettings defaults;
    ASSERT_EQ(defaults.edgeBlend, 60) << "transparent mode must turn the edge blend off by itself";
    const Image out = composite(cutout, defaults);
    EXPECT_EQ(out.extent(), cutout.extent());
    EXPECT_EQ(zephrin::testing::maxDifference(out.pixels, cutout.pixels), 0);
}

TEST_F(Compositor, CropsOfMoreThanTwoPixelsApply)
{
    const Image cutout = zephrin::testing::photoLikeImage({120, 80}, 3);
    CompositeSettings s;
    s.crop = QRectF(10, 20, 2, 40);
    EXPECT_EQ(composite(cutout, s).size(), cv::Size(120, 80)) << "2 pixels wide: ignored";
    s.crop = QRectF(10, 20, 3, 40);
    const Image narrow = composite(cutout, s);
    ASSERT_EQ(narrow.size(), cv::Size(3, 40));
    EXPECT_EQ(pixelAt(narrow, 0, 0), pixelAt(cutout, 10, 20)) << "the crop's top-left corner, in image space";
    s.crop = QRectF(100.5, 70.2, 50, 50);
    EXPECT_EQ(composite(cutout, s).size(), cv::Size(20, 10)) << "cut to the image, rounded outwards";
    s.crop = QRectF(200, 0, 50, 50);
    EXPECT_EQ(composite(cutout, s).size(), cv::Size(120, 80)) << "missing the image: ignored";
}

TEST_F(Compositor, TrimmingPadsTheContentByItsLargerSide)
{
    // 2048 × 1024 is scanned at a quarter size; the box sits on that grid.
    const Image cutout = boxCutout({2048, 1024}, {100, 200, 1000, 500});
    CompositeSettings s;
    s.trimToContent = true;
    s.padding = 6;
    const Image out = composite(cutout, s);
    EXPECT_EQ(out.size(), cv::Size(1120, 620)) << "60 pixels on every side";
    EXPECT_EQ(pixelAt(out, 60, 60)[3], 255);
    EXPECT_EQ(pixelAt(out, 59, 59)[3], 0);

    // Nothing to trim to: the canvas stays the subject's rectangle, unpadded.
    EXPECT_EQ(composite(Image::transparent({300, 200}), s).size(), cv::Size(300, 200));
}

TEST_F(Compositor, DefaultShadowFallsDownAndGrowsATrimmedCanvasBy68)
{
    const Image cutout = boxCutout({2048, 1024}, {100, 200, 1000, 500});
    CompositeSettings s;
    s.trimToContent = true;
    s.padding = 0;
    s.shadowEnabled = true;
    const Image out = composite(cutout, s);
    ASSERT_EQ(out.size(), cv::Size(1000 + 2 * 68, 500 + 2 * 68));
    // The box spans rows 68 … 567. The shadow is black at opacity 0.45, its
    // blurred edge (half strength) 14 pixels below the box's bottom edge.
    const cv::Vec4b below = pixelAt(out, 568, 568 + 14);
    EXPECT_EQ(below[0], 0);
    EXPECT_NEAR(below[3], 0.45 * 0.5 * 255, 3);
    EXPECT_NEAR(pixelAt(out, 568, 568 + 14 + 50)[3], 0, 1) << "near three sigma further down";
    EXPECT_LT(pixelAt(out, 568, 68 - 30)[3], pixelAt(out, 568, 568 + 30)[3]) << "less shadow above than below";

    s.shadowOpacity = 0.5;
    EXPECT_EQ(composite(cutout, s).size(), cv::Size(1000, 500)) << "opacity 0.5 draws no shadow";
}

TEST_F(Compositor, CropPlusTrimKeepsTheCrop)
{
    const Image cutout = boxCutout({400, 300}, {50, 50, 300, 200});
    CompositeSettings s;
    s.trimToContent = true;
    s.padding = 0;
    s.crop = QRectF(100, 100, 100, 80);
    const Image inside = composite(cutout, s);
    EXPECT_EQ(inside.size(), cv::Size(100, 80)) << "framed to the subject inside the crop";
    EXPECT_EQ(cv::countNonZero(inside.pixels.reshape(1) == 0), 0) << "all subject, nothing uncropped";

    s.crop = QRectF(0, 0, 200, 150);
    EXPECT_EQ(composite(cutout, s).size(), cv::Size(150, 100)) << "the subject's part within the crop";
}

TEST_F(Compositor, MirroringMirrorsTheTextToo)
{
    const Image cutout = boxCutout({300, 200}, {20, 30, 60, 40});
    CompositeSettings s;
    TextLayer text;
    text.text = QStringLiteral("Left");
    text.x = 0.3;
    text.y = 0.7;
    s.texts = {text};
    const Image plain = composite(cutout, s);
    s.mirror = true;
    const Image mirrored = composite(cutout, s);
    cv::Mat flipped;
    cv::flip(plain.pixels, flipped, 1);
    EXPECT_GT(cv::countNonZero(plain.pixels(cv::Rect(0, 120, 150, 80)).reshape(1)), 100) << "text on the left";
    EXPECT_EQ(zephrin::testing::maxDifference(mirrored.pixels, flipped), 0);
}

TEST_F(Compositor, ColourModesKeepTheSubjectsAlpha)
{
    const Image cutout = zephrin::testing::photoLikeImage({64, 48}, 5, true);
    const Matte alpha = MatteEngine::alphaMask(cutout);
    CompositeSettings s;
    s.colorMode = ColorMode::fill;
    s.fillColor = {1, 0, 0, 1};
    const Image filled = composite(cutout, s);
    EXPECT_EQ(zephrin::testing::maxDifference(MatteEngine::alphaMask(filled).pixels, alpha.pixels), 0);
    EXPECT_EQ(pixelAt(filled, 10, 10)[1], 0);
    EXPECT_EQ(pixelAt(filled, 10, 10)[0], pixelAt(filled, 10, 10)[3]);

    s.colorMode = ColorMode::tint;
    s.tintStrength = 150;
    const Image full = composite(cutout, s);
    s.tintStrength = 100;
    EXPECT_EQ(zephrin::testing::maxDifference(full.pixels, composite(cutout, s).pixels), 0) << "150 tints fully";
    s.tintStrength = -20;
    EXPECT_EQ(zephrin::testing::maxDifference(composite(cutout, s).pixels, cutout.pixels), 0) << "-20 is no tint";
}

TEST_F(Compositor, PaintStaysOnTheSubject)
{
    const Image cutout = boxCutout({100, 60}, {20, 10, 40, 40}, {128, 128, 128, 255});
    PaintLayers paint;
    paint.solid = Image::transparent({100, 60});
    paint.solid->pixels(cv::Rect(0, 0, 30, 60)).setTo(cv::Scalar(0, 0, 255, 255));
    paint.color = Image::transparent({100, 60});
    paint.color->pixels(cv::Rect(50, 0, 50, 60)).setTo(cv::Scalar(255, 0, 0, 255));
    const Image out = composite(cutout, CompositeSettings(), std::nullopt, paint);
    EXPECT_EQ(pixelAt(out, 25, 30), cv::Vec4b(0, 0, 255, 255)) << "solid paint on the subject";
    EXPECT_EQ(pixelAt(out, 5, 30)[3], 0) << "nothing beside it";
    const cv::Vec4b recoloured = pixelAt(out, 55, 30);
    EXPECT_GT(recoloured[0], recoloured[1]) << "the colour layer's hue";
    EXPECT_NEAR(0.3 * recoloured[0] + 0.59 * recoloured[1] + 0.11 * recoloured[2], 128, 2) << "the subject's luminosity";
    EXPECT_EQ(pixelAt(out, 80, 30)[3], 0);
}

TEST_F(Compositor, OutlineSurroundsTheSubjectAndTurnsTheEdgeBlendOff)
{
    const Image cutout = boxCutout({200, 100}, {50, 30, 100, 40});
    CompositeSettings s;
    s.outlineEnabled = true;
    s.outlineWidth = 6;
    s.outlineColor = {0, 1, 0, 1};
    const Image out = composite(cutout, s);
    EXPECT_EQ(pixelAt(out, 100, 26), cv::Vec4b(0, 255, 0, 255)) << "4 pixels above the subject";
    EXPECT_EQ(pixelAt(out, 100, 22)[3], 0) << "8 pixels above: beyond the outline";
    EXPECT_EQ(pixelAt(out, 100, 50), cv::Vec4b(200, 100, 50, 255));

    // Too thin to draw, yet on: the edge blend stays off over a coloured background.
    s.outlineWidth = 0.5;
    s.backgroundMode = BackgroundMode::color;
    s.backgroundColor = {1, 0, 0, 1};
    const Image thin = composite(cutout, s);
    s.edgeBlend = 0;
    EXPECT_EQ(zephrin::testing::maxDifference(thin.pixels, composite(cutout, s).pixels), 0);
}

TEST_F(Compositor, EdgeBlendPullsTheRimTowardsTheBackground)
{
    const Image cutout = boxCutout({200, 100}, {50, 30, 100, 40}, {255, 255, 255, 255});
    CompositeSettings s;
    s.backgroundMode = BackgroundMode::color;
    s.backgroundColor = {1, 0, 0, 1};
    const Image blended = composite(cutout, s);
    EXPECT_LT(pixelAt(blended, 100, 30)[1], 230) << "the rim turns reddish";
    EXPECT_EQ(pixelAt(blended, 100, 50), cv::Vec4b(255, 255, 255, 255)) << "the core keeps its colour";
    EXPECT_EQ(pixelAt(blended, 10, 10), cv::Vec4b(255, 0, 0, 255));

    // Image mode without an image: transparent behind, and the rim fades.
    s.backgroundMode = BackgroundMode::image;
    const Image faded = composite(cutout, s);
    EXPECT_EQ(pixelAt(faded, 10, 10)[3], 0);
    EXPECT_LT(pixelAt(faded, 100, 30)[3], 230);
    EXPECT_EQ(pixelAt(faded, 100, 50)[3], 255);
}

TEST_F(Compositor, OriginalModeLaysTheAdjustedBlurredPhotoBehind)
{
    // The photo: black on the left, grey on the right; the subject sits in the black.
    cv::Mat photo(100, 200, CV_8UC4, cv::Scalar(0, 0, 0, 255));
    photo.colRange(100, 200).setTo(cv::Scalar(100, 100, 100, 255));
    const Image source(photo);
    const Image cutout = boxCutout({200, 100}, {20, 20, 30, 30});
    CompositeSettings s;
    s.backgroundMode = BackgroundMode::original;

    const Image plain = engine.composite(cutout, source, std::nullopt, std::nullopt, s);
    EXPECT_EQ(pixelAt(plain, 150, 50), cv::Vec4b(100, 100, 100, 255)) << "the photo itself";
    EXPECT_EQ(pixelAt(plain, 101, 80), cv::Vec4b(100, 100, 100, 255)) << "sharp without a blur";
    EXPECT_EQ(pixelAt(plain, 35, 35), cv::Vec4b(200, 100, 50, 255)) << "the subject's core on top";

    s.backgroundAdjust.exposure = 1;
    s.backgroundBlur = 10;
    const Image dressed = engine.composite(cutout, source, std::nullopt, std::nullopt, s);
    const cv::Vec4b brighter = pixelAt(dressed, 180, 50);
    EXPECT_GT(brighter[0], 120) << "a stop brighter";
    EXPECT_EQ(brighter[0], brighter[2]);
    const cv::Vec4b seam = pixelAt(dressed, 100, 80);
    EXPECT_GT(seam[0], 20) << "the halves blur into each other";
    EXPECT_LT(seam[0], brighter[0] - 20);
    EXPECT_EQ(pixelAt(dressed, 199, 99), cv::Vec4b(brighter[0], brighter[1], brighter[2], 255))
        << "the edge repeats: no dark or clear rim at the canvas border";
    EXPECT_EQ(pixelAt(dressed, 35, 35), cv::Vec4b(200, 100, 50, 255)) << "the subject is not adjusted";
}

TEST_F(Compositor, BackgroundImageFillsTheCanvasCentred)
{
    const Image cutout = boxCutout({200, 100}, {80, 40, 40, 20});
    Image picture(cv::Mat(50, 50, CV_8UC4, cv::Scalar(0, 0, 255, 255)));
    picture.pixels(cv::Rect(0, 0, 50, 25)).setTo(cv::Scalar(0, 255, 0, 255));
    CompositeSettings s;
    s.backgroundMode = BackgroundMode::image;
    s.edgeBlend = 0;
    const Image out = composite(cutout, s, picture);
    // Scaled by 4 to 200 × 200 and centred: its middle row lies at y = 50.
    EXPECT_EQ(pixelAt(out, 5, 5), cv::Vec4b(0, 255, 0, 255));
    EXPECT_EQ(pixelAt(out, 5, 95), cv::Vec4b(0, 0, 255, 255));
    EXPECT_EQ(pixelAt(out, 100, 50), cv::Vec4b(200, 100, 50, 255));
}

TEST_F(Compositor, CircleCropMakesASquareCanvasWithClearCorners)
{
    const Image cutout = boxCutout({200, 100}, {0, 0, 200, 100});
    CompositeSettings s;
    s.shapeCrop = ShapeCrop::circle;
    s.aspect = AspectPreset::wide;
    const Image circle = composite(cutout, s);
    ASSERT_EQ(circle.size(), cv::Size(200, 200));
    EXPECT_EQ(pixelAt(circle, 100, 100)[3], 255);
    EXPECT_EQ(pixelAt(circle, 100, 55)[3], 255);
    EXPECT_EQ(pixelAt(circle, 100, 20)[3], 0) << "above the subject";
    EXPECT_EQ(pixelAt(circle, 5, 55)[3], 0) << "outside the circle, inside the subject";

    s.shapeCrop = ShapeCrop::rounded;
    s.aspect = AspectPreset::original;
    s.cornerRadius = 0;
    EXPECT_EQ(pixelAt(composite(cutout, s), 0, 0)[3], 255) << "square corners";
    s.cornerRadius = 100;
    const Image stadium = composite(cutout, s);
    EXPECT_EQ(pixelAt(stadium, 3, 3)[3], 0);
    EXPECT_EQ(pixelAt(stadium, 100, 1)[3], 255);
}

TEST_F(Compositor, NothingToRenderIsAnError)
{
    EXPECT_THROW(composite(Image(), CompositeSettings()), MatteError);
    // A canvas beyond the pixel layer's limits is refused before it is allocated:
    // a strip 60000 pixels long on a story canvas would be 106667 pixels tall.
    CompositeSettings story;
    story.aspect = AspectPreset::story;
    EXPECT_THROW(composite(boxCutout({60000, 4}, {0, 0, 60000, 4}), story), MatteError);
}

TEST_F(Compositor, AbsurdSettingsAreHeldToTheirRanges)
{
    const Image cutout = boxCutout({300, 200}, {100, 50, 100, 100});
    CompositeSettings absurd;
    absurd.outlineEnabled = true;
    absurd.outlineWidth = 1e12;
    absurd.shadowEnabled = true;
    absurd.shadowBlur = std::nan("");
    absurd.shadowOffsetX = -1e300;
    absurd.trimToContent = true;
    absurd.padding = -1e9;
    const Image out = composite(cutout, absurd);

    CompositeSettings widest = absurd;
    widest.outlineWidth = 60;
    widest.shadowBlur = 18;  // the default stands in for a value that is no number
    widest.shadowOffsetX = -80;
    widest.padding = 0;
    EXPECT_EQ(zephrin::testing::maxDifference(out.pixels, composite(cutout, widest).pixels), 0);
    EXPECT_LT(out.width(), 100 + 2 * (60 + 3 * 18 + 80 + 14) + 8) << "bounded by the widest outline and shadow";
}

TEST(CanvasGeometry, AspectGrowsTheCanvasCentredToExactlyItsRatio)
{
    CompositeSettings s;
    s.aspect = AspectPreset::wide;
    EXPECT_EQ(canvasAtAspect(QRectF(0, 0, 1000, 500), aspectParts(s)), cv::Rect(-4, -33, 1008, 567))
        << "63 × (16 : 9): the smallest exact canvas that holds 1000 × 500";
    s.aspect = AspectPreset::story;
    EXPECT_EQ(canvasAtAspect(QRectF(0, 0, 1000, 500), aspectParts(s)), cv::Rect(-4, -646, 1008, 1792));
    s.aspect = AspectPreset::square;
    EXPECT_EQ(canvasAtAspect(QRectF(10, 0, 100, 300), aspectParts(s)), cv::Rect(-90, 0, 300, 300));
    // Rounded outwards first, so fractional bounds never cost the square its last pixel.
    EXPECT_EQ(canvasAtAspect(QRectF(0.5, 0.25, 2545.4, 2545.9), aspectParts(s)), cv::Rect(0, 0, 2547, 2547));
    s.shapeCrop = ShapeCrop::circle;
    s.aspect = AspectPreset::landscape;
    EXPECT_EQ(aspectParts(s), (AspectParts{1, 1})) << "a circle is square whatever the aspect";
    s.shapeCrop = ShapeCrop::none;
    s.aspect = AspectPreset::original;
    EXPECT_FALSE(aspectParts(s).has_value());
    EXPECT_EQ(canvasAtAspect(QRectF(0.5, 0, 10, 7), std::nullopt), cv::Rect(0, 0, 11, 7));
}

TEST(CanvasGeometry, EveryAspectGivesItsExactRatioAtAnySize)
{
    for (AspectPreset aspect : allCases<AspectPreset>()) {
        const std::optional<AspectParts> parts = aspectParts(aspect);
        if (!parts)
            continue;
        for (const QRectF& content : {QRectF(0.3, 0.7, 2545.6, 2546.1), QRectF(-17.5, 3, 813.2, 1999.9),
                                      QRectF(5, 5, 3, 4000.5), QRectF(0, 0, 1, 1)}) {
            const cv::Rect canvas = canvasAtAspect(content, parts);
            EXPECT_EQ(qint64(canvas.width) * parts->height, qint64(canvas.height) * parts->width)
                << rawValue(aspect).toStdString() << " " << canvas;
            EXPECT_TRUE((canvas & integralRect(content)) == integralRect(content)) << "holds the content";
            // No more than it must: the side that sets the size is within one part of the content's.
            const cv::Rect held = integralRect(content);
            EXPECT_TRUE(canvas.width < held.width + parts->width || canvas.height < held.height + parts->height);
        }
    }
}

TEST(CanvasGeometry, AMatteGoesIntoCompositePixelsAsTheFrameMapsPoints)
{
    cv::Mat pixels(5, 5, CV_8UC1, cv::Scalar(0));
    pixels.col(0).setTo(255);  // document column 10
    const Matte matte(pixels, {10, 20});
    CompositeFrame frame;
    frame.origin = {5, 10};
    frame.width = 100;
    EXPECT_EQ(inCompositePixels(matte, frame).extent(), cv::Rect(5, 10, 5, 5));

    frame.mirror = true;
    const Matte placed = inCompositePixels(matte, frame);
    EXPECT_EQ(placed.extent(), cv::Rect(90, 10, 5, 5));
    // Document column 10 spans composite x 94 … 95 in the mirrored frame.
    EXPECT_EQ(frame.fromDocument({10.5, 20}).x(), 94.5);
    EXPECT_EQ(placed.pixels.at<uchar>(0, 94 - 90), 255);
    EXPECT_EQ(placed.pixels.at<uchar>(0, 0), 0);
}

TEST(AlphaBounds, FindsVisibleContentInImageSpace)
{
    Image image = boxCutout({2000, 1000}, {400, 100, 800, 600});
    image.pixels(cv::Rect(0, 0, 2000, 40)).setTo(cv::Scalar(0, 0, 0, 8));  // too faint to count
    const auto bounds = MatteEngine::alphaBounds(image);
    ASSERT_TRUE(bounds.has_value());
    // Working scale 0.256: accurate to about 1 / 0.256 ≈ 4 pixels.
    EXPECT_NEAR(bounds->left(), 400, 4);
    EXPECT_NEAR(bounds->top(), 100, 4) << "rows counted from the top";
    EXPECT_NEAR(bounds->right(), 1200, 4);
    EXPECT_NEAR(bounds->bottom(), 700, 4);

    const auto moved = MatteEngine::alphaBounds(Image(image.pixels(cv::Rect(300, 0, 512, 512)), {300, 0}));
    EXPECT_EQ(*moved, QRectF(400, 100, 512 - 100, 412)) << "exact at full scale, origin included";
    EXPECT_FALSE(MatteEngine::alphaBounds(Image::transparent({50, 50})).has_value());
}

TEST(ApplyAdjust, SkipsAdjustmentsTooSmallToShow)
{
    const Image image = zephrin::testing::photoLikeImage({40, 30}, 9, true);
    EXPECT_EQ(MatteEngine::applyAdjust(image, AdjustSettings{}).pixels.data, image.pixels.data);
    const AdjustSettings faint{.exposure = 0.005, .contrast = 0.05, .saturation = -0.05, .warmth = 0.5};
    EXPECT_EQ(zephrin::testing::maxDifference(MatteEngine::applyAdjust(image, faint).pixels, image.pixels), 0);

    const Image grey(cv::Mat(1, 1, CV_8UC4, cv::Scalar(128, 128, 128, 255)));
    const cv::Vec4b warm = MatteEngine::applyAdjust(grey, {.warmth = 100}).pixels.at<cv::Vec4b>(0, 0);
    EXPECT_GT(warm[0], warm[1]);
    EXPECT_GT(warm[1], warm[2]);
    EXPECT_EQ(warm, MatteEngine::applyAdjust(grey, {.warmth = 250}).pixels.at<cv::Vec4b>(0, 0)) << "clamped at 100";
    EXPECT_GT(MatteEngine::applyAdjust(grey, {.exposure = 1}).pixels.at<cv::Vec4b>(0, 0)[0], 170);
}

TEST(ShapeCropMask, IsWhiteButNearTheCorners)
{
    // The compositor multiplies only the corner blocks: the rest must be white.
    const Matte mask = MatteEngine::shapeCropMask(QRectF(10, 20, 300, 200), 37.5);
    EXPECT_EQ(mask.extent(), cv::Rect(10, 20, 300, 200));
    cv::Mat inner = mask.pixels.clone();
    for (const cv::Rect corner : {cv::Rect(0, 0, 39, 39), cv::Rect(261, 0, 39, 39), cv::Rect(0, 161, 39, 39),
                                  cv::Rect(261, 161, 39, 39)})
        inner(corner).setTo(255);
    EXPECT_EQ(cv::countNonZero(inner != 255), 0);
    EXPECT_EQ(mask.pixels.at<uchar>(0, 0), 0);
    EXPECT_EQ(mask.pixels.at<uchar>(100, 150), 255);
    EXPECT_EQ(cv::countNonZero(MatteEngine::shapeCropMask(QRectF(0, 0, 30, 20), 0).pixels != 255), 0);
}
