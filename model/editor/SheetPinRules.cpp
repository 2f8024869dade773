#include "model/editor/SheetPinRules.h"

#include <algorithm>
#include <cmath>

namespace zephrin::sheetpins {

QPointF clampedCorner(QPointF wanted, QSizeF size, const QRectF& area)
{
    // The far-edge limit first, then the near edge, so the near edge wins
    // when the copy does not fit.
    const double x = std::max(area.left(), std::min(wanted.x(), area.right() - size.width()));
    const double y = std::max(area.top(), std::min(wanted.y(), area.bottom() - size.height()));
    return {x, y};
}

bool acceptableDrop(QPointF wanted, QSizeF size, QSizeF paper)
{
    if (!std::isfinite(wanted.x()) || !std::isfinite(wanted.y()))
        return false;
    return wanted.x() < paper.width() && wanted.y() < paper.height() && wanted.x() + size.width() > 0 &&
           wanted.y() + size.height() > 0;
}

bool overlapping(const QRectF& a, const QRectF& b)
{
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

bool farEnoughApart(const QRectF& a, const QRectF& b, double spacing)
{
    const double need = spacing + kSpacingSlack;
    const bool apartX = b.left() - a.right() >= need || a.left() - b.right() >= need;
    const bool apartY = b.top() - a.bottom() >= need || a.top() - b.bottom() >= need;
    return apartX || apartY;
}

SheetPins shiftedPins(const SheetPins& pins, QPointF offset)
{
    SheetPins shifted = pins;
    for (auto it = shifted.begin(); it != shifted.end(); ++it)
        it.value() += offset;
    return shifted;
}

SheetPins frozenPins(const SheetLayout& layout, const SheetPins& pins, const QString& key, QPointF corner)
{
    SheetPins frozen = pins;
    for (const SheetPlacement& placement : layout.placements) {
        const QString placementKey = placement.pinKey();
        if (!frozen.contains(placementKey))
            frozen.insert(placementKey, placement.rect.topLeft());
    }
    frozen.insert(key, corner);
    return frozen;
}

} // namespace zephrin::sheetpins
