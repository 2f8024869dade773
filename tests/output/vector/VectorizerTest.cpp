#include "output/vector/Vectorizer.h"

#include "engine/types/MatteError.h"
#include "output/vector/TraceFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace zephrin;
using zephrin::testing::inDisc;
using zephrin::testing::inRect;
using zephrin::testing::painting;
using zephrin::testing::silhouette;

namespace {

TraceOptions silhouetteOptions()
{
    TraceOptions options;
    options.source = TraceSource::shape;
    options.colors = 1;
    options.detail = 0.5;
    options.minimumArea = 0;
    return options;
}

// Every contour closes on itself, segment after segment.
void checkClosed(const TraceResult& result)
{
    for (const TracedLayer& layer : result.layers)
        for (const TracedContour& contour : layer.contours) {
            ASSERT_FALSE(contour.segments.empty());
            for (std::size_t i = 0; i < contour.segments.size(); ++i)
                EXPECT_EQ(contour.segments[i].p3, contour.segments[(i + 1) % contour.segments.size()].p0);
        }
}

MatteErrorKind traceFailure(const Image& image, const TraceOptions& options)
{
    try {
        Vectorizer().trace(image, options);
    } catch (const MatteError& error) {
        return error.kind();
    }
    ADD_FAILURE() << "trace did not throw";
    return MatteErrorKind::unsupportedFormat;
}

} // namespace

TEST(Trace, RectangleIsFourStraightSegmentsFromTheTopLeftCornerDownwards)
{
    const auto result = Vectorizer().trace(silhouette(10, 6, [](int, int) { return true; }), silhouetteOptions());
    EXPECT_EQ(result.width, 10);
    EXPECT_EQ(result.height, 6);
    ASSERT_EQ(result.layers.size(), 1u);
    EXPECT_EQ(result.layers[0].fillHex, "#000000");
    EXPECT_EQ(result.layers[0].pixelCount, 60);
    ASSERT_EQ(result.layers[0].contours.size(), 1u);
    const std::vector<CubicSegment> expected{
        {{0, 0}, {0, 0}, {0, 6}, {0, 6}},
        {{0, 6}, {0, 6}, {10, 6}, {10, 6}},
        {{10, 6}, {10, 6}, {10, 0}, {10, 0}},
        {{10, 0}, {10, 0}, {0, 0}, {0, 0}},
    };
    EXPECT_EQ(result.layers[0].contours[0].segments, expected);
}

TEST(Trace, RingGivesTwoContoursOuterFirst)
{
    const auto ring = silhouette(60, 60, [](int x, int y) {
        return inDisc(x, y, 30, 30, 26) && !inDisc(x, y, 30, 30, 12);
    });
    const auto result = Vectorizer().trace(ring, silhouetteOptions());
    ASSERT_EQ(result.layers.size(), 1u);
    const auto& contours = result.layers[0].contours;
    ASSERT_EQ(contours.size(), 2u);
    checkClosed(result);
    EXPECT_LT(contours[0].segments[0].p0.y, contours[1].segments[0].p0.y);
}

// A smooth outline is fitted with curves that stay close to it.
TEST(Trace, DiscIsFittedWithinTheTolerance)
{
    const auto result =
        Vectorizer().trace(silhouette(100, 100, [](int x, int y) { return inDisc(x, y, 50, 50, 40); }),
                           silhouetteOptions());
    ASSERT_EQ(result.layers[0].contours.size(), 1u);
    checkClosed(result);
    const auto& segments = result.layers[0].contours[0].segments;
    EXPECT_LT(segments.size(), 40u);
    for (const CubicSegment& s : segments)
        for (double u = 0; u <= 1; u += 0.125) {
            const double v = 1 - u;
            const double x = v * v * v * s.p0.x + 3 * u * v * v * s.p1.x + 3 * u * u * v * s.p2.x + u * u * u * s.p3.x;
            const double y = v * v * v * s.p0.y + 3 * u * v * v * s.p1.y + 3 * u * u * v * s.p2.y + u * u * u * s.p3.y;
            EXPECT_NEAR(std::hypot(x - 50, y - 50), 40, 2.0);
        }
}

// A staircase edge: at full detail nearly every step stays a corner; at the
// lowest detail the steps simplify into one slanted side.
TEST(Trace, HigherDetailKeepsMoreCorners)
{
    const auto wedge = silhouette(60, 60, [](int x, int y) { return x >= 10 && y >= 10 && y - 10 >= (x - 10) / 2; });
    const auto segmentsAt = [&](double detail) {
        TraceOptions options = silhouetteOptions();
        options.detail = detail;
        return Vectorizer().trace(wedge, options).layers[0].contours.at(0).segments.size();
    };
    EXPECT_GT(segmentsAt(1), 40u);
    EXPECT_LE(segmentsAt(0), 4u);
}

