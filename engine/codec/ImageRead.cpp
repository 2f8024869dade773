#include "engine/codec/ImageRead.h"

#include "engine/codec/ExifOrientation.h"
#include "engine/codec/GifReader.h"
#include "engine/codec/HeifReader.h"
#include "engine/codec/ImageDataCheck.h"
#include "engine/codec/ImageFormat.h"
#include "engine/codec/JpegReader.h"
#include "engine/codec/LibraryMessages.h"
#include "engine/codec/ReadSteps.h"
#include "engine/codec/WebpReader.h"

#include <QBuffer>
#include <QImageReader>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace zephrin {

namespace {

// ---- HEIF --------------------------------------------------------------------

std::optional<ReadFailure> heifRefusal(QByteArrayView bytes, const ReadLimits& limits)
{
    // libheif decodes at full size only.
    const std::optional<QSize> size = heifSize(bytes);
    if (!size || size->isEmpty())
        return ReadFailure::unreadable;
    if (pictureBytes(*size) > limits.maxDecodeBytes)
        return ReadFailure::tooLarge;
    return std::nullopt;
}

ImageRead readHeifPicture(QByteArrayView bytes, const ReadLimits& limits)
{
    if (const std::optional<ReadFailure> refusal = heifRefusal(bytes, limits))
        return failed(*refusal);
    std::optional<QImage> picture = readHeif(bytes, limits.maxDecodeBytes / 4);
    if (!picture)
        return failed(ReadFailure::unreadable);
    return finishedPicture(std::move(*picture), limits);
}

// ---- PNG, BMP and TIFF through Qt's readers ----------------------------------

const char* qtFormatName(ImageFileFormat format)
{
    switch (format) {
    case ImageFileFormat::png: return "png";
    case ImageFileFormat::bmp: return "bmp";
    case ImageFileFormat::tiff: return "tiff";
    default: return "";
    }
}

// A reader of the one format the bytes were sniffed as: Qt's readers of
// other formats are never asked.
class QtReader {
public:
    QtReader(QByteArrayView bytes, ImageFileFormat format)
        : m_data(QByteArray::fromRawData(bytes.data(), bytes.size())), m_buffer(&m_data)
    {
        m_buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&m_buffer);
        reader.setFormat(qtFormatName(format));
        reader.setAutoDetectImageFormat(false);
    }

    QImageReader reader;

private:
    QByteArray m_data;
    QBuffer m_buffer;
};

// The readers that honour a scaled size while decoding, so that only the
// smaller picture is ever allocated: PNG for 8-bit RGB(A) rows that are not
// interlaced (Qt scales those row by row into ARGB32 or RGB32).
bool decodesAtScaledSize(const QImageReader& reader, QImage::Format format, QByteArrayView bytes)
{
    return reader.format() == "png" && reader.supportsOption(QImageIOHandler::ScaledSize)
           && (format == QImage::Format_RGB32 || format == QImage::Format_ARGB32) && !isInterlacedPng(bytes);
}

struct QtPlan {
    QSize stored;
    QSize bounded;
    QSize decoded;
    QImage::Format format = QImage::Format_Invalid;
};

std::optional<ReadFailure> planQtRead(QImageReader& reader, QByteArrayView bytes, const ReadLimits& limits,
                                      QtPlan& plan)
{
    if (!holdsClaimedPixels(bytes))
        return ReadFailure::unreadable;
    // Qt's BMP reader gives a picture stored top row first (a negative
    // height) that negative height as its size, and reads it upright.
    plan.stored = reader.size();
    plan.stored.setHeight(std::abs(plan.stored.height()));
    if (!plan.stored.isValid() || plan.stored.isEmpty())
        return ReadFailure::unreadable;
    plan.format = reader.imageFormat();
    plan.bounded = boundedSize(plan.stored, limits.maxLongEdge);
    plan.decoded = decodesAtScaledSize(reader, plan.format, bytes) ? plan.bounded : plan.stored;
    if (pictureBytes(plan.decoded, plan.format) > limits.maxDecodeBytes)
        return ReadFailure::tooLarge;
    return std::nullopt;
}

template <ImageFileFormat format>
std::optional<ReadFailure> qtRefusal(QByteArrayView bytes, const ReadLimits& limits)
{
    QtReader qt(bytes, format);
    QtPlan plan;
    return planQtRead(qt.reader, bytes, limits, plan);
}

// The data of a PNG's first chunk of `type` ("eXIf"); empty without one.
QByteArrayView pngChunk(QByteArrayView png, QByteArrayView type)
{
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto byte = [&](qsizetype i) { return quint32(quint8(png[at + i])); };
        const quint32 length = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
        if (length > quint32(png.size() - at - 12))
            break;
        if (png.sliced(at + 4, 4) == type)
            return png.sliced(at + 8, length);
        at += 12 + qsizetype(length);
    }
    return {};
}

