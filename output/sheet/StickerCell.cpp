#include "output/sheet/StickerCell.h"

namespace zephrin {

QSizeF stickerCell(const StickerItem& item, const SheetSettings& settings)
{
    const double allowance = 2 * (settings.borderInches + settings.bleedInches);
    return {item.widthInches + allowance, item.heightInches() + allowance};
}

bool fitsPrintableArea(QSizeF cell, const QRectF& area)
{
    return cell.width() > 0 && cell.height() > 0 && cell.width() <= area.width() + kLayoutTolerance &&
           cell.height() <= area.height() + kLayoutTolerance;
}

} // namespace zephrin
