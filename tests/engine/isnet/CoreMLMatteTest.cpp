#include "engine/isnet/CoreMLMatte.h"
#include "engine/isnet/SessionCache.h"
#include "engine/isnet/WorkingMemory.h"

#include "support/LogCapture.h"
#include "support/Scenes.h"
#include "support/ScopedEnvironment.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>
#include <opencv2/imgproc.hpp>

#include <atomic>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <future>
#include <limits>
#include <thread>
#include <vector>

using namespace zephrin;
namespace support = zephrin::testing;
using support::LogCapture;

namespace {

// A normalised map of n values: `confident` at 0.9, `ambiguous` at 0.5, the rest 0.
std::vector<float> mapOf(size_t n, size_t confident, size_t ambiguous)
{
    std::vector<float> values(n, 0.0f);
    std::fill_n(values.begin(), confident, 0.9f);
    std::fill_n(values.begin() + std::ptrdiff_t(confident), ambiguous, 0.5f);
    return values;
}

bool sceneFallbackFor(size_t n, size_t confident, size_t ambiguous)
{
    return CoreMLMatte::confidence(mapOf(n, confident, ambiguous)).sceneFallback();
}

CoreMLMatte::FailureKind readFailure(const CoreMLMatte::Tensor& tensor, int side)
{
    try {
        CoreMLMatte::readOutput(tensor, side);
    } catch (const CoreMLMatte::Failure& failure) {
        return failure.kind();
    }
    ADD_FAILURE() << "readOutput accepted the tensor";
    return CoreMLMatte::FailureKind::missing;
}

} // namespace

TEST(IsnetConfidence, CountsTheBoundsAsTheRuleSays)
{
    // v ≥ 0.8 is confident; 0.2 < v < 0.8 ambiguous; 0.2 itself neither.
    const auto counts = CoreMLMatte::confidence(std::vector<float>{0.8f, 0.79f, 0.2f, 0.21f, 0.0f, 1.0f});
    EXPECT_EQ(counts.confident, 2u);
    EXPECT_EQ(counts.ambiguous, 2u);
    EXPECT_EQ(counts.n, 6u);
}

TEST(IsnetConfidence, SharesExactlyOnTheBoundsCountAsSubject)
{
    EXPECT_FALSE(sceneFallbackFor(100, 2, 0));  // c exactly 0.02 passes the first test
    EXPECT_TRUE(sceneFallbackFor(100, 1, 0));   // c 0.01 does not
    EXPECT_FALSE(sceneFallbackFor(100, 5, 25)); // a exactly 0.25: the second test is false
    EXPECT_TRUE(sceneFallbackFor(100, 5, 30));  // c 0.05, a 0.30: 2c = 0.10 < 0.30
    EXPECT_FALSE(sceneFallbackFor(100, 20, 30)); // c 0.20, a 0.30: 2c = 0.40 ≥ 0.30
    EXPECT_FALSE(sceneFallbackFor(100, 15, 30)); // 2c = a exactly is not below it
    EXPECT_TRUE(sceneFallbackFor(0, 0, 0));
}

TEST(IsnetNormalize, StretchesToTheUnitRangeAndZeroesAFlatMap)
{
    const auto stretched = CoreMLMatte::normalize(std::vector<float>{2.0f, 4.0f, 3.0f});
    EXPECT_FLOAT_EQ(stretched[0], 0.0f);
    EXPECT_FLOAT_EQ(stretched[1], 1.0f);
    EXPECT_FLOAT_EQ(stretched[2], 0.5f);

    // A range of 10⁻⁶ or less is flat: all zeros, which the confidence rule
    // turns into the scene fallback.
    const auto flat = CoreMLMatte::normalize(std::vector<float>{0.5f, 0.5000005f, 0.5f});
    EXPECT_EQ(flat, std::vector<float>(3, 0.0f));
    EXPECT_TRUE(CoreMLMatte::confidence(flat).sceneFallback());
}

