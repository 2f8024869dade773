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
    QByteArray data; // the HEVC data of the item
    QSize size;
    QByteArray auxC; // of an alpha image, the whole property box
};

// The n-th box of `type` among the boxes of bytes[from, to).
std::optional<std::pair<qsizetype, qsizetype>> nthChild(const QByteArray& bytes, qsizetype from, qsizetype to,
                                                        const char* type, int n)
{
    for (auto found = child(bytes, from, to, type); found; found = child(bytes, from, to, type)) {
        if (n-- == 0)
            return found;
        from = found->first + found->second;
    }
    return std::nullopt;
}

// An image of a HEIC as libheif writes it, one extent in the file (iloc
// version 0 or 1, construction method 0): the primary image, item 1, by
// default; with `alpha`, its alpha image, item 2, whose properties follow
// the primary's (its hvcC and ispe the second of theirs).
CodedImage codedImage(const QByteArray& heic, bool alpha = false)
{
    CodedImage image;
    const quint64 wanted = alpha ? 2 : 1;
    const auto meta = child(heic, 0, heic.size(), "meta");
    if (!meta)
        return image;
    const qsizetype metaStart = meta->first + 12; // past its version and flags
    const qsizetype metaEnd = meta->first + meta->second;
    const auto iprp = child(heic, metaStart, metaEnd, "iprp");
    const auto ipco = iprp ? child(heic, iprp->first + 8, iprp->first + iprp->second, "ipco") : std::nullopt;
    if (!ipco)
        return image;
    const qsizetype from = ipco->first + 8;
    const qsizetype to = ipco->first + ipco->second;
    if (const auto hvcC = nthChild(heic, from, to, "hvcC", alpha ? 1 : 0))
        image.hvcC = heic.mid(hvcC->first, hvcC->second);
    if (const auto ispe = nthChild(heic, from, to, "ispe", alpha ? 1 : 0))
        image.size = QSize(int(big32(heic, ispe->first + 12)), int(big32(heic, ispe->first + 16)));
    if (const auto auxC = alpha ? child(heic, from, to, "auxC") : std::nullopt)
        image.auxC = heic.mid(auxC->first, auxC->second);

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
            if (id == wanted)
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

// An item of itemFile: its type, whether it is hidden, its data, and its
// own properties (whole boxes), each essential or not.
struct Item {
    QByteArray type;
    bool hidden = false;
    QByteArray data;
    std::vector<std::pair<QByteArray, bool>> properties;
};

// A reference of itemFile: of `type`, from item `from` to `to`, in order.
struct Reference {
    const char* type;
    quint32 from;
    std::vector<quint32> to;
};

QByteArray ispeBox(QSize size)
{
    QByteArray body;
    appendBig32(body, quint32(size.width()));
    appendBig32(body, quint32(size.height()));
    return fullBox("ispe", 0, 0, body);
}

// A HEIC of `items`, numbered from 1, the first of them primary; their data
// in one mdat after the meta box.
QByteArray itemFile(const std::vector<Item>& items, const std::vector<Reference>& references)
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

    const auto count = quint32(items.size());
    QByteArray iinf;
    appendBig16(iinf, count);
    QByteArray properties;
    QByteArray ipma;
    appendBig32(ipma, count);
    int property = 0;
    for (quint32 i = 0; i < count; ++i) {
        QByteArray entry;
        appendBig16(entry, 1 + i);
        appendBig16(entry, 0);
        entry.append(items[i].type).append('\0');
        iinf += fullBox("infe", 2, items[i].hidden ? 1 : 0, entry);
        appendBig16(ipma, 1 + i);
        ipma.append(char(items[i].properties.size()));
        for (const auto& [propertyBox, essential] : items[i].properties) {
            properties += propertyBox;
            ipma.append(char((essential ? 0x80 : 0) | ++property)); // seven bits of index
        }
    }
    QByteArray refs;
    for (const Reference& reference : references) {
        QByteArray body;
        appendBig16(body, reference.from);
        appendBig16(body, quint32(reference.to.size()));
        for (const quint32 to : reference.to)
            appendBig16(body, to);
        refs += box(reference.type, body);
    }
    const QByteArray iref = fullBox("iref", 0, 0, refs);
    const QByteArray iprp = box("iprp", box("ipco", properties) + fullBox("ipma", 0, 0, ipma));

    // The item locations point into the mdat, which follows the meta box:
    // their offsets are known once the meta box's size is.
    const auto metaBox = [&](quint32 dataStart) {
        QByteArray iloc;
        iloc.append(char(0x44)).append('\0'); // 4-byte offsets and lengths, no base offset
        appendBig16(iloc, count);
        quint32 at = dataStart;
        for (quint32 i = 0; i < count; ++i) {
            appendBig16(iloc, 1 + i);
            appendBig16(iloc, 0); // this file
            appendBig16(iloc, 1);
            appendBig32(iloc, at);
            appendBig32(iloc, quint32(items[i].data.size()));
            at += quint32(items[i].data.size());
        }
        return fullBox("meta", 0, 0,
                       fullBox("hdlr", 0, 0, hdlr) + fullBox("pitm", 0, 0, pitm) + fullBox("iloc", 0, 0, iloc)
                           + fullBox("iinf", 0, 0, iinf) + iref + iprp);
    };
    QByteArray data;
    for (const Item& item : items)
        data += item.data;
    const qsizetype metaSize = metaBox(0).size();
    const quint32 dataStart = quint32(fileType.size() + metaSize + 8);
    return fileType + metaBox(dataStart) + box("mdat", data);
}

