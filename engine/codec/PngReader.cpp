#include "engine/codec/PngReader.h"

#include "picturehead/Bytes.h"
#include "engine/codec/ColourTableIndices.h"
#include "engine/codec/ExifOrientation.h"
#include "engine/codec/ImageDataCheck.h"
#include "engine/codec/LibraryMessages.h"
#include "engine/codec/ReadSteps.h"

#include <QColorSpace>
#include <QImage>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <vector>

#include <png.h>

namespace zephrin {

namespace {

// libpng reports errors through the error function, which must not return:
// it jumps back to the setjmp of the step that was running. Every function
// below that calls setjmp holds only plain data, so no destructor is skipped.
[[noreturn]] void onError(png_structp png, png_const_charp message)
{
    qCWarning(imageLibraryLog, "libpng error: %s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp message) { qCInfo(imageLibraryLog, "libpng warning: %s", message); }

struct Source {
    QByteArrayView bytes;
    qsizetype at = 0;
    bool atEnd = false; // reading the chunks after the picture
};

void readFromSource(png_structp png, png_bytep data, size_t length)
{
    auto* source = static_cast<Source*>(png_get_io_ptr(png));
    const auto left = size_t(source->bytes.size() - source->at);
    if (source->atEnd && left < 4 && length == 4) {
        // As Qt's reader: a file that lacks the end chunk's CRC gets it.
        static constexpr unsigned char kEndCrc[4] = {0xAE, 0x42, 0x60, 0x82};
        std::memcpy(data, kEndCrc, 4);
        source->at = source->bytes.size();
        return;
    }
    if (length > left)
        png_error(png, "Read Error");
    std::memcpy(data, source->bytes.data() + source->at, length);
    source->at += qsizetype(length);
}

class Session {
public:
    explicit Session(QByteArrayView bytes) : m_source{bytes}
    {
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
        if (png != nullptr)
            info = png_create_info_struct(png);
        if (info == nullptr)
            return;
        png_set_read_fn(png, &m_source, readFromSource);
        // A little more memory for files whose window is larger than their
        // header says ("invalid distance too far back"), as Qt's reader does.
        png_set_option(png, PNG_MAXIMUM_INFLATE_WINDOW, PNG_OPTION_ON);
    }
    ~Session() { png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool ok() const { return info != nullptr; }
    void toEnd() { m_source.atEnd = true; }

    png_structp png = nullptr;
    png_infop info = nullptr;

private:
    Source m_source;
};

struct Header {
    QSize size;
    int bitDepth = 0;
    int colorType = 0;
    bool interlaced = false;
    bool transparency = false; // a tRNS chunk
};

Header headerOf(const Session& session)
{
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    Header header;
    int interlace = PNG_INTERLACE_NONE;
    png_get_IHDR(session.png, session.info, &width, &height, &header.bitDepth, &header.colorType, &interlace,
                 nullptr, nullptr);
    header.size = width <= INT_MAX && height <= INT_MAX ? QSize(int(width), int(height)) : QSize();
    header.interlaced = interlace != PNG_INTERLACE_NONE;
    header.transparency = png_get_valid(session.png, session.info, PNG_INFO_tRNS) != 0;
    return header;
}

// The file's header, read while libpng may still report an error (reading
// IHDR back checks it again).
bool readHeader(Session& session, Header& header)
{
    if (!session.ok() || setjmp(png_jmpbuf(session.png)))
        return false;
    png_read_info(session.png, session.info);
    header = headerOf(session);
    return true;
}

// The format Qt's reader gives such a file.
QImage::Format formatOf(const Header& header)
{
    const bool alpha = (header.colorType & PNG_COLOR_MASK_ALPHA) != 0;
    switch (header.colorType) {
    case PNG_COLOR_TYPE_GRAY:
        if (header.bitDepth == 1)
            return QImage::Format_Mono;
        if (header.bitDepth == 16)
            return header.transparency ? QImage::Format_RGBA64 : QImage::Format_Grayscale16;
        return header.bitDepth == 8 && !header.transparency ? QImage::Format_Grayscale8 : QImage::Format_Indexed8;
    case PNG_COLOR_TYPE_PALETTE: return header.bitDepth == 1 ? QImage::Format_Mono : QImage::Format_Indexed8;
    default:
        if (header.bitDepth == 16)
            return alpha || header.transparency ? QImage::Format_RGBA64 : QImage::Format_RGBX64;
        return alpha || header.transparency ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    }
}

// The format of eight bits a sample and four bytes a pixel a 16-bit picture
// is read in when it is scaled down: its precision would not outlast the
// scaled 8-bit picture, and its wide copies took two and a half times the
// memory its decode was allowed.
QImage::Format narrowFormatOf(const Header& header)
{
    const bool alpha = (header.colorType & PNG_COLOR_MASK_ALPHA) != 0 || header.transparency;
    return alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

struct Plan {
    Header header;
    QImage::Format format = QImage::Format_Invalid;
    QSize decoded;              // the size rows are read at
    bool scaledWhileReading = false;
};

std::optional<ReadFailure> planRead(Session& session, QByteArrayView bytes, const ReadLimits& limits, Plan& plan)
{
    if (!holdsClaimedPixels(bytes) || !readHeader(session, plan.header))
        return ReadFailure::unreadable;
    if (!plan.header.size.isValid() || plan.header.size.isEmpty())
        return ReadFailure::unreadable;
    const QSize bounded = boundedSize(plan.header.size, limits.maxLongEdge);
    const bool scaled = bounded != plan.header.size;
    plan.format = scaled && plan.header.bitDepth == 16 ? narrowFormatOf(plan.header) : formatOf(plan.header);
    // Rows of four bytes a pixel, not interlaced, are scaled as they are read.
    plan.scaledWhileReading = (plan.format == QImage::Format_ARGB32 || plan.format == QImage::Format_RGB32)
                              && !plan.header.interlaced && scaled;
    plan.decoded = plan.scaledWhileReading ? bounded : plan.header.size;
    if (pictureBytes(plan.decoded, plan.format) > limits.maxDecodeBytes)
        return ReadFailure::tooLarge;
    return std::nullopt;
}

void setGreyTable(QImage& image, int colours, const png_color_16* transparent)
{
    image.setColorCount(colours);
    for (int i = 0; i < colours; ++i) {
        const int c = i * 255 / (colours - 1);
        image.setColor(i, qRgba(c, c, c, 0xFF));
    }
    if (transparent != nullptr && transparent->gray < colours)
        image.setColor(transparent->gray, 0);
}

void setPaletteTable(QImage& image, const Session& session)
{
    png_colorp palette = nullptr;
    int entries = 0;
    png_get_PLTE(session.png, session.info, &palette, &entries);
    png_bytep alpha = nullptr;
    int alphas = 0;
    png_color_16p transparent = nullptr;
    if (png_get_tRNS(session.png, session.info, &alpha, &alphas, &transparent) == 0 || alpha == nullptr)
        alphas = 0;
    image.setColorCount(image.format() == QImage::Format_Mono ? 2 : entries);
    for (int i = 0; i < entries && i < image.colorCount(); ++i)
        image.setColor(i, qRgba(palette[i].red, palette[i].green, palette[i].blue, i < alphas ? alpha[i] : 0xFF));
}

// The transformations and colour table of Qt's reader for the plan's format.
bool setUp(Session& session, const Plan& plan, QImage& image)
{
    if (setjmp(png_jmpbuf(session.png)))
        return false;
    png_structp png = session.png;
    const Header& header = plan.header;
    png_set_interlace_handling(png);
    png_bytep alpha = nullptr;
    int alphas = 0;
    png_color_16p transparent = nullptr;
    png_get_tRNS(png, session.info, &alpha, &alphas, &transparent);
    switch (plan.format) {
    case QImage::Format_Mono:
        if (header.colorType == PNG_COLOR_TYPE_GRAY) {
            png_set_invert_mono(png);
            image.setColorCount(2);
            image.setColor(1, transparent != nullptr && transparent->gray == 0 ? qRgba(0, 0, 0, 0) : qRgb(0, 0, 0));
            image.setColor(0, transparent != nullptr && transparent->gray == 1 ? qRgba(255, 255, 255, 0)
                                                                               : qRgb(255, 255, 255));
        } else {
            setPaletteTable(image, session);
        }
        break;
    case QImage::Format_Indexed8:
        if (header.colorType == PNG_COLOR_TYPE_GRAY) {
            if (header.bitDepth < 8)
                png_set_packing(png);
            setGreyTable(image, header.bitDepth < 8 ? 1 << header.bitDepth : 256, transparent);
        } else {
            png_set_packing(png);
            setPaletteTable(image, session);
        }
        break;
    case QImage::Format_Grayscale8: png_set_expand(png); break;
    case QImage::Format_Grayscale16: png_set_swap(png); break;
    case QImage::Format_RGBA64:
    case QImage::Format_RGBX64:
        if (plan.format == QImage::Format_RGBX64)
            png_set_filler(png, 0xFFFF, PNG_FILLER_AFTER);
        else if (header.transparency)
            png_set_expand(png); // the tRNS colour as alpha
        png_set_gray_to_rgb(png);
        png_set_swap(png);
        break;
    default: // ARGB32, RGB32: B, G, R, A in memory
        png_set_expand(png);
        if ((header.colorType & PNG_COLOR_MASK_COLOR) == 0)
            png_set_gray_to_rgb(png);
        if (header.bitDepth == 16)
            png_set_scale_16(png);
        if (plan.format == QImage::Format_RGB32)
            png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        png_set_bgr(png);
        break;
    }
    png_read_update_info(png, session.info);
    return true;
}

// Every row into the picture, then the chunks after it.
bool readWhole(Session& session, QImage& image, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(session.png)))
        return false;
    for (int y = 0; y < image.height(); ++y)
        rows[size_t(y)] = image.scanLine(y);
    png_read_image(session.png, rows.data());
    session.toEnd();
    png_read_end(session.png, nullptr);
    return true;
}

// Rows of four bytes a pixel, averaged into the smaller picture as they are
// read (box filter, as Qt's reader scales), then the chunks after it.
bool readScaled(Session& session, QImage& image, QSize stored, std::vector<quint32>& sum, std::vector<png_byte>& in,
                std::vector<png_byte>& row)
{
    if (setjmp(png_jmpbuf(session.png)))
        return false;
    const quint32 inHeight = quint32(stored.height());
    const quint32 inWidth = quint32(stored.width());
    const quint32 outHeight = quint32(image.height());
    const quint32 outWidth = quint32(image.width());
    const size_t rowBytes = 4 * size_t(inWidth);
    qint64 left = 0; // of the last row read, what the next output row takes
    for (quint32 y = 0; y < outHeight; ++y) {
        for (size_t i = 0; i < rowBytes; ++i)
            sum[i] = quint32(left) * in[i];
        for (left = qint64(inHeight) - left; left > 0; left -= outHeight) {
            png_read_row(session.png, in.data(), nullptr);
            const quint32 weight = std::min(outHeight, quint32(left));
            for (size_t i = 0; i < rowBytes; ++i)
                sum[i] += weight * in[i];
        }
        left = -left;
        for (size_t i = 0; i < rowBytes; ++i)
            row[i] = png_byte(sum[i] / inHeight);

        uchar* out = image.scanLine(int(y));
        quint32 a[4] = {};
        qint64 across = outWidth;
        size_t x = 0;
        for (quint32 ox = 0; ox < outWidth; ++ox) {
            for (int c = 0; c < 4; ++c)
                a[c] = quint32(across) * row[x + size_t(c)];
            for (across = qint64(inWidth) - across; across > 0; across -= outWidth) {
                x += 4;
                if (x >= rowBytes)
                    break;
                const quint32 weight = std::min(outWidth, quint32(across));
                for (int c = 0; c < 4; ++c)
                    a[c] += weight * row[x + size_t(c)];
            }
            across = -across;
            for (int c = 0; c < 4; ++c)
                out[4 * ox + size_t(c)] = uchar(a[c] / inWidth);
        }
    }
    session.toEnd();
    png_read_end(session.png, nullptr);
    return true;
}

// The number of colours of a palette picture's PLTE chunk.
int paletteEntries(const Session& session)
{
    png_colorp palette = nullptr;
    int entries = 0;
    png_get_PLTE(session.png, session.info, &palette, &entries);
    return entries;
}

// The colour space Qt's reader gives the picture: its ICC profile, else sRGB
// by its sRGB chunk, else its gamma (and primaries).
QColorSpace colourSpaceOf(const Session& session)
{
    png_structp png = session.png;
    png_infop info = session.info;
    if (png_get_valid(png, info, PNG_INFO_iCCP)) {
        png_charp name = nullptr;
        int compression = 0;
        png_bytep profile = nullptr;
        png_uint_32 length = 0;
        png_get_iCCP(png, info, &name, &compression, &profile, &length);
        const QColorSpace space =
            QColorSpace::fromIccProfile(QByteArray(reinterpret_cast<const char*>(profile), qsizetype(length)));
        if (space.isValid())
            return space;
    }
    int intent = -1;
    if (png_get_valid(png, info, PNG_INFO_sRGB) && png_get_sRGB(png, info, &intent) && intent >= 0 && intent <= 3)
        return QColorSpace(QColorSpace::SRgb);
    double gamma = 0;
    if (!png_get_valid(png, info, PNG_INFO_gAMA) || !png_get_gAMA(png, info, &gamma) || gamma <= 0)
        return {};
    const auto transfer = QColorSpace::TransferFunction::Gamma;
    double white[2], red[2], green[2], blue[2];
    if (png_get_valid(png, info, PNG_INFO_cHRM)
        && png_get_cHRM(png, info, &white[0], &white[1], &red[0], &red[1], &green[0], &green[1], &blue[0], &blue[1])) {
        const QColorSpace space(QPointF(white[0], white[1]), QPointF(red[0], red[1]), QPointF(green[0], green[1]),
                                QPointF(blue[0], blue[1]), transfer, float(1 / gamma));
        if (space.isValid())
            return space;
    }
    return QColorSpace(QColorSpace::Primaries::SRgb, transfer, float(1 / gamma));
}

// The data of the file's first chunk of `type`; empty without one.
QByteArrayView chunk(QByteArrayView png, QByteArrayView type)
{
    const Bytes bytes(png);
    for (qsizetype at = 8; bytes.has(at, 12);) {
        const qsizetype length = *bytes.big32(at);
        if (!bytes.has(at, 12 + length))
            break;
        if (png.sliced(at + 4, 4) == type)
            return png.sliced(at + 8, length);
        at += 12 + length;
    }
    return {};
}

} // namespace

std::optional<ReadFailure> pngRefusal(QByteArrayView bytes, const ReadLimits& limits)
{
    Session session(bytes);
    Plan plan;
    return planRead(session, bytes, limits, plan);
}

ImageRead readPng(QByteArrayView bytes, const ReadLimits& limits)
{
    Session session(bytes);
    Plan plan;
    if (const std::optional<ReadFailure> refusal = planRead(session, bytes, limits, plan))
        return failed(*refusal);
    // Cleared: no pixel of it is left as the allocator had it.
    QImage picture(plan.decoded, plan.format);
    if (picture.isNull())
        return failed(ReadFailure::tooLarge);
    picture.fill(0);
    if (!setUp(session, plan, picture))
        return failed(ReadFailure::unreadable);
    bool read = false;
    if (plan.scaledWhileReading) {
        const size_t rowBytes = 4 * size_t(plan.header.size.width());
        if (png_get_rowbytes(session.png, session.info) != rowBytes)
            return failed(ReadFailure::unreadable);
        std::vector<quint32> sum(rowBytes);
        std::vector<png_byte> in(rowBytes);
        std::vector<png_byte> row(rowBytes);
        read = readScaled(session, picture, plan.header.size, sum, in, row);
    } else {
        std::vector<png_bytep> rows(size_t(picture.height()));
        read = readWhole(session, picture, rows);
    }
    if (!read)
        return failed(ReadFailure::unreadable);
    // libpng gives a pixel whose index lies past the palette opaque black,
    // and warns of it only where a transformation of the rows looks.
    if (plan.header.colorType == PNG_COLOR_TYPE_PALETTE && !indicesBelow(picture, paletteEntries(session)))
        return failed(ReadFailure::unreadable);
    picture.setColorSpace(colourSpaceOf(session));

    ImageRead result = finishedPicture(std::move(picture), limits);
    const int orientation = limits.applyOrientation ? bareExifOrientation(chunk(bytes, "eXIf")) : 0;
    if (result.image && orientation > 1)
        result.image = uprightImage(*result.image, orientation);
    return result;
}

} // namespace zephrin
