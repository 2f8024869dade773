#include "engine/pixel/Image.h"

#include <gtest/gtest.h>

using namespace zephrin;

TEST(ImageView, QImageViewSharesPixelsAndOutlivesTheImage)
{
    QImage view;
    {
        Image image = Image::transparent({3, 2});
        image.pixels.at<cv::Vec4b>(1, 2) = {64, 32, 0, 128};
        view = toQImage(image);
        EXPECT_EQ(view.constBits(), image.pixels.data);
    }
    ASSERT_EQ(view.format(), QImage::Format_RGBA8888_Premultiplied);
    EXPECT_EQ(view.pixelColor(2, 1).alpha(), 128);
}

TEST(ImageView, RoundTripThroughQImageKeepsPremultipliedBytes)
{
    Image image = Image::transparent({2, 2});
    image.pixels.at<cv::Vec4b>(0, 1) = {64, 32, 0, 128};
    const Image back = imageFromQImage(toQImage(image));
    EXPECT_EQ(back.pixels.at<cv::Vec4b>(0, 1), cv::Vec4b(64, 32, 0, 128));
    EXPECT_NE(back.pixels.data, image.pixels.data);
}
