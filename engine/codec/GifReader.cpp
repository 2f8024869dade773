#include "engine/codec/GifReader.h"

#include "engine/codec/AreaScaledRows.h"
#include "engine/codec/ReadSteps.h"

#include <QRect>

#include <algorithm>
#include <array>
#include <memory>

namespace zephrin {

namespace {

// A 12-bit code stands for at most 4096 pixels.
constexpr double kLzwBestPixelsPerByte = 4096.0 * 8 / 12;
constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

int byteAt(QByteArrayView bytes, qsizetype at) { return at >= 0 && at < bytes.size() ? quint8(bytes[at]) : -1; }

int little16(QByteArrayView bytes, qsizetype at)
{
    const int low = byteAt(bytes, at);
    const int high = byteAt(bytes, at + 1);
    return low < 0 || high < 0 ? -1 : low | (high << 8);
}

qsizetype colourTableBytes(int flags) { return (flags & 0x80) ? 3 * (qsizetype(2) << (flags & 7)) : 0; }

// Where the data sub-blocks from `at` end (after their terminator) and how
// many bytes they hold; none when the file ends first.
struct SubBlocks {
    qsizetype end = 0;
    qint64 payload = 0;
};

std::optional<SubBlocks> subBlocks(QByteArrayView bytes, qsizetype at)
{
    SubBlocks blocks;
    for (int size = byteAt(bytes, at); size != 0; size = byteAt(bytes, at)) {
        if (size < 0 || at + 1 + size > bytes.size())
            return std::nullopt;
        blocks.payload += size;
        at += 1 + size;
    }
    blocks.end = at + 1;
    return blocks;
}

// What the first frame needs, read from the file's blocks up to the end of
// that frame's data.
struct GifLayout {
    QSize screen;               // the picture's size
    QRect frame;                // where the first frame's pixels go
    QByteArrayView colours;     // the frame's colour table (local, else global), 3 bytes an entry
    int backgroundIndex = -1;   // the screen's background colour, -1 without a global table
    int transparentIndex = -1;  // from a graphic control block before the frame
    bool interlaced = false;
    int minimumCodeSize = 0;
    qsizetype data = 0;         // the frame's first data sub-block
    qint64 dataBytes = 0;       // the LZW bytes of all its sub-blocks
};

// Qt's reader takes a logical screen more than ten times the frame's size
// (and more than 16384) for a mistake, and the frame's extent instead.
int screenSide(int side, int frameStart, int frameSide)
{
    if (side / 10 > std::max(frameSide, 16384))
        side = -1;
    return side <= 0 ? frameStart + frameSide : side;
}

std::optional<GifLayout> gifLayout(QByteArrayView bytes)
{
    GifLayout layout;
    const int screenWidth = little16(bytes, 6);
    const int screenHeight = little16(bytes, 8);
    const int screenFlags = byteAt(bytes, 10);
    if (screenFlags < 0 || byteAt(bytes, 11) < 0)
        return std::nullopt;
    const qsizetype globalBytes = colourTableBytes(screenFlags);
    if (13 + globalBytes > bytes.size())
        return std::nullopt;
    const QByteArrayView global = bytes.sliced(13, globalBytes);
    if (globalBytes > 0)
        layout.backgroundIndex = byteAt(bytes, 11);

    for (qsizetype at = 13 + globalBytes;;) {
        switch (byteAt(bytes, at)) {
        case 0x21: { // an extension: its label, then data sub-blocks
            const int label = byteAt(bytes, at + 1);
            if (label == 0xF9 && byteAt(bytes, at + 2) >= 4) // graphic control
                layout.transparentIndex = (byteAt(bytes, at + 3) & 1) ? byteAt(bytes, at + 6) : -1;
            const std::optional<SubBlocks> blocks = subBlocks(bytes, at + 2);
            if (label < 0 || !blocks)
                return std::nullopt;
            at = blocks->end;
            break;
        }
        case 0x2C: { // the first frame
            const int left = little16(bytes, at + 1);
            const int top = little16(bytes, at + 3);
            const int width = little16(bytes, at + 5);
            const int height = little16(bytes, at + 7);
            const int flags = byteAt(bytes, at + 9);
            if (flags < 0)
                return std::nullopt;
            layout.frame = QRect(left, top, width, height);
            layout.screen = QSize(screenSide(screenWidth, left, width), screenSide(screenHeight, top, height));
            layout.interlaced = flags & 0x40;
            const qsizetype localBytes = colourTableBytes(flags);
            const qsizetype codeSizeAt = at + 10 + localBytes;
            if (codeSizeAt >= bytes.size())
                return std::nullopt;
            layout.colours = localBytes > 0 ? bytes.sliced(at + 10, localBytes) : global;
            // Colour indices are bytes: codes start at eight bits at the most.
            layout.minimumCodeSize = byteAt(bytes, codeSizeAt);
            const std::optional<SubBlocks> blocks = subBlocks(bytes, codeSizeAt + 1);
            if (layout.minimumCodeSize < 1 || layout.minimumCodeSize > 8 || !blocks)
                return std::nullopt;
            layout.data = codeSizeAt + 1;
            layout.dataBytes = blocks->payload;
            return layout;
        }
        default: return std::nullopt; // the trailer, or anything else, before a frame
        }
    }
}

// The premultiplied RGBA value of each colour index, as Qt's reader shows it:
// the transparent index keeps its colour with no alpha, and without a
// transparent index nothing has alpha. An index past the table names no
// colour of the file: a pixel of it is damage, not white.
struct Palette {
    std::array<cv::Vec4b, 256> values;
    std::array<bool, 256> named; // whether a pixel may hold the index
    cv::Vec4b blank; // where the frame draws nothing
};

Palette paletteOf(const GifLayout& layout)
{
    const bool hasAlpha = layout.transparentIndex >= 0;
    const cv::Vec4b none = hasAlpha ? cv::Vec4b(0, 0, 0, 0) : cv::Vec4b(255, 255, 255, 255);
    Palette palette;
    palette.blank = hasAlpha ? none : cv::Vec4b(0, 0, 0, 255);
    // Without any colour table every index is black.
    palette.values.fill(layout.colours.isEmpty() ? palette.blank : none);
    palette.named.fill(layout.colours.isEmpty());
    const auto* table = reinterpret_cast<const quint8*>(layout.colours.data());
    for (int index = 0; index < 256 && 3 * qsizetype(index) + 2 < layout.colours.size(); ++index) {
        palette.named[size_t(index)] = true;
        if (index != layout.transparentIndex)
            palette.values[size_t(index)] = {table[3 * index], table[3 * index + 1], table[3 * index + 2], 255};
    }
    // A transparent pixel shows no colour, whatever its index.
    if (layout.transparentIndex >= 0 && layout.transparentIndex < 256)
        palette.named[size_t(layout.transparentIndex)] = true;
    return palette;
}

// The string table of the frame's LZW codes: each entry is an earlier entry
// and one more index; codes below `clear` stand for one index each.
struct StringTable {
    std::array<quint16, kMaxCodes> prefix{};
    std::array<quint8, kMaxCodes> suffix{};
    std::array<quint8, kMaxCodes> firstIndex{};
    std::array<quint16, kMaxCodes> length{};
};

// The rows of an interlaced frame come in four passes: from these rows, these
// steps apart.
constexpr std::array kPassStart{0, 4, 2, 1};
constexpr std::array kPassStep{8, 8, 4, 2};

qint64 rowsBetween(int first, int last, int step) { return first > last ? 0 : qint64(last - first) / step + 1; }

// How many of the frame's pixels, in the order its data codes them, come up
// to the end of the last row that shows on the screen. Nothing after it
// shows: a frame far larger than its screen is followed no further.
qint64 shownPixels(const GifLayout& layout)
{
    const QRect& frame = layout.frame;
    if (frame.isEmpty() || frame.left() >= layout.screen.width())
        return 0;
    const int lastShown = std::min(frame.bottom(), layout.screen.height() - 1);
    qint64 rows = 0;
    qint64 end = 0;
    for (int pass = 0; pass < (layout.interlaced ? 4 : 1); ++pass) {
        const int first = frame.top() + (layout.interlaced ? kPassStart[size_t(pass)] : 0);
        const int step = layout.interlaced ? kPassStep[size_t(pass)] : 1;
        if (const qint64 shown = rowsBetween(first, lastShown, step); shown > 0)
            end = rows + shown;
        rows += rowsBetween(first, frame.bottom(), step);
    }
    return end * frame.width();
}

// Where decoded pixels go: row after row of the frame (in the four passes of
// an interlaced one), cut to the picture, up to the last pixel that shows.
// Runs of pixels that do not show are stepped over, not expanded, so the
// work is bound by the codes and the pixels that show. `target` holds the
// shown pixels, from `origin` of the screen on, each `values[index]`: the
// screen's picture in colour, or the shown part of the frame as indices.
template <typename Pixel>
class PixelSink {
public:
    PixelSink(cv::Mat& target, QPoint origin, const GifLayout& layout, const std::array<Pixel, 256>& values,
              const std::array<bool, 256>& named)
        : m_target(target), m_origin(origin), m_frame(layout.frame), m_interlaced(layout.interlaced),
          m_values(values), m_named(named), m_row(layout.frame.top()), m_end(shownPixels(layout))
    {
    }

