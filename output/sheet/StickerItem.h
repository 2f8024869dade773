#pragma once
// One sticker design of a sheet: a cutout image printed at a chosen width, in
// a number of copies.

#include "engine/types/ImageBox.h"
#include "engine/types/SettingRange.h"

#include <QString>
#include <QUuid>

#include <cstdint>

namespace zephrin {

struct StickerItem {
    QUuid id;                   // identity of the design; never changes
    QString name;               // shown in the sheet panel
    ImageBox image;             // the cutout, with transparency
    double widthInches = 2.0;   // printed width of the image, border and bleed not included
    static constexpr SettingRange countRange{1, 200, 1, 1};  // the quantity stepper's
    std::int64_t count = std::int64_t(countRange.defaultValue);  // copies wanted; below 1 means none

    // Printed height: the width over the image's aspect ratio (pixel width over
    // pixel height). Not finite for an empty image.
    double heightInches() const;

    // Whether it can be printed at all: an image with pixels, and a width and
    // height that are positive and finite.
    bool hasPrintableSize() const;

    // Designs that differ only in their image are equal: the image is compared
    // by the tile cache through ImageBox::generation, never here.
    friend bool operator==(const StickerItem& a, const StickerItem& b)
    {
        return a.id == b.id && a.name == b.name && a.widthInches == b.widthInches && a.count == b.count;
    }
};

// The standard upper-case hyphenated form of a UUID, without braces.
QString uuidString(const QUuid& id);

} // namespace zephrin
