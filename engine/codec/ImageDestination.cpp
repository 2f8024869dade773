#include "engine/codec/ImageDestination.h"

#include "engine/codec/HeicWriter.h"
#include "engine/codec/PngWriter.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

std::optional<QByteArray> writeJpeg(const Image& rendered, double lossyQuality)
{
    // JPEG has no alpha: the same bytes read as RGBX, the alpha byte ignored.
    QImage view = toQImage(rendered);
    view.reinterpretAsFormat(QImage::Format_RGBX8888);
    view.setColorSpace(QColorSpace::SRgb);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(qualityPercent(lossyQuality));
    if (!writer.write(view))
        return std::nullopt;
    return bytes;
}

} // namespace

int qualityPercent(double lossyQuality)
{
    if (std::isnan(lossyQuality))
        return 0;
    return int(std::lround(std::clamp(lossyQuality, 0.0, 1.0) * 100));
}

std::optional<QByteArray> writeImageFile(const Image& rendered, ImageFileType type, const ImageFileOptions& options)
{
    if (rendered.empty() || rendered.pixels.type() != CV_8UC4)
        return std::nullopt;
    switch (type) {
    case ImageFileType::png: return writePng(rendered, options.keepAlpha);
    case ImageFileType::jpeg: return writeJpeg(rendered, options.lossyQuality);
    case ImageFileType::heic: return writeHeic(rendered, options);
    }
    return std::nullopt;
}

} // namespace zephrin
