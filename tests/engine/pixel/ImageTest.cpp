#include "engine/pixel/Image.h"

#include <QPainter>

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

TEST(ImageView, WritingToAViewNeverReachesTheSharedPixels)
{
    const Image image = Image::transparent({4, 4});
    const Image sharer = image;  // a cache or an ImageBox holding the same buffer
    QImage painted = toQImage(image);
    {
        QPainter painter(&painted);
        painter.fillRect(0, 0, 4, 4, Qt::red);
    }
    EXPECT_EQ(painted.pixelColor(1, 1), QColor(Qt::red)) << "the view took the paint";
    QImage poked = toQImage(sharer);
    poked.bits()[3] = 255;
    EXPECT_EQ(cv::countNonZero(sharer.pixels.reshape(1)), 0) << "nor did bits() write through";

    const Matte matte = Matte::filled({2, 2}, 7);
    QImage grey = toQImage(matte);
    grey.fill(200);
    EXPECT_EQ(matte.pixels.at<uchar>(1, 1), 7);
}