TEST(IsnetSmoothstep, ClampsEasesAndTurnsNaNIntoZero)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto eased = CoreMLMatte::smoothstep(std::vector<float>{-1.0f, 0.2f, 0.5f, 0.8f, 2.0f, nan, 0.35f}, 0.2f, 0.8f);
    EXPECT_FLOAT_EQ(eased[0], 0.0f);
    EXPECT_FLOAT_EQ(eased[1], 0.0f);
    EXPECT_FLOAT_EQ(eased[2], 0.5f);
    EXPECT_FLOAT_EQ(eased[3], 1.0f);
    EXPECT_FLOAT_EQ(eased[4], 1.0f);
    EXPECT_FLOAT_EQ(eased[5], 0.0f);
    EXPECT_NEAR(eased[6], 0.15625f, 1e-6f); // t = 0.25: t²(3 − 2t)
}

TEST(IsnetReadOutput, ReadsTheMapOfEveryFloatTypeAndLayout)
{
    constexpr int side = 4;
    std::vector<float> planar(2 * side * side);
    for (size_t i = 0; i < planar.size(); ++i)
        planar[i] = float(i);
    std::vector<float> expected(planar.begin(), planar.begin() + side * side);

    EXPECT_EQ(CoreMLMatte::readOutput({planar.data(), CoreMLMatte::ElementType::float32, {1, 2, side, side}}, side),
              expected);

    std::vector<cv::float16_t> halves;
    for (float v : planar)
        halves.push_back(cv::float16_t(v));
    EXPECT_EQ(CoreMLMatte::readOutput({halves.data(), CoreMLMatte::ElementType::float16, {1, 1, side, side}}, side),
              expected);

    std::vector<double> doubles(planar.begin(), planar.end());
    EXPECT_EQ(CoreMLMatte::readOutput({doubles.data(), CoreMLMatte::ElementType::float64, {side, side}}, side),
              expected);

    // Channels last: the map is channel 0 of every pixel, not the first 16 values.
    std::vector<float> interleaved(side * side * 3);
    for (int i = 0; i < side * side; ++i) {
        interleaved[size_t(3 * i)] = float(i);
        interleaved[size_t(3 * i + 1)] = -1.0f;
        interleaved[size_t(3 * i + 2)] = -2.0f;
    }
    EXPECT_EQ(
        CoreMLMatte::readOutput({interleaved.data(), CoreMLMatte::ElementType::float32, {1, side, side, 3}}, side),
        expected);
}

TEST(IsnetReadOutput, RejectsWhatItCannotRead)
{
    constexpr int side = 4;
    std::vector<std::int32_t> integers(side * side, 1);
    EXPECT_EQ(readFailure({integers.data(), CoreMLMatte::ElementType(6), {1, 1, side, side}}, side),
              CoreMLMatte::FailureKind::badOutput);

    std::vector<float> values(side * side * 2, 0.5f);
    // As many elements as the map, but not laid out as side × side.
    EXPECT_EQ(readFailure({values.data(), CoreMLMatte::ElementType::float32, {1, 1, side * side}}, side),
              CoreMLMatte::FailureKind::badOutput);
    EXPECT_EQ(readFailure({values.data(), CoreMLMatte::ElementType::float32, {1, 2 * side, side / 2}}, side),
              CoreMLMatte::FailureKind::badOutput);
    EXPECT_EQ(readFailure({values.data(), CoreMLMatte::ElementType::float32, {1, 0, side, side}}, side),
              CoreMLMatte::FailureKind::badOutput);
    EXPECT_EQ(readFailure({nullptr, CoreMLMatte::ElementType::float32, {side, side}}, side),
              CoreMLMatte::FailureKind::badOutput);
    EXPECT_STREQ(CoreMLMatte::Failure(CoreMLMatte::FailureKind::badOutput).what(),
                 "The model returned an unexpected result.");
}

TEST(IsnetMakeInput, StretchesOverWhiteIntoCentredPlanes)
{
    // Left half opaque red, right half transparent, 3:1; the square input keeps
    // the halves (the aspect ratio is not kept) and the transparent half is white.
    cv::Mat pixels(10, 30, CV_8UC4, cv::Scalar(0, 0, 0, 0));
    pixels(cv::Rect(0, 0, 15, 10)).setTo(cv::Scalar(255, 0, 0, 255));
    constexpr int side = 8;
    const std::vector<float> input = CoreMLMatte::makeInput(Image(pixels), side);
    ASSERT_EQ(input.size(), size_t(3 * side * side));
    const auto at = [&](int plane, int x, int y) { return input[size_t((plane * side + y) * side + x)]; };
    for (int y = 0; y < side; ++y) {
        EXPECT_NEAR(at(0, 0, y), 0.5f, 1e-6f);
        EXPECT_NEAR(at(1, 0, y), -0.5f, 1e-6f);
        EXPECT_NEAR(at(2, 0, y), -0.5f, 1e-6f);
        for (int plane = 0; plane < 3; ++plane)
            EXPECT_NEAR(at(plane, side - 1, y), 0.5f, 1e-6f);
    }

    EXPECT_THROW(CoreMLMatte::makeInput(Image(), side), CoreMLMatte::Failure);
}

