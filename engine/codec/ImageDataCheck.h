#pragma once
// Whether an image file's data can hold the pixels its header claims, judged
// from the file's structure alone before anything is allocated. A decoder given
// a header of 16000 × 16000 and a few bytes of data would allocate the whole
// picture and fill it with an invented background; such files, and files cut
// off inside their picture data, are refused here.
//
// Each floor is the best the format's coding can do, so no real file falls
// under it:
//   PNG  the IDAT chunks (deflate, at most 1032:1) against the filtered rows;
//        a PNG whose IDAT chunks the file does not hold whole is cut off.
//   GIF  the first frame's LZW data (12-bit codes of at most 4096 pixels)
//        against the frame's pixels; its data blocks must end in the file.
//   BMP  uncompressed rows must all be there; RLE data must reach the last row.
//   PNM  binary rows must all be there; plain text needs a character a sample.
// Other formats (JPEG has its own check, HEIF is checked by libheif, vector and
// icon formats have small or no pixel data) pass.

#include <QByteArrayView>

namespace zephrin {

bool holdsClaimedPixels(QByteArrayView bytes);

// Whether a PNG stores its rows interlaced (Adam7); false for anything else.
bool isInterlacedPng(QByteArrayView bytes);

} // namespace zephrin
