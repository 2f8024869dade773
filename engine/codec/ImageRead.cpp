#include "engine/codec/ImageRead.h"

#include "engine/codec/ColourProfile.h"
#include "engine/codec/ColourTableIndices.h"
#include "engine/codec/GifReader.h"
#include "engine/codec/HeifReader.h"
#include "engine/codec/ImageDataCheck.h"
#include "engine/codec/ImageFormat.h"
#include "engine/codec/JpegReader.h"
#include "engine/codec/LibraryMessages.h"
#include "engine/codec/PngReader.h"
#include "engine/codec/ReadSteps.h"
#include "engine/codec/TiffLayout.h"
#include "engine/codec/WebpReader.h"

#include <QBuffer>
#include <QImageReader>
#include <QLoggingCategory>

#include <algorithm>
#include <cstdlib>
#include <new>

#include <tiff.h>

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

// ---- BMP and TIFF through Qt's readers ---------------------------------------

const char* qtFormatName(ImageFileFormat format)
{
    switch (format) {
    case ImageFileFormat::bmp: return "bmp";
    case ImageFileFormat::tiff: return "tiff";
    default: return "";
    }
}

// The bytes as a device that refuses a seek past its end without a word:
// libtiff seeks where a damaged directory points, and QBuffer printed
// "QBuffer::seek: Invalid pos" for each.
class QuietBuffer final : public QBuffer {
public:
    using QBuffer::QBuffer;
    bool seek(qint64 position) override { return position >= 0 && position <= size() && QBuffer::seek(position); }
};

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
    QuietBuffer m_buffer;
};

struct QtPlan {
    QSize stored; // read at this size, scaled after
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
    if (pictureBytes(plan.stored, plan.format) > limits.maxDecodeBytes)
        return ReadFailure::tooLarge;
    return std::nullopt;
}

// What a TIFF's pixels are stored as, for its ICC profile: Qt's reader sets
// whatever profile the file holds.
StoredColours tiffColours(QByteArrayView bytes)
{
    const std::optional<TiffLayout> tiff = tiffLayout(bytes);
    switch (tiff ? tiff->photometric : -1) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK: return StoredColours::grey;
    case PHOTOMETRIC_RGB:
    case PHOTOMETRIC_PALETTE:
    case PHOTOMETRIC_YCBCR: return StoredColours::rgb;
    case PHOTOMETRIC_SEPARATED: return StoredColours::cmyk;
    default: return StoredColours::other;
    }
}

template <ImageFileFormat format>
std::optional<ReadFailure> qtRefusal(QByteArrayView bytes, const ReadLimits& limits)
{
    const QtMessagesToLog quiet;
    QtReader qt(bytes, format);
    QtPlan plan;
    return planQtRead(qt.reader, bytes, limits, plan);
}

template <ImageFileFormat format>
ImageRead readWithQt(QByteArrayView bytes, const ReadLimits& limits)
{
    const QtMessagesToLog quiet;
    QtReader qt(bytes, format);
    QImageReader& reader = qt.reader;
    reader.setAutoTransform(limits.applyOrientation);
    QtPlan plan;
    if (const std::optional<ReadFailure> refusal = planQtRead(reader, bytes, limits, plan))
        return failed(*refusal);
    // Qt's readers fill a picture handed to them when its size and format
    // are the ones they would allocate, without their own process-wide
    // allocation limit; these limits have been checked instead. It starts
    // cleared: a reader leaves pixels it never reaches as they were.
    QImage picture;
    if (plan.format != QImage::Format_Invalid) {
        picture = QImage(plan.stored, plan.format);
        picture.fill(0);
    }
    // libtiff reads on past a strip whose data is damaged or of another size
    // than the strip (a JPEG strip cut short left grey stripes): any such
    // message fails the read, as does a pixel whose index lies past the
    // colours the file gives.
    const TiffDataMessages messages;
    if (!reader.read(&picture) || picture.isNull() || messages.count() > 0 || !indicesWithinColourTable(picture))
        return failed(ReadFailure::unreadable);
    if (format == ImageFileFormat::tiff && picture.colorSpace().isValid())
        dropMismatchedProfile(picture, tiffColours(bytes));
    return finishedPicture(std::move(picture), limits);
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
    case ImageFileFormat::png: return FormatReader{pngRefusal, readPng};
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