TEST(IsnetRun, RefusesAnInputOfAnotherSize)
{
    // The runtime would read past the end of a shorter input.
    constexpr std::size_t whole = 3 * std::size_t(CoreMLMatte::kSide) * CoreMLMatte::kSide;
    for (const std::size_t floats : {std::size_t(0), std::size_t(3 * 8 * 8), whole - 1, whole + 1})
        EXPECT_THROW(CoreMLMatte::shared().run(std::vector<float>(floats, 0.0f)), CoreMLMatte::Failure) << floats;
}

TEST(IsnetComputeUnits, ReadsTheSettingExactly)
{
    using Units = CoreMLMatte::ComputeUnits;
    EXPECT_EQ(CoreMLMatte::computeUnits(std::nullopt), Units::all);
    EXPECT_EQ(CoreMLMatte::computeUnits(QStringLiteral("cpu")), Units::cpuOnly);
    EXPECT_EQ(CoreMLMatte::computeUnits(QStringLiteral("gpu")), Units::cpuAndGPU);
    EXPECT_EQ(CoreMLMatte::computeUnits(QStringLiteral("GPU")), Units::all);
    EXPECT_EQ(CoreMLMatte::computeUnits(QStringLiteral("all")), Units::all);

    using Providers = std::vector<std::string>;
    EXPECT_EQ(CoreMLMatte::executionProviders(Units::all, false), Providers{"CPUExecutionProvider"});
    EXPECT_EQ(CoreMLMatte::executionProviders(Units::cpuAndGPU, true),
              (Providers{"CUDAExecutionProvider", "CPUExecutionProvider"}));
    EXPECT_EQ(CoreMLMatte::executionProviders(Units::cpuOnly, true), Providers{"CPUExecutionProvider"});
}

// --- with the real network ------------------------------------------------------------

class IsnetMask : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!CoreMLMatte::isAvailable())
            FAIL() << "no ISNetGeneral.onnx: run scripts/setup, and leave ZEPHRIN_MODEL unset";
    }
};

TEST_F(IsnetMask, LoadLogsEachFeatureWithItsElementCode)
{
    LogCapture log;
    CoreMLMatte::shared().loadModel();
    if (log.linesStartingWith("IS-Net loaded from ").isEmpty())
        GTEST_SKIP() << "the model was loaded earlier in this process";

    // The element type is the runtime's integer code: 1 for 32-bit floats.
    const QStringList inputs = log.linesStartingWith("  input input_image: [");
    ASSERT_EQ(inputs.size(), 1);
    EXPECT_TRUE(inputs[0].endsWith(QStringLiteral("] 1"))) << inputs[0].toStdString();
    const QStringList outputs = log.linesStartingWith("  output output_image: [");
    ASSERT_EQ(outputs.size(), 1);
    EXPECT_TRUE(outputs[0].endsWith(QStringLiteral("] 1"))) << outputs[0].toStdString();
}

TEST_F(IsnetMask, CoversADarkObjectOnAnUnevenlyLitTexture)
{
    const support::Scene scene = support::darkObjectOnTexture({1200, 900}, 7);
    LogCapture log;
    const CoreMLMatte::Mask mask = CoreMLMatte::shared().mask(scene.image);

    EXPECT_FALSE(mask.sceneFallback);
    ASSERT_EQ(mask.image.size(), cv::Size(1200, 900));
    EXPECT_EQ(mask.image.origin, cv::Point(0, 0));
    EXPECT_GE(support::intersectionOverUnion(mask.image.pixels, scene.shape), 0.85);

    EXPECT_EQ(log.linesStartingWith("prediction took ").size(), 1);
    const QStringList verdict = log.linesStartingWith("confidence: ");
    ASSERT_EQ(verdict.size(), 1);
    EXPECT_TRUE(verdict[0].endsWith(QStringLiteral("→ subject"))) << verdict[0].toStdString();
    EXPECT_EQ(log.linesStartingWith("output shape [1, 1, 1024, 1024] dtype 1 strides [1048576, 1048576, 1024, 1] "
                                    "count 1048576")
                  .size(),
              1);
    for (const char* label : {"input: n=3145728 ", "raw output: n=1048576 ", "normalized mask: n=1048576 "})
        EXPECT_EQ(log.linesStartingWith(label).size(), 1) << label;
}

