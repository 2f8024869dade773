#include "engine/matte/MatteEngine.h"
#include "engine/types/MatteError.h"

#include "support/LogCapture.h"
#include "support/ScopedEnvironment.h"
#include "support/Scenes.h"

#include <gtest/gtest.h>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <functional>
#include <mutex>

using namespace zephrin;
namespace support = zephrin::testing;
using support::LogCapture;

namespace {

const cv::Size kSize(400, 300);
const cv::Rect kSubjectBox(150, 100, 100, 100); // where the scripted subject sits
const cv::Rect kPageBox(100, 50, 200, 200);     // a flat page's matte is white only here
const RGBAColor kPageColour{0.9, 0.88, 0.85, 1};

// An opaque picture: a light page and a dark square in the middle.
Image picture()
{
    cv::Mat pixels(kSize, CV_8UC4, cv::Scalar(230, 224, 217, 255));
    pixels(kSubjectBox).setTo(cv::Scalar(40, 50, 60, 255));
    return Image(pixels);
}

Matte matteWith(const std::vector<cv::Rect>& boxes)
{
    Matte matte = Matte::filled(kSize, 0);
    for (const cv::Rect& box : boxes)
        matte.pixels(box).setTo(255);
    return matte;
}

FlatBackdrop flatPage(double sigma, cv::Rect inside = kPageBox, double fraction = 0.6)
{
    Matte key = Matte::filled(kSize, 0);
    key.pixels(inside).setTo(255);
    return FlatBackdrop{key, fraction, kPageColour, sigma};
}

// Stands in for IS-Net and the flat-backdrop detection, answering as scripted
// and counting the calls (the probes run beside the network and each other).
struct Script {
    bool available = true;
    std::function<CoreMLMatte::Mask(int call)> mask = [](int) {
        return CoreMLMatte::Mask{matteWith({kSubjectBox}), false};
    };
    std::optional<FlatBackdrop> probe; // the answer to the backdrop probe
    std::function<std::optional<FlatBackdrop>(const RGBAColor&)> cornerProbe = [](const RGBAColor&) {
        return std::optional<FlatBackdrop>();
    };

    std::vector<Image> maskInputs;
    std::mutex probing;
    int probeCalls = 0;
    std::vector<RGBAColor> cornerKeys;

    MatteSources sources()
    {
        return {
            [this] { return available; },
            [this](const Image& image) {
                maskInputs.push_back(image);
                return mask(int(maskInputs.size()) - 1);
            },
            [this](const Image&, double minimumFraction, double maximumSigma, std::optional<RGBAColor> key) {
                const std::lock_guard lock(probing);
                ++probeCalls;
                if (!key) {
                    EXPECT_EQ(minimumFraction, 0.15);
                    EXPECT_EQ(maximumSigma, 0.06);
                    return probe;
                }
                EXPECT_EQ(minimumFraction, 0.02);
                EXPECT_EQ(maximumSigma, 0.1);
                cornerKeys.push_back(*key);
                return cornerProbe(*key);
            },
        };
    }
};

MatteBox run(Script& script, MatteModel model = MatteModel::isnet, std::optional<QRectF> region = std::nullopt)
{
    const MatteEngine engine;
    return engine.computeMatte(picture(), model, region, script.sources());
}

bool noSubjectFound(Script& script, std::optional<QRectF> region = std::nullopt)
{
    try {
        run(script, MatteModel::isnet, region);
    } catch (const MatteError& error) {
        return error.kind() == MatteErrorKind::noSubjectFound;
    }
    return false;
}

} // namespace

TEST(MattePipeline, WipesAFlatPageFromTheSubject)
{
    Script script;
    script.probe = flatPage(0.05);
    const MatteBox box = run(script);

    EXPECT_EQ(script.probeCalls, 1);
    EXPECT_EQ(script.maskInputs.size(), 1u); // sigma 0.05: no second look
    EXPECT_EQ(box.backdropColor, kPageColour);
    EXPECT_FALSE(box.sceneFallback);
    EXPECT_EQ(box.image().size(), kSize);
    EXPECT_EQ(box.image().pixels.at<uchar>(150, 200), 255);
    EXPECT_EQ(cv::countNonZero(box.image().pixels), kSubjectBox.area());

    // The same on the subject lift's road, which finds the dark square itself.
    Script lift;
    lift.probe = flatPage(0.05);
    const MatteBox lifted = run(lift, MatteModel::apple);
    EXPECT_EQ(lifted.backdropColor, kPageColour);
    EXPECT_TRUE(lift.maskInputs.empty());
    EXPECT_EQ(cv::countNonZero(lifted.image().pixels(cv::Rect(0, 0, 90, 300))), 0); // wiped page (grown by 1 px)
}

