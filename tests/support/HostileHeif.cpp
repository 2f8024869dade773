// HEIF files changed box by box: a HEIC grid assembled around the coded image
// of another HEIC, a damaged parameter set, alpha image or AV1 data; and AVIF
// files from libheif's AV1 encoder to change.

#include "support/HostileImages.h"

#include <QImage>
#include <QSize>

#include <libheif/heif.h>

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace zephrin::testing {

namespace {

quint32 big32(const QByteArray& bytes, qsizetype at)
{
    quint32 value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | quint8(bytes[at + i]);
    return value;
}

void appendBig16(QByteArray& bytes, quint32 value) { bytes.append(char((value >> 8) & 0xFF)).append(char(value & 0xFF)); }

void appendBig32(QByteArray& bytes, quint32 value)
{
    appendBig16(bytes, value >> 16);
    appendBig16(bytes, value & 0xFFFF);
}

QByteArray box(const char* type, const QByteArray& body)
{
    QByteArray result;
    appendBig32(result, quint32(8 + body.size()));
    return result.append(type, 4).append(body);
}

QByteArray fullBox(const char* type, int version, quint32 flags, const QByteArray& body)
{
    QByteArray header;
    appendBig32(header, (quint32(version) << 24) | flags);
    return box(type, header + body);
}

// The child box of `type` among the boxes of bytes[from, to): its whole bytes.
std::optional<std::pair<qsizetype, qsizetype>> child(const QByteArray& bytes, qsizetype from, qsizetype to,
                                                     const char* type)
{
    for (qsizetype at = from; at + 8 <= to;) {
        const qsizetype size = big32(bytes, at);
        if (size < 8 || at + size > to)
            return std::nullopt;
        if (bytes.mid(at + 4, 4) == type)
            return std::pair{at, size};
        at += size;
    }
    return std::nullopt;
}

struct CodedImage {
    QByteArray hvcC; // the whole property box
    QByteArray data; // the HEVC data of the primary item
    QSize size;
};

// The primary image of a HEIC as libheif writes it: item 1, one extent in the
// file (iloc version 0 or 1, construction method 0).
CodedImage codedImage(const QByteArray& heic)
{
    CodedImage image;
    const auto meta = child(heic, 0, heic.size(), "meta");
    if (!meta)
        return image;
    const qsizetype metaStart = meta->first + 12; // past its version and flags
    const qsizetype metaEnd = meta->first + meta->second;
    const auto iprp = child(heic, metaStart, metaEnd, "iprp");
    const auto ipco = iprp ? child(heic, iprp->first + 8, iprp->first + iprp->second, "ipco") : std::nullopt;
    if (!ipco)
        return image;
    if (const auto hvcC = child(heic, ipco->first + 8, ipco->first + ipco->second, "hvcC"))
        image.hvcC = heic.mid(hvcC->first, hvcC->second);
    if (const auto ispe = child(heic, ipco->first + 8, ipco->first + ipco->second, "ispe"))
        image.size = QSize(int(big32(heic, ispe->first + 12)), int(big32(heic, ispe->first + 16)));

    const auto iloc = child(heic, metaStart, metaEnd, "iloc");
    if (!iloc)
        return image;
    qsizetype at = iloc->first + 8;
    const int version = quint8(heic[at]);
    at += 4;
    const int offsetSize = quint8(heic[at]) >> 4;
    const int lengthSize = quint8(heic[at]) & 15;
    const int baseOffsetSize = quint8(heic[at + 1]) >> 4;
    const int indexSize = version >= 1 ? quint8(heic[at + 1]) & 15 : 0;
    at += 2;
    const auto number = [&](int size) {
        quint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | quint8(heic[at++]);
        return value;
    };
    const quint64 items = number(version < 2 ? 2 : 4);
    for (quint64 item = 0; item < items; ++item) {
        const quint64 id = number(version < 2 ? 2 : 4);
        if (version >= 1)
            number(2); // construction method
        number(2);     // data reference
        const quint64 base = number(baseOffsetSize);
        const quint64 extents = number(2);
        for (quint64 extent = 0; extent < extents; ++extent) {
            number(indexSize);
            const quint64 offset = number(offsetSize);
            const quint64 length = number(lengthSize);
            if (id == 1)
                image.data += heic.mid(qsizetype(base + offset), qsizetype(length));
        }
    }
    return image;
}

// Reads and writes the bits of a NAL unit in place, past its
// emulation-prevention bytes (00 00 03: the 03 is not data).
class Bits {
public:
    Bits(QByteArray& bytes, qsizetype start, qsizetype length) : m_bytes(bytes)
    {
        int zeros = 0;
        for (qsizetype i = start; i < start + length; ++i) {
            const auto byte = quint8(bytes[i]);
            if (byte == 3 && zeros >= 2) {
                zeros = 0;
                continue;
            }
            zeros = byte == 0 ? zeros + 1 : 0;
            m_positions.push_back(i);
        }
    }
    qint64 at() const { return m_at; }
    quint32 read(int count)
    {
        quint32 value = 0;
        for (int i = 0; i < count; ++i, ++m_at)
            value = (value << 1) | ((quint8(byte(m_at)) >> (7 - m_at % 8)) & 1);
        return value;
    }
    quint32 code()
    {
        int zeros = 0;
        while (read(1) == 0)
            ++zeros;
        return (quint32(1) << zeros) - 1 + read(zeros);
    }
    void write(qint64 at, quint32 value, int count)
    {
        for (int i = count - 1; i >= 0; --i, ++at) {
            const quint8 mask = quint8(0x80 >> (at % 8));
            char& target = byte(at);
            target = char((value >> i) & 1 ? quint8(target) | mask : quint8(target) & ~mask);
        }
    }

private:
    char& byte(qint64 bit) { return m_bytes[m_positions[size_t(bit / 8)]]; }

    QByteArray& m_bytes;
    std::vector<qsizetype> m_positions;
    qint64 m_at = 0;
};

} // namespace

QByteArray heicWithSpsWidth(const QByteArray& heic, quint32 width)
{
    QByteArray bytes = heic;
    const CodedImage coded = codedImage(heic);
    const qsizetype hvcC = bytes.indexOf(coded.hvcC);
    if (coded.hvcC.isEmpty() || hvcC < 0)
        return {};
    // The hvcC's arrays after its 22-byte header: type, count, then each
    // unit's 16-bit length and bytes.
    qsizetype at = hvcC + 8 + 22;
    const int arrays = quint8(bytes[at++]);
    for (int a = 0; a < arrays; ++a) {
        const int type = quint8(bytes[at]) & 0x3F;
        const int count = int(quint8(bytes[at + 1]) << 8 | quint8(bytes[at + 2]));
        at += 3;
        for (int n = 0; n < count; ++n) {
            const int length = int(quint8(bytes[at]) << 8 | quint8(bytes[at + 1]));
            at += 2;
            if (type == 33) {
                Bits bits(bytes, at, length);
                bits.read(16 + 4);
                const int subLayers = int(bits.read(3)) + 1;
                bits.read(1 + 88 + 8);
                if (subLayers > 1)
                    return {};
                bits.code();
                if (bits.code() == 3)
                    bits.read(1);
                const qint64 widthAt = bits.at();
                const quint32 old = bits.code();
                const int oldBits = int(bits.at() - widthAt);
                if (old == width || (2 * int(std::log2(width + 1)) + 1) != oldBits)
                    return {};
                bits.write(widthAt, width + 1, oldBits);
                return bytes;
            }
            at += length;
        }
    }
    return {};
}

QByteArray heicWithSliceCut(const QByteArray& heic, double keptShare)
{
    QByteArray bytes = heic;
    const QByteArray data = codedImage(heic).data;
    const qsizetype start = data.isEmpty() ? -1 : bytes.indexOf(data);
    // The first NAL unit: its size in four bytes, its two-byte header.
    const qsizetype length = start < 0 ? 0 : qsizetype(big32(bytes, start));
    const auto kept = qsizetype(double(length) * keptShare);
    const qsizetype fillerLength = length - kept - 4;
    if (start < 0 || kept < 2 || fillerLength < 3)
        return {};
    QByteArray cut;
    appendBig32(cut, quint32(kept));
    cut += bytes.mid(start + 4, kept);
    appendBig32(cut, quint32(fillerLength));
    // NAL unit type 38, filler data: bytes 0xFF, then the stop bit.
    cut += QByteArray("\x4C\x01", 2) + QByteArray(fillerLength - 3, '\xFF') + QByteArray("\x80", 1);
    return bytes.replace(start, 4 + length, cut);
}

namespace {

// The data of a grid item: rows × columns cells, `size` pixels in all.
QByteArray gridData(int rows, int columns, QSize size)
{
    QByteArray data;
    data.append('\0').append('\1'); // version 0; 32-bit sizes
    data.append(char(rows - 1)).append(char(columns - 1));
    appendBig32(data, quint32(size.width()));
    appendBig32(data, quint32(size.height()));
    return data;
}

// A HEIC whose primary image (item 1) is derived, of `type` ('grid' or
// 'iovl') with `derivedData`, its 'ispe' saying `claimed`; the images it is
// made of are items 2 on, each with its own hvcC and an 'ispe' saying
// `tileSizes[i]`, and its n-th reference is to image `cells[n]`.
QByteArray derivedFile(const char* type, const QByteArray& derivedData, const std::vector<CodedImage>& tiles,
                       const std::vector<QSize>& tileSizes, const std::vector<int>& cells, QSize claimed)
{
    QByteArray ftyp("heic");
    appendBig32(ftyp, 0);
    ftyp.append("mif1heic");
    const QByteArray fileType = box("ftyp", ftyp);

    QByteArray hdlr;
    appendBig32(hdlr, 0);
    hdlr.append("pict");
    hdlr.append(QByteArray(13, '\0')); // reserved, and an empty name

    QByteArray pitm;
    appendBig16(pitm, 1);

    const auto tileCount = quint32(tiles.size());
    QByteArray iinf;
    appendBig16(iinf, 1 + tileCount);
    QByteArray gridEntry; // the derived image
    appendBig16(gridEntry, 1);
    appendBig16(gridEntry, 0);
    gridEntry.append(type, 4).append('\0');
    iinf += fullBox("infe", 2, 0, gridEntry);
    for (quint32 t = 0; t < tileCount; ++t) {
        QByteArray tileEntry;
        appendBig16(tileEntry, 2 + t);
        appendBig16(tileEntry, 0);
        tileEntry.append("hvc1").append('\0');
        iinf += fullBox("infe", 2, 1, tileEntry); // the tile is hidden
    }

    QByteArray dimg;
    appendBig16(dimg, 1);
    appendBig16(dimg, quint32(cells.size()));
    for (const int cell : cells)
        appendBig16(dimg, 2 + quint32(cell));
    const QByteArray iref = fullBox("iref", 0, 0, box("dimg", dimg));

    const auto ispe = [](QSize size) {
        QByteArray body;
        appendBig32(body, quint32(size.width()));
        appendBig32(body, quint32(size.height()));
        return fullBox("ispe", 0, 0, body);
    };
    // Properties: the grid's ispe (1), then each tile's hvcC and ispe.
    QByteArray properties = ispe(claimed);
    for (quint32 t = 0; t < tileCount; ++t)
        properties += tiles[t].hvcC + ispe(tileSizes[t]);
    QByteArray ipma;
    appendBig32(ipma, 1 + tileCount);
    appendBig16(ipma, 1);
    ipma.append('\1').append(char(1)); // the grid: its ispe
    for (quint32 t = 0; t < tileCount; ++t) {
        appendBig16(ipma, 2 + t);
        ipma.append('\2').append(char(0x80 | (2 + 2 * t))).append(char(3 + 2 * t)); // hvcC (essential), ispe
    }
    const QByteArray iprp = box("iprp", box("ipco", properties) + fullBox("ipma", 0, 0, ipma));

    // The item locations point into the mdat, which follows the meta box:
    // their offsets are known once the meta box's size is.
    const auto metaBox = [&](quint32 dataStart) {
        QByteArray iloc;
        iloc.append(char(0x44)).append('\0'); // 4-byte offsets and lengths, no base offset
        appendBig16(iloc, 1 + tileCount);
        const auto item = [&](quint32 id, quint32 offset, quint32 length) {
            appendBig16(iloc, id);
            appendBig16(iloc, 0); // this file
            appendBig16(iloc, 1);
            appendBig32(iloc, offset);
            appendBig32(iloc, length);
        };
        quint32 at = dataStart;
        item(1, at, quint32(derivedData.size()));
        at += quint32(derivedData.size());
        for (quint32 t = 0; t < tileCount; ++t) {
            item(2 + t, at, quint32(tiles[t].data.size()));
            at += quint32(tiles[t].data.size());
        }
        return fullBox("meta", 0, 0,
                       fullBox("hdlr", 0, 0, hdlr) + fullBox("pitm", 0, 0, pitm) + fullBox("iloc", 0, 0, iloc)
                           + fullBox("iinf", 0, 0, iinf) + iref + iprp);
    };
    QByteArray data = derivedData;
    for (const CodedImage& tile : tiles)
        data += tile.data;
    const qsizetype metaSize = metaBox(0).size();
    const quint32 dataStart = quint32(fileType.size() + metaSize + 8);
    return fileType + metaBox(dataStart) + box("mdat", data);
}

} // namespace

QByteArray heicGrid(const QByteArray& tile, int rows, int columns, QSize claimed)
{
    const CodedImage coded = codedImage(tile);
    if (coded.hvcC.isEmpty() || coded.data.isEmpty())
        return {};
    const QSize grid(coded.size.width() * columns, coded.size.height() * rows);
    return derivedFile("grid", gridData(rows, columns, grid), {coded}, {coded.size},
                       std::vector<int>(size_t(rows) * size_t(columns), 0), claimed);
}

QByteArray heicGridOfTiles(const std::vector<GridTile>& tiles, int rows, int columns)
{
    std::vector<CodedImage> coded;
    std::vector<QSize> sizes;
    std::vector<int> cells;
    for (const GridTile& tile : tiles) {
        coded.push_back(codedImage(tile.heic));
        if (coded.back().hvcC.isEmpty() || coded.back().data.isEmpty())
            return {};
        sizes.push_back(tile.ispe.isValid() ? tile.ispe : coded.back().size);
        cells.push_back(int(cells.size()));
    }
    if (tiles.size() != size_t(rows) * size_t(columns))
        return {};
    const QSize grid(sizes.front().width() * columns, sizes.front().height() * rows);
    return derivedFile("grid", gridData(rows, columns, grid), coded, sizes, cells, grid);
}

QByteArray heicOverlay(const QByteArray& image, QSize canvas, QPoint at)
{
    const CodedImage coded = codedImage(image);
    if (coded.hvcC.isEmpty() || coded.data.isEmpty())
        return {};
    QByteArray data;
    data.append('\0').append('\1'); // version 0; 32-bit fields
    data.append(QByteArray(8, '\0')); // filled black, with alpha 0
    appendBig32(data, quint32(canvas.width()));
    appendBig32(data, quint32(canvas.height()));
    appendBig32(data, quint32(at.x()));
    appendBig32(data, quint32(at.y()));
    return derivedFile("iovl", data, {coded}, {coded.size}, {0}, canvas);
}

namespace {

heif_error writeInto(heif_context*, const void* data, size_t size, void* bytes)
{
    static_cast<QByteArray*>(bytes)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
}

// `picture` coded by libheif's encoder of `format`, its samples of `bitDepth`
// bits (8, or 10 from the picture's 16-bit samples).
QByteArray heifFile(const QImage& picture, heif_compression_format format, int bitDepth)
{
    const bool wide = bitDepth > 8;
    const QImage rgba = picture.convertToFormat(wide ? QImage::Format_RGBA64 : QImage::Format_RGBA8888);
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_image* image = nullptr;
    QByteArray bytes;
    if (heif_context_get_encoder_for_format(context, format, &encoder).code == heif_error_Ok
        && heif_image_create(rgba.width(), rgba.height(), heif_colorspace_RGB,
                             wide ? heif_chroma_interleaved_RRGGBBAA_LE : heif_chroma_interleaved_RGBA, &image)
               .code == heif_error_Ok
        && heif_image_add_plane(image, heif_channel_interleaved, rgba.width(), rgba.height(), bitDepth).code
               == heif_error_Ok) {
        int stride = 0;
        uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
        for (int y = 0; y < rgba.height(); ++y) {
            uint8_t* row = plane + qsizetype(y) * stride;
            if (!wide) {
                std::memcpy(row, rgba.constScanLine(y), size_t(rgba.width()) * 4);
                continue;
            }
            const auto* samples = reinterpret_cast<const quint16*>(rgba.constScanLine(y));
            for (int i = 0; i < rgba.width() * 4; ++i) {
                const quint16 sample = quint16(samples[i] >> (16 - bitDepth));
                row[2 * i] = uint8_t(sample & 0xFF);
                row[2 * i + 1] = uint8_t(sample >> 8);
            }
        }
        heif_encoder_set_lossy_quality(encoder, 80);
        heif_writer writer{1, writeInto};
        if (heif_context_encode_image(context, image, encoder, nullptr, nullptr).code != heif_error_Ok
            || heif_context_write(context, &writer, &bytes).code != heif_error_Ok)
            bytes.clear();
    }
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    return bytes;
}

} // namespace

QByteArray avifFile(const QImage& picture) { return heifFile(picture, heif_compression_AV1, 8); }

QByteArray tenBitHeic(const QImage& picture) { return heifFile(picture, heif_compression_HEVC, 10); }

QByteArray heifWithAlphaSize(const QByteArray& heif, QSize size)
{
    // libheif writes the properties of the alpha image together: its coded
    // data's, its 'ispe', then its 'auxC'.
    const qsizetype auxC = heif.indexOf("auxC");
    const qsizetype ispe = auxC < 0 ? -1 : heif.lastIndexOf("ispe", auxC);
    if (ispe < 4)
        return {};
    QByteArray body;
    appendBig32(body, quint32(size.width()));
    appendBig32(body, quint32(size.height()));
    return QByteArray(heif).replace(ispe + 8, 8, body);
}

QByteArray avifWithUnknownObu(const QByteArray& avif)
{
    QByteArray bytes = avif;
    const QByteArray data = codedImage(avif).data;
    const qsizetype start = data.isEmpty() ? -1 : bytes.indexOf(data);
    // Each OBU: a header byte (its type in bits 6 to 3; an extension byte
    // follows when bit 2 is set; bit 1: a size follows), then a LEB128 size.
    for (qsizetype at = 0; start >= 0 && at < data.size();) {
        const auto header = quint8(data[at]);
        qsizetype next = at + 1 + ((header & 4) ? 1 : 0);
        quint64 size = 0;
        for (int shift = 0; next < data.size() && shift < 56; shift += 7) {
            const auto byte = quint8(data[next++]);
            size |= quint64(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0)
                break;
        }
        if (((header >> 3) & 15) == 1) { // the sequence header
            bytes[start + at] = char((header & 0x87) | (9 << 3));
            return bytes;
        }
        at = next + qsizetype(size);
    }
    return {};
}

} // namespace zephrin::testing
