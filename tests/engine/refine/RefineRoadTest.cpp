// The cutout takes the decontaminated tiles straight into its own buffer. It
// must stay what the whole-image road made (every step an image over the whole
// source: the decontamination's definition, which the tiles only cut short),
// on seeded scenes and the sample photograph. At most one level of 255 per
// channel may differ.

#include "engine/matte/MatteEngine.h"
#include "engine/pixel/BlendWithMask.h"
#include "engine/pixel/ColorInvert.h"
#include "engine/pixel/ColorMatrix.h"
#include "engine/pixel/ColorThreshold.h"
#include "engine/pixel/Crop.h"
#include "engine/pixel/GaussianBlur.h"
#include "engine/pixel/ImageMatte.h"
#include "engine/pixel/Morphology.h"
#include "engine/pixel/MultiplyCompositing.h"
#include "engine/refine/RefinementSwitches.h"
#include "support/PixelChecks.h"
#include "support/PixelSamples.h"
#include "support/SamplePhoto.h"

#include <opencv2/imgproc.hpp>

#include <gtest/gtest.h>

#include <string>

using namespace zephrin;
using zephrin::testing::maxDifference;

namespace {

Image decontaminatedOverTheWholeImage(const Image& colour, const Image& source, const Matte& refined, double k)
{
    const Matte core = colorThreshold(refined, 0.5);
    const Matte dilated = morphologyMaximum(core, 2.5, EdgeMode::clamp);
    const Matte eroded = morphologyMinimum(core, 2.5, EdgeMode::clamp);
    ColorMatrix scale;
    scale.r = {k, 0, 0, 0};
    const Matte weight = colorMatrix(multiplyCompositing(dilated, colorInvert(eroded)), scale);
    const Image spread = gaussianBlur(maskedBy(source, eroded), 4.0, EdgeMode::clamp);
    ColorMatrix opaque;
    opaque.a = {0, 0, 0, 0};
    opaque.bias = {0, 0, 0, 1};
    return blendWithMask(colorMatrix(spread, opaque), colour, multiplyCompositing(weight, alphaMatte(spread)));
}

Image cutoutOverTheWholeImage(const MatteEngine& engine, const Image& source, const MatteBox& box,
                              const MatteSettings& settings)
{
    const Matte refined = engine.refineEdges(box.image(), settings, std::nullopt);
    Image colour = source;
    if (box.backdropColor)
        if (auto unblended = engine.removeMatte(source, refined, *box.backdropColor))
            colour = *unblended;
    if (const auto k = decontaminationStrength(settings))
        colour = decontaminatedOverTheWholeImage(colour, source, refined, *k);
    return cropped(maskedBy(colour, refined), source.extent());
}

struct Case {
    const char* name;
    MatteSettings settings;
    std::optional<RGBAColor> backdrop;
};

std::vector<Case> cases()
{
    MatteSettings feathered;
    feathered.feather = 4.6;
    MatteSettings detail;
    detail.edgeMode = EdgeRefineMode::detail;
    detail.fillHoles = true;
    detail.decontaminate = 100;
    MatteSettings contrast;
    contrast.edgeMode = EdgeRefineMode::contrast;
    contrast.feather = 12;
    MatteSettings plain;
    plain.decontaminateEnabled = false;
    return {{"editor's defaults", MatteSettings{}, std::nullopt},
            {"feathered", feathered, std::nullopt},
            {"detail, holes filled, full strength", detail, std::nullopt},
            {"contrast, wide feather, flat page", contrast, RGBAColor{0.95, 0.95, 0.93, 1}},
            {"no decontamination", plain, std::nullopt}};
}

void expectSameRoad(const std::string& scene, const Image& source, const Matte& matte)
{
    const MatteEngine engine;
    for (const Case& c : cases()) {
        const MatteBox box(matte, c.backdrop);
        const Image expected = cutoutOverTheWholeImage(engine, source, box, c.settings);
        const Image actual = engine.applyMatteSettings(source, box, c.settings);
        ASSERT_EQ(actual.extent(), expected.extent()) << scene << ", " << c.name;
        EXPECT_LE(maxDifference(actual.pixels, expected.pixels), 1) << scene << ", " << c.name;
    }
}

} // namespace

TEST(RefineRoad, TiledCutoutGivesTheWholeImageRoadsPixels)
{
    for (const unsigned seed : {21u, 22u}) {
        const cv::Size size(600 + 37 * int(seed % 2), 450);
        expectSameRoad("seeded " + std::to_string(seed), zephrin::testing::photoLikeImage(size, seed),
                       zephrin::testing::photoLikeMatte(size, seed + 7));
    }
}

TEST(RefineRoad, OnTheSamplePhotographToo)
{
    const std::optional<Image> photo = zephrin::testing::samplePhotoCentre({2000, 1500});
    if (!photo)
        GTEST_SKIP() << "no sample photograph (scripts/setup fetches it)";
    cv::Mat subject(photo->size(), CV_8UC1, cv::Scalar(0));
    cv::ellipse(subject, {1000, 900}, {760, 640}, 0, 0, 360, cv::Scalar(255), cv::FILLED, cv::LINE_AA);
    for (int i = 0; i < 5; ++i)
        cv::circle(subject, {600 + 200 * i, 850}, 40, cv::Scalar(0), cv::FILLED, cv::LINE_AA);
    expectSameRoad("sample photograph", *photo, gaussianBlur(Matte(subject), 3, EdgeMode::clamp));
}