TEST(MattePipeline, NeutralizesTheBackdropOnlyBelowItsThreshold)
{
    {
        Script below;
        below.probe = flatPage(std::nextafter(0.035, 0.0));
        LogCapture log;
        run(below);
        ASSERT_EQ(below.maskInputs.size(), 2u);
        EXPECT_EQ(log.linesStartingWith("backdrop neutralized before IS-Net").size(), 1);
        // The second look sees the page painted mid-grey and the rest unchanged.
        const cv::Mat& neutral = below.maskInputs[1].pixels;
        EXPECT_EQ(neutral.at<cv::Vec4b>(10, 10), cv::Vec4b(128, 128, 128, 255));
        EXPECT_EQ(neutral.at<cv::Vec4b>(150, 200), cv::Vec4b(40, 50, 60, 255));
    }
    Script at;
    at.probe = flatPage(0.035);
    LogCapture log;
    run(at);
    EXPECT_EQ(at.maskInputs.size(), 1u);
    EXPECT_TRUE(log.linesStartingWith("backdrop neutralized").isEmpty());
}

TEST(MattePipeline, SkipsAPageWipeThatWouldCutIntoTheSubject)
{
    Script script;
    // The keyed page reaches over the left half of the subject.
    script.probe = flatPage(0.01, cv::Rect(200, 50, 150, 200));
    LogCapture log;
    const MatteBox box = run(script);

    const QStringList skipped = log.linesStartingWith("page wipe skipped: it would remove ");
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_TRUE(skipped[0].endsWith(QStringLiteral("‰ of the confident subject")));
    EXPECT_EQ(script.maskInputs.size(), 1u); // a forgotten flat is not neutralised either
    EXPECT_FALSE(box.backdropColor);
    EXPECT_EQ(cv::countNonZero(box.image().pixels != matteWith({kSubjectBox}).pixels), 0);
}

TEST(MattePipeline, KeepsOnlyTheComponentsThatTouchTheRegion)
{
    Script script;
    const cv::Rect left(20, 20, 60, 60);
    const cv::Rect right(300, 200, 60, 60);
    script.mask = [&](int) { return CoreMLMatte::Mask{matteWith({left, right}), true}; };
    script.probe = flatPage(0.01);
    LogCapture log;
    const MatteBox box = run(script, MatteModel::isnet, QRectF(290, 190, 30, 30));

    EXPECT_EQ(script.probeCalls, 0); // a selection cut looks for no backdrop
    EXPECT_FALSE(box.backdropColor);
    EXPECT_FALSE(box.sceneFallback); // the runner's scene flag plays no part here
    EXPECT_EQ(cv::countNonZero(box.image().pixels(left)), 0);
    EXPECT_EQ(cv::countNonZero(box.image().pixels(right)), right.area());
    const QStringList guided = log.linesStartingWith("guided IS-Net: kept components overlapping (290, 190, 30, 30) bounds ");
    ASSERT_EQ(guided.size(), 1);
    EXPECT_FALSE(guided[0].endsWith(QStringLiteral("none")));

    // A region that touches no component finds nothing.
    Script empty;
    empty.mask = script.mask;
    EXPECT_TRUE(noSubjectFound(empty, QRectF(150, 100, 40, 40)));
}

TEST(MattePipeline, ReportsNoSubjectForANearlyEmptyMatte)
{
    Script dot;
    dot.mask = [](int) { return CoreMLMatte::Mask{matteWith({cv::Rect(200, 150, 2, 2)}), false}; };
    EXPECT_TRUE(noSubjectFound(dot));

    Script black;
    black.mask = [](int) { return CoreMLMatte::Mask{Matte::filled(kSize, 0), false}; };
    LogCapture log;
    EXPECT_TRUE(noSubjectFound(black));
    EXPECT_EQ(log.linesStartingWith("matte extent (0, 0, 400, 300) bounds none").size(), 1);
}

