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

// The pixel rows as the file holds them, made from the premultiplied pixels
// one row at a time (a straight copy of the whole picture would double the
// memory an encode takes): straight RGBA, or RGB with the fourth byte of each
// pixel dropped (opaque pixels are their own straight colour).
class FileRows {
public:
    FileRows(const cv::Mat& pixels, bool keepAlpha) : m_pixels(pixels), m_keepAlpha(keepAlpha) {}
    int bytesPerPixel() const { return m_keepAlpha ? 4 : 3; }
    std::size_t rowBytes() const { return std::size_t(m_pixels.cols) * std::size_t(bytesPerPixel()); }
    // Row y, made in `scratch`.
    const unsigned char* row(int y, std::vector<unsigned char>& scratch) const
    {
        const unsigned char* rgba = m_pixels.ptr<unsigned char>(y);
        scratch.resize(rowBytes());
        if (m_keepAlpha) {
            unpremultiplyRow(rgba, scratch.data(), m_pixels.cols);
            return scratch.data();
        }
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
    std::vector<unsigned char> packed[2]; // the current row and the one above
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

// The filtered rows deflated in bands on OpenCV's pool; none when one failed
// or `stop` turned true before all were begun.
std::optional<std::vector<Band>> deflatedBands(const FileRows& rows, int height, const std::atomic<bool>* stop)
{
    const int rowsPerBand = int(std::clamp<std::size_t>(kBandBytes / std::max<std::size_t>(rows.rowBytes(), 1), 1,
                                                        std::size_t(height)));
    const int bands = (height + rowsPerBand - 1) / rowsPerBand;
    std::vector<Band> parts(static_cast<std::size_t>(bands));
    const auto deflateRange = [&](const cv::Range& range) {
        for (int b = range.start; b < range.end; ++b) {
            if (stop && stop->load(std::memory_order_relaxed))
                return; // left not ok
            const int first = b * rowsPerBand;
            parts[std::size_t(b)] = deflateBand(rows, first, std::min(height, first + rowsPerBand), b == bands - 1);
        }
    };
    if (bands == 1)
        deflateRange(cv::Range(0, 1));
    else
        cv::parallel_for_(cv::Range(0, bands), deflateRange, double(bands));
    if (!std::all_of(parts.begin(), parts.end(), [](const Band& band) { return band.ok; }))
        return std::nullopt;
    return parts;
}

// The zlib stream of the bands (one header, the bands' raw deflate, one
// Adler-32) as IDAT chunks of at most kMaxChunkData bytes. Each band is let go
// once it is in the file, so the compressed picture is held about once.
void appendImageData(QByteArray& file, std::vector<Band>& bands)
{
    std::uint32_t adler = 1;
    for (const Band& band : bands)
        adler = std::uint32_t(adler32_combine(adler, band.adler, z_off_t(band.filteredBytes)));
    QByteArray chunk;
    chunk.reserve(kMaxChunkData);
    const auto put = [&](const char* data, qsizetype size) {
        while (size > 0) {
            const qsizetype taken = std::min(size, kMaxChunkData - chunk.size());
            chunk.append(data, taken);
            data += taken;
            size -= taken;
            if (chunk.size() == kMaxChunkData) {
                appendChunk(file, "IDAT", chunk);
                chunk.clear();
            }
        }
    };
    const char header[2] = {char(0x78), char(0x9C)}; // deflate, 32K window, default level
    put(header, 2);
    for (Band& band : bands) {
        put(reinterpret_cast<const char*>(band.deflated.data()), qsizetype(band.deflated.size()));
        std::vector<unsigned char>().swap(band.deflated);
    }
    const char trailer[4] = {char(adler >> 24), char(adler >> 16), char(adler >> 8), char(adler)};
    put(trailer, 4);
    if (!chunk.isEmpty())
        appendChunk(file, "IDAT", chunk);
}

} // namespace

std::optional<QByteArray> writePng(const Image& rendered, bool keepAlpha, int pixelsPerMetre,
                                   const std::atomic<bool>* stop)
{
    if (rendered.empty() || rendered.pixels.type() != CV_8UC4)
        return std::nullopt;
    const cv::Mat& pixels = rendered.pixels;
    const FileRows rows(pixels, keepAlpha);
    std::optional<std::vector<Band>> bands = deflatedBands(rows, pixels.rows, stop);
    if (!bands)
        return std::nullopt;
    qsizetype data = 6;
    for (const Band& band : *bands)
        data += qsizetype(band.deflated.size());

    QByteArray file("\x89PNG\r\n\x1a\n", 8);
    file.reserve(data + data / kMaxChunkData * 12 + 256);
    QByteArray header = bigEndianWords({std::uint32_t(pixels.cols), std::uint32_t(pixels.rows)});
    header.append(char(8)).append(char(keepAlpha ? 6 : 2)).append(3, char(0)); // 8 bits, RGBA or RGB, no interlace
    appendChunk(file, "IHDR", header);
    appendChunk(file, "gAMA", bigEndianWords({45455}));
    appendChunk(file, "sRGB", QByteArray(1, char(0))); // perceptual
    appendChunk(file, "cHRM", bigEndianWords({31270, 32900, 64000, 33000, 30000, 60000, 15000, 6000}));
    if (pixelsPerMetre > 0) {
        QByteArray resolution = bigEndianWords({std::uint32_t(pixelsPerMetre), std::uint32_t(pixelsPerMetre)});
        appendChunk(file, "pHYs", resolution.append(char(1))); // per metre
    }
    appendImageData(file, *bands);
    appendChunk(file, "IEND", {});
    return file;
}

} // namespace zephrin
