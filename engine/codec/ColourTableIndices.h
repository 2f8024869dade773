#pragma once
// Whether every pixel of an indexed picture names an entry of its palette.
// Qt's BMP reader and libpng take a pixel's index as it is stored, whatever
// number of colours the file gives; one past the palette becomes opaque
// black, a colour the file does not hold.

#include <QImage>

namespace zephrin {

// Whether every pixel of `picture` (Indexed8, Mono or MonoLSB) is an index
// below `colours`; true for a picture that is not indexed. Cost: one pass
// over the rows, none where `colours` covers every index the depth holds.
bool indicesBelow(const QImage& picture, int colours);

inline bool indicesWithinColourTable(const QImage& picture) { return indicesBelow(picture, picture.colorCount()); }

} // namespace zephrin