TEST_F(IsnetMask, FallsBackToTheSceneOnAFlatImage)
{
    const Image flat(cv::Mat(300, 700, CV_8UC4, cv::Scalar(128, 128, 128, 255)));
    LogCapture log;
    const CoreMLMatte::Mask mask = CoreMLMatte::shared().mask(flat);

    EXPECT_TRUE(mask.sceneFallback);
    ASSERT_EQ(mask.image.size(), cv::Size(700, 300));
    EXPECT_EQ(cv::countNonZero(mask.image.pixels != 255), 0);
    const QStringList verdict = log.linesStartingWith("confidence: ");
    ASSERT_EQ(verdict.size(), 1);
    EXPECT_TRUE(verdict[0].endsWith(QStringLiteral("→ SCENE fallback"))) << verdict[0].toStdString();
    EXPECT_TRUE(log.linesStartingWith("normalized mask").isEmpty());
}

TEST_F(IsnetMask, ComesBackAtTheSizeOfOddImages)
{
    for (const cv::Size size : {cv::Size(1, 1), cv::Size(20000, 50), cv::Size(3000, 1000)}) {
        cv::Mat pixels(size, CV_8UC4, cv::Scalar(240, 240, 240, 255));
        cv::circle(pixels, {size.width / 2, size.height / 2}, std::min(size.width, size.height) / 3,
                   cv::Scalar(20, 30, 160, 255), cv::FILLED);
        const CoreMLMatte::Mask mask = CoreMLMatte::shared().mask(Image(pixels));
        EXPECT_EQ(mask.image.size(), size);
    }
    // Fully transparent reads as white: a flat input, so the whole scene.
    const CoreMLMatte::Mask clear = CoreMLMatte::shared().mask(Image::transparent({64, 48}));
    EXPECT_TRUE(clear.sceneFallback);
    EXPECT_THROW(CoreMLMatte::shared().mask(Image()), CoreMLMatte::Failure);
}

TEST_F(IsnetMask, LetGoDuringMasksLoadsAgainAndGivesTheSameMask)
{
    // Masks on several threads while the network is let go again and again:
    // each mask finishes with the session it began with, the next loads the
    // network anew, and every mask is the same.
    const support::Scene scene = support::darkObjectOnTexture({600, 450}, 3);
    const Matte first = CoreMLMatte::shared().mask(scene.image).image;
    CoreMLMatte::shared().release();
    EXPECT_FALSE(CoreMLMatte::shared().isLoaded());

    std::atomic<bool> done{false};
    std::thread releasing([&] {
        while (!done) {
            CoreMLMatte::shared().release();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    std::vector<std::future<Matte>> masks;
    for (int i = 0; i < 3; ++i)
        masks.push_back(std::async(std::launch::async, [&] { return CoreMLMatte::shared().mask(scene.image).image; }));
    for (auto& mask : masks) {
        const Matte again = mask.get();
        ASSERT_EQ(again.size(), first.size());
        EXPECT_LE(cv::norm(again.pixels, first.pixels, cv::NORM_INF), 1);
    }
    done = true;
    releasing.join();
}

// A session loaded again finds the memory its inferences work in mapped in
// already (some 450 MB): its first inference faults in next to no pages,
// where an unprepared one faults in about 110,000.
TEST_F(IsnetMask, AReloadedSessionFindsItsWorkingMemoryMappedIn)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the working memory's range is off under AddressSanitizer";
#endif
    const std::vector<float> input = CoreMLMatte::makeInput(support::darkObjectOnTexture({600, 450}, 5).image,
                                                            CoreMLMatte::kSide);
    CoreMLMatte::shared().run(input);
    CoreMLMatte::shared().release();
    CoreMLMatte::shared().loadModel();
    const auto faults = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_minflt;
    };
    const long before = faults();
    CoreMLMatte::shared().run(input);
    EXPECT_LT(faults() - before, 10000);
    CoreMLMatte::shared().release(); // as the tests after it expect
}

// The network's optimised copy in the model cache; empty when there is none.
std::filesystem::path optimisedCopy()
{
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(modelCacheFolder(), error))
        if (entry.path().extension() == ".ort" && entry.path().filename().string().starts_with("ISNetGeneral-"))
            return entry.path();
    return {};
}

