#pragma once
// Pictures to encode and a decoder for every format the engine writes.

#include "engine/codec/HeifReader.h"
#include "engine/pixel/Image.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>

#include <webp/decode.h>

#include <cmath>

namespace zephrin::testing {

// A cutout as the refinement leaves it: smooth colour gradients inside an
// opaque ellipse with a soft rim, fully transparent corners. Premultiplied.
inline Image sampleCutout(int width, int height)
{
    cv::Mat pixels(height, width, CV_8UC4);
    const double cx = width / 2.0, cy = height / 2.0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double d = std::hypot((x - cx) / (0.4 * width), (y - cy) / (0.4 * height));
            const double alpha = std::clamp((1.1 - d) / 0.2, 0.0, 1.0);
            const double r = 40 + 180.0 * x / width, g = 200 - 150.0 * y / height, b = 90;
            pixels.at<cv::Vec4b>(y, x) = cv::Vec4b(uchar(std::lround(r * alpha)), uchar(std::lround(g * alpha)),
                                                   uchar(std::lround(b * alpha)), uchar(std::lround(255 * alpha)));
        }
    }
    return Image(pixels);
}

inline Image decodedWithQt(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return imageFromQImage(QImageReader(&buffer).read());
}

inline Image decodedWebP(const QByteArray& bytes)
{
    int width = 0, height = 0;
    uint8_t* rgba = WebPDecodeRGBA(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()), &width,
                                   &height);
    if (rgba == nullptr)
        return {};
    const QImage straight(rgba, width, height, 4 * width, QImage::Format_RGBA8888);
    Image image = imageFromQImage(straight);
    WebPFree(rgba);
    return image;
}

inline Image decodedHeif(const QByteArray& bytes)
{
    const auto image = readHeif(bytes, qint64(1) << 30);
    return image ? imageFromQImage(*image) : Image();
}

// Largest and mean absolute channel difference between two premultiplied images
// of one size.
struct Difference {
    int largest = 0;
    double mean = 0;
};

inline Difference difference(const Image& a, const Image& b)
{
    cv::Mat delta;
    cv::absdiff(a.pixels, b.pixels, delta);
    double largest = 0;
    cv::minMaxLoc(delta.reshape(1), nullptr, &largest);
    const cv::Scalar perChannel = cv::mean(delta);
    return {int(largest), (perChannel[0] + perChannel[1] + perChannel[2] + perChannel[3]) / 4};
}

} // namespace zephrin::testing