TEST(MattePipeline, KeepsTheSceneLessItsFlatCornerAreas)
{
    const auto sceneMask = [](int) { return CoreMLMatte::Mask{Matte::filled(kSize, 255), true}; };

    {
        // The picture's four corners are one colour: one probe, nothing flat found.
        Script plain;
        plain.mask = sceneMask;
        LogCapture log;
        const MatteBox kept = run(plain);
        EXPECT_TRUE(kept.sceneFallback);
        EXPECT_FALSE(kept.backdropColor);
        EXPECT_EQ(plain.cornerKeys.size(), 1u);
        EXPECT_EQ(cv::countNonZero(kept.image().pixels != 255), 0);
        EXPECT_EQ(log.linesStartingWith("scene fallback: no flat background found; kept everything").size(), 1);
    }

    // A flat area of the corners' colour is stripped, and its share logged.
    Script stripped;
    stripped.mask = sceneMask;
    stripped.cornerProbe = [](const RGBAColor&) {
        return std::optional<FlatBackdrop>(flatPage(0.02, cv::Rect(0, 0, 400, 200), 0.333));
    };
    LogCapture log;
    const MatteBox wiped = run(stripped);
    EXPECT_TRUE(wiped.sceneFallback);
    EXPECT_EQ(cv::countNonZero(wiped.image().pixels), 400 * 199); // the key grown by 1 pixel
    EXPECT_EQ(log.linesStartingWith("scene fallback: stripped flat areas (33% of the image)").size(), 1);
}

TEST(MattePipeline, TriesEachDistinctCornerColourOnce)
{
    Script script;
    script.mask = [](int) { return CoreMLMatte::Mask{Matte::filled(kSize, 255), true}; };
    const MatteEngine engine;
    cv::Mat pixels(kSize, CV_8UC4, cv::Scalar(250, 250, 250, 255));
    pixels(cv::Rect(0, 0, 200, 150)).setTo(cv::Scalar(0, 0, 0, 255));    // top left black
    pixels(cv::Rect(200, 0, 200, 150)).setTo(cv::Scalar(0, 0, 10, 255)); // top right nearly black
    pixels(cv::Rect(0, 150, 200, 150)).setTo(cv::Scalar(255, 0, 0, 255)); // bottom left red
    // Each colour's flat area is stripped: the black one the top, the red one the left.
    script.cornerProbe = [](const RGBAColor& key) {
        const cv::Rect kept = key.r > 0.5 ? cv::Rect(200, 0, 200, 300) : cv::Rect(0, 150, 400, 150);
        return std::optional<FlatBackdrop>(flatPage(0.02, kept, 0.25));
    };
    const MatteBox box = engine.computeMatte(Image(pixels), MatteModel::isnet, std::nullopt, script.sources());
    EXPECT_EQ(script.cornerKeys.size(), 3u);
    EXPECT_EQ(cv::countNonZero(box.image().pixels(cv::Rect(0, 0, 400, 149))), 0);
    EXPECT_EQ(cv::countNonZero(box.image().pixels(cv::Rect(0, 151, 199, 149))), 0);
    EXPECT_EQ(cv::countNonZero(box.image().pixels(cv::Rect(201, 151, 199, 149)) != 255), 0);
}

TEST(MattePipeline, TakesTheSubjectLiftWithTheRegionWhenTheModelIsMissing)
{
    // The region holds only the disc, not the dark object.
    const support::TwoSubjects two = support::darkObjectAndBlueDisc({1200, 900}, 9);
    const Image& image = two.scene.image;
    const cv::Rect& area = two.aroundDisc;
    const QRectF region(area.x, area.y, area.width, area.height);
    const MatteEngine engine;

    const support::ScopedEnvironment hidden("ZEPHRIN_MODEL", "/nonexistent/ISNetGeneral.onnx");
    ASSERT_FALSE(CoreMLMatte::isAvailable());
    const MatteBox box = engine.computeMatte(image, MatteModel::isnet, region);
    const MatteBox lifted = engine.visionSubjectMask(image, region);
    EXPECT_EQ(cv::countNonZero(box.image().pixels != lifted.image().pixels), 0);
    EXPECT_EQ(cv::countNonZero(box.image().pixels(cv::Rect(0, 0, area.x, image.height()))), 0);
    EXPECT_GE(support::intersectionOverUnion(box.image().pixels, two.disc), 0.9);

    // Scripted: the network is never asked.
    Script script;
    script.available = false;
    const MatteBox scripted = engine.computeMatte(image, MatteModel::isnet, region, script.sources());
    EXPECT_TRUE(script.maskInputs.empty());
    EXPECT_EQ(script.probeCalls, 0);
    EXPECT_EQ(cv::countNonZero(scripted.image().pixels != lifted.image().pixels), 0);
}