std::size_t residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return std::size_t(statm.readAll().split(' ').value(1).toULongLong()) * std::size_t(::sysconf(_SC_PAGESIZE));
}

// A note beside the optimised copy that promises more working memory than an
// inference takes: damaged on disk, it is not mapped in at all (it could
// promise up to the whole range); written so by hand, it is mapped in once,
// its surplus goes back as the inference ends (a batch gives nothing back
// until it is done), and it is corrected to what the inference took, so that
// it costs no later process.
TEST_F(IsnetMask, CorrectsANoteThatPromisesMoreThanTheInferenceTook)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the working memory's range is off under AddressSanitizer";
#endif
    const std::vector<float> input = CoreMLMatte::makeInput(support::darkObjectOnTexture({600, 450}, 5).image,
                                                            CoreMLMatte::kSide);
    // Twice, so that the note is a session's read from the optimised copy.
    CoreMLMatte::shared().run(input);
    CoreMLMatte::shared().release();
    CoreMLMatte::shared().run(input);
    const std::size_t took = WorkingMemory::shared().highWater();
    const std::filesystem::path copy = optimisedCopy();
    ASSERT_FALSE(copy.empty()) << "no optimised copy in " << modelCacheFolder();
    const std::optional<WorkingMemoryNote> noted = notedWorkingMemory(copy);
    ASSERT_TRUE(noted.has_value());
    ASSERT_EQ(noted->used, took);
    const std::size_t afterRun = residentBytes();
    constexpr std::size_t kSurplus = std::size_t(1) << 30;
    constexpr std::size_t kSlack = std::size_t(256) << 20;

    // One digit of the note changed: a gigabyte more.
    const QString notePath = QString::fromStdString(copy.string() + ".memory");
    QFile note(notePath);
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    const QByteArray text = note.readAll();
    note.close();
    const QByteArray figure = QByteArray::number(qulonglong(took));
    ASSERT_TRUE(text.contains(figure));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly | QIODevice::Truncate));
    note.write(QByteArray(text).replace(figure, QByteArray::number(qulonglong(took + kSurplus))));
    note.close();
    CoreMLMatte::shared().release();
    const std::size_t released = residentBytes();
    CoreMLMatte::shared().loadModel();
    EXPECT_LT(residentBytes(), released + std::filesystem::file_size(copy) + took + kSlack) << "a damaged note";
    CoreMLMatte::shared().run(input);
    EXPECT_EQ(notedWorkingMemory(copy), noted);

    CoreMLMatte::shared().release();
    noteWorkingMemory(copy, {noted->loaded, took + kSurplus});
    CoreMLMatte::shared().run(input);
    EXPECT_LT(residentBytes(), afterRun + kSlack) << "a note written by hand";
    EXPECT_EQ(notedWorkingMemory(copy), noted);
    CoreMLMatte::shared().release(); // as the tests after it expect
}

TEST(IsnetRefusal, IsLoggedOnceWhenSeveralCallersWaitOnTheLoad)
{
    if (CoreMLMatte::shared().isLoaded())
        GTEST_SKIP() << "a model was loaded earlier in this process";
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("refused.onnx"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("no protocol buffer at all");
    file.close();
    const support::ScopedEnvironment model("ZEPHRIN_MODEL", path.toLocal8Bit().constData());

    LogCapture log;
    std::vector<std::future<bool>> callers;
    for (int i = 0; i < 4; ++i)
        callers.push_back(std::async(std::launch::async, [] { return CoreMLMatte::shared().ensureLoaded(); }));
    for (auto& caller : callers)
        EXPECT_FALSE(caller.get());
    EXPECT_EQ(log.linesStartingWith(QStringLiteral("model refused.onnx could not be loaded")).size(), 1);
}
