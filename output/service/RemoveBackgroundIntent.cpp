#include "output/service/RemoveBackgroundIntent.h"

namespace zephrin {

QString RemoveBackgroundIntent::parameterSummary(const QString& image, const QString& format)
{
    return QStringLiteral("Remove background from ") + image + QStringLiteral(" as ") + format;
}

CutoutService::Format RemoveBackgroundIntent::mappedFormat(const QString& text)
{
    const QString upper = text.toUpper();
    if (upper == u"JPEG" || upper == u"JPG")
        return CutoutService::Format::jpeg;
    if (upper == u"HEIC")
        return CutoutService::Format::heic;
    return CutoutService::Format::png;
}

QString RemoveBackgroundIntent::resultFileName(const QString& inputFilename, CutoutService::Format format)
{
    const qsizetype dot = inputFilename.lastIndexOf(u'.');
    const QString stem = dot > 0 ? inputFilename.left(dot) : inputFilename;
    return stem + QStringLiteral("-cutout.") + QString::fromLatin1(fileExtension(CutoutService::exportFormat(format)));
}

IntentFile RemoveBackgroundIntent::perform() const
{
    const CutoutService::Format mapped = mappedFormat(format);
    const Image source = CutoutService::decodeUpright(image.data);
    return IntentFile{CutoutService::cutout(source, mapped, maxLongEdge),
                      resultFileName(image.filename, mapped)};
}

} // namespace zephrin
