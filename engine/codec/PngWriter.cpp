#include "engine/codec/PngWriter.h"

#include "engine/pixel/Premultiply.h"

#include <opencv2/core.hpp>

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace zephrin {

namespace {

constexpr std::size_t kBandBytes = std::size_t(256) << 10; // unfiltered bytes per deflate band
constexpr qsizetype kMaxChunkData = qsizetype(1) << 20;
constexpr unsigned char kPaeth = 4;

void appendBigEndian(QByteArray& out, std::uint32_t value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

void appendChunk(QByteArray& out, const char (&type)[5], QByteArrayView data)
{
    appendBigEndian(out, std::uint32_t(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    const auto* typed = reinterpret_cast<const Bytef*>(out.constData() + start);
    appendBigEndian(out, std::uint32_t(crc32(0, typed, uInt(out.size() - start))));
}

QByteArray bigEndianWords(std::initializer_list<std::uint32_t> words)
{
    QByteArray out;
    for (std::uint32_t word : words)
        appendBigEndian(out, word);
    return out;
}

// The byte of `left`, `above` and `aboveLeft` nearest to left + above −
// aboveLeft, ties going in that order. Branch-free, so the compiler vectorises it.
inline unsigned char paethPredictor(int left, int above, int aboveLeft)
{
    const int pa = std::abs(above - aboveLeft);
    const int pb = std::abs(left - aboveLeft);
    const int pc = std::abs(left + above - 2 * aboveLeft);
    const int nearer = pb <= pc ? above : aboveLeft;
    return static_cast<unsigned char>(pa <= pb && pa <= pc ? left : nearer);
}

// One row as the file stores it: the filter byte, then each byte less its
// Paeth prediction (`above` is null for the first row).
void paethRow(const unsigned char* row, const unsigned char* above, std::size_t length, int bytesPerPixel,
              unsigned char* out)
{
    out[0] = kPaeth;
    ++out;
    const auto bpp = std::min(std::size_t(bytesPerPixel), length);
    if (!above) {
        // Nothing above: the prediction is the byte to the left.
        std::copy_n(row, bpp, out);
        for (std::size_t i = bpp; i < length; ++i)
            out[i] = static_cast<unsigned char>(row[i] - row[i - bpp]);
        return;
    }
    // Nothing to the left: the prediction is the byte above.
    for (std::size_t i = 0; i < bpp; ++i)
        out[i] = static_cast<unsigned char>(row[i] - above[i]);
    for (std::size_t i = bpp; i < length; ++i)
        out[i] = static_cast<unsigned char>(row[i] - paethPredictor(row[i - bpp], above[i], above[i - bpp]));
}

// The pixel rows as the file holds them: RGBA as they are, or RGB with the
// fourth byte of each pixel dropped.
class FileRows {
public:
    FileRows(const cv::Mat& pixels, bool keepAlpha) : m_pixels(pixels), m_keepAlpha(keepAlpha) {}
    int bytesPerPixel() const { return m_keepAlpha ? 4 : 3; }
    std::size_t rowBytes() const { return std::size_t(m_pixels.cols) * std::size_t(bytesPerPixel()); }
    // Row y, packed into `scratch` when the alpha byte goes.
    const unsigned char* row(int y, std::vector<unsigned char>& scratch) const
    {
        const unsigned char* rgba = m_pixels.ptr<unsigned char>(y);
        if (m_keepAlpha)
            return rgba;
        scratch.resize(rowBytes());
        for (int x = 0; x < m_pixels.cols; ++x)
            std::copy_n(rgba + 4 * x, 3, scratch.data() + 3 * x);
        return scratch.data();
    }

private:
    const cv::Mat& m_pixels;
    bool m_keepAlpha;
};

struct Band {
    std::vector<unsigned char> deflated; // raw deflate, ending on a full flush (or the end of the stream)
    std::uint32_t adler = 1;             // Adler-32 of the band's filtered bytes
    std::size_t filteredBytes = 0;
    bool ok = false;
};

Band deflateBand(const FileRows& rows, int firstRow, int endRow, bool last)
{
    Band band;
    const std::size_t rowBytes = rows.rowBytes();
    std::vector<unsigned char> filtered(std::size_t(endRow - firstRow) * (rowBytes + 1));
    std::vector<unsigned char> packed[2]; // the current row and the one above, when the alpha byte goes
    const unsigned char* above = firstRow > 0 ? rows.row(firstRow - 1, packed[0]) : nullptr;
    int next = 1;
    for (int y = firstRow; y < endRow; ++y) {
        const unsigned char* row = rows.row(y, packed[next]);
        paethRow(row, above, rowBytes, rows.bytesPerPixel(), filtered.data() + std::size_t(y - firstRow) * (rowBytes + 1));
        above = row;
        next ^= 1;
    }
    band.filteredBytes = filtered.size();
    band.adler = std::uint32_t(adler32(1, filtered.data(), uInt(filtered.size())));

    z_stream stream{};
    // Raw deflate: the zlib header and the Adler-32 belong to the whole stream.
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK)
        return band;
    band.deflated.resize(deflateBound(&stream, uLong(filtered.size())) + 16);
    stream.next_in = filtered.data();
    stream.avail_in = uInt(filtered.size());
    stream.next_out = band.deflated.data();
    stream.avail_out = uInt(band.deflated.size());
    const int status = deflate(&stream, last ? Z_FINISH : Z_FULL_FLUSH);
    band.ok = (last ? status == Z_STREAM_END : status == Z_OK) && stream.avail_in == 0 && stream.avail_out > 0;
    band.deflated.resize(stream.total_out);
    deflateEnd(&stream);
    return band;
}

// The zlib stream of the filtered rows: the bands deflated on OpenCV's pool,
// joined between one header and one Adler-32.
std::optional<QByteArray> imageData(const FileRows& rows, int height)
{
    const int rowsPerBand = int(std::clamp<std::size_t>(kBandBytes / std::max<std::size_t>(rows.rowBytes(), 1), 1,
                                                        std::size_t(height)));
    const int bands = (height + rowsPerBand - 1) / rowsPerBand;
    std::vector<Band> parts(static_cast<std::size_t>(bands));
    const auto deflateRange = [&](const cv::Range& range) {
        for (int b = range.start; b < range.end; ++b) {
            const int first = b * rowsPerBand;
            parts[std::size_t(b)] = deflateBand(rows, first, std::min(height, first + rowsPerBand), b == bands - 1);
        }
    };
    if (bands == 1)
        deflateRange(cv::Range(0, 1));
    else
        cv::parallel_for_(cv::Range(0, bands), deflateRange, double(bands));

    QByteArray stream;
    std::size_t total = 6;
    for (const Band& band : parts)
        total += band.deflated.size();
    stream.reserve(qsizetype(total));
    stream.append(char(0x78)).append(char(0x9C)); // deflate, 32K window, default level
    std::uint32_t adler = 1;
    for (const Band& band : parts) {
        if (!band.ok)
            return std::nullopt;
        stream.append(reinterpret_cast<const char*>(band.deflated.data()), qsizetype(band.deflated.size()));
        adler = std::uint32_t(adler32_combine(adler, band.adler, z_off_t(band.filteredBytes)));
    }
    appendBigEndian(stream, adler);
    return stream;
}

} // namespace

std::optional<QByteArray> writePng(const Image& rendered, bool keepAlpha, int pixelsPerMetre)
{
    if (rendered.empty() || rendered.pixels.type() != CV_8UC4)
        return std::nullopt;
    // Opaque pixels are their own straight colour.
    const cv::Mat straight = keepAlpha ? unpremultiplied(rendered) : rendered.pixels;
    const FileRows rows(straight, keepAlpha);
    const std::optional<QByteArray> data = imageData(rows, straight.rows);
    if (!data)
        return std::nullopt;

    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    file.reserve(data->size() + data->size() / kMaxChunkData * 12 + 256);
    QByteArray header = bigEndianWords({std::uint32_t(straight.cols), std::uint32_t(straight.rows)});
    header.append(char(8)).append(char(keepAlpha ? 6 : 2)).append(3, char(0)); // 8 bits, RGBA or RGB, no interlace
    appendChunk(file, "IHDR", header);
    appendChunk(file, "gAMA", bigEndianWords({45455}));
    appendChunk(file, "sRGB", QByteArray(1, char(0))); // perceptual
    appendChunk(file, "cHRM", bigEndianWords({31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000}));
    if (pixelsPerMetre > 0) {
        QByteArray resolution = bigEndianWords({std::uint32_t(pixelsPerMetre), std::uint32_t(pixelsPerMetre)});
        appendChunk(file, "pHYs", resolution.append(char(1))); // per metre
    }
    for (qsizetype at = 0; at < data->size(); at += kMaxChunkData)
        appendChunk(file, "IDAT", QByteArrayView(*data).sliced(at, std::min(kMaxChunkData, data->size() - at)));
    appendChunk(file, "IEND", {});
    return file;
}

} // namespace zephrin
