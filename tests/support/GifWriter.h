#pragma once
// GIF files written byte by byte with a real LZW coder, for tests of the GIF
// reader: a first frame of colour indices over a logical screen, with the
// options a reader must honour.

#include <QByteArray>
#include <QColor>
#include <QRect>
#include <QSize>

#include <vector>

namespace zephrin::testing {

struct GifSpec {
    QSize screen;
    QRect frame;                  // where the frame goes on the screen
    std::vector<quint8> indices;  // the frame's pixels, row by row from the top
    QByteArray colours;           // 3 bytes an entry; a power of two entries, 2 to 256
    bool localTable = false;      // the colours as the frame's table, not the screen's
    int backgroundIndex = 0;
    int transparentIndex = -1;    // with a graphic control block when 0 or more
    bool interlaced = false;      // the rows stored in the four passes
    double dataKept = 1;          // the share of the LZW bytes written; less: the data
                                  // stops early, the file's structure stays whole
    qint64 codedPixels = -1;      // how many of the frame's pixels its data codes, in
                                  // the order it stores them, before its end code;
                                  // all of them when negative
    int minimumCodeSize = 0;      // the LZW codes' first size less one; from the
                                  // table when 0
};

QByteArray gifFile(const GifSpec& spec);

// A width × height GIF of two colours: `inside` within the centred disc of
// `radius`, white around it. LZW packs its runs, so even 6000 × 6000 is small.
QByteArray discGif(int width, int height, int radius, QRgb inside = qRgb(200, 40, 40));

} // namespace zephrin::testing
