#include "engine/pixel/Image.h"

#include "engine/pixel/PixelBuffer.h"
#include "engine/pixel/QImageView.h"

#include <cassert>

namespace zephrin {

Image::Image(cv::Mat rgbaPremultiplied, cv::Point at) : pixels(std::move(rgbaPremultiplied)), origin(at)
{
    assert(pixels.empty() || pixels.type() == CV_8UC4);
}

Image Image::transparent(cv::Size size, cv::Point at)
{
    cv::Mat pixels = newPixelBuffer(size, CV_8UC4);
    pixels.setTo(cv::Scalar::all(0));
    return Image(pixels, at);
}

namespace {

cv::Mat copied(const cv::Mat& pixels)
{
    cv::Mat copy = newPixelBuffer(pixels.size(), pixels.type());
    pixels.copyTo(copy);
    return copy;
}

} // namespace

Image Image::clone() const { return Image(copied(pixels), origin); }

Matte::Matte(cv::Mat grey, cv::Point at) : pixels(std::move(grey)), origin(at)
{
    assert(pixels.empty() || pixels.type() == CV_8UC1);
}

Matte Matte::clone() const { return Matte(copied(pixels), origin); }

Matte Matte::filled(cv::Size size, uchar value, cv::Point at)
{
    cv::Mat pixels = newPixelBuffer(size, CV_8UC1);
    pixels.setTo(cv::Scalar(value));
    return Matte(pixels, at);
}

namespace {

// The QImage holds its own reference to the cv::Mat buffer and drops it when the
// last QImage copy goes away. It is built over read-only data, so anything that
// writes to it (a QPainter, bits()) first makes it a copy of its own: the buffer
// may be shared by other Images, a cache or an ImageBox.
QImage viewOf(const cv::Mat& pixels, QImage::Format format)
{
    if (pixels.empty())
        return {};
    auto* keeper = new cv::Mat(pixels);
    return QImage(static_cast<const uchar*>(keeper->data), keeper->cols, keeper->rows,
                  static_cast<qsizetype>(keeper->step), format, [](void* mat) { delete static_cast<cv::Mat*>(mat); },
                  keeper);
}

} // namespace

QImage toQImage(const Image& image) { return viewOf(image.pixels, QImage::Format_RGBA8888_Premultiplied); }

QImage toQImage(const Matte& matte) { return viewOf(matte.pixels, QImage::Format_Grayscale8); }

Image imageFromQImage(const QImage& source)
{
    if (source.isNull())
        return {};
    return Image(pixelsOf(source.convertToFormat(QImage::Format_RGBA8888_Premultiplied), CV_8UC4).clone());
}

Matte matteFromQImage(const QImage& source)
{
    if (source.isNull())
        return {};
    return Matte(pixelsOf(source.convertToFormat(QImage::Format_Grayscale8), CV_8UC1).clone());
}

} // namespace zephrin
