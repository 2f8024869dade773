#include "engine/codec/ExportedSize.h"

#include <algorithm>
#include <cmath>

namespace zephrin {

std::optional<double> exportScale(QSize picture, int maxLongEdge)
{
    const int longEdge = std::max(picture.width(), picture.height());
    if (maxLongEdge <= 0 || maxLongEdge >= longEdge)
        return std::nullopt;
    return double(maxLongEdge) / longEdge;
}

QSize exportedSize(QSize picture, int maxLongEdge)
{
    const std::optional<double> scale = exportScale(picture, maxLongEdge);
    if (!scale)
        return picture;
    // lanczosScale rounds both ends of the extent; from the origin that is the side.
    return QSize(int(std::round(picture.width() * *scale)), int(std::round(picture.height() * *scale)));
}

QSizeF exportedPageSize(QSizeF page, int maxLongEdge)
{
    const double longer = std::max(page.width(), page.height());
    if (maxLongEdge <= 0 || !(longer > 0) || !std::isfinite(longer))
        return page;
    const double side = maxLongEdge;
    const auto shorter = [&](double length) { return std::max(1.0, std::round(length / longer * side)); };
    return page.width() >= page.height() ? QSizeF(side, shorter(page.height())) : QSizeF(shorter(page.width()), side);
}

int exportedLongSide(QSize picture, int maxLongEdge, ExportFormat format)
{
    const QSizeF written = format == ExportFormat::svg ? exportedPageSize(QSizeF(picture), maxLongEdge)
                                                       : QSizeF(exportedSize(picture, maxLongEdge));
    return int(std::max(written.width(), written.height()));
}

} // namespace zephrin
