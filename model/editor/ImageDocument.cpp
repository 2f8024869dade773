#include "model/editor/ImageDocument.h"

#include "output/service/CutoutService.h"
#include "output/service/NativePath.h"

namespace zephrin {

OpenFailure::OpenFailure(const QString& name, const QString& reason)
    : m_text((reason.isEmpty() ? QStringLiteral("Couldn't open %1.").arg(name)
                               : QStringLiteral("Couldn't open %1: %2.").arg(name, reason))
                 .toUtf8())
{
}

ImageDocument ImageDocument::open(const QUrl& url, const QString& name)
{
    const QString shown = name.isEmpty() ? url.fileName() : name;
    // By the bytes of the URL's path: a name that is no UTF-8 has no QString.
    const std::filesystem::path path = nativePath(url);
    if (path.empty())
        throw OpenFailure(shown, QStringLiteral("it isn't a file on this computer"));
    Image picture;
    try {
        picture = CutoutService::decodeUprightFile(path);
    } catch (const CutoutService::Failure& failure) {
        throw OpenFailure(shown, failure.reason());
    }
    if (picture.empty())
        throw OpenFailure(shown, {});
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return ImageDocument{QUuid::createUuid(), url, shown, ImageBox(std::move(picture)), error ? 0 : qint64(size)};
}

std::optional<ImageDocument> ImageDocument::load(const QUrl& url, const QString& name)
{
    try {
        return open(url, name);
    } catch (const OpenFailure&) {
        return std::nullopt;
    }
}

} // namespace zephrin