TEST(Trace, ThinAndSmallShapesAreDropped)
{
    const auto traceOf = [](int w, int h, double minimumArea) {
        TraceOptions options = silhouetteOptions();
        options.minimumArea = minimumArea;
        return Vectorizer().trace(silhouette(w + 4, h + 4, [&](int x, int y) { return inRect(x, y, 2, 2, w, h); }),
                                  options);
    };
    // A one-pixel line is a sliver (20 / 42 < 0.75); a two-pixel bar is not.
    const auto line = traceOf(1, 20, 0);
    ASSERT_EQ(line.layers.size(), 1u);
    EXPECT_TRUE(line.layers[0].contours.empty());
    EXPECT_EQ(line.layers[0].pixelCount, 20);
    EXPECT_EQ(traceOf(2, 20, 0).layers[0].contours.size(), 1u);

    // A 3 x 3 square is just thick enough (9 / 12 = 0.75); its area decides.
    EXPECT_EQ(traceOf(3, 3, 9).layers[0].contours.size(), 1u);
    EXPECT_TRUE(traceOf(3, 3, 9.5).layers[0].contours.empty());
}

TEST(Trace, FailsWhenNothingIsVisibleOrTheImageIsEmpty)
{
    cv::Mat faint(20, 20, CV_8UC4, cv::Scalar(50, 50, 50, 100));
    EXPECT_EQ(traceFailure(Image(faint), silhouetteOptions()), MatteErrorKind::noSubjectFound);
    EXPECT_EQ(traceFailure(Image(), silhouetteOptions()), MatteErrorKind::renderFailed);

    // Visible at a lower threshold.
    TraceOptions lenient = silhouetteOptions();
    lenient.alphaThreshold = 0.3;
    EXPECT_EQ(Vectorizer().trace(Image(faint), lenient).layers[0].pixelCount, 400);
}

TEST(Trace, ScalesTheBitmapToTheTraceLongEdge)
{
    TraceOptions options = silhouetteOptions();
    options.traceLongEdge = 50;
    const auto result = Vectorizer().trace(silhouette(200, 100, [](int, int) { return true; }), options);
    EXPECT_EQ(result.width, 50);
    EXPECT_EQ(result.height, 25);
}

// --- Ink ---------------------------------------------------------------------

namespace {

// Black strokes (two bars and a frame) on opaque white paper.
Image drawing()
{
    return painting(120, 80, [](int x, int y) {
        const bool stroke = inRect(x, y, 20, 20, 6, 40) || inRect(x, y, 40, 30, 50, 5) ||
                            (inRect(x, y, 70, 45, 30, 25) && !inRect(x, y, 74, 49, 22, 17));
        return stroke ? cv::Vec3b{0, 0, 0} : cv::Vec3b{255, 255, 255};
    });
}

int strokePixels() { return 6 * 40 + 50 * 5 + (30 * 25 - 22 * 17); }

} // namespace

TEST(Trace, AutoFindsInkInADrawingOnPaper)
{
    TraceOptions options = silhouetteOptions();
    options.source = TraceSource::autoDetect;
    const auto automatic = Vectorizer().trace(drawing(), options);
    ASSERT_EQ(automatic.layers.size(), 1u);
    EXPECT_EQ(automatic.layers[0].pixelCount, strokePixels());
    EXPECT_EQ(automatic.layers[0].contours.size(), 4u);   // two bars, the frame and its hole

    options.source = TraceSource::ink;
    EXPECT_EQ(Vectorizer().trace(drawing(), options), automatic);

    // Traced as a shape, the paper is the subject.
    options.source = TraceSource::shape;
    const auto shape = Vectorizer().trace(drawing(), options);
    EXPECT_EQ(shape.layers[0].pixelCount, 120 * 80);
    EXPECT_EQ(shape.layers[0].contours.size(), 1u);
}

TEST(Trace, AutoTracesAColourfulPictureAsAShape)
{
    const auto colourful = painting(90, 90, [](int x, int y) {
        return cv::Vec3b{static_cast<uchar>(x * 2 + 40), static_cast<uchar>(y * 2 + 40), 128};
    });
    TraceOptions options = silhouetteOptions();
    options.source = TraceSource::autoDetect;
    EXPECT_EQ(Vectorizer().trace(colourful, options).layers[0].pixelCount, 90 * 90);
}

TEST(Trace, InkIsReadFromTheColourSourceWhenItHasTheSameSize)
{
    // A flat grey cutout of the whole frame; the photo behind it is the drawing.
    const auto cutout = painting(120, 80, [](int, int) { return cv::Vec3b{128, 128, 128}; });
    TraceOptions options = silhouetteOptions();
    options.source = TraceSource::autoDetect;
    EXPECT_EQ(Vectorizer().trace(cutout, drawing(), options).layers[0].pixelCount, strokePixels());

    // A source of another size is ignored: the grey cutout has no ink.
    const auto smaller = painting(60, 40, [](int, int) { return cv::Vec3b{0, 0, 0}; });
    EXPECT_EQ(Vectorizer().trace(cutout, smaller, options).layers[0].pixelCount, 120 * 80);
    options.source = TraceSource::ink;
    EXPECT_EQ(traceFailure(cutout, options), MatteErrorKind::noSubjectFound);
}