    // Full once every shown pixel is put, or once one that shows names no
    // colour of the table.
    bool full() const { return m_done >= m_end || m_stray; }
    bool stray() const { return m_stray; }

    // The indices of the string of `code`, first to last.
    void string(const StringTable& table, int code)
    {
        qint64 length = table.length[size_t(code)];
        while (length > 0 && !full() && hiddenRun() > 0) {
            const qint64 run = std::min(length, hiddenRun());
            advance(run);
            length -= run;
        }
        if (length == 0 || full())
            return;
        // The string's last `length` indices: its prefixes, from its end.
        for (auto at = size_t(length); at-- > 0; code = table.prefix[size_t(code)])
            m_stack[at] = table.suffix[size_t(code)];
        for (size_t at = 0; at < size_t(length); ++at)
            put(m_stack[at]);
    }

    void put(quint8 index)
    {
        if (full())
            return;
        if (hiddenRun() == 0) {
            m_stray = m_stray || !m_named[index];
            m_target.at<Pixel>(m_row - m_origin.y(), m_frame.left() + m_column - m_origin.x()) = m_values[index];
        }
        advance(1);
    }

private:
    // How many pixels from here to the end of the row do not show: all of
    // them below the picture or right of it, none otherwise.
    qint64 hiddenRun() const
    {
        const bool shows = m_row - m_origin.y() < m_target.rows && m_frame.left() + m_column - m_origin.x() < m_target.cols;
        return shows ? 0 : m_frame.width() - m_column;
    }