// The picture of a PNG upright by the orientation of its eXIf chunk, which
// Qt's reader does not read.
ImageRead turnedByExif(ImageRead read, QByteArrayView png)
{
    const int orientation = read.image ? bareExifOrientation(pngChunk(png, "eXIf")) : 0;
    if (orientation > 1)
        read.image = uprightImage(*read.image, orientation);
    return read;
}

template <ImageFileFormat format>
ImageRead readWithQt(QByteArrayView bytes, const ReadLimits& limits)
{
    QtReader qt(bytes, format);
    QImageReader& reader = qt.reader;
    // A TIFF's orientation tag is Qt's to apply; a PNG's eXIf chunk is ours.
    reader.setAutoTransform(limits.applyOrientation && format == ImageFileFormat::tiff);
    QtPlan plan;
    if (const std::optional<ReadFailure> refusal = planQtRead(reader, bytes, limits, plan))
        return failed(*refusal);
    if (plan.bounded != plan.stored)
        reader.setScaledSize(plan.bounded);
    // Qt's readers fill a picture handed to them when its size and format
    // are the ones they would allocate, without their own process-wide
    // allocation limit; these limits have been checked instead. It starts
    // cleared: a reader leaves pixels it never reaches as they were.
    QImage picture;
    if (plan.format != QImage::Format_Invalid) {
        picture = QImage(plan.decoded, plan.format);
        picture.fill(0);
    }
    // libtiff reads on past a strip whose data is damaged or of another size
    // than the strip (a JPEG strip cut short left grey stripes): any such
    // message fails the read.
    const TiffDataMessages messages;
    if (!reader.read(&picture) || picture.isNull() || messages.count() > 0)
        return failed(ReadFailure::unreadable);
    ImageRead read = finishedPicture(std::move(picture), limits);
    return format == ImageFileFormat::png && limits.applyOrientation ? turnedByExif(std::move(read), bytes) : read;
}

// ---- Every format -------------------------------------------------------------

struct FormatReader {
    std::optional<ReadFailure> (*refusal)(QByteArrayView, const ReadLimits&);
    ImageRead (*read)(QByteArrayView, const ReadLimits&);
};

// The reader of the format `bytes` start like; none for a format not read.
std::optional<FormatReader> readerOf(QByteArrayView bytes)
{
    const std::optional<ImageFileFormat> format = sniffedFormat(bytes);
    if (!format)
        return std::nullopt;
    switch (*format) {
    case ImageFileFormat::jpeg: return FormatReader{jpegRefusal, readJpeg};
    case ImageFileFormat::heif: return FormatReader{heifRefusal, readHeifPicture};
    case ImageFileFormat::gif: return FormatReader{gifRefusal, readGif};
    case ImageFileFormat::webp: return FormatReader{webpRefusal, readWebp};
    case ImageFileFormat::png:
        return FormatReader{qtRefusal<ImageFileFormat::png>, readWithQt<ImageFileFormat::png>};
    case ImageFileFormat::bmp:
        return FormatReader{qtRefusal<ImageFileFormat::bmp>, readWithQt<ImageFileFormat::bmp>};
    case ImageFileFormat::tiff:
        return FormatReader{qtRefusal<ImageFileFormat::tiff>, readWithQt<ImageFileFormat::tiff>};
    }
    return std::nullopt;
}

} // namespace

QSize boundedSize(QSize size, int maxLongEdge)
{
    if (std::max(size.width(), size.height()) <= maxLongEdge)
        return size;
    return size.scaled(maxLongEdge, maxLongEdge, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

std::optional<ReadFailure> headerRefusal(QByteArrayView bytes, const ReadLimits& limits)
{
    try {
        const std::optional<FormatReader> reader = readerOf(bytes);
        return reader ? reader->refusal(bytes, limits) : ReadFailure::unreadable;
    } catch (const std::bad_alloc&) {
        return ReadFailure::tooLarge;
    } catch (const std::exception&) {
        return ReadFailure::unreadable;
    }
}

ImageRead readImage(QByteArrayView bytes, const ReadLimits& limits)
{
    try {
        const std::optional<FormatReader> reader = readerOf(bytes);
        return reader ? reader->read(bytes, limits) : failed(ReadFailure::unreadable);
    } catch (const std::bad_alloc&) {
        return failed(ReadFailure::tooLarge);
    } catch (const std::exception&) {
        return failed(ReadFailure::unreadable);
    }
}

void quietImageReaderWarnings()
{
    routeLibraryMessages();
    // Qt's image readers pass libpng's messages on at info and warning
    // level, its colour-profile reader its own complaints. Rules set here
    // come before QT_LOGGING_RULES, which can show them again.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false\n"
                                                    "qt.imageformats*=false\n"
                                                    "qt.gui.icc*=false"));
}

} // namespace zephrin
