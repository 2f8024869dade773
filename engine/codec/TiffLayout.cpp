#include "engine/codec/TiffLayout.h"

#include "picturehead/Bytes.h"
#include "engine/codec/LibraryMessages.h"

#include <QtNumeric>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include <tiffio.h>

namespace zephrin {

namespace {

// The bytes as libtiff's file: read only, and mapped, so that libtiff reads
// its fields in place.
struct Source {
    QByteArrayView bytes;
    qint64 at = 0;
};

tmsize_t readSource(thandle_t handle, void* into, tmsize_t size)
{
    auto* source = static_cast<Source*>(handle);
    const qint64 count = std::clamp<qint64>(source->bytes.size() - source->at, 0, std::max<tmsize_t>(size, 0));
    if (count > 0)
        std::memcpy(into, source->bytes.data() + source->at, size_t(count));
    source->at += count;
    return tmsize_t(count);
}

tmsize_t refuseWrite(thandle_t, void*, tmsize_t) { return 0; }

// A seek may go past the end (a read there gives nothing), never before the start.
toff_t seekSource(thandle_t handle, toff_t offset, int whence)
{
    auto* source = static_cast<Source*>(handle);
    const qint64 base = whence == SEEK_CUR ? source->at : whence == SEEK_END ? source->bytes.size() : 0;
    // libtiff's offsets are unsigned: a step back arrives as a huge number.
    qint64 target = 0;
    if (qAddOverflow(base, qint64(offset), &target) || target < 0)
        return toff_t(-1);
    source->at = target;
    return toff_t(target);
}

int closeSource(thandle_t) { return 0; }

toff_t sourceSize(thandle_t handle) { return toff_t(static_cast<Source*>(handle)->bytes.size()); }

int mapSource(thandle_t handle, void** base, toff_t* size)
{
    const auto* source = static_cast<Source*>(handle);
    *base = const_cast<char*>(source->bytes.data()); // opened for reading: libtiff never writes through it
    *size = toff_t(source->bytes.size());
    return 1;
}

void unmapSource(thandle_t, void*, toff_t) {}

// A number of `length` bytes (at most 8) in the file's byte order.
std::optional<quint64> fileNumber(const Bytes& file, qsizetype at, int length, bool bigEndian)
{
    quint64 value = 0;
    for (int i = 0; i < length; ++i) {
        const int byte = file.byte(at + (bigEndian ? i : length - 1 - i));
        if (byte < 0)
            return std::nullopt;
        value = (value << 8) | quint64(byte);
    }
    return value;
}

// The Photometric entry of the first directory as the file stores it.
// libtiff takes an 8-bit palette picture without a colour map it accepts for
// grey, and says so only among its messages about fields.
std::optional<quint64> storedPhotometric(QByteArrayView bytes)
{
    const Bytes file(bytes);
    const bool bigEndian = bytes.startsWith("MM");
    const std::optional<quint64> version = fileNumber(file, 2, 2, bigEndian);
    const bool big = version == 43u; // BigTIFF: 64-bit offsets and counts
    const std::optional<quint64> directory = fileNumber(file, big ? 8 : 4, big ? 8 : 4, bigEndian);
    if (!directory || *directory > quint64(file.size()))
        return std::nullopt;
    const qsizetype countSize = big ? 8 : 2;
    const qsizetype entrySize = big ? 20 : 12;
    const qsizetype valueSize = big ? 8 : 4;
    const auto first = qsizetype(*directory) + countSize;
    const quint64 entries = fileNumber(file, qsizetype(*directory), int(countSize), bigEndian).value_or(0);
    for (qsizetype entry = first; file.has(entry, entrySize) && quint64(entry - first) / entrySize < entries;
         entry += entrySize) {
        if (fileNumber(file, entry, 2, bigEndian) != quint64(TIFFTAG_PHOTOMETRIC))
            continue;
        const quint64 type = fileNumber(file, entry + 2, 2, bigEndian).value_or(0);
        const int size = type == TIFF_BYTE || type == TIFF_SBYTE     ? 1
                         : type == TIFF_SHORT || type == TIFF_SSHORT ? 2
                         : type == TIFF_LONG || type == TIFF_SLONG   ? 4
                         : type == TIFF_LONG8 || type == TIFF_SLONG8 ? 8
                                                                     : 0;
        if (size == 0 || size > valueSize)
            return std::nullopt;
        return fileNumber(file, entry + 4 + valueSize, size, bigEndian);
    }
    return std::nullopt;
}

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};

} // namespace

std::optional<TiffLayout> tiffLayout(QByteArrayView bytes)
{
    routeLibraryMessages();
    Source source{bytes};
    const std::unique_ptr<TIFF, TiffCloser> tiff(TIFFClientOpen("", "r", &source, readSource, refuseWrite, seekSource,
                                                                closeSource, sourceSize, mapSource, unmapSource));
    if (!tiff)
        return std::nullopt;
    TiffLayout layout;
    quint16 bits = 1, samples = 1, compression = COMPRESSION_NONE, photometric = 0;
    if (!TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &layout.width)
        || !TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &layout.height))
        return std::nullopt;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_COMPRESSION, &compression);
    if (TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric))
        layout.photometric = photometric;
    layout.bitsPerSample = bits;
    layout.samplesPerPixel = samples;
    layout.compression = compression;
    quint16 planes = PLANARCONFIG_CONTIG;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planes);
    if (photometric == PHOTOMETRIC_YCBCR && planes == PLANARCONFIG_CONTIG) {
        quint16 across = 1, down = 1;
        TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_YCBCRSUBSAMPLING, &across, &down);
        layout.chromaAcross = std::max<int>(across, 1);
        layout.chromaDown = std::max<int>(down, 1);
    }
    quint16 *red = nullptr, *green = nullptr, *blue = nullptr;
    layout.colourMapMissing = storedPhotometric(bytes) == quint64(PHOTOMETRIC_PALETTE)
                              && (layout.photometric != PHOTOMETRIC_PALETTE
                                  || !TIFFGetField(tiff.get(), TIFFTAG_COLORMAP, &red, &green, &blue));

    // Each piece has its offset stored in the file, in a byte at least: more
    // of them than the file has bytes are pieces it does not hold.
    const uint32_t pieces = TIFFIsTiled(tiff.get()) ? TIFFNumberOfTiles(tiff.get()) : TIFFNumberOfStrips(tiff.get());
    if (qint64(pieces) > bytes.size())
        return std::nullopt;
    layout.pieces.reserve(pieces);
    for (uint32_t i = 0; i < pieces; ++i) {
        int failed = 0;
        const uint64_t offset = TIFFGetStrileOffsetWithErr(tiff.get(), i, &failed);
        const uint64_t count = failed ? 0 : TIFFGetStrileByteCountWithErr(tiff.get(), i, &failed);
        if (failed)
            return std::nullopt;
        layout.pieces.push_back({offset, count});
    }
    return layout;
}

} // namespace zephrin

