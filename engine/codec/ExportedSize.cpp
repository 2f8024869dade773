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

} // namespace zephrin
