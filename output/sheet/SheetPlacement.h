#pragma once
// One placed copy of a sticker design.

#include <QRectF>
#include <QString>
#include <QUuid>

#include <cstdint>

namespace zephrin {

struct SheetPlacement {
    QUuid itemID;               // the design placed
    QRectF rect;                // the copy's cell in page coordinates (inches, y down):
                                // the image plus border and bleed on every side, spacing not included
    std::int64_t instance = 0;  // the copy's number within its design, from 0

    // Names this copy across layouts, so that a pin follows it: the design's
    // uuidString, "#", the instance in decimal ("…-4C2E#3").
    QString pinKey() const;

    friend bool operator==(const SheetPlacement&, const SheetPlacement&) = default;
};

QString pinKey(const QString& itemUuid, std::int64_t instance);

} // namespace zephrin
