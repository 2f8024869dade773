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
    return QString::fromStdString(resultFileName(inputFilename.toStdString(), format));
}

std::string RemoveBackgroundIntent::resultFileName(const std::string& inputFilename, CutoutService::Format format)
{
    // A dot is the same byte in UTF-8 and in any other encoding a name may use.
    const std::size_t dot = inputFilename.rfind('.');
    const std::string stem = dot != std::string::npos && dot > 0 ? inputFilename.substr(0, dot) : inputFilename;
    return stem + "-cutout." + fileExtension(CutoutService::exportFormat(format));
}

IntentFile RemoveBackgroundIntent::perform() const
{
    return cutout(CutoutService::decodeUpright(image.data));
}

IntentFile RemoveBackgroundIntent::cutout(const Image& upright) const
{
    const CutoutService::Format mapped = mappedFormat(format);
    return IntentFile{CutoutService::cutout(upright, mapped, maxLongEdge), resultFileName(image.filename, mapped)};
}

} // namespace zephrin