    // Moves on by `count` pixels, at most to the end of the row.
    void advance(qint64 count)
    {
        m_done += count;
        m_column += int(count);
        if (m_column < m_frame.width())
            return;
        m_column = 0;
        m_row += m_interlaced ? kPassStep[size_t(m_pass)] : 1;
        while (m_interlaced && m_row > m_frame.bottom() && m_pass < 3)
            m_row = m_frame.top() + kPassStart[size_t(++m_pass)];
    }

    cv::Mat& m_target;
    QPoint m_origin;
    QRect m_frame;
    bool m_interlaced;
    const std::array<Pixel, 256>& m_values;
    const std::array<bool, 256>& m_named;
    bool m_stray = false;
    int m_row;
    int m_pass = 0;
    int m_column = 0;
    qint64 m_done = 0;
    qint64 m_end;
    std::array<quint8, kMaxCodes> m_stack{};
};

// Counts the pixels the codes stand for, up to `wanted`, without expanding a
// string.
class CountingSink {
public:
    explicit CountingSink(qint64 wanted) : m_wanted(wanted) {}

    bool full() const { return m_count >= m_wanted; }
    void string(const StringTable& table, int code) { m_count += table.length[size_t(code)]; }
    void put(quint8) { ++m_count; }
    qint64 count() const { return std::min(m_count, m_wanted); }

private:
    qint64 m_wanted;
    qint64 m_count = 0;
};

// The frame's LZW codes, least significant bit first across its sub-blocks.
class CodeReader {
public:
    CodeReader(QByteArrayView bytes, qsizetype at) : m_bytes(bytes), m_at(at), m_left(byteAt(bytes, at)) { ++m_at; }

