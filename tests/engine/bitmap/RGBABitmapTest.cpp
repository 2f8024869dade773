#include "engine/bitmap/RGBABitmap.h"

#include <gtest/gtest.h>

using namespace zephrin;

namespace {
Image opaque(int w, int h, cv::Vec4b colour = {10, 20, 30, 255})
{
    return Image(cv::Mat(h, w, CV_8UC4, cv::Scalar(colour[0], colour[1], colour[2], colour[3])));
}
} // namespace

TEST(MakeBitmap, ScalesDownToTheLongEdgeAndNeverUp)
{
    auto big = makeBitmap(opaque(4000, 3000), 1000);
    ASSERT_TRUE(big);
    EXPECT_EQ(big->width, 1000);
    EXPECT_EQ(big->height, 750);

    auto small = makeBitmap(opaque(10, 10), 1000);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->width, 10);
    EXPECT_EQ(small->height, 10);

    auto thin = makeBitmap(opaque(3, 1000), 100);
    ASSERT_TRUE(thin);
    EXPECT_EQ(thin->width, 1);
    EXPECT_EQ(thin->height, 100);
}

TEST(MakeBitmap, KeepsPremultipliedBytesInRGBAOrder)
{
    auto bitmap = makeBitmap(opaque(4, 3, {64, 32, 0, 128}), 100);
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap->bytes.size(), 4u * 3 * 4);
    const auto* p = bitmap->pixel(3, 2);
    EXPECT_EQ(p[0], 64);
    EXPECT_EQ(p[1], 32);
    EXPECT_EQ(p[2], 0);
    EXPECT_EQ(p[3], 128);
}

TEST(MakeBitmap, RefusesAnEmptyImage)
{
    EXPECT_FALSE(makeBitmap(Image(), 100));
}
