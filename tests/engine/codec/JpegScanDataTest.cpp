// A JPEG's scans are judged by the data its decoder reads: an arithmetic scan
// that ends before its picture does (libjpeg fills the rest with zeros and
// says nothing), or whose decoder stops short of its data, and scans that
// refine what is refined already.

#include "engine/codec/JpegFixtures.h"
#include "engine/codec/ReadChecks.h"

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

TEST(JpegReader, RefusesArithmeticScansDamagedInTheirMiddle)
{
    const JpegSpec colour{.width = 600, .height = 400, .arithmetic = true};
    const JpegSpec grey{.width = 600, .height = 400, .components = 1, .arithmetic = true};
    const JpegSpec restarts{.width = 600, .height = 400, .arithmetic = true, .restartRows = 2};
    const JpegSpec square{.width = 600, .height = 400, .lumaH = 1, .lumaV = 1, .arithmetic = true};
    // Each exited 0 with a picture of its top and zeros, or of garbage colours.
    const std::pair<QByteArray, const char*> damaged[] = {
        {withScanCut(writeJpeg(colour), 1.0 / 3), "colour, cut at a third"},
        {withScanCut(writeJpeg(grey), 1.0 / 3), "grey, cut at a third"},
        {withScanCut(writeJpeg(square), 0.6), "4:4:4, cut at 60 %"},
        {withScanCut(writeJpeg(restarts), 1.0 / 3), "restart markers, cut at a third"},
        {withScanBytesRemoved(writeJpeg(colour), 60), "colour, 60 bytes taken out"},
        {withScanBytesRemoved(writeJpeg(grey), 60), "grey, 60 bytes taken out"},
        {withScanBytesRemoved(writeJpeg(square), 60), "4:4:4, 60 bytes taken out"},
    };
    for (const auto& [bytes, what] : damaged)
        for (const ReadLimits& limits : {kPicture, kThumbnail})
            expectRefused(readImage(bytes, limits), ReadFailure::unreadable, what);
}

TEST(JpegReader, ReadsArithmeticScansWhoseDataEndsBeforeAFlatEnd)
{
    // The coder leaves out the zeros a flat end comes to: the decoder meets
    // the end marker long before the last block, and that is no damage.
    const JpegSpec cases[] = {
        {.width = 600, .height = 400, .arithmetic = true, .whiteFrom = 200},
        {.width = 600, .height = 400, .components = 1, .arithmetic = true, .whiteFrom = 37},
        {.width = 600, .height = 400, .arithmetic = true, .restartRows = 2, .whiteFrom = 300},
        {.width = 600, .height = 400, .progressive = true, .arithmetic = true, .whiteFrom = 100},
        {.width = 600, .height = 400, .arithmetic = true, .whiteFrom = 8},
    };
    for (const JpegSpec& spec : cases) {
        SCOPED_TRACE(spec.whiteFrom);
        for (const ReadLimits& limits : {kPicture, kThumbnail}) {
            const ImageRead read = readImage(writeJpeg(spec), limits);
            ASSERT_TRUE(read.image);
            const cv::Mat white = read.image->pixels.rowRange(read.image->pixels.rows - 8, read.image->pixels.rows);
            EXPECT_EQ(cv::countNonZero(white.reshape(1) < 250), 0);
        }
    }
}

TEST(JpegReader, RefusesScansThatRefineWhatIsRefinedAlready)
{
    // Each repeated refinement is a pass over every block; a 560 KB file of
    // 98 of them took 17.6 s. libjpeg warns of them and decodes them.
    for (const bool arithmetic : {false, true})
        for (const int components : {1, 3}) {
            SCOPED_TRACE(::testing::Message() << "arithmetic " << arithmetic << ", components " << components);
            const QByteArray honest = writeJpeg(
                {.width = 256, .height = 192, .components = components, .progressive = true, .arithmetic = arithmetic});
            ASSERT_TRUE(readImage(honest, kPicture).image);
            expectRefused(readImage(withLastScanRepeated(honest, 3), kPicture), ReadFailure::unreadable,
                          "refinement repeated");
        }
}

TEST(JpegReader, RefusesScansThatComeToManyPassesOverALargePicture)
{
    // 64 sound scans, each a pass over every block: cheap on a small picture,
    // seconds on a large one whatever they code.
    const JpegSpec small{.width = 256, .height = 192, .components = 1, .scanPerCoefficient = true};
    const JpegSpec large{
        .width = 6000, .height = 6000, .components = 1, .whiteFrom = 0, .scanPerCoefficient = true};
    EXPECT_TRUE(readImage(writeJpeg(small), kPicture).image);
    const QByteArray many = writeJpeg(large);
    EXPECT_EQ(headerRefusal(many, kPicture), std::nullopt); // its data holds its blocks
    expectRefused(readImage(many, kPicture), ReadFailure::unreadable, "64 passes over 6000 x 6000");
}
