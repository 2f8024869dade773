#include "share/handoff/PictureHeader.h"

#include "picturehead/PictureHeadRules.h"

#include <optional>

namespace zephrin {

namespace {

std::optional<PictureHeadKind> headKindOf(const QString& kind)
{
    if (kind == QLatin1String("png"))
        return PictureHeadKind::png;
    if (kind == QLatin1String("jpg"))
        return PictureHeadKind::jpeg;
    if (kind == QLatin1String("gif"))
        return PictureHeadKind::gif;
    if (kind == QLatin1String("webp"))
        return PictureHeadKind::webp;
    if (kind == QLatin1String("tiff"))
        return PictureHeadKind::tiff;
    if (kind == QLatin1String("bmp"))
        return PictureHeadKind::bmp;
    return std::nullopt;
}

} // namespace

bool holdsReadableHeader(const QString& kind, QByteArrayView head)
{
    // HEIC and AVIF: their brands are what is known of them here.
    const std::optional<PictureHeadKind> rules = headKindOf(kind);
    return !rules || pictureHeadHolds(*rules, head);
}

} // namespace zephrin
