#include "support/GifWriter.h"

#include <algorithm>

namespace zephrin::testing {

namespace {

void appendLittle16(QByteArray& bytes, int value) { bytes.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF)); }

// LSB-first codes, cut into data sub-blocks of at most 255 bytes.
class CodeWriter {
public:
    void put(int code, int bits)
    {
        m_buffer |= quint32(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.append(char(m_buffer & 0xFF));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }

    QByteArray blocks(double kept)
    {
        if (m_count > 0)
            m_bytes.append(char(m_buffer & 0xFF));
        m_bytes.truncate(qsizetype(double(m_bytes.size()) * kept));
        QByteArray result;
        for (qsizetype at = 0; at < m_bytes.size(); at += 255) {
            const QByteArray block = m_bytes.mid(at, 255);
            result.append(char(block.size())).append(block);
        }
        return result.append('\0');
    }

private:
    QByteArray m_bytes;
    quint32 m_buffer = 0;
    int m_count = 0;
};

QByteArray lzw(const std::vector<quint8>& indices, int minimumCodeSize, double kept)
{
    const int clear = 1 << minimumCodeSize;
    CodeWriter out;
    std::vector<qint16> table(size_t(4096) * 256, -1); // code of (prefix, index)
    int bits = minimumCodeSize + 1;
    int next = clear + 2;
    out.put(clear, bits);
    int prefix = indices.empty() ? -1 : indices.front();
    for (size_t i = 1; i < indices.size(); ++i) {
        const size_t key = (size_t(prefix) << 8) | indices[i];
        if (table[key] >= 0) {
            prefix = table[key];
            continue;
        }
        out.put(prefix, bits);
        if (next < 4095) {
            table[key] = qint16(next++);
            if (next > (1 << bits) && bits < 12)
                ++bits;
        } else { // the table is full: start a new one
            out.put(clear, bits);
            std::fill(table.begin(), table.end(), -1);
            bits = minimumCodeSize + 1;
            next = clear + 2;
        }
        prefix = indices[i];
    }
    if (prefix >= 0)
        out.put(prefix, bits);
    out.put(clear + 1, bits);
    return out.blocks(kept);
}

// The rows of an interlaced frame in the order they are stored.
std::vector<quint8> interlacedRows(const std::vector<quint8>& indices, int width, int height)
{
    std::vector<quint8> stored;
    for (const auto& [start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
        for (int row = start; row < height; row += step)
            stored.insert(stored.end(), indices.begin() + qsizetype(row) * width,
                          indices.begin() + qsizetype(row + 1) * width);
    return stored;
}

} // namespace

QByteArray gifFile(const GifSpec& spec)
{
    int tableBits = 1;
    while ((2 << (tableBits - 1)) * 3 < spec.colours.size())
        ++tableBits;
    const char tableFlags = char(0x80 | (tableBits - 1));

    QByteArray gif("GIF89a");
    appendLittle16(gif, spec.screen.width());
    appendLittle16(gif, spec.screen.height());
    gif.append(spec.localTable ? '\0' : tableFlags).append(char(spec.backgroundIndex)).append('\0');
    if (!spec.localTable)
        gif += spec.colours;
    if (spec.transparentIndex >= 0)
        gif.append("\x21\xF9\x04\x01\x00\x00", 6).append(char(spec.transparentIndex)).append('\0');
    gif.append(char(0x2C));
    appendLittle16(gif, spec.frame.x());
    appendLittle16(gif, spec.frame.y());
    appendLittle16(gif, spec.frame.width());
    appendLittle16(gif, spec.frame.height());
    gif.append(char((spec.localTable ? tableFlags : 0) | (spec.interlaced ? 0x40 : 0)));
    if (spec.localTable)
        gif += spec.colours;
    const int minimumCodeSize = spec.minimumCodeSize > 0 ? spec.minimumCodeSize : std::max(2, tableBits);
    gif.append(char(minimumCodeSize));
    std::vector<quint8> stored =
        spec.interlaced ? interlacedRows(spec.indices, spec.frame.width(), spec.frame.height()) : spec.indices;
    if (spec.codedPixels >= 0 && size_t(spec.codedPixels) < stored.size())
        stored.resize(size_t(spec.codedPixels));
    gif += lzw(stored, minimumCodeSize, spec.dataKept);
    return gif.append(char(0x3B));
}

QByteArray discGif(int width, int height, int radius, QRgb inside)
{
    GifSpec spec;
    spec.screen = QSize(width, height);
    spec.frame = QRect(0, 0, width, height);
    spec.indices.resize(size_t(width) * size_t(height));
    const qint64 cx = width / 2;
    const qint64 cy = height / 2;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            spec.indices[size_t(y) * size_t(width) + size_t(x)] =
                (x - cx) * (x - cx) + (y - cy) * (y - cy) <= qint64(radius) * radius ? 1 : 0;
    spec.colours = QByteArray("\xFF\xFF\xFF", 3);
    spec.colours.append(char(qRed(inside))).append(char(qGreen(inside))).append(char(qBlue(inside)));
    return gifFile(spec);
}

} // namespace zephrin::testing
