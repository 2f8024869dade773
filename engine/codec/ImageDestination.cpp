#include "engine/codec/ImageDestination.h"

#include "engine/codec/HeicWriter.h"

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

// PNG has no quality; Qt turns its "quality" into the zlib level as
// (100 − q) × 9 / 91. 80 gives level 1: a 2400 × 1800 cutout encodes in a
// third of the time of the default level 6 for a file about a fifth larger.
constexpr int kPngZlibQuality = 80;

std::optional<QByteArray> writeWithQt(const Image& rendered, ImageFileType type, const ImageFileOptions& options)
{
    QImage view = toQImage(rendered);
    if (view.isNull())
        return std::nullopt;
    // Without alpha the same bytes read as RGBX: the alpha byte is ignored, and
    // PNG gets an RGB file.
    if (!options.keepAlpha || type == ImageFileType::jpeg)
        view.reinterpretAsFormat(QImage::Format_RGBX8888);
    view.setColorSpace(QColorSpace::SRgb);

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, type == ImageFileType::png ? "png" : "jpeg");
    writer.setQuality(type == ImageFileType::png ? kPngZlibQuality : qualityPercent(options.lossyQuality));
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
    case ImageFileType::png:
    case ImageFileType::jpeg: return writeWithQt(rendered, type, options);
    case ImageFileType::heic: return writeHeic(rendered, options);
    }
    return std::nullopt;
}

} // namespace zephrin
