#pragma once
// Views between a cv::Mat and a QImage over the same pixels, without a copy.
// The caller chooses a QImage format and cv::Mat type of the same byte layout,
// and the view must not outlive the pixels it shows.

#include <QImage>
#include <opencv2/core.hpp>

namespace zephrin {

// A QImage to paint on whose painting lands in `pixels`.
inline QImage paintableView(cv::Mat& pixels, QImage::Format format)
{
    return QImage(pixels.data, pixels.cols, pixels.rows, static_cast<qsizetype>(pixels.step), format);
}

// The pixels of `image` as a cv::Mat of `type` (read only).
inline cv::Mat pixelsOf(const QImage& image, int type)
{
    return cv::Mat(image.height(), image.width(), type, const_cast<uchar*>(image.constBits()),
                   static_cast<size_t>(image.bytesPerLine()));
}

// The same, writable (detaches the QImage first if it shares its pixels).
inline cv::Mat pixelsOf(QImage& image, int type)
{
    return cv::Mat(image.height(), image.width(), type, image.bits(), static_cast<size_t>(image.bytesPerLine()));
}

} // namespace zephrin
