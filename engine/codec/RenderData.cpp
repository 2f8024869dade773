#include "engine/matte/MatteEngine.h"

#include "engine/codec/ExportedSize.h"
#include "engine/codec/ImageDestination.h"
#include "engine/codec/PngWriter.h"
#include "engine/codec/WebPEncoder.h"
#include "engine/pixel/LanczosScale.h"
#include "engine/pixel/SolidImage.h"
#include "engine/pixel/SourceOver.h"
#include "engine/types/LowLevelFailure.h"
#include "engine/types/MatteError.h"

#include <algorithm>

namespace zephrin {

namespace {

// Scaled so that its longer side is `maxLongEdge`, when that is above 0 and
// below the current long edge; otherwise unchanged (exportedSize).
Image downscaled(const Image& image, int maxLongEdge)
{
    const std::optional<double> scale = exportScale(QSize(image.width(), image.height()), maxLongEdge);
    return scale ? lanczosScale(image, *scale, 1) : image;
}

Image flattenedOnWhite(const Image& image)
{
    return sourceOver(image, solidImage(RGBAColor{1, 1, 1, 1}, image.extent()));
}

ImageFileType fileType(ExportFormat format)
{
    switch (format) {
    case ExportFormat::jpg: return ImageFileType::jpeg;
    case ExportFormat::heic: return ImageFileType::heic;
    default: return ImageFileType::png;
    }
}

} // namespace

QByteArray MatteEngine::renderData(const Image& image, ExportFormat format, int maxLongEdge, bool transparent,
                                   double quality) const
{
    if (format == ExportFormat::svg)
        throw MatteError(MatteErrorKind::unsupportedFormat);

    return failingAs(MatteError(MatteErrorKind::renderFailed), "renderData", [&] {
        // An exported picture is its pixels alone: whatever origin the image
        // carries, the encoded extent starts at (0, 0).
        Image picture = downscaled(Image(image.pixels), maxLongEdge);
        const bool keepAlpha = transparent && format != ExportFormat::jpg;
        if (!keepAlpha)
            picture = flattenedOnWhite(picture);

        const Image rendered(m_context.render(picture, picture.extent()));
        if (rendered.empty())
            throw MatteError(MatteErrorKind::renderFailed);

        const double q = kExportQualityRange.clamped(quality);
        if (format == ExportFormat::webp)
            return WebPEncoder::encode(rendered, q);

        const std::optional<QByteArray> bytes =
            writeImageFile(rendered, fileType(format), ImageFileOptions{q / 100, keepAlpha});
        if (!bytes)
            throw MatteError(MatteErrorKind::renderFailed);
        return *bytes;
    });
}

std::optional<QByteArray> MatteEngine::encodeImage(const Image& image, const std::atomic<bool>* stop) const
{
    return writePng(Image(image.pixels), true, 0, stop);
}

} // namespace zephrin