// The hidden items of coded images, each with its hvcC (essential) and an
// 'ispe' saying `sizes[i]`.
void appendTiles(std::vector<Item>& items, const std::vector<CodedImage>& tiles, const std::vector<QSize>& sizes)
{
    for (size_t t = 0; t < tiles.size(); ++t)
        items.push_back({"hvc1", true, tiles[t].data, {{tiles[t].hvcC, true}, {ispeBox(sizes[t]), false}}});
}

std::vector<quint32> numbered(quint32 first, const std::vector<int>& cells)
{
    std::vector<quint32> ids;
    for (const int cell : cells)
        ids.push_back(first + quint32(cell));
    return ids;
}

// A HEIC whose primary image (item 1) is derived, of `type` ('grid' or
// 'iovl') with `derivedData`, its 'ispe' saying `claimed`; the images it is
// made of are items 2 on, each with its own hvcC and an 'ispe' saying
// `tileSizes[i]`, and its n-th reference is to image `cells[n]`.
QByteArray derivedFile(const char* type, const QByteArray& derivedData, const std::vector<CodedImage>& tiles,
                       const std::vector<QSize>& tileSizes, const std::vector<int>& cells, QSize claimed)
{
    std::vector<Item> items{{type, false, derivedData, {{ispeBox(claimed), false}}}};
    appendTiles(items, tiles, tileSizes);
    return itemFile(items, {{"dimg", 1, numbered(2, cells)}});
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

QByteArray heicGridOfTiles(const std::vector<GridTile>& tiles, int rows, int columns,
                           const std::vector<GridTile>& alphaTiles)
{
    const auto codedTiles = [](const std::vector<GridTile>& cells, bool alpha, std::vector<CodedImage>& coded,
                               std::vector<QSize>& sizes) {
        for (const GridTile& tile : cells) {
            coded.push_back(codedImage(tile.heic, alpha));
            if (coded.back().hvcC.isEmpty() || coded.back().data.isEmpty() || (alpha && coded.back().auxC.isEmpty()))
                return false;
            sizes.push_back(tile.ispe.isValid() ? tile.ispe : coded.back().size);
        }
        return true;
    };
    std::vector<CodedImage> coded;
    std::vector<QSize> sizes;
    std::vector<CodedImage> alphaCoded;
    std::vector<QSize> alphaSizes;
    const auto cellCount = size_t(rows) * size_t(columns);
    if (tiles.size() != cellCount || (!alphaTiles.empty() && alphaTiles.size() != cellCount)
        || !codedTiles(tiles, false, coded, sizes) || !codedTiles(alphaTiles, true, alphaCoded, alphaSizes))
        return {};
    const QSize grid(sizes.front().width() * columns, sizes.front().height() * rows);
    std::vector<int> cells(cellCount);
    for (size_t c = 0; c < cellCount; ++c)
        cells[c] = int(c);
    std::vector<Item> items{{"grid", false, gridData(rows, columns, grid), {{ispeBox(grid), false}}}};
    appendTiles(items, coded, sizes);
    std::vector<Reference> references{{"dimg", 1, numbered(2, cells)}};
    if (!alphaCoded.empty()) {
        // The alpha grid, over tiles of its own, after the colour tiles.
        const auto alphaGrid = quint32(items.size() + 1);
        const QSize alphaSize(alphaSizes.front().width() * columns, alphaSizes.front().height() * rows);
        items.push_back({"grid", true, gridData(rows, columns, alphaSize),
                         {{ispeBox(alphaSize), false}, {alphaCoded.front().auxC, true}}});
        appendTiles(items, alphaCoded, alphaSizes);
        references.push_back({"dimg", alphaGrid, numbered(alphaGrid + 1, cells)});
        references.push_back({"auxl", alphaGrid, {1}});
    }
    return itemFile(items, references);
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
