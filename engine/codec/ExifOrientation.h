#pragma once
// The orientation flag of an Exif block (a JPEG's, a PNG's, a WebP's), read
// by the same rules as Qt's JPEG reader, and the picture turned upright by it.

#include "engine/pixel/Image.h"

#include <QByteArrayView>

namespace zephrin {

// Whether a JPEG's APP1 payload is its Exif block: it starts with "Exif\0\0"
// (other APP1 blocks, XMP among them, start with a name of their own).
bool isExifBlock(QByteArrayView app1);

// The orientation tag (0x0112), 1 to 8, of the first Exif IFD chain in `app1`
// (the payload of a JPEG's APP1 segment); 0 when the block does not start with
// "Exif\0\0", has no such tag, or is malformed (IFDs that point backwards or
// past the end, a tag that is not one SHORT in range).
int exifOrientation(QByteArrayView app1);

// The same for an Exif block as PNG's eXIf chunk and WebP's EXIF chunk hold
// it: the TIFF stream alone, or (as some writers store it) after "Exif\0\0".
int bareExifOrientation(QByteArrayView block);

// `image` as it is meant to be seen: 2 mirrors it left to right, 3 turns it
// 180°, 4 flips it top to bottom, 5 flips it and turns it 90° clockwise, 6 turns
// it 90° clockwise, 7 mirrors it and turns it 90° clockwise, 8 turns it 90°
// counter-clockwise; anything else leaves it as it is. A new buffer; origin (0, 0).
Image uprightImage(const Image& image, int orientation);

} // namespace zephrin