TEST(Trace, InkThresholdAboveOneMakesTransparentPixelsNearTheSubjectInk)
{
    // A 10 x 10 white square in a 100 x 100 transparent frame: the ink box is
    // the subject's box grown by 4 pixels on every side (bitmaps under 160 px).
    const auto square = silhouette(100, 100, [](int x, int y) { return inRect(x, y, 45, 45, 10, 10); },
                                   {255, 255, 255});
    TraceOptions options = silhouetteOptions();
    options.source = TraceSource::ink;
    options.inkThreshold = 1.5;
    const auto result = Vectorizer().trace(square, options);
    EXPECT_EQ(result.layers[0].pixelCount, 18 * 18);
    ASSERT_EQ(result.layers[0].contours.size(), 1u);
    EXPECT_EQ(result.layers[0].contours[0].segments[0].p0, (Pt{41, 41}));
}

// --- Colour layers ---------------------------------------------------------

namespace {

// A red disc on a larger blue square, on transparency.
Image twoColourLogo()
{
    cv::Mat pixels(80, 80, CV_8UC4, cv::Scalar(0, 0, 0, 0));
    for (int y = 10; y < 70; ++y)
        for (int x = 10; x < 70; ++x)
            pixels.at<cv::Vec4b>(y, x) = inDisc(x, y, 40, 40, 15) ? cv::Vec4b{255, 0, 0, 255} : cv::Vec4b{0, 0, 255, 255};
    return Image(pixels);
}

} // namespace

TEST(Trace, ColourLayersFollowThePaletteLargestFirst)
{
    TraceOptions options = silhouetteOptions();
    options.colors = 8;
    const auto result = Vectorizer().trace(twoColourLogo(), options);
    // Eight palette entries, but pixels land on two colours only.
    ASSERT_EQ(result.layers.size(), 2u);
    EXPECT_EQ(result.layers[0].fillHex, "#0000FF");
    EXPECT_EQ(result.layers[1].fillHex, "#FF0000");
    EXPECT_EQ(result.layers[0].pixelCount + result.layers[1].pixelCount, 60 * 60);
    EXPECT_GT(result.layers[0].pixelCount, result.layers[1].pixelCount);
    checkClosed(result);

    // The file-maker form always has the one silhouette layer.
    options.fileMaker = true;
    const auto single = Vectorizer().trace(twoColourLogo(), options);
    ASSERT_EQ(single.layers.size(), 1u);
    EXPECT_EQ(single.layers[0].pixelCount, 60 * 60);
}

// Each colour's mask grows by one pixel, so that neighbouring colours overlap
// and no hairline gap shows between them.
TEST(Trace, NeighbouringColourLayersOverlapByOnePixel)
{
    const auto halves = painting(40, 12, [](int x, int) { return x < 20 ? cv::Vec3b{255, 0, 0} : cv::Vec3b{0, 0, 255}; });
    TraceOptions options = silhouetteOptions();
    options.colors = 2;
    const auto result = Vectorizer().trace(halves, options);
    ASSERT_EQ(result.layers.size(), 2u);
    for (const TracedLayer& layer : result.layers) {
        ASSERT_EQ(layer.contours.size(), 1u);
        EXPECT_EQ(layer.pixelCount, 20 * 12);
        double minX = 1e9, maxX = -1e9;
        for (const CubicSegment& s : layer.contours[0].segments) {
            minX = std::min(minX, s.p0.x);
            maxX = std::max(maxX, s.p0.x);
        }
        if (layer.fillHex == "#FF0000") {
            EXPECT_EQ(minX, 0);
            EXPECT_EQ(maxX, 21);
        } else {
            EXPECT_EQ(layer.fillHex, "#0000FF");
            EXPECT_EQ(minX, 19);
            EXPECT_EQ(maxX, 40);
        }
    }
}

TEST(Trace, ColourTraceWithNothingToDrawFails)
{
    TraceOptions options = silhouetteOptions();
    options.minimumArea = 1e9;
    // One silhouette layer survives without contours ...
    EXPECT_TRUE(Vectorizer().trace(twoColourLogo(), options).layers[0].contours.empty());
    // ... but colour layers without contours are left out, which leaves nothing.
    options.colors = 4;
    EXPECT_EQ(traceFailure(twoColourLogo(), options), MatteErrorKind::noSubjectFound);
}

TEST(HexColor, RoundsHalvesAwayFromZeroAndClamps)
{
    EXPECT_EQ(Vectorizer::hexColor({0, 0.5, 1}), "#0080FF");
    EXPECT_EQ(Vectorizer::hexColor({0.5 / 255, 1.5 / 255, 254.5 / 255}), "#0102FF");
    EXPECT_EQ(Vectorizer::hexColor({-0.4, 7, std::nan("")}), "#00FF00");
}
