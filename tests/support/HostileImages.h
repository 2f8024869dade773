#pragma once
// Image files that lie about their size, made byte by byte: tiny files whose
// headers claim huge pictures, and real but cheap huge pictures.

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <atomic>
#include <thread>
#include <vector>

namespace zephrin::testing {

// A 35-byte GIF: a logical screen and one frame of width × height (at most
// 65535 each), with three bytes of LZW data.
QByteArray tinyGifClaiming(int width, int height);

// A 24-bit uncompressed BMP of `fileBytes` bytes whose header claims
// width × height pixels.
QByteArray bmpClaiming(int width, int height, int fileBytes);

// A 256-colour run-length coded (RLE8) BMP claiming width × height pixels
// whose data codes none of them: it only jumps down 255 rows at a time, then
// ends. About 1.3 KB at 16000 × 16000.
QByteArray rleBmpClaiming(int width, int height);

// An XPM of one colour claiming width × height pixels, each of its `height`
// rows an empty string: about 64 KB at 16000 × 16000.
QByteArray xpmClaiming(int width, int height);

// An uncompressed 8-bit grey TIFF claiming width × height pixels, with one
// strip of `stripBytes` bytes (that many lie in the file). Its width and
// height are stored as `sizeType`: 1 BYTE, 3 SHORT, 4 LONG, 6 SBYTE, 8 SSHORT,
// 9 SLONG, 16 LONG8 or 17 SLONG8.
QByteArray tiffClaiming(int width, int height, int stripBytes, int sizeType = 4);

// An SVG of 64 × 48 that draws the picture file at `path` over its whole area.
QByteArray svgDrawing(const QString& path);

// A named pipe that nothing should ever open. Opening one for reading waits
// for a writer, forever when there is none: while the object lives, a watcher
// notices any such reader, lets it go with an empty read, and remembers it.
class WatchedFifo {
public:
    explicit WatchedFifo(QString path);
    ~WatchedFifo();
    WatchedFifo(const WatchedFifo&) = delete;
    WatchedFifo& operator=(const WatchedFifo&) = delete;