    // The next code of `bits` bits; -1 once the data ends.
    int next(int bits)
    {
        while (m_count < bits) {
            while (m_left == 0) {
                m_left = byteAt(m_bytes, m_at++);
                if (m_left <= 0)
                    return -1;
            }
            m_buffer |= quint32(byteAt(m_bytes, m_at++)) << m_count;
            m_count += 8;
            --m_left;
        }
        const int code = int(m_buffer & ((1u << bits) - 1));
        m_buffer >>= bits;
        m_count -= bits;
        return code;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at;
    int m_left;
    quint32 m_buffer = 0;
    int m_count = 0;
};

// Decodes the frame's data into `sink` until the sink is full, the end code,
// the end of the data or a code that cannot be.
template <typename Sink>
void decodeFrame(QByteArrayView bytes, const GifLayout& layout, Sink& sink)
{
    const int clear = 1 << layout.minimumCodeSize;
    const int end = clear + 1;
    auto table = std::make_unique<StringTable>();
    for (int code = 0; code < clear; ++code) {
        table->suffix[size_t(code)] = quint8(code);
        table->firstIndex[size_t(code)] = quint8(code);
        table->length[size_t(code)] = 1;
    }

    CodeReader reader(bytes, layout.data);
    int bits = layout.minimumCodeSize + 1;
    int next = clear + 2;
    int previous = -1;
    while (!sink.full()) {
        const int code = reader.next(bits);
        if (code < 0 || code == end)
            return;
        if (code == clear) {
            bits = layout.minimumCodeSize + 1;
            next = clear + 2;
            previous = -1;
            continue;
        }
        if (previous < 0) {
            if (code > clear)
                return;
            sink.string(*table, code);
            previous = code;
            continue;
        }
        if (code > next || (code == next && next >= kMaxCodes))
            return;
        // The first index of the string `code` stands for: for the code not yet
        // in the table, the previous string and its own first index.
        const quint8 first = table->firstIndex[size_t(code == next ? previous : code)];
        if (code == next) {
            sink.string(*table, previous);
            sink.put(first);
        } else {
            sink.string(*table, code);
        }
        if (next < kMaxCodes) {
            table->prefix[size_t(next)] = quint16(previous);
            table->suffix[size_t(next)] = first;
            table->firstIndex[size_t(next)] = table->firstIndex[size_t(previous)];
            table->length[size_t(next)] = quint16(table->length[size_t(previous)] + 1);
            ++next;
            if (next >= (1 << bits) && bits < kMaxCodeBits)
                ++bits;
        }
        previous = code;
    }
}

std::optional<ReadFailure> refusalOf(QByteArrayView bytes, const std::optional<GifLayout>& layout,
                                     const ReadLimits& limits)
{
    if (!layout || layout->screen.isEmpty() || !framesCoverCanvas(layout->screen, layout->frame))
        return ReadFailure::unreadable;
    const double pixels = double(layout->screen.width()) * layout->screen.height();
    if (double(layout->dataBytes) * kLzwBestPixelsPerByte < pixels)
        return ReadFailure::unreadable;
    // A frame its data leaves part unfilled where it shows would show the
    // background there: a picture the file does not hold (a few bytes
    // claiming a huge one).
    const qint64 shown = shownPixels(*layout);
    CountingSink counted(shown);
    decodeFrame(bytes, *layout, counted);
    if (counted.count() < shown)
        return ReadFailure::unreadable;
    if (pictureBytes(layout->screen) > limits.maxDecodeBytes)
        return ReadFailure::tooLarge;
    return std::nullopt;
}

// The colour of the screen where the frame draws nothing: its background,
// or nothing where the frame has a transparent colour.
cv::Vec4b screenColour(const GifLayout& layout, const Palette& palette)
{
    const QRect screen(QPoint(0, 0), layout.screen);
    if (!layout.frame.contains(screen) && layout.transparentIndex < 0 && layout.backgroundIndex >= 0)
        return palette.values[size_t(layout.backgroundIndex)];
    return palette.blank;
}

// The screen at its own size: the frame drawn over the screen's colour.
std::optional<cv::Mat> wholePicture(QByteArrayView bytes, const GifLayout& layout, const Palette& palette)
{
    cv::Mat picture(layout.screen.height(), layout.screen.width(), CV_8UC4, screenColour(layout, palette));
    PixelSink<cv::Vec4b> sink(picture, QPoint(0, 0), layout, palette.values, palette.named);
    decodeFrame(bytes, layout, sink);
    if (sink.stray() || !sink.full())
        return std::nullopt;
    return picture;
}

// The screen scaled down to `scaled` as it is put together: the frame's
// shown pixels are decoded as indices, a byte each, and the rows of the
// screen made from them one at a time. A screen of 16384 x 16384 took the
// whole picture (1 GiB) and its scaled copy beside it.
std::optional<cv::Mat> scaledPicture(QByteArrayView bytes, const GifLayout& layout, const Palette& palette,
                                     QSize scaled)
{
    const QRect shown = layout.frame & QRect(QPoint(0, 0), layout.screen);
    cv::Mat indices(std::max(shown.height(), 0), std::max(shown.width(), 0), CV_8UC1, cv::Scalar::all(0));
    std::array<quint8, 256> identity{};
    for (size_t index = 0; index < identity.size(); ++index)
        identity[index] = quint8(index);
    PixelSink<quint8> sink(indices, layout.frame.topLeft(), layout, identity, palette.named);
    decodeFrame(bytes, layout, sink);
    if (sink.stray() || !sink.full())
        return std::nullopt;
    const cv::Vec4b fill = screenColour(layout, palette);
    return areaScaledRows(layout.screen, scaled, [&](int y, quint8* row) {
        auto* pixels = reinterpret_cast<cv::Vec4b*>(row);
        std::fill(pixels, pixels + layout.screen.width(), fill);
        if (y < shown.top() || y > shown.bottom())
            return;
        const quint8* from = indices.ptr<quint8>(y - shown.top());
        for (int x = 0; x < shown.width(); ++x)
            pixels[shown.left() + x] = palette.values[from[x]];
    });
}

} // namespace

std::optional<ReadFailure> gifRefusal(QByteArrayView bytes, const ReadLimits& limits)
{
    return refusalOf(bytes, gifLayout(bytes), limits);
}

ImageRead readGif(QByteArrayView bytes, const ReadLimits& limits)
{
    const std::optional<GifLayout> layout = gifLayout(bytes);
    if (const std::optional<ReadFailure> refusal = refusalOf(bytes, layout, limits))
        return failed(*refusal);
    const Palette palette = paletteOf(*layout);
    const QSize scaled = boundedSize(layout->screen, limits.maxLongEdge);
    const std::optional<cv::Mat> picture = scaled == layout->screen ? wholePicture(bytes, *layout, palette)
                                                                    : scaledPicture(bytes, *layout, palette, scaled);
    if (!picture)
        return failed(ReadFailure::unreadable);
    return finishedImage(Image(*picture), limits);
}

} // namespace zephrin
