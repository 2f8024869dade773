#include "output/sheet/SheetPlacement.h"

#include "output/sheet/StickerItem.h"

namespace zephrin {

QString pinKey(const QString& itemUuid, std::int64_t instance)
{
    return itemUuid + u'#' + QString::number(instance);
}

QString SheetPlacement::pinKey() const
{
    return zephrin::pinKey(uuidString(itemID), instance);
}

} // namespace zephrin
