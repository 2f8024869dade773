#include "model/batch/BatchEngines.h"

#include "engine/codec/ImageRead.h"
#include "output/service/CutoutService.h"
#include "output/service/NativePath.h"

namespace zephrin {

namespace {

// A preview never needs more than this for the decoded picture before it is
// scaled down (a 12-megapixel PNG takes 48 MB).
constexpr qint64 kPreviewDecodeBytes = qint64(256) << 20;

QImage preview(QByteArrayView bytes, int maxPixels, bool upright)
{
    const ImageRead read = readImage(bytes, ReadLimits{maxPixels, kPreviewDecodeBytes, upright, true});
    return read.image ? toQImage(*read.image) : QImage();
}

} // namespace

BatchProcessor::Output BatchEngines::process(const QString& path, const BatchProcessor::Settings& settings) const
{
    return BatchProcessor::process(path, settings, engine, vectorizer);
}

QImage BatchEngines::sourcePreview(const QString& path, int maxPixels) const
{
    const QByteArray bytes = CutoutService::imageFileBytes(nativePath(path));
    return bytes.isEmpty() ? QImage() : preview(bytes, maxPixels, true);
}

QImage BatchEngines::resultPreview(const QByteArray& data, int maxPixels) const
{
    return preview(data, maxPixels, false);
}

} // namespace zephrin