// --- end to end, with the real network and detection -------------------------------

TEST(MattePipeline, FindsADarkObjectWithTheNetwork)
{
    ASSERT_TRUE(CoreMLMatte::isAvailable()) << "no ISNetGeneral.onnx: run scripts/setup";
    const support::Scene scene = support::darkObjectOnTexture({1200, 900}, 11);
    const MatteEngine engine;
    LogCapture log;
    const MatteBox box = engine.computeMatte(scene.image, MatteModel::isnet);
    EXPECT_FALSE(box.sceneFallback);
    EXPECT_FALSE(box.backdropColor);
    EXPECT_GE(support::intersectionOverUnion(box.image().pixels, scene.shape), 0.85);
    EXPECT_EQ(log.linesStartingWith("matte extent (0, 0, 1200, 900) bounds (").size(), 1);
}

TEST(MattePipeline, AnswersBadInputWithAResultOrAnError)
{
    const MatteEngine engine;
    cv::Mat strip(50, 20000, CV_8UC4, cv::Scalar(230, 230, 230, 255));
    strip(cv::Rect(9000, 10, 2000, 30)).setTo(cv::Scalar(20, 20, 120, 255));
    const std::vector<Image> images = {Image(cv::Mat(1, 1, CV_8UC4, cv::Scalar(10, 20, 30, 255))),
                                       Image::transparent({300, 200}), Image(strip), Image()};
    for (const Image& image : images) {
        for (MatteModel model : {MatteModel::apple, MatteModel::isnet}) {
            for (const std::optional<QRectF>& region : {std::optional<QRectF>(), std::optional(QRectF(0, 0, 1, 1))}) {
                SCOPED_TRACE(::testing::Message() << image.width() << " x " << image.height() << " model "
                                                << int(model) << (region ? " region" : ""));
                try {
                    const MatteBox box = engine.computeMatte(image, model, region);
                    EXPECT_EQ(box.image().size(), image.size());
                } catch (const MatteError& error) {
                    EXPECT_EQ(error.kind(), MatteErrorKind::noSubjectFound);
                } catch (const CoreMLMatte::Failure& failure) {
                    EXPECT_TRUE(image.empty()) << failure.what();
                }
            }
        }
    }
}

TEST(MattePipeline, AGuidedCutOnALargeImageLeavesNoTraceOfWhatItDropped)
{
    // 2400 pixels wide: the components are found on a grid of 1024 cells, about
    // 2.3 pixels each, and the part beside the kept one lies a cell away.
    const cv::Size size(2400, 1600);
    Matte matte = Matte::filled(size, 0);
    const cv::Rect kept(100, 100, 400, 400);
    const cv::Rect dropped(504, 100, 400, 400);
    const cv::Rect corner(503, 503, 200, 200);  // meets the kept part only diagonally
    for (const cv::Rect& part : {kept, dropped, corner})
        matte.pixels(part).setTo(255);

    const Matte guided = MatteEngine().guidedISNetMatte(matte, QRectF(200, 200, 50, 50), size.width, size.height);
    double most = 0;
    cv::minMaxLoc(guided.pixels(dropped), nullptr, &most);
    EXPECT_EQ(most, 0);
    cv::minMaxLoc(guided.pixels(corner), nullptr, &most);
    EXPECT_EQ(most, 0);
    EXPECT_EQ(cv::countNonZero(guided.pixels(cv::Rect(110, 110, 380, 380)) != 255), 0) << "the kept part whole";
}
