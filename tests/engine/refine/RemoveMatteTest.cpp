#include "engine/matte/MatteEngine.h"

#include "support/LogCapture.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {

Image opaqueGrey(int width, int height, uchar value)
{
    return Image(cv::Mat(height, width, CV_8UC4, cv::Scalar(value, value, value, 255)));
}

// One row of matte values, repeated over `height` rows.
Matte columns(std::initializer_list<uchar> values, int height = 3)
{
    cv::Mat row(1, int(values.size()), CV_8UC1);
    int x = 0;
    for (uchar v : values)
        row.at<uchar>(0, x++) = v;
    return Matte(cv::repeat(row, height, 1));
}

uchar red(const Image& image, int x, int y = 1) { return image.pixels.at<cv::Vec4b>(y, x)[0]; }

} // namespace

TEST(RemoveMatte, UnblendsOnlyMatteValuesFrom12To254)
{
    // Columns 0 and 1 are background (below 12); 2 and 3 lie within 2 px of them.
    const Matte matte = columns({0, 11, 12, 254, 255});
    const auto result = MatteEngine().removeMatte(opaqueGrey(5, 3, 100), matte, RGBAColor{1, 1, 1, 1});
    ASSERT_TRUE(result);
    EXPECT_EQ(red(*result, 0), 100);
    EXPECT_EQ(red(*result, 1), 100);
    EXPECT_EQ(red(*result, 2), 0);  // α floored at 0.25: 1 + (100/255 − 1) × 4 < 0
    EXPECT_EQ(red(*result, 3), 99); // 1 + (100/255 − 1) / (254/255)
    EXPECT_EQ(red(*result, 4), 100);
    EXPECT_EQ(result->pixels.at<cv::Vec4b>(1, 3)[3], 255);
}

TEST(RemoveMatte, LeavesPixelsFartherThanTwoFromTheBackground)
{
    const Matte matte = columns({0, 200, 200, 200, 200});
    const auto result = MatteEngine().removeMatte(opaqueGrey(5, 3, 100), matte, RGBAColor{1, 1, 1, 1});
    ASSERT_TRUE(result);
    EXPECT_NE(red(*result, 2), 100);
    EXPECT_EQ(red(*result, 3), 100);
    EXPECT_EQ(red(*result, 4), 100);
}

TEST(RemoveMatte, FloorsCoverageAtOneQuarter)
{
    // Over a black page: c' = c / α.
    const auto result = MatteEngine().removeMatte(opaqueGrey(3, 3, 40), columns({0, 63, 64}), RGBAColor{0, 0, 0, 1});
    ASSERT_TRUE(result);
    EXPECT_EQ(red(*result, 1), 160); // α = 0.25
    EXPECT_EQ(red(*result, 2), 159); // α = 64 / 255
}

TEST(RemoveMatte, LogsHowManyPixelsItChanged)
{
    zephrin::testing::LogCapture log;
    ASSERT_TRUE(MatteEngine().removeMatte(opaqueGrey(5, 3, 100), columns({0, 11, 12, 254, 255}), RGBAColor{}));
    EXPECT_EQ(log.linesStartingWith("remove-matte:"),
              QStringList{"remove-matte: 6 edge pixels un-blended from page color"});

    zephrin::testing::LogCapture none;
    ASSERT_TRUE(MatteEngine().removeMatte(opaqueGrey(2, 2, 100), Matte::filled({2, 2}, 255), RGBAColor{}));
    EXPECT_EQ(none.linesStartingWith("remove-matte:"),
              QStringList{"remove-matte: 0 edge pixels un-blended from page color"});
}

TEST(RemoveMatte, RefusesEmptyAndOversizedImagesSilently)
{
    zephrin::testing::LogCapture log;
    const MatteEngine engine;
    EXPECT_FALSE(engine.removeMatte(Image(), Matte(), RGBAColor{}));
    // 6000 × 7000 = 42,000,000 pixels; the buffers are never touched.
    const Image huge(cv::Mat(7000, 6000, CV_8UC4));
    const Matte hugeMatte(cv::Mat(7000, 6000, CV_8UC1));
    EXPECT_FALSE(engine.removeMatte(huge, hugeMatte, RGBAColor{}));
    EXPECT_TRUE(log.linesStartingWith("remove-matte:").isEmpty());
}
