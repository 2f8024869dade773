#pragma once
// TIFF files written by libtiff: YCbCr with its chroma subsampled, and palette
// pictures, honest or with a colour map the samples cannot use.

#include <QByteArray>
#include <QImage>

namespace zephrin::testing {

// `picture` (RGB) as an uncompressed YCbCr TIFF whose chroma is sampled once
// for each block of across × down pixels (full range, BT.601 weights), in
// strips of 16 rows; the chroma of a block is its pixels' mean. With
// `missingBytes`, the last strip is written that many bytes short. Empty if
// libtiff lays the strips out otherwise than packed here.
QByteArray ycbcrTiff(const QImage& picture, int across, int down, int missingBytes = 0);

// `picture` (Indexed8, indices below 2^bits) as an uncompressed palette TIFF
// of `bits` (4 or 8) a sample whose ColorMap holds the picture's colour
// table; with `colourMapEntries` at 0 or above, the ColorMap entry counts
// that many colours instead (its values left as they are), and at 0 the file
// has none.
QByteArray paletteTiff(const QImage& picture, int bits, int colourMapEntries = -1);

} // namespace zephrin::testing
