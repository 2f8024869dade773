#include "model/editor/ImageDocument.h"

#include "output/service/CutoutService.h"
#include "output/service/NativePath.h"

namespace zephrin {

std::optional<ImageDocument> ImageDocument::load(const QUrl& url, const QString& name)
{
    // By the bytes of the URL's path: a name that is no UTF-8 has no QString.
    const std::filesystem::path path = nativePath(url);
    if (path.empty())
        return std::nullopt;
    std::optional<Image> picture = CutoutService::loadImageFile(path);
    if (!picture || picture->empty())
        return std::nullopt;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return ImageDocument{QUuid::createUuid(), url, name.isEmpty() ? url.fileName() : name,
                         ImageBox(std::move(*picture)), error ? 0 : qint64(size)};
}

} // namespace zephrin
