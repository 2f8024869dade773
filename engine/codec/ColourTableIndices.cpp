#include "engine/codec/ColourTableIndices.h"

#include <algorithm>

namespace zephrin {

namespace {

// Whether any of the first `width` pixels of a 1-bit row is 1: the bits of
// the last byte past the width are padding.
bool anyBitSet(const uchar* row, int width, bool leastSignificantFirst)
{
    const int whole = width / 8;
    if (std::any_of(row, row + whole, [](uchar byte) { return byte != 0; }))
        return true;
    const int left = width % 8;
    if (left == 0)
        return false;
    const int mask = leastSignificantFirst ? (1 << left) - 1 : (0xFF << (8 - left)) & 0xFF;
    return (row[whole] & mask) != 0;
}

} // namespace

bool indicesBelow(const QImage& picture, int colours)
{
    switch (picture.format()) {
    case QImage::Format_Indexed8:
        if (colours >= 256)
            return true;
        for (int y = 0; y < picture.height(); ++y) {
            const uchar* row = picture.constScanLine(y);
            if (*std::max_element(row, row + picture.width()) >= colours)
                return false;
        }
        return true;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        if (colours >= 2)
            return true;
        if (colours == 0)
            return false;
        for (int y = 0; y < picture.height(); ++y)
            if (anyBitSet(picture.constScanLine(y), picture.width(), picture.format() == QImage::Format_MonoLSB))
                return false;
        return true;
    default: return true;
    }
}

} // namespace zephrin