    QString path() const { return m_path; }
    // Whether anything opened it for reading.
    bool wasOpened() const { return m_opened; }

private:
    QString m_path;
    std::atomic<bool> m_opened{false};
    std::atomic<bool> m_stop{false};
    std::thread m_watcher;
};

// A valid baseline grey JPEG of any size whose every 8 × 8 block is flat grey
// (128): each block is two one-bit Huffman codes, so the file holds about
// width × height / 256 bytes and decodes as fast as libjpeg can walk blocks.
// With `scanBytes` at 0 or above, the scan's data is cut to that many bytes
// while the end-of-image marker stays: a damaged file.
QByteArray flatGreyJpeg(int width, int height, qint64 scanBytes = -1);

// A PNG whose header claims width × height RGBA pixels of `bitDepth` (8 or 16),
// interlaced or not, with one IDAT chunk of about `idatBytes` (a zlib stream
// of stored blocks of zeros that never ends) and an IEND chunk: whole in its
// structure, not in its data.
QByteArray pngClaiming(quint32 width, quint32 height, qint64 idatBytes, int bitDepth = 8, bool interlaced = false);

// The start of such a PNG, cut off two bytes into its IDAT chunk.
QByteArray pngHeaderClaiming(quint32 width, quint32 height);

// A real PNG of width × height transparent black RGBA pixels of `bitDepth`
// (8 or 16), made without Qt's encoder (zlib at its fastest): cheap even when
// large.
QByteArray clearPng(quint32 width, quint32 height, int bitDepth = 8);

// A width × height 256-colour RLE8 BMP whose runs of 255 pixels each (enough
// of them to count as every pixel) overrun its first row: a decoder clips each
// run at the row's end, so only that row is ever written.
QByteArray rleBmpOverrunningRows(int width, int height);

// `bmp` (an uncompressed BMP as Qt writes it, rows bottom first) stored top
// row first, as a negative height says.
QByteArray topDownBmp(const QByteArray& bmp);

// A GIF whose logical screen and frame are width × height and whose LZW data
// ends at once (a clear code, then the end code), padded with sub-blocks to
// `dataBytes` so that it looks large enough for its picture.
QByteArray gifEndingAtOnce(int width, int height, int dataBytes);

// An arithmetic-coded grey JPEG claiming width × height pixels whose scan is
// `scanZeros` zero bytes: libjpeg reads zeros past the end of such data, and
// made a flat grey picture of it, reading only a few KB of even 150 KB.
QByteArray arithmeticJpegClaiming(int width, int height, qint64 scanZeros = 8);

// An animated WebP of a width × height canvas whose one frame is 1 × 1 pixel
// of colour (4, 4, 4) and alpha 4 at the top left: under a hundred bytes.
QByteArray sparseAnimatedWebp(int width, int height);

// A frame of animatedWebp: its ANMF header says `claimed` (offsets even),
// its bitstream is a flat picture of `coded` pixels like that one pixel.
struct WebpFrame {
    QRect claimed;
    QSize coded;
};

// An animated WebP of a width × height canvas with one ANMF chunk for each
// of `frames`, in order.
QByteArray animatedWebp(int width, int height, const std::vector<WebpFrame>& frames);

// `still` (a WebP file of one picture, as WebPEncoder writes it) with an Exif
// block whose orientation tag is `orientation`.
QByteArray webpWithExifOrientation(const QByteArray& still, quint16 orientation);

// `still` (as WebPEncoder writes it) with `icc` as its colour profile.
QByteArray webpWithIccProfile(const QByteArray& still, const QByteArray& icc);

// `png` with a chunk of `type` holding `data` before its first IDAT chunk.
QByteArray pngWithChunk(const QByteArray& png, const char* type, const QByteArray& data);

// `png` with an eXIf chunk whose orientation tag is `orientation`, before its
// first IDAT chunk.
QByteArray pngWithExifOrientation(const QByteArray& png, quint16 orientation);

// `png` with an iCCP chunk holding `icc`.
QByteArray pngWithIccProfile(const QByteArray& png, const QByteArray& icc);

// A TIFF whose one strip is `jpeg` (a baseline JPEG file, grey or, with
// `colour`, YCbCr with chroma halved both ways; kept whole or cut to
// `stripBytes` bytes when 0 or more) under JPEG compression, claiming
// width × height pixels, stored as `sizeType` (see tiffClaiming).
QByteArray jpegTiff(const QByteArray& jpeg, int width, int height, qint64 stripBytes = -1, bool colour = false,
                    int sizeType = 4);

// A grey TIFF claiming width × height pixels whose one Deflate strip stops
// after 300 bytes; its width and height stored as `sizeType`.
QByteArray deflateTiffClaiming(int width, int height, int sizeType = 4);

// One JPEG segment: the marker, its length, `body`.
QByteArray jpegSegment(int marker, const QByteArray& body);

// `jpeg` with `segments` (made by jpegSegment) right after its start-of-image
// marker.
QByteArray jpegWithSegments(const QByteArray& jpeg, const QByteArray& segments);

// The APP2 segment that carries `icc` whole.
QByteArray jpegIccSegment(const QByteArray& icc);

// A HEIC whose primary image is a grid of rows × columns references to the
// one image of `tile` (a HEIC file as HeicWriter makes it, without alpha),
// whose 'ispe' property says `claimed` while the grid itself is as large as
// its tiles make it.
QByteArray heicGrid(const QByteArray& tile, int rows, int columns, QSize claimed);

// A cell of heicGridOfTiles: the coded image of `heic` (as HeicWriter makes
// it, without alpha), its 'ispe' saying `ispe` (when valid) or its own size.
struct GridTile {
    QByteArray heic;
    QSize ispe;
};

// A HEIC whose primary image is a grid of rows × columns cells, row by row
// one tile each, every tile an item of its own; the grid is as large as the
// first tile's 'ispe' times the cells, and its 'ispe' says so. With
// `alphaTiles` (HEICs with alpha), its alpha image is a grid of theirs.
QByteArray heicGridOfTiles(const std::vector<GridTile>& tiles, int rows, int columns,
                           const std::vector<GridTile>& alphaTiles = {});

// A HEIC whose primary image is an overlay: a canvas of `canvas` pixels
// filled black with the coded image of `image` (as HeicWriter makes it,
// without alpha) at `at`.
QByteArray heicOverlay(const QByteArray& image, QSize canvas, QPoint at);

// `heic` (as HeicWriter makes it) whose HEVC sequence parameter set says the
// coded picture is `width` wide; empty where that width takes another number
// of bits than the one it replaces.
QByteArray heicWithSpsWidth(const QByteArray& heic, quint32 width);

// `heic` (as HeicWriter makes it) whose first slice of coded data is cut
// after `keptShare` of its bytes, the rest of it turned into a filler unit:
// the file's sizes hold, and the slice ends before the picture does.
QByteArray heicWithSliceCut(const QByteArray& heic, double keptShare);

// `picture` as an AVIF file of libheif's AV1 encoder, its alpha channel as an
// auxiliary image; empty where libheif has no AV1 encoder.
QByteArray avifFile(const QImage& picture);

// `picture` as a HEIC of libheif's HEVC encoder with 10-bit samples.
QByteArray tenBitHeic(const QImage& picture);

// `heif` (a HEIC or AVIF as libheif writes it, with an alpha channel) whose
// alpha image's 'ispe' property says `size`.
QByteArray heifWithAlphaSize(const QByteArray& heif, QSize size);

// `avif` (as libheif writes it) whose primary image's sequence header OBU has
// the reserved type 9: dav1d says "Unknown OBU type 9 of size …", then "Error
// parsing OBU data".
QByteArray avifWithUnknownObu(const QByteArray& avif);

} // namespace zephrin::testing

namespace zephrin::testing {

// The colour a palette of the two makers below gives entry `index`.
QRgb paletteColour(int index);

// A palette PNG of width × height pixels of `bitDepth` (1, 2, 4 or 8) whose
// PLTE chunk holds `entries` colours (paletteColour) and whose pixels are
// `indices`, row by row (each below 2^bitDepth, not necessarily below
// `entries`).
QByteArray palettePng(int width, int height, int bitDepth, int entries, const std::vector<quint8>& indices);

// An uncompressed BMP of width × height pixels of `bits` (1, 4 or 8) whose
// header counts `colours` palette entries (paletteColour; 0: as many as the
// depth holds) and whose pixels are `indices`, row by row from the top.
QByteArray indexedBmp(int width, int height, int bits, int colours, const std::vector<quint8>& indices);

} // namespace zephrin::testing
