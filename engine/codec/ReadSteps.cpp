#include "engine/codec/ReadSteps.h"

#include <algorithm>

namespace zephrin {

namespace {

bool needsConversion(const QColorSpace& profile, const ReadLimits& limits)
{
    return limits.convertToSRgb && profile.isValid() && profile != QColorSpace(QColorSpace::SRgb);
}

// Qt scales 8-bit premultiplied pixels as they are, and copies any other
// picture of four bytes a pixel or more whole to make them (with 16-bit grey,
// at eight bytes a pixel): up to twice the memory the decode was allowed, or
// more; and it scaled 16-bit RGBA with its alpha multiplied in twice.
// Narrowed in its own buffer first, a picture to be scaled down costs what it
// was counted at; the scaled picture ends as 8-bit RGBA anyway.
void narrowForScaling(QImage& picture)
{
    switch (picture.format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBX8888:
    case QImage::Format_RGBA8888_Premultiplied: return;
    case QImage::Format_Grayscale16: picture.convertTo(QImage::Format_Grayscale8); return;
    default:
        if (picture.depth() >= 32)
            picture.convertTo(picture.hasAlphaChannel() ? QImage::Format_RGBA8888_Premultiplied
                                                        : QImage::Format_RGBX8888);
    }
}

} // namespace

qint64 pictureBytes(QSize size, QImage::Format format)
{
    const int bits = format == QImage::Format_Invalid ? 32 : QImage::toPixelFormat(format).bitsPerPixel();
    return qint64(size.width()) * size.height() * (std::max(bits, 32) / 8);
}

bool framesCoverCanvas(QSize canvas, QRect covered)
{
    const QRect shown = covered & QRect(QPoint(0, 0), canvas);
    return framesCoverCanvas(canvas, qint64(shown.width()) * shown.height());
}

bool framesCoverCanvas(QSize canvas, qint64 coveredPixels)
{
    constexpr qint64 kFreeCanvasPixels = qint64(1) << 20;
    constexpr qint64 kMaxCanvasPerFramePixel = 16;
    const qint64 canvasPixels = qint64(canvas.width()) * canvas.height();
    return canvasPixels <= kFreeCanvasPixels || coveredPixels * kMaxCanvasPerFramePixel >= canvasPixels;
}

ImageRead finishedPicture(QImage picture, const ReadLimits& limits)
{
    if (const QSize bounded = boundedSize(picture.size(), limits.maxLongEdge); bounded != picture.size()) {
        narrowForScaling(picture);
        picture = picture.scaled(bounded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    if (needsConversion(picture.colorSpace(), limits))
        picture.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    Image image = imageFromQImage(picture);
    if (image.empty())
        return failed(ReadFailure::unreadable);
    return ImageRead{std::move(image), ReadFailure::unreadable};
}

ImageRead finishedImage(Image image, const ReadLimits& limits, const QColorSpace& profile)
{
    if (image.empty())
        return failed(ReadFailure::unreadable);
    const QSize size(image.width(), image.height());
    if (boundedSize(size, limits.maxLongEdge) == size && !needsConversion(profile, limits))
        return ImageRead{std::move(image), ReadFailure::unreadable};
    QImage picture = toQImage(image);
    image = {};
    picture.setColorSpace(profile);
    return finishedPicture(std::move(picture), limits);
}

} // namespace zephrin
