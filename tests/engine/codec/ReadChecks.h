#pragma once
// What the image reading tests share: the limits of a picture and of a
// thumbnail, pictures to encode with Qt, and checks of a refusal.

#include "engine/codec/ImageRead.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

namespace zephrin::testing {

inline constexpr ReadLimits kPicture{8192, qint64(1) << 30, true, true};
inline constexpr ReadLimits kThumbnail{2048, qint64(32) << 20, false, false};

inline QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, format).write(image);
    return bytes;
}

inline QImage gradient(int width, int height, QImage::Format format = QImage::Format_ARGB32)
{
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 255 / width, y * 255 / height, 90, 255));
    return image;
}

// The gradient with one area painted a colour (transparent or translucent).
inline QImage gradientWith(int width, int height, QRect area, QRgb colour)
{
    QImage image = gradient(width, height);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            image.setPixel(x, y, colour);
    return image;
}

inline cv::Vec4b pixelAt(const Image& image, int x, int y) { return image.pixels.at<cv::Vec4b>(y, x); }

inline void expectRefused(const ImageRead& read, ReadFailure failure, const char* what)
{
    EXPECT_FALSE(read.image) << what;
    EXPECT_EQ(read.failure, failure) << what;
}

// Refused by readImage, and by headerRefusal before anything is decoded.
inline void expectRefusedUnread(const QByteArray& bytes, const ReadLimits& limits, ReadFailure failure,
                                const char* what)
{
    expectRefused(readImage(bytes, limits), failure, what);
    EXPECT_EQ(headerRefusal(bytes, limits), failure) << what;
}

} // namespace zephrin::testing
