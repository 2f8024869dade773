#include "support/TiffFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include <tiffio.h>

namespace zephrin::testing {

namespace {

// What `write` makes of a new TIFF file, read back; empty when it fails.
QByteArray writtenTiff(const std::function<bool(TIFF*)>& write)
{
    const QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("written.tif"));
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (tiff == nullptr)
        return {};
    const bool written = write(tiff);
    TIFFClose(tiff);
    QFile file(path);
    return written && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint8 clamped(double value) { return quint8(std::clamp(std::lround(value), 0L, 255L)); }

// The first directory's entry of `tag` in a little-endian classic TIFF, as
// libtiff writes on this machine; -1 without one.
qsizetype entryOf(const QByteArray& tiff, int tag)
{
    const auto number = [&](qsizetype at, int length) {
        quint32 value = 0;
        for (int i = length - 1; i >= 0; --i)
            value = (value << 8) | quint8(tiff[at + i]);
        return value;
    };
    const qsizetype directory = number(4, 4);
    const quint32 entries = number(directory, 2);
    for (quint32 i = 0; i < entries; ++i) {
        const qsizetype entry = directory + 2 + 12 * qsizetype(i);
        if (int(number(entry, 2)) == tag)
            return entry;
    }
    return -1;
}

} // namespace

QByteArray ycbcrTiff(const QImage& source, int across, int down, int missingBytes)
{
    const QImage picture = source.convertToFormat(QImage::Format_RGB32);
    const int width = picture.width();
    const int height = picture.height();
    constexpr int kRowsPerStrip = 16;
    const int blocksAcross = (width + across - 1) / across;
    // One strip's samples: for each block, its luma row by row, then Cb, Cr.
    // Blocks past the picture's edge repeat its last column and row.
    const auto strip = [&](int top) {
        QByteArray samples;
        for (int y0 = top; y0 < std::min(height, top + kRowsPerStrip); y0 += down) {
            for (int b = 0; b < blocksAcross; ++b) {
                double cb = 0, cr = 0;
                for (int dy = 0; dy < down; ++dy)
                    for (int dx = 0; dx < across; ++dx) {
                        const QRgb p =
                            picture.pixel(std::min(width - 1, b * across + dx), std::min(height - 1, y0 + dy));
                        const double r = qRed(p), g = qGreen(p), bl = qBlue(p);
                        samples.append(char(clamped(0.299 * r + 0.587 * g + 0.114 * bl)));
                        cb += -0.168736 * r - 0.331264 * g + 0.5 * bl + 128;
                        cr += 0.5 * r - 0.418688 * g - 0.081312 * bl + 128;
                    }
                samples.append(char(clamped(cb / (across * down)))).append(char(clamped(cr / (across * down))));
            }
        }
        return samples;
    };
    return writtenTiff([&](TIFF* tiff) {
        float referenceBlackWhite[6] = {0, 255, 128, 255, 128, 255};
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, quint32(width));
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, quint32(height));
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 3);
        TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_YCBCR);
        TIFFSetField(tiff, TIFFTAG_YCBCRSUBSAMPLING, across, down);
        TIFFSetField(tiff, TIFFTAG_REFERENCEBLACKWHITE, referenceBlackWhite);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, quint32(kRowsPerStrip));
        for (int top = 0, index = 0; top < height; top += kRowsPerStrip, ++index) {
            QByteArray samples = strip(top);
            if (TIFFVStripSize(tiff, quint32(std::min(kRowsPerStrip, height - top))) != samples.size())
                return false;
            if (top + kRowsPerStrip >= height)
                samples.chop(missingBytes);
            if (TIFFWriteEncodedStrip(tiff, quint32(index), samples.data(), samples.size()) < 0)
                return false;
        }
        return true;
    });
}

QByteArray paletteTiff(const QImage& picture, int bits, int colourMapEntries)
{
    const int colours = 1 << bits;
    std::vector<quint16> red(static_cast<size_t>(colours)), green(red), blue(red);
    for (int i = 0; i < picture.colorCount() && i < colours; ++i) {
        const QRgb c = picture.color(i);
        red[size_t(i)] = quint16(qRed(c) * 257);
        green[size_t(i)] = quint16(qGreen(c) * 257);
        blue[size_t(i)] = quint16(qBlue(c) * 257);
    }
    QByteArray tiff = writtenTiff([&](TIFF* tiff) {
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, quint32(picture.width()));
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, quint32(picture.height()));
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, quint32(picture.height()));
        if (colourMapEntries != 0)
            TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
        QByteArray row((picture.width() * bits + 7) / 8, '\0');
        for (int y = 0; y < picture.height(); ++y) {
            row.fill('\0');
            const uchar* indices = picture.constScanLine(y);
            for (int x = 0; x < picture.width(); ++x) {
                if (bits == 8)
                    row[x] = char(indices[x]);
                else
                    row[x / 2] = char(row[x / 2] | (x % 2 == 0 ? indices[x] << 4 : indices[x]));
            }
            if (TIFFWriteScanline(tiff, row.data(), quint32(y), 0) < 0)
                return false;
        }
        return true;
    });
    if (colourMapEntries > 0 && !tiff.isEmpty()) {
        const qsizetype entry = entryOf(tiff, TIFFTAG_COLORMAP);
        if (entry < 0)
            return {};
        const quint32 count = 3 * quint32(colourMapEntries);
        for (int i = 0; i < 4; ++i)
            tiff[entry + 4 + i] = char((count >> (8 * i)) & 0xFF);
    }
    return tiff;
}

} // namespace zephrin::testing
