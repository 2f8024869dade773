// The compositor flattens its layers onto the canvas in one pass. Its pictures
// must stay what the road of one image per step made: that road is kept here,
// built from the same pixel operations, and both are run on seeded scenes and
// on the sample photograph when it is there. At most one level of 255 per
// channel may differ.

#include "engine/composite/CanvasGeometry.h"
#include "engine/matte/MatteEngine.h"
#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/ClampToExtent.h"
#include "engine/pixel/ColorInvert.h"
#include "engine/pixel/ColorMatrix.h"
#include "engine/pixel/ColoredMatte.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/DropShadow.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/LanczosScale.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/MultiplyCompositing.h"
#include "engine/pixel/RenderContext.h"
#include "engine/pixel/SolidImage.h"
#include "engine/pixel/SourceOver.h"
#include "engine/pixel/Translate.h"
#include "support/GuiApplication.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"
#include "support/SamplePhoto.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace zephrin;
using zephrin::testing::maxDifference;

namespace {

Image blurredOverOneImagePerStep(const Image& image, const cv::Rect& area, double sigma)
{
    const Image clamped = clampedToExtent(image, grownBy(area, blurReach(sigma)));
    return cropped(gaussianBlur(clamped, sigma, EdgeMode::clamp), area);
}

Image edgeMaskPassOneImagePerStep(const Image& subject, const Image& background, double amount)
{
    const cv::Rect extent = subject.extent();
    if (extent.width <= 4 || extent.height <= 4 || !(amount > 0))
        return subject;
    const double r = std::clamp(std::max(extent.width, extent.height) / 600.0, 2.0, 8.0);
    const Matte alpha = alphaMatte(subject);
    const Matte core = colorInvert(gaussianBlur(morphologyMinimum(alpha, r, EdgeMode::clamp), 0.6 * r, EdgeMode::clamp));
    ColorMatrix strength;
    strength.r = {std::min(amount, 1.0), 0, 0, 0};
    const Matte weight = colorMatrix(multiplyCompositing(alpha, core), strength);
    const Image tinted = maskedBy(blurredOverOneImagePerStep(background, extent, 4 * r), alpha);
    return cropped(blendWithMask(tinted, subject, weight), extent);
}

// The compositor's road before its layers were flattened in one pass, for the
// settings these tests vary (no adjustments, colour modes, paint, text, shape
// crop or mirror: those steps did not change).
Image compositeOneImagePerStep(const Image& cutout, const Image& source, const std::optional<Image>& background,
                               const CompositeSettings& settings)
{
    const CompositeSettings s = settings.clamped();
    Image subject = cutout;
    if (const auto crop = cropRect(s.crop, subject.extent()))
        subject = cropped(subject, *crop);
    const cv::Rect extent = subject.extent();
    Image front = subject;
    std::optional<Image> shadow;
    const double margin = dressMargin(s);
    if (s.outlineEnabled && s.outlineWidth > 0.5) {
        const double w = s.outlineWidth;
        const cv::Rect area = integralRect(QRectF(extent.x, extent.y, extent.width, extent.height).adjusted(-2 - w, -2 - w, 2 + w, 2 + w));
        const Matte grown = morphologyMaximum(clampedToExtent(alphaMatte(subject), area), w, EdgeMode::clamp);
        front = sourceOver(subject, coloredMatte(grown, s.outlineColor));
    }
    if (s.shadowEnabled && s.shadowOpacity > 0.5) {
        const cv::Rect reach = integralRect(
            QRectF(extent.x, extent.y, extent.width, extent.height).adjusted(-margin, -margin, margin, margin));
        const cv::Point offset(int(std::round(s.shadowOffsetX)), int(std::round(s.shadowOffsetY)));
        shadow = dropShadow(clampedToExtent(alphaMatte(front), reach), {0, 0, 0, s.shadowOpacity / 100}, s.shadowBlur,
                            offset, EdgeMode::clamp);
    }
    std::optional<QRectF> content;
    if (s.trimToContent)
        content = MatteEngine::alphaBounds(cropped(cutout, extent));
    const cv::Rect canvas = compositeCanvas(extent, content, s);
    const double sigma = s.backgroundBlur > 0.5 ? s.backgroundBlur : 0;
    std::optional<Image> behind;
    if (s.backgroundMode == BackgroundMode::color)
        behind = solidImage(s.backgroundColor, canvas);
    else if (s.backgroundMode == BackgroundMode::original)
        behind = blurredOverOneImagePerStep(cropped(source, extent), canvas, sigma);
    else if (s.backgroundMode == BackgroundMode::image && background) {
        const double k = std::max(double(canvas.width) / background->width(), double(canvas.height) / background->height());
        const Image scaled = lanczosScale(translated(*background, -background->origin), k);
        const cv::Point centre(int(std::round(canvas.x + canvas.width / 2.0 - scaled.width() / 2.0)),
                               int(std::round(canvas.y + canvas.height / 2.0 - scaled.height() / 2.0)));
        behind = blurredOverOneImagePerStep(translated(scaled, centre - scaled.origin), canvas, sigma);
    }
    if (s.edgeBlend > 0.5 && s.backgroundMode != BackgroundMode::transparent && !s.outlineEnabled)
        front = edgeMaskPassOneImagePerStep(subject, behind.value_or(Image()), s.edgeBlend / 100);
    Image out = cropped(front, canvas);
    if (shadow)
        out = sourceOver(out, cropped(*shadow, canvas));
    if (behind)
        out = sourceOver(out, *behind);
    return Image(renderRGBA8(out, canvas));
}

struct Scene {
    std::string name;
    Image source;
    Image cutout;
};

// A photo-like picture with a soft-edged subject of discs and boxes.
Scene seededScene(cv::Size size, unsigned seed)
{
    const Image source = zephrin::testing::photoLikeImage(size, seed);
    return {"seeded " + std::to_string(seed), source,
            maskedBy(source, zephrin::testing::photoLikeMatte(size, seed + 1))};
}

// The centre 2000 × 1500 of the sample photograph, with a soft subject that
// reaches the frame.
std::optional<Scene> photoScene()
{
    const std::optional<Image> source = zephrin::testing::samplePhotoCentre({2000, 1500});
    if (!source)
        return std::nullopt;
    cv::Mat subject(source->size(), CV_8UC1, cv::Scalar(0));
    cv::ellipse(subject, {900, 900}, {700, 650}, 0, 0, 360, cv::Scalar(255), cv::FILLED, cv::LINE_AA);
    return Scene{"sample photograph", *source, maskedBy(*source, gaussianBlur(Matte(subject), 2.5, EdgeMode::clamp))};
}

struct Case {
    const char* name;
    CompositeSettings settings;
    bool backgroundPicture = false;
};

std::vector<Case> cases()
{
    std::vector<Case> all;
    const auto add = [&](const char* name, auto change, bool picture = false) {
        CompositeSettings s;
        change(s);
        all.push_back({name, s, picture});
    };
    add("colour, edge blend", [](CompositeSettings& s) { s.backgroundMode = BackgroundMode::color; });
    add("colour, soft shadow", [](CompositeSettings& s) {
        s.backgroundMode = BackgroundMode::color;
        s.backgroundColor = {0.2, 0.5, 0.9, 1};
        s.shadowEnabled = true;
        s.shadowBlur = 48;
        s.shadowOffsetX = -9;
    });
    add("translucent colour, small hard shadow", [](CompositeSettings& s) {
        s.backgroundMode = BackgroundMode::color;
        s.backgroundColor = {1, 0.8, 0.2, 0.5};
        s.shadowEnabled = true;
        s.shadowBlur = 0;
        s.shadowOffsetY = 30;
    });
    add("trimmed square over colour, shadow", [](CompositeSettings& s) {
        s.backgroundMode = BackgroundMode::color;
        s.shadowEnabled = true;
        s.shadowBlur = 5;
        s.trimToContent = true;
        s.padding = 12;
        s.aspect = AspectPreset::square;
    });
    add("transparent, shadow", [](CompositeSettings& s) { s.shadowEnabled = true; });
    add("crop, outline and shadow over colour", [](CompositeSettings& s) {
        s.backgroundMode = BackgroundMode::color;
        s.crop = QRectF(40, 30, 300, 250);
        s.outlineEnabled = true;
        s.outlineWidth = 9;
        s.shadowEnabled = true;
    });
    add("original, blurred, shadow", [](CompositeSettings& s) {
        s.backgroundMode = BackgroundMode::original;
        s.backgroundBlur = 20;
        s.shadowEnabled = true;
        s.trimToContent = true;
    });
    add("original, sharp", [](CompositeSettings& s) { s.backgroundMode = BackgroundMode::original; });
    add("picture, sharp", [](CompositeSettings& s) { s.backgroundMode = BackgroundMode::image; }, true);
    add("picture, blurred, wide", [](CompositeSettings& s) {
        s.backgroundMode = BackgroundMode::image;
        s.backgroundBlur = 12;
        s.aspect = AspectPreset::wide;
        s.shadowEnabled = true;
    }, true);
    add("no picture: the rim fades", [](CompositeSettings& s) { s.backgroundMode = BackgroundMode::image; });
    return all;
}

void expectSameRoad(const MatteEngine& engine, const Scene& scene, const Case& c)
{
    std::optional<Image> background;
    if (c.backgroundPicture)
        background = zephrin::testing::photoLikeImage({scene.source.width() / 2, scene.source.height() / 3}, 5);
    const Image expected = compositeOneImagePerStep(scene.cutout, scene.source, background, c.settings);
    const Image actual = engine.composite(scene.cutout, scene.source, background, std::nullopt, c.settings);
    ASSERT_EQ(actual.size(), expected.size()) << scene.name << ", " << c.name;
    EXPECT_LE(maxDifference(actual.pixels, expected.pixels), 1) << scene.name << ", " << c.name;
}

} // namespace

TEST(CompositeRoad, FlattenedLayersGiveThePicturesOfOneImagePerStep)
{
    zephrin::testing::ensureGuiApplication();
    const MatteEngine engine;
    for (const Scene& scene : {seededScene({640, 480}, 11), seededScene({517, 733}, 12)})
        for (const Case& c : cases())
            expectSameRoad(engine, scene, c);
}

TEST(CompositeRoad, OnTheSamplePhotographToo)
{
    const std::optional<Scene> photo = photoScene();
    if (!photo)
        GTEST_SKIP() << "no sample photograph (scripts/setup fetches it)";
    const MatteEngine engine;
    for (const Case& c : cases())
        if (std::string(c.name).starts_with("colour") || std::string(c.name).starts_with("original, blurred"))
            expectSameRoad(engine, *photo, c);
}
