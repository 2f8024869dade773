#include "output/sheet/StickerItem.h"

#include <cmath>

namespace zephrin {

double StickerItem::heightInches() const
{
    const double aspect = static_cast<double>(image.image().width()) / image.image().height();
    return widthInches / aspect;
}

bool StickerItem::hasPrintableSize() const
{
    const double height = heightInches();
    return !image.image().empty() && std::isfinite(widthInches) && widthInches > 0 && std::isfinite(height) &&
           height > 0;
}

QString uuidString(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

} // namespace zephrin
