#pragma once
// Whether an image file's data can hold the pixels its header claims, judged
// from the file's structure alone before anything is allocated. A decoder given
// a header of 16000 × 16000 and a few bytes of data would allocate the whole
// picture and fill it with an invented background; such files, and files cut
// off inside their picture data, are refused here.
//
// Each floor is the best the format's coding can do, so no real file falls
// under it:
//   PNG   the IDAT chunks (deflate, at most 1032:1) against the filtered rows;
//         a PNG whose IDAT chunks the file does not hold whole is cut off.
//   BMP   uncompressed rows must all be there; RLE data must code every
//         pixel of every row in runs and literals, each counted only up to
//         its row's end, as a decoder clips it (escapes that skip pixels
//         code none).
//   TIFF  the first directory's strips or tiles (as libtiff reads its sizes
//         and counts, stored as any integer type) must lie in the file, and
//         hold the rows at the best ratio of their compression (JPEG: a bit
//         for each 8 × 8 block of the strips' scans), subsampled YCbCr
//         counted by its chroma samples. A palette picture without a colour
//         map libtiff takes holds no colours.
// The other formats read have checks of their own (JPEG, GIF, WebP) or are
// checked by their library (HEIF); these pass.

#include <QByteArrayView>

namespace zephrin {

bool holdsClaimedPixels(QByteArrayView bytes);

} // namespace zephrin
