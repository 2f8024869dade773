#include "model/editor/ImageDocument.h"

#include "output/service/CutoutService.h"

#include <QFileInfo>

namespace zephrin {

std::optional<ImageDocument> ImageDocument::load(const QUrl& url, const QString& name)
{
    if (!url.isLocalFile())
        return std::nullopt;
    const QString path = url.toLocalFile();
    std::optional<Image> picture = CutoutService::loadImageFile(path);
    if (!picture || picture->empty())
        return std::nullopt;
    const QFileInfo info(path);
    return ImageDocument{QUuid::createUuid(), url, name.isEmpty() ? url.fileName() : name,
                         ImageBox(std::move(*picture)), info.exists() ? info.size() : 0};
}

} // namespace zephrin
