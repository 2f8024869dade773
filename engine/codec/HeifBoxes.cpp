#include "engine/codec/HeifBoxes.h"

#include "engine/codec/ReadSteps.h"

#include <climits>
#include <algorithm>
#include <cstring>
#include <vector>

namespace zephrin {

namespace {

// Big-endian reads from a window of the file that stop, rather than read
// past its end, once anything is missing.
class Reader {
public:
    Reader(QByteArrayView bytes, qsizetype from, qsizetype to) : m_bytes(bytes), m_at(from), m_end(to) {}

    bool ok() const { return m_ok; }
    qsizetype at() const { return m_at; }

    quint64 number(int size)
    {
        if (size < 0 || size > 8 || m_at + size > m_end) {
            m_ok = false;
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = (value << 8) | quint8(m_bytes[m_at++]);
        return value;
    }
    void skip(qsizetype count)
    {
        if (count < 0 || m_at + count > m_end)
            m_ok = false;
        else
            m_at += count;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at;
    qsizetype m_end;
    bool m_ok = true;
};

struct Box {
    char type[4] = {};
    qsizetype body = 0; // where its contents start
    qsizetype end = 0;
    bool is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
};

// The boxes of bytes[from, to), in order; stops at the first malformed one.
std::vector<Box> boxes(QByteArrayView bytes, qsizetype from, qsizetype to)
{
    std::vector<Box> found;
    while (from + 8 <= to) {
        Reader reader(bytes, from, to);
        quint64 size = reader.number(4);
        Box box;
        std::memcpy(box.type, bytes.data() + from + 4, 4);
        reader.skip(4);
        if (size == 1)
            size = reader.number(8);
        else if (size == 0)
            size = quint64(to - from);
        if (!reader.ok() || size < quint64(reader.at() - from) || size > quint64(to - from))
            break;
        box.body = reader.at();
        box.end = from + qsizetype(size);
        found.push_back(box);
        from = box.end;
    }
    return found;
}

const Box* find(const std::vector<Box>& list, const char* type)
{
    for (const Box& box : list)
        if (box.is(type))
            return &box;
    return nullptr;
}

struct Extent {
    quint64 offset = 0;
    quint64 length = 0;
};

struct Location {
    int method = 0; // 0: in the file, 1: in the idat box
    quint64 base = 0;
    std::vector<Extent> extents;
};

std::optional<Location> locationOf(QByteArrayView bytes, const Box& iloc, quint32 item)
{
    Reader reader(bytes, iloc.body, iloc.end);
    const int version = int(reader.number(1));
    reader.skip(3);
    const int sizes = int(reader.number(1));
    const int moreSizes = int(reader.number(1));
    const int offsetSize = sizes >> 4;
    const int lengthSize = sizes & 15;
    const int baseSize = moreSizes >> 4;
    const int indexSize = version >= 1 ? moreSizes & 15 : 0;
    const quint64 items = reader.number(version < 2 ? 2 : 4);
    for (quint64 i = 0; i < items && reader.ok(); ++i) {
        Location location;
        const quint64 id = reader.number(version < 2 ? 2 : 4);
        if (version >= 1)
            location.method = int(reader.number(2) & 15);
        reader.skip(2); // data reference
        location.base = reader.number(baseSize);
        const quint64 extents = reader.number(2);
        for (quint64 e = 0; e < extents && reader.ok(); ++e) {
            reader.skip(indexSize);
            Extent extent;
            extent.offset = reader.number(offsetSize);
            extent.length = reader.number(lengthSize);
            location.extents.push_back(extent);
        }
        if (reader.ok() && id == item)
            return location;
    }
    return std::nullopt;
}

// The type of `item` in the iinf box ('grid', 'iovl', 'hvc1', ...).
std::optional<QByteArrayView> itemType(QByteArrayView bytes, const Box& iinf, quint32 item)
{
    Reader header(bytes, iinf.body, iinf.end);
    const int version = int(header.number(1));
    header.skip(3 + (version == 0 ? 2 : 4));
    if (!header.ok())
        return std::nullopt;
    for (const Box& infe : boxes(bytes, header.at(), iinf.end)) {
        if (!infe.is("infe"))
            continue;
        Reader reader(bytes, infe.body, infe.end);
        const int entryVersion = int(reader.number(1));
        reader.skip(3);
        if (entryVersion < 2)
            continue;
        const quint64 id = reader.number(entryVersion == 2 ? 2 : 4);
        reader.skip(2); // protection index
        const qsizetype typeAt = reader.at();
        reader.skip(4);
        if (reader.ok() && id == item)
            return bytes.sliced(typeAt, 4);
    }
    return std::nullopt;
}

// The first bytes of the item's data, at most `wanted`.
std::optional<QByteArrayView> itemData(QByteArrayView bytes, const Location& location, const Box* idat,
                                       qsizetype wanted)
{
    if (location.extents.empty())
        return std::nullopt;
    qsizetype start = 0;
    qsizetype end = bytes.size();
    if (location.method == 1) {
        if (idat == nullptr)
            return std::nullopt;
        start = idat->body;
        end = idat->end;
    } else if (location.method != 0) {
        return std::nullopt;
    }
    const Extent& first = location.extents.front();
    const quint64 offset = location.base + first.offset;
    if (offset > quint64(end - start))
        return std::nullopt;
    const qsizetype at = start + qsizetype(offset);
    qsizetype length = end - at;
    if (first.length != 0 && first.length < quint64(length))
        length = qsizetype(first.length);
    return bytes.sliced(at, std::min(length, wanted));
}

// Exp-Golomb and fixed-width reads from an HEVC parameter set whose
// emulation-prevention bytes are removed; reads past the end give zeros and
// mark the reader failed.
class BitReader {
public:
    explicit BitReader(QByteArrayView nal)
    {
        for (qsizetype i = 0; i < nal.size(); ++i) {
            const auto byte = quint8(nal[i]);
            if (byte == 3 && m_zeros >= 2) { // 00 00 03: the 03 is not data
                m_zeros = 0;
                continue;
            }
            m_zeros = byte == 0 ? m_zeros + 1 : 0;
            m_bytes.push_back(byte);
        }
    }

    bool ok() const { return m_ok; }

    quint32 bits(int count)
    {
        quint32 value = 0;
        for (int i = 0; i < count; ++i) {
            if (m_at >= m_bytes.size() * 8) {
                m_ok = false;
                return 0;
            }
            value = (value << 1) | ((m_bytes[m_at / 8] >> (7 - m_at % 8)) & 1);
            ++m_at;
        }
        return value;
    }
    void skip(int count) { bits(count); }
    quint32 unsignedCode()
    {
        int zeros = 0;
        while (m_ok && bits(1) == 0)
            if (++zeros > 20) {
                m_ok = false;
                return 0;
            }
        return zeros == 0 ? 0 : (quint32(1) << zeros) - 1 + bits(zeros);
    }

private:
    std::vector<quint8> m_bytes;
    size_t m_at = 0;
    int m_zeros = 0;
    bool m_ok = true;
};

// The start of a sequence parameter set (NAL unit type 33), up to its
// conformance window: the coded size, and the size shown.
struct SequenceSize {
    int subLayers = 1;
    quint32 width = 0;
    quint32 height = 0;
    QSize shown; // the conformance window's, as libde265 gives the picture
};

SequenceSize sequenceSize(BitReader& reader)
{
    reader.skip(16 + 4);                        // NAL header, video parameter set id
    const int subLayers = int(reader.bits(3)) + 1;
    reader.skip(1);                             // temporal id nesting
    reader.skip(88 + 8);                        // general profile, tier and level
    bool profiles[8] = {};
    bool levels[8] = {};
    for (int i = 0; i < subLayers - 1; ++i) {
        profiles[i] = reader.bits(1);
        levels[i] = reader.bits(1);
    }
    if (subLayers > 1)
        reader.skip(2 * (9 - subLayers));
    for (int i = 0; i < subLayers - 1; ++i)
        reader.skip((profiles[i] ? 88 : 0) + (levels[i] ? 8 : 0));
    reader.unsignedCode();                      // sequence parameter set id
    const quint32 chroma = reader.unsignedCode();
    if (chroma == 3)
        reader.skip(1);                         // separate colour planes
    SequenceSize size;
    size.subLayers = subLayers;
    size.width = reader.unsignedCode();
    size.height = reader.unsignedCode();
    quint32 window[4] = {};                     // left, right, top, bottom, in chroma samples
    if (reader.bits(1))
        for (quint32& offset : window)
            offset = reader.unsignedCode();
    const qint64 across = chroma == 1 || chroma == 2 ? 2 : 1;
    const qint64 down = chroma == 1 ? 2 : 1;
    const qint64 shownWidth = qint64(size.width) - across * (qint64(window[0]) + window[1]);
    const qint64 shownHeight = qint64(size.height) - down * (qint64(window[2]) + window[3]);
    if (shownWidth > 0 && shownHeight > 0 && shownWidth <= INT_MAX && shownHeight <= INT_MAX)
        size.shown = QSize(int(shownWidth), int(shownHeight));
    return size;
}

// libde265's sanity checks of a sequence parameter set, on the fields they
// use, and the size of its pictures; false for one it would complain about
// or one wider or taller than `maxSide`.
bool sequenceParametersSound(QByteArrayView nal, quint32 maxSide)
{
    BitReader reader(nal);
    const SequenceSize size = sequenceSize(reader);
    const quint32 width = size.width;
    const quint32 height = size.height;
    const int subLayers = size.subLayers;
    const quint32 lumaDepth = reader.unsignedCode() + 8;
    const quint32 chromaDepth = reader.unsignedCode() + 8;
    reader.unsignedCode();                      // picture order count bits
    const bool everyLayer = reader.bits(1);
    for (int i = everyLayer ? 0 : subLayers - 1; i < subLayers; ++i)
        for (int j = 0; j < 3; ++j)
            reader.unsignedCode();
    const quint32 minCb = reader.unsignedCode() + 3;
    const quint32 ctb = minCb + reader.unsignedCode();
    const quint32 minTb = reader.unsignedCode() + 2;
    const quint32 maxTb = minTb + reader.unsignedCode();
    const quint32 depthInter = reader.unsignedCode();
    const quint32 depthIntra = reader.unsignedCode();
    if (!reader.ok() || minCb > 6 || ctb > 6 || minTb > 5 || maxTb > 5)
        return true; // refused by libde265 before its checks, and silently
    const quint32 cbSize = quint32(1) << minCb;
    return width <= maxSide && height <= maxSide && width % cbSize == 0 && height % cbSize == 0 && minTb <= minCb
           && maxTb <= std::min<quint32>(ctb, 5) && ctb >= minTb && depthInter <= ctb - minTb
           && depthIntra <= ctb - minTb && lumaDepth <= 16 && chromaDepth <= 16;
}

// The NAL units of an 'hvcC' box's arrays.
std::vector<QByteArrayView> parameterSets(QByteArrayView bytes, const Box& hvcC)
{
    std::vector<QByteArrayView> units;
    Reader reader(bytes, hvcC.body, hvcC.end);
    reader.skip(22);
    const quint64 arrays = reader.number(1);
    for (quint64 a = 0; a < arrays && reader.ok(); ++a) {
        reader.skip(1); // completeness and NAL unit type
        const quint64 count = reader.number(2);
        for (quint64 n = 0; n < count && reader.ok(); ++n) {
            const auto length = qsizetype(reader.number(2));
            const qsizetype at = reader.at();
            reader.skip(length);
            if (reader.ok())
                units.push_back(bytes.sliced(at, length));
        }
    }
    return units;
}

} // namespace

bool heifParameterSetsSound(QByteArrayView bytes, quint32 maxSide)
{
    const std::vector<Box> top = boxes(bytes, 0, bytes.size());
    const Box* meta = find(top, "meta");
    if (meta == nullptr || meta->end - meta->body < 4)
        return true;
    // find() points into the list it is given: each list outlives its use.
    const std::vector<Box> inMeta = boxes(bytes, meta->body + 4, meta->end);
    const Box* iprp = find(inMeta, "iprp");
    const std::vector<Box> properties = iprp != nullptr ? boxes(bytes, iprp->body, iprp->end) : std::vector<Box>();
    const Box* ipco = find(properties, "ipco");
    if (ipco == nullptr)
        return true;
    for (const Box& property : boxes(bytes, ipco->body, ipco->end)) {
        if (!property.is("hvcC"))
            continue;
        for (const QByteArrayView unit : parameterSets(bytes, property))
            if (unit.size() >= 2 && ((quint8(unit[0]) >> 1) & 0x3F) == 33
                && !sequenceParametersSound(unit, maxSide))
                return false;
    }
    return true;
}

namespace {

// The boxes of the meta box, and the id of its primary item.
struct Meta {
    std::vector<Box> boxes;
    quint32 primary = 0;
};

std::optional<Meta> metaOf(QByteArrayView bytes)
{
    const std::vector<Box> top = boxes(bytes, 0, bytes.size());
    const Box* meta = find(top, "meta");
    if (meta == nullptr || meta->end - meta->body < 4)
        return std::nullopt;
    Meta found{boxes(bytes, meta->body + 4, meta->end), 0}; // past its version and flags
    const Box* pitm = find(found.boxes, "pitm");
    if (pitm == nullptr)
        return std::nullopt;
    Reader reader(bytes, pitm->body, pitm->end);
    const int version = int(reader.number(1));
    reader.skip(3);
    found.primary = quint32(reader.number(version == 0 ? 2 : 4));
    return reader.ok() ? std::optional(std::move(found)) : std::nullopt;
}

// The items an 'auxl' reference of the iref box names as auxiliary images of
// `item`.
std::vector<quint32> auxiliaryItemsOf(QByteArrayView bytes, const Box& iref, quint32 item)
{
    std::vector<quint32> found;
    Reader header(bytes, iref.body, iref.end);
    const int idSize = header.number(1) == 0 ? 2 : 4;
    for (const Box& reference : boxes(bytes, iref.body + 4, iref.end)) {
        if (!reference.is("auxl"))
            continue;
        Reader reader(bytes, reference.body, reference.end);
        const auto from = quint32(reader.number(idSize));
        const quint64 count = reader.number(2);
        for (quint64 i = 0; i < count && reader.ok(); ++i)
            if (reader.number(idSize) == item && reader.ok())
                found.push_back(from);
    }
    return found;
}

// The properties (boxes of the ipco box) the ipma box associates with `item`.
std::vector<Box> propertiesOf(QByteArrayView bytes, const Box& iprp, quint32 item)
{
    const std::vector<Box> inIprp = boxes(bytes, iprp.body, iprp.end);
    const Box* ipco = find(inIprp, "ipco");
    const Box* ipma = find(inIprp, "ipma");
    if (ipco == nullptr || ipma == nullptr)
        return {};
    const std::vector<Box> all = boxes(bytes, ipco->body, ipco->end);
    Reader reader(bytes, ipma->body, ipma->end);
    const int version = int(reader.number(1));
    const bool wideIndices = reader.number(3) & 1;
    const quint64 entries = reader.number(4);
    std::vector<Box> found;
    for (quint64 e = 0; e < entries && reader.ok(); ++e) {
        const quint64 id = reader.number(version < 1 ? 2 : 4);
        const quint64 count = reader.number(1);
        for (quint64 a = 0; a < count && reader.ok(); ++a) {
            const quint64 index = reader.number(wideIndices ? 2 : 1) & (wideIndices ? 0x7FFF : 0x7F);
            if (reader.ok() && id == item && index >= 1 && index <= all.size())
                found.push_back(all[size_t(index - 1)]);
        }
    }
    return found;
}

// Whether an auxC property names an alpha plane, by the types libheif takes.
bool namesAlpha(QByteArrayView bytes, const Box& auxC)
{
    if (auxC.end - auxC.body < 4)
        return false;
    const QByteArrayView type = bytes.sliced(auxC.body + 4, auxC.end - auxC.body - 4);
    const QByteArrayView name = type.first(std::max<qsizetype>(type.indexOf('\0'), 0));
    return name == "urn:mpeg:hevc:2015:auxid:1" || name == "urn:mpeg:avc:2015:auxid:1"
           || name == "urn:mpeg:mpegB:cicp:systems:auxiliary:alpha";
}

} // namespace

bool heifNamesReadBrand(QByteArrayView bytes)
{
    if (bytes.size() < 8 || bytes.sliced(4, 4) != "ftyp")
        return false;
    Reader reader(bytes, 0, bytes.size());
    quint64 size = reader.number(4);
    reader.skip(4);
    if (size == 1)
        size = reader.number(8);
    if (!reader.ok())
        return false;
    // The major brand, a minor version, then the compatible brands; those
    // that the bytes hold of a box cut short still count.
    const qsizetype body = reader.at();
    const qsizetype end = size == 0 || size > quint64(bytes.size()) ? bytes.size() : qsizetype(size);
    const auto isRead = [&](qsizetype at) {
        const QByteArrayView brand = bytes.sliced(at, 4);
        return brand == "heic" || brand == "heix" || brand == "avif";
    };
    if (body + 4 <= end && isRead(body))
        return true;
    for (qsizetype at = body + 8; at + 4 <= end; at += 4)
        if (isRead(at))
            return true;
    return false;
}

bool heifPrimaryHasAlphaItem(QByteArrayView bytes)
{
    const std::optional<Meta> meta = metaOf(bytes);
    const Box* iref = meta ? find(meta->boxes, "iref") : nullptr;
    const Box* iprp = meta ? find(meta->boxes, "iprp") : nullptr;
    if (iref == nullptr || iprp == nullptr)
        return false;
    for (const quint32 auxiliary : auxiliaryItemsOf(bytes, *iref, meta->primary))
        for (const Box& property : propertiesOf(bytes, *iprp, auxiliary))
            if (property.is("auxC") && namesAlpha(bytes, property))
                return true;
    return false;
}

HeifPrimaryItem heifPrimaryItem(QByteArrayView bytes)
{
    const std::optional<Meta> meta = metaOf(bytes);
    if (!meta)
        return {};
    const std::vector<Box>& inMeta = meta->boxes;
    const quint32 primary = meta->primary;
    const Box* iinf = find(inMeta, "iinf");
    const Box* iloc = find(inMeta, "iloc");
    if (iinf == nullptr || iloc == nullptr)
        return {};

    const std::optional<QByteArrayView> type = itemType(bytes, *iinf, primary);
    const bool grid = type && *type == "grid";
    const bool overlay = type && *type == "iovl";
    if (!grid && !overlay)
        return {};
    HeifPrimaryItem item{true, std::nullopt};
    const std::optional<Location> location = locationOf(bytes, *iloc, primary);
    if (!location)
        return item;
    const std::optional<QByteArrayView> data = itemData(bytes, *location, find(inMeta, "idat"), 64);
    if (!data)
        return item;

    // grid: version, flags, rows - 1, columns - 1, then the size;
    // iovl: version, flags, a 16-bit RGBA background, then the size.
    Reader reader(*data, 0, data->size());
    reader.skip(1);
    const bool wide = reader.number(1) & 1;
    reader.skip(grid ? 2 : 8);
    const quint64 width = reader.number(wide ? 4 : 2);
    const quint64 height = reader.number(wide ? 4 : 2);
    if (reader.ok() && width <= quint64(INT_MAX) && height <= quint64(INT_MAX))
        item.derivedSize = QSize(int(width), int(height));
    return item;
}

namespace {

// The items `from` refers to by references of `type` in the iref box, in
// their order.
std::vector<quint32> referencedItems(QByteArrayView bytes, const Box& iref, const char* type, quint32 from)
{
    std::vector<quint32> found;
    Reader header(bytes, iref.body, iref.end);
    const int idSize = header.number(1) == 0 ? 2 : 4;
    for (const Box& reference : boxes(bytes, iref.body + 4, iref.end)) {
        if (!reference.is(type))
            continue;
        Reader reader(bytes, reference.body, reference.end);
        const auto item = quint32(reader.number(idSize));
        const quint64 count = reader.number(2);
        for (quint64 i = 0; i < count && reader.ok(); ++i) {
            const auto to = quint32(reader.number(idSize));
            if (reader.ok() && item == from)
                found.push_back(to);
        }
    }
    return found;
}

std::optional<QSize> ispeOf(QByteArrayView bytes, const std::vector<Box>& properties)
{
    const Box* ispe = find(properties, "ispe");
    if (ispe == nullptr)
        return std::nullopt;
    Reader reader(bytes, ispe->body + 4, ispe->end);
    const quint64 width = reader.number(4);
    const quint64 height = reader.number(4);
    if (!reader.ok() || width > quint64(INT_MAX) || height > quint64(INT_MAX))
        return std::nullopt;
    return QSize(int(width), int(height));
}

// All the data of an item, its extents one after another; a view of the file
// when it has one extent. Empty when the boxes cannot be followed to it.
QByteArray wholeItemData(QByteArrayView bytes, const Location& location, const Box* idat)
{
    if (location.method != 0 && (location.method != 1 || idat == nullptr))
        return {};
    const qsizetype start = location.method == 1 ? idat->body : 0;
    const qsizetype end = location.method == 1 ? idat->end : bytes.size();
    QByteArray data;
    for (const Extent& extent : location.extents) {
        const quint64 offset = location.base + extent.offset;
        if (offset > quint64(end - start))
            return {};
        const qsizetype at = start + qsizetype(offset);
        const qsizetype left = end - at;
        const qsizetype length = extent.length == 0 || extent.length > quint64(left) ? left : qsizetype(extent.length);
        if (location.extents.size() == 1)
            return QByteArray::fromRawData(bytes.data() + at, length);
        data.append(bytes.data() + at, length);
    }
    return data;
}

// The sequence parameter sets an HEVC tile is decoded with: those of its
// hvcC property, then any in its data (NAL units after a four-byte size, as
// libheif hands them to the decoder), which take the place of the former.
std::vector<QByteArray> tileSequenceSets(QByteArrayView bytes, const std::vector<Box>& properties,
                                         QByteArrayView data)
{
    std::vector<QByteArray> sets;
    const auto isSequenceSet = [](QByteArrayView unit) { return unit.size() >= 2 && ((quint8(unit[0]) >> 1) & 0x3F) == 33; };
    if (const Box* hvcC = find(properties, "hvcC"))
        for (const QByteArrayView unit : parameterSets(bytes, *hvcC))
            if (isSequenceSet(unit))
                sets.push_back(unit.toByteArray());
    Reader reader(data, 0, data.size());
    while (reader.at() + 4 <= data.size()) {
        const auto length = qsizetype(reader.number(4));
        const qsizetype at = reader.at();
        reader.skip(length);
        if (!reader.ok())
            break;
        if (isSequenceSet(data.sliced(at, length)))
            sets.push_back(data.sliced(at, length).toByteArray());
    }
    return sets;
}

// Whether an HEVC item decodes at `size`: every sequence parameter set it is
// decoded with shows a picture of that size. Items of other codecs pass.
bool codedAt(QByteArrayView bytes, const Meta& meta, quint32 item, const std::vector<Box>& properties, QSize size)
{
    const Box* iinf = find(meta.boxes, "iinf");
    const Box* iloc = find(meta.boxes, "iloc");
    if (iinf == nullptr || iloc == nullptr || itemType(bytes, *iinf, item) != QByteArrayView("hvc1"))
        return true;
    const std::optional<Location> location = locationOf(bytes, *iloc, item);
    const QByteArray data = location ? wholeItemData(bytes, *location, find(meta.boxes, "idat")) : QByteArray();
    for (const QByteArray& set : tileSequenceSets(bytes, properties, data)) {
        BitReader reader(set);
        if (sequenceSize(reader).shown != size)
            return false;
    }
    return true;
}

} // namespace

namespace {

// Whether `item`, when a grid, is filled by its tiles (heifGridTilesFit).
bool gridFits(QByteArrayView bytes, const Meta& meta, quint32 item)
{
    const Box* iinf = find(meta.boxes, "iinf");
    const Box* iloc = find(meta.boxes, "iloc");
    if (iinf == nullptr || iloc == nullptr || itemType(bytes, *iinf, item) != QByteArrayView("grid"))
        return true;
    const Box* iref = find(meta.boxes, "iref");
    const Box* iprp = find(meta.boxes, "iprp");
    const std::optional<Location> location = locationOf(bytes, *iloc, item);
    const Box* idat = find(meta.boxes, "idat");
    const QByteArrayView data = location ? itemData(bytes, *location, idat, 12).value_or(QByteArrayView())
                                         : QByteArrayView();
    if (iref == nullptr || iprp == nullptr || data.size() < 8)
        return false;
    // version, flags, rows - 1, columns - 1, then the size, 16 or 32 bits
    Reader reader(data, 0, data.size());
    reader.skip(1);
    const int size = (reader.number(1) & 1) ? 4 : 2;
    const int rows = int(reader.number(1)) + 1;
    const int columns = int(reader.number(1)) + 1;
    const quint64 width = reader.number(size);
    const quint64 height = reader.number(size);
    const std::vector<quint32> tiles = referencedItems(bytes, *iref, "dimg", item);
    if (!reader.ok() || tiles.size() != size_t(rows) * size_t(columns))
        return false;

    // libheif places every tile by the first one's 'ispe', and copies each at
    // the size it decodes at.
    const std::optional<QSize> tileSize = ispeOf(bytes, propertiesOf(bytes, *iprp, tiles.front()));
    if (!tileSize || tileSize->isEmpty() || quint64(tileSize->width()) * quint64(columns) < width
        || quint64(tileSize->height()) * quint64(rows) < height)
        return false;
    for (const quint32 tile : tiles) {
        const std::vector<Box> properties = propertiesOf(bytes, *iprp, tile);
        if (ispeOf(bytes, properties) != tileSize || !codedAt(bytes, meta, tile, properties, *tileSize))
            return false;
    }
    return true;
}

} // namespace

bool heifGridTilesFit(QByteArrayView bytes)
{
    const std::optional<Meta> meta = metaOf(bytes);
    if (!meta)
        return true;
    if (!gridFits(bytes, *meta, meta->primary))
        return false;
    // And the alpha image's, which libheif puts together the same way.
    const Box* iref = find(meta->boxes, "iref");
    const Box* iprp = find(meta->boxes, "iprp");
    if (iref == nullptr || iprp == nullptr)
        return true;
    for (const quint32 auxiliary : auxiliaryItemsOf(bytes, *iref, meta->primary))
        for (const Box& property : propertiesOf(bytes, *iprp, auxiliary))
            if (property.is("auxC") && namesAlpha(bytes, property) && !gridFits(bytes, *meta, auxiliary))
                return false;
    return true;
}

bool heifOverlayCoversCanvas(QByteArrayView bytes)
{
    const std::optional<Meta> meta = metaOf(bytes);
    const Box* iinf = meta ? find(meta->boxes, "iinf") : nullptr;
    const Box* iloc = meta ? find(meta->boxes, "iloc") : nullptr;
    if (iinf == nullptr || iloc == nullptr || itemType(bytes, *iinf, meta->primary) != QByteArrayView("iovl"))
        return true;
    const Box* iref = find(meta->boxes, "iref");
    const Box* iprp = find(meta->boxes, "iprp");
    const std::optional<Location> location = locationOf(bytes, *iloc, meta->primary);
    const QByteArrayView data = location ? itemData(bytes, *location, find(meta->boxes, "idat"), 1 << 20)
                                               .value_or(QByteArrayView())
                                         : QByteArrayView();
    if (iref == nullptr || iprp == nullptr || data.isEmpty())
        return false;
    // version, flags, a 16-bit RGBA fill, the canvas's size, then each
    // image's offset (signed), all 16 or 32 bits wide.
    Reader reader(data, 0, data.size());
    reader.skip(1);
    const int size = (reader.number(1) & 1) ? 4 : 2;
    reader.skip(8);
    const auto width = qint64(reader.number(size));
    const auto height = qint64(reader.number(size));
    if (!reader.ok() || width > INT_MAX || height > INT_MAX)
        return false;
    const auto offset = [&] {
        const quint64 value = reader.number(size);
        return size == 2 ? qint64(qint16(value)) : qint64(qint32(value));
    };
    qint64 covered = 0;
    for (const quint32 image : referencedItems(bytes, *iref, "dimg", meta->primary)) {
        const qint64 x = offset();
        const qint64 y = offset();
        const std::vector<Box> properties = propertiesOf(bytes, *iprp, image);
        const std::optional<QSize> imageSize = ispeOf(bytes, properties);
        if (!reader.ok() || !imageSize || !codedAt(bytes, *meta, image, properties, *imageSize))
            return false;
        const qint64 across = std::min(width, x + imageSize->width()) - std::max<qint64>(0, x);
        const qint64 down = std::min(height, y + imageSize->height()) - std::max<qint64>(0, y);
        if (across > 0 && down > 0)
            covered = std::min(width * height, covered + across * down);
    }
    return framesCoverCanvas(QSize(int(width), int(height)), covered);
}

} // namespace zephrin
