#pragma once
// The first directory of a TIFF file as libtiff reads it, without a pixel
// decoded: the fields the checks before a decode rely on. libtiff takes a size
// or a count stored as any integer type (BYTE, SHORT, LONG, their signed kinds,
// LONG8, ...); asking it, rather than reading the entries by hand, gives the
// numbers the decoder will use, whatever type the file chose.

#include <QByteArrayView>

#include <optional>
#include <vector>

namespace zephrin {

struct TiffLayout {
    struct Piece { // a strip or a tile
        quint64 offset = 0;
        quint64 bytes = 0;
    };

    quint32 width = 0;
    quint32 height = 0;
    int bitsPerSample = 1;
    int samplesPerPixel = 1;
    int compression = 1;     // COMPRESSION_NONE
    int photometric = -1;    // PHOTOMETRIC_*; -1 when the file leaves it out
    // The pixels that share one pair of chroma samples in interleaved YCbCr
    // data (libtiff's default is 2 × 2); 1 × 1 for any other kind.
    int chromaAcross = 1;
    int chromaDown = 1;
    // The file says its pixels are palette indices, but libtiff found no
    // colour map it takes (none, or one of another count than the samples
    // need): it then reads an 8-bit palette picture as grey.
    bool colourMapMissing = false;
    std::vector<Piece> pieces; // the strips, or the tiles of a tiled file
};

// None when libtiff cannot read the first directory. libtiff's messages go to
// the log (LibraryMessages.h). Cost: libtiff's read of one directory, as any
// TIFF read starts with.
std::optional<TiffLayout> tiffLayout(QByteArrayView bytes);

} // namespace zephrin
