#include "engine/codec/ImageRead.h"

#include "engine/codec/CodecFixtures.h"
#include "engine/codec/HeicWriter.h"
#include "engine/codec/HeifReader.h"
#include "engine/codec/ImageFormat.h"
#include "engine/codec/JpegFixtures.h"
#include "engine/codec/LibraryMessages.h"
#include "engine/codec/ReadChecks.h"
#include "engine/codec/WebPEncoder.h"
#include "support/GifWriter.h"
#include "support/HostileImages.h"
#include "support/LogCapture.h"
#include "support/StandardError.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTransform>
#include <QUrl>

#include <webp/mux.h>

#include <png.h>

#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <functional>
#include <random>
#include <tuple>

#include <unistd.h>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

// A HEIF file under another major brand (its compatible brands unchanged).
QByteArray branded(QByteArray heif, const char* major)
{
    heif.replace(8, 4, major);
    return heif;
}

// A 4 × 4 two-colour BMP, run-length coded one row at a time; with
// `rowsCoded` below 4 its data ends early (end of bitmap).
QByteArray rleBmp(int rowsCoded)
{
    QByteArray data;
    for (int row = 0; row < rowsCoded; ++row)
        data.append("\x04\x01\x00\x00", 4); // four pixels of colour 1, end of line
    data.append("\x00\x01", 2);             // end of bitmap
    QByteArray bmp = bmpClaiming(4, 4, 54 + 8);
    bmp.truncate(54);
    const auto put = [&](int at, quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            bmp[at + i] = char((value >> (8 * i)) & 0xFF);
    };
    put(10, 54 + 8, 4); // pixels after the two-entry palette
    put(28, 8, 2);      // 8 bits a pixel
    put(30, 1, 4);      // RLE8
    put(46, 2, 4);      // colours used
    bmp.append("\x00\x00\x00\x00\xFF\xFF\xFF\x00", 8);
    bmp += data;
    put(2, quint32(bmp.size()), 4);
    return bmp;
}

QByteArray palette(int entries)
{
    QByteArray colours;
    for (int i = 0; i < entries; ++i)
        colours.append(char(i * 37)).append(char(255 - i * 11)).append(char(i * 101));
    return colours;
}

GifSpec noisyGif(QSize screen, QRect frame, int colours, unsigned seed)
{
    GifSpec spec;
    spec.screen = screen;
    spec.frame = frame;
    spec.colours = palette(colours);
    std::mt19937 random(seed);
    spec.indices.resize(size_t(frame.width()) * size_t(frame.height()));
    for (quint8& index : spec.indices)
        index = quint8(random() % unsigned(colours));
    return spec;
}

} // namespace

TEST(ImageRead, RefusesSmallFilesClaimingHugePictures)
{
    // Each claims 16000 × 16000 pixels; decoded, each made an invented picture.
    GifSpec dot;
    dot.screen = QSize(16000, 16000);
    dot.frame = QRect(0, 0, 1, 1);
    dot.indices = {1};
    dot.colours = QByteArray(6, '\x40');
    const std::pair<QByteArray, const char*> files[] = {
        {tinyGifClaiming(16000, 16000), "35-byte GIF"},
        {gifFile(dot), "GIF of one pixel on a huge screen"},
        // Enough LZW data for the screen, for a frame of a thousandth of it.
        {gifFile(noisyGif(QSize(16000, 16000), QRect(0, 0, 600, 600), 256, 7)), "GIF of a 600 x 600 frame on a huge screen"},
        {bmpClaiming(16000, 16000, 1024), "1 KB BMP"},
        {rleBmpClaiming(16000, 16000), "1.3 KB RLE8 BMP of jumps"},
        {flatGreyJpeg(16000, 16000, 600), "damaged JPEG"},
        {pngClaiming(16000, 16000, 100), "PNG"},
        {tiffClaiming(16000, 16000, 1000), "TIFF"},
        {gifEndingAtOnce(16000, 16000, 100 * 1000), "100 KB GIF whose data ends at once"},
        {sparseAnimatedWebp(16000, 16000), "animated WebP of one 1 x 1 frame"},
        {arithmeticJpegClaiming(65500, 65500), "arithmetic-coded JPEG of a few zero bytes"},
    };
    for (const ReadLimits& limits : {kPicture, kThumbnail})
        for (const auto& [bytes, what] : files)
            expectRefusedUnread(bytes, limits, ReadFailure::unreadable, what);
}

TEST(ImageRead, RefusesDataCutOffInsideThePicture)
{
    const QByteArray gif = tinyGifClaiming(1, 1);
    ASSERT_TRUE(readImage(gif, kPicture).image);
    EXPECT_FALSE(readImage(gif.left(gif.size() - 3), kPicture).image); // inside the frame's data
    // LZW data that stops at 30 %, the file's structure whole: the rest of the
    // frame was the background colour.
    GifSpec noisy = noisyGif(QSize(300, 200), QRect(0, 0, 300, 200), 4, 11);
    ASSERT_TRUE(readImage(gifFile(noisy), kPicture).image);
    noisy.dataKept = 0.3;
    expectRefusedUnread(gifFile(noisy), kPicture, ReadFailure::unreadable, "GIF data stopping at 30 %");

    ASSERT_TRUE(readImage(rleBmp(4), kPicture).image);
    EXPECT_FALSE(readImage(rleBmp(2), kPicture).image);

    const QByteArray bmp = encoded(gradient(64, 48), "bmp");
    ASSERT_TRUE(readImage(bmp, kPicture).image);
    EXPECT_FALSE(readImage(bmp.left(bmp.size() - 64 * 3), kPicture).image);

    const QByteArray tiff = tiffClaiming(64, 48, 64 * 48);
    ASSERT_TRUE(readImage(tiff, kPicture).image);
    EXPECT_FALSE(readImage(tiff.left(tiff.size() - 10), kPicture).image);

    const QByteArray webp = WebPEncoder::encode(imageFromQImage(gradient(64, 48)), 80);
    ASSERT_TRUE(readImage(webp, kPicture).image);
    EXPECT_FALSE(readImage(webp.left(webp.size() - 10), kPicture).image);

    // A scan whose data ends before its last block, the end marker still there.
    ASSERT_TRUE(readImage(flatGreyJpeg(640, 480), kPicture).image);
    EXPECT_FALSE(readImage(flatGreyJpeg(640, 480, 1000), kPicture).image);
}

TEST(ImageRead, RefusesRunLengthDataThatLeavesPixelsUnwritten)
{
    // 16 × 16, whose runs overrun its first row: the decoder clips each at the
    // row's end, so 15 rows were never written and held leftover heap bytes.
    expectRefusedUnread(rleBmpOverrunningRows(16, 16), kPicture, ReadFailure::unreadable, "runs past the row");
    // Runs that fill each row, each row ended: every pixel is the run's colour.
    const ImageRead read = readImage(rleBmp(4), kPicture);
    ASSERT_TRUE(read.image);
    EXPECT_EQ(cv::countNonZero(read.image->pixels.reshape(1) != 255), 0);
}

TEST(ImageRead, RefusesJpegStripsOfATiffThatItsCodecComplainsAbout)
{
    const QByteArray jpeg = encoded(gradient(240, 160), "jpeg");
    const ImageRead whole = readImage(jpegTiff(jpeg, 240, 160, -1, true), kPicture);
    ASSERT_TRUE(whole.image);
    EXPECT_EQ(whole.image->size(), cv::Size(240, 160));
    // A strip cut to a third gave a striped picture, and a strip of another
    // size than the picture left the rest of it as it was.
    expectRefused(readImage(jpegTiff(jpeg, 240, 160, jpeg.size() / 3, true), kPicture), ReadFailure::unreadable,
                  "a strip cut short");
    expectRefused(readImage(jpegTiff(jpeg, 480, 320, -1, true), kPicture), ReadFailure::unreadable,
                  "a strip of another size");
    // A bit for each 8 × 8 block at best: this claim is refused unread.
    expectRefusedUnread(jpegTiff(jpeg, 16000, 16000, -1, true), kPicture, ReadFailure::unreadable,
                        "a small strip claiming 16000 x 16000");

    // Messages about a directory's fields are no reason to refuse: a tag
    // nobody knows, and tags out of order.
    QByteArray odd = tiffClaiming(64, 48, 64 * 48);
    const qsizetype rowsPerStrip = 8 + 2 + 12 * 6;
    ASSERT_EQ(quint8(odd[rowsPerStrip]) | quint8(odd[rowsPerStrip + 1]) << 8, 278);
    odd[rowsPerStrip] = char(0x50);
    odd[rowsPerStrip + 1] = char(0xC3);
    EXPECT_TRUE(readImage(odd, kPicture).image);
}

TEST(ImageRead, ReadsABmpStoredTopRowFirst)
{
    const QImage picture = gradient(37, 23, QImage::Format_RGB32);
    const QByteArray bottomUp = encoded(picture, "bmp");
    const QByteArray topDown = topDownBmp(bottomUp);
    EXPECT_EQ(headerRefusal(topDown, kPicture), std::nullopt); // its negative height is no reason to refuse
    const ImageRead read = readImage(topDown, kPicture);
    ASSERT_TRUE(read.image);
    const ImageRead expected = readImage(bottomUp, kPicture);
    ASSERT_TRUE(expected.image);
    EXPECT_EQ(cv::norm(read.image->pixels, expected.image->pixels, cv::NORM_INF), 0);
}

TEST(ImageRead, ReadsEveryFormatItLists)
{
    const QImage picture = gradient(37, 23);
    GifSpec gif;
    gif.screen = QSize(37, 23);
    gif.frame = QRect(0, 0, 37, 23);
    gif.indices.assign(37 * 23, 1);
    gif.colours = QByteArray(6, '\x40');
    const std::pair<ImageFileFormat, QByteArray> files[] = {
        {ImageFileFormat::png, encoded(picture, "png")},
        {ImageFileFormat::jpeg, flatGreyJpeg(37, 23)},
        {ImageFileFormat::heif, writeHeic(imageFromQImage(picture), ImageFileOptions{}).value_or(QByteArray())},
        {ImageFileFormat::heif, avifFile(picture)},
        {ImageFileFormat::heif, branded(writeHeic(imageFromQImage(picture), ImageFileOptions{}).value_or(QByteArray()), "mif1")},
        {ImageFileFormat::webp, WebPEncoder::encode(imageFromQImage(picture), 100)},
        {ImageFileFormat::tiff, tiffClaiming(37, 23, 37 * 23)},
        {ImageFileFormat::bmp, encoded(picture, "bmp")},
        {ImageFileFormat::gif, gifFile(gif)},
    };
    ASSERT_EQ(std::size(files), importableFormats().size() + 1); // and the HEIC branded as most cameras brand it
    for (const auto& [format, bytes] : files) {
        SCOPED_TRACE(int(format));
        EXPECT_EQ(sniffedFormat(bytes), format);
        EXPECT_EQ(headerRefusal(bytes, kPicture), std::nullopt);
        const ImageRead read = readImage(bytes, kPicture);
        ASSERT_TRUE(read.image);
        EXPECT_EQ(read.image->size(), cv::Size(37, 23));
    }
    for (const QImage::Format depth : {QImage::Format_RGBA64, QImage::Format_Grayscale8, QImage::Format_Indexed8}) {
        const QImage converted = depth == QImage::Format_Indexed8 ? picture.convertToFormat(depth, Qt::ThresholdDither)
                                                                  : picture.convertToFormat(depth);
        const ImageRead read = readImage(encoded(converted, "png"), kPicture);
        ASSERT_TRUE(read.image) << depth;
        EXPECT_EQ(read.image->size(), cv::Size(37, 23));
    }
}

TEST(ImageRead, RefusesEveryOtherFormatUnread)
{
    // Qt reads all of these, and none of them has a check of its data: a
    // 64 KB XPM of empty rows made a 16000 × 16000 black picture (1.7 GB),
    // with a warning for each row.
    const QImage picture = gradient(37, 23);
    for (const char* format : {"ppm", "pgm", "pbm", "xpm", "xbm", "ico", "cur"})
        expectRefusedUnread(encoded(picture, format), kPicture, ReadFailure::unreadable, format);
    expectRefusedUnread(xpmClaiming(16000, 16000), kPicture, ReadFailure::unreadable, "64 KB XPM");
    expectRefusedUnread(QByteArray("P6\n16000 16000\n255\n") + QByteArray(1000, '\x40'), kPicture,
                        ReadFailure::unreadable, "PPM");
    expectRefusedUnread("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"/>", kPicture,
                        ReadFailure::unreadable, "SVG");
}

TEST(ImageRead, AnSvgNeverOpensTheFilesItNames)
{
    // Qt's SVG reader draws an <image> from any file it names: a private
    // picture, or a pipe, whose opening waits for a writer forever.
    QTemporaryDir folder;
    const QString privatePicture = folder.filePath(QStringLiteral("private.png"));
    QFile file(privatePicture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(encoded(gradient(64, 48), "png"));
    file.close();
    const WatchedFifo fifo(folder.filePath(QStringLiteral("pipe.png")));

    for (const QString& named : {privatePicture, fifo.path(), QUrl::fromLocalFile(privatePicture).toString()}) {
        SCOPED_TRACE(named.toStdString());
        expectRefusedUnread(svgDrawing(named), kPicture, ReadFailure::unreadable, "SVG");
    }
    EXPECT_FALSE(fifo.wasOpened());
}

TEST(ImageRead, KeepsWhatImageLibrariesSayOffTheTerminalUnlessAsked)
{
    quietImageReaderWarnings();
    // libpng's warnings came at Qt's info level, and the colour-profile
    // reader's in a category of its own.
    for (const char* name : {"qt.gui.imageio", "qt.gui.imageio.jpeg", "qt.imageformats.tiff", "qt.gui.icc"}) {
        const QLoggingCategory category(name);
        EXPECT_FALSE(category.isInfoEnabled() || category.isWarningEnabled() || category.isCriticalEnabled()) << name;
    }
    EXPECT_FALSE(imageLibraryLog().isInfoEnabled() || imageLibraryLog().isWarningEnabled());
    EXPECT_TRUE(QLoggingCategory("IS-Net").isWarningEnabled());

    // libtiff printed on standard error itself; its messages go to the log.
    QLoggingCategory::setFilterRules(QStringLiteral("zephrin.imageio*=true"));
    const QByteArray jpeg = encoded(gradient(240, 160), "jpeg");
    // A field whose values lie past the end: QBuffer complained of the seek.
    QByteArray farField = tiffClaiming(64, 48, 64 * 48);
    const qsizetype bitsEntry = 8 + 2 + 12 * 2;
    farField[bitsEntry + 4] = 3; // three values, stored where the entry points
    farField.replace(bitsEntry + 8, 4, QByteArray("\x00\x00\x10\x00", 4));
    // libpng printed its errors ("libpng error: IDAT: CRC error") itself.
    QByteArray damagedPng = encoded(gradient(64, 48), "png");
    damagedPng[damagedPng.indexOf("IDAT") + 10] = char(~damagedPng[damagedPng.indexOf("IDAT") + 10]);
    // dav1d, libheif's AV1 decoder, printed "Unknown OBU type 9 of size 9".
    const QByteArray damagedAvif = avifWithUnknownObu(avifFile(gradient(64, 48)));
    ASSERT_FALSE(damagedAvif.isEmpty());
    QStringList logged;
    const QByteArray printed = printedWhile([&] {
        const LogCapture log("zephrin.imageio");
        // A strip whose scan stops at a third, its end marker kept: cut off
        // whole, the check before the decode would refuse it.
        EXPECT_FALSE(readImage(jpegTiff(jpeg.left(jpeg.size() / 3) + "\xFF\xD9", 240, 160, -1, true), kPicture).image);
        readImage(farField, kPicture);
        EXPECT_FALSE(readImage(damagedPng, kPicture).image);
        EXPECT_FALSE(readImage(damagedAvif, kPicture).image);
        logged = log.lines();
    });
    QLoggingCategory::setFilterRules({});
    EXPECT_FALSE(logged.filter(QStringLiteral("dav1d: Unknown OBU type 9")).isEmpty()) << logged.join(u'\n').toStdString();
    EXPECT_EQ(printed, QByteArray());
    EXPECT_FALSE(logged.filter(QStringLiteral("premature end of data segment")).isEmpty())
        << logged.join(u'\n').toStdString();
}

TEST(ImageRead, DecodesALargeJpegAtAReducedScale)
{
    // A quarter of 4000 × 3000 is the 1000 × 750 asked for.
    const QByteArray jpeg = flatGreyJpeg(4000, 3000);
    const ImageRead quarter = readImage(jpeg, ReadLimits{1000, 4 << 20, false, false});
    ASSERT_TRUE(quarter.image);
    EXPECT_EQ(quarter.image->size(), cv::Size(1000, 750));
    EXPECT_EQ(pixelAt(*quarter.image, 500, 400), cv::Vec4b(128, 128, 128, 255));

    // 280 megapixels read for a thumbnail: an eighth, then scaled to the limit.
    const ImageRead thumbnail = readImage(flatGreyJpeg(20000, 14000), kThumbnail);
    ASSERT_TRUE(thumbnail.image);
    EXPECT_EQ(thumbnail.image->size(), cv::Size(2048, 1433));
}

TEST(ImageRead, SaysTooLargeWhereTheFormatCannotDecodeSmaller)
{
    // Enough data for its size (deflate packs at most 1032:1), but 16400 × 16400
    // RGBA takes more than 1 GiB, and an interlaced PNG decodes only whole.
    const ImageRead png = readImage(pngClaiming(16400, 16400, 1100 * 1000, 8, true), kPicture);
    expectRefused(png, ReadFailure::tooLarge, "interlaced PNG past the limit");
    // Rows of 16 bits a sample that are not interlaced are scaled as they are
    // read, as 8-bit ones are: 35 MB whole, 16 MB for a thumbnail.
    EXPECT_TRUE(readImage(clearPng(2100, 2100, 16), kThumbnail).image);

    // A progressive JPEG holds all its coefficients until its last scan, at
    // any scale: 20 megapixels of them (40 MB) pass a thumbnail's limit where
    // a baseline file decodes at an eighth.
    JpegSpec spec{.width = 5000, .height = 4000, .components = 1, .quality = 50};
    ASSERT_TRUE(readImage(writeJpeg(spec), kThumbnail).image);
    spec.progressive = true;
    const QByteArray progressive = writeJpeg(spec);
    expectRefused(readImage(progressive, kThumbnail), ReadFailure::tooLarge, "progressive JPEG");
    EXPECT_TRUE(readImage(progressive, kPicture).image);
}

TEST(ImageRead, KeepsAtLeastOnePixelOnEachSide)
{
    for (const QSize size : {QSize(1, 9000), QSize(9000, 1), QSize(2, 30000)}) {
        const ImageRead png = readImage(encoded(gradient(size.width(), size.height()), "png"), kPicture);
        ASSERT_TRUE(png.image) << size.width() << " x " << size.height();
        EXPECT_EQ(std::max(png.image->width(), png.image->height()), 8192);
        EXPECT_EQ(std::min(png.image->width(), png.image->height()), 1);
    }
    const ImageRead jpeg = readImage(flatGreyJpeg(1, 9000), kPicture);
    ASSERT_TRUE(jpeg.image);
    EXPECT_EQ(jpeg.image->size(), cv::Size(1, 8192));
}

TEST(ImageRead, DecodesPastQtsOwnLimitWithoutChangingIt)
{
    const int limit = QImageReader::allocationLimit();
    // 6000 × 6000 RGBA takes 144 MB, more than Qt's readers allocate by default.
    const QByteArray png = clearPng(6000, 6000);
    const ImageRead read = readImage(png, kPicture);
    ASSERT_TRUE(read.image);
    EXPECT_EQ(read.image->size(), cv::Size(6000, 6000));
    // PNG rows are scaled as they are read: a thumbnail of it takes 16 MB.
    const ImageRead thumbnail = readImage(png, kThumbnail);
    ASSERT_TRUE(thumbnail.image);
    EXPECT_EQ(thumbnail.image->size(), cv::Size(2048, 2048));

    // Qt's GIF and WebP readers allocate each frame themselves, under their
    // own limit: such pictures were "too large" at 6000 × 6000.
    const ImageRead gif = readImage(discGif(6000, 6000, 2000), kPicture);
    ASSERT_TRUE(gif.image);
    ASSERT_EQ(gif.image->size(), cv::Size(6000, 6000));
    EXPECT_EQ(pixelAt(*gif.image, 3000, 3000), cv::Vec4b(200, 40, 40, 255));
    EXPECT_EQ(pixelAt(*gif.image, 10, 10), cv::Vec4b(255, 255, 255, 255));
    const QByteArray webp = WebPEncoder::encode(Image(cv::Mat(6000, 6000, CV_8UC4, cv::Scalar(30, 60, 90, 255))), 80);
    const ImageRead webpRead = readImage(webp, kPicture);
    ASSERT_TRUE(webpRead.image);
    EXPECT_EQ(webpRead.image->size(), cv::Size(6000, 6000));
    // A lossy WebP read for a thumbnail is scaled while it decodes: 16 MB.
    const ImageRead webpThumbnail = readImage(webp, kThumbnail);
    ASSERT_TRUE(webpThumbnail.image);
    EXPECT_EQ(webpThumbnail.image->size(), cv::Size(2048, 2048));
    EXPECT_LE(cv::norm(pixelAt(*webpThumbnail.image, 1000, 1000), cv::Vec4b(30, 60, 90, 255), cv::NORM_INF), 3);
    EXPECT_EQ(QImageReader::allocationLimit(), limit);
}

TEST(HeifReader, RefusesAGridOfAnotherSizeThanItsIspeSays)
{
    ImageFileOptions opaque;
    opaque.keepAlpha = false;
    const std::optional<QByteArray> tile = writeHeic(imageFromQImage(gradient(512, 512)), opaque);
    ASSERT_TRUE(tile);
    const QByteArray honest = heicGrid(*tile, 2, 3, QSize(1536, 1024));
    const ImageRead read = readImage(honest, kPicture);
    ASSERT_TRUE(read.image);
    EXPECT_EQ(read.image->size(), cv::Size(1536, 1024));
    // 11 KB whose 'ispe' says 1000 × 1000 over a grid of 20480 × 20480 took
    // 3.7 GB; the honest 20480 × 20480 one is too large.
    expectRefusedUnread(heicGrid(*tile, 40, 40, QSize(1000, 1000)), kPicture, ReadFailure::unreadable,
                        "ispe under the grid");
    expectRefusedUnread(heicGrid(*tile, 2, 3, QSize(2048, 2048)), kPicture, ReadFailure::unreadable,
                        "ispe over the grid");
    expectRefusedUnread(heicGrid(*tile, 40, 40, QSize(20480, 20480)), kPicture, ReadFailure::tooLarge, "honest");
    EXPECT_FALSE(readHeif(heicGrid(*tile, 40, 40, QSize(1000, 1000)), qint64(1) << 40));
}

TEST(HeifReader, RefusesAGridWhoseTilesDecodeAtAnotherSize)
{
    // libheif places each tile by the first tile's 'ispe' and copies it at
    // the size it decodes at: a 128 x 128 tile in a cell of 256 x 256 left
    // three quarters of its cell black, and the subject there was lost.
    ImageFileOptions opaque;
    opaque.keepAlpha = false;
    const auto tile = [&](int width, int height, QRgb colour) {
        return writeHeic(imageFromQImage(gradientWith(width, height, QRect(0, 0, width, height), colour)), opaque)
            .value_or(QByteArray());
    };
    const QRgb red = qRgb(220, 30, 30);
    const QRgb blue = qRgb(30, 30, 220);
    const QByteArray left = tile(256, 256, red);
    const QByteArray right = tile(256, 256, blue);
    const QByteArray small = tile(128, 128, blue);
    const QByteArray big = tile(384, 384, red);
    ASSERT_FALSE(left.isEmpty() || right.isEmpty() || small.isEmpty() || big.isEmpty());

    // Tiles whose coded pictures are cropped to them (250 x 122 is coded in
    // blocks of 8) fit as well as whole ones.
    struct Fits {
        std::vector<GridTile> tiles;
        QSize size;
    };
    const QByteArray oddLeft = tile(250, 122, red);
    const QByteArray oddRight = tile(250, 122, blue);
    for (const Fits& fits : {Fits{{{left, {}}, {right, {}}}, {512, 256}}, Fits{{{oddLeft, {}}, {oddRight, {}}}, {500, 122}}}) {
        const ImageRead read = readImage(heicGridOfTiles(fits.tiles, 1, 2), kPicture);
        ASSERT_TRUE(read.image) << fits.size.width();
        ASSERT_EQ(read.image->size(), cv::Size(fits.size.width(), fits.size.height()));
        EXPECT_LE(cv::norm(pixelAt(*read.image, 10, 10), cv::Vec4b(220, 30, 30, 255), cv::NORM_INF), 8);
        EXPECT_LE(cv::norm(pixelAt(*read.image, fits.size.width() - 10, fits.size.height() - 10),
                           cv::Vec4b(30, 30, 220, 255), cv::NORM_INF),
                  8);
    }

    const std::pair<std::vector<GridTile>, const char*> refused[] = {
        {{{left, {}}, {small, {}}}, "a 128 x 128 tile saying so"},
        {{{left, {}}, {small, QSize(256, 256)}}, "a 128 x 128 tile saying 256 x 256"},
        {{{big, QSize(256, 256)}, {right, {}}}, "a 384 x 384 tile saying 256 x 256"},
        {{{small, {}}, {right, QSize(128, 128)}}, "a 256 x 256 tile saying 128 x 128"},
    };
    for (const auto& [tiles, what] : refused) {
        const QByteArray grid = heicGridOfTiles(tiles, 1, 2);
        ASSERT_FALSE(grid.isEmpty()) << what;
        expectRefusedUnread(grid, kPicture, ReadFailure::unreadable, what);
    }

    // The alpha image of a grid is a grid put together the same way: a small
    // tile there left transparency the file does not hold.
    const auto translucent = [](int side) {
        const QImage picture = gradientWith(side, side, QRect(0, 0, side / 2, side), qRgba(0, 0, 0, 0));
        return writeHeic(imageFromQImage(picture), ImageFileOptions{}).value_or(QByteArray());
    };
    const QByteArray clearLeft = translucent(256);
    const QByteArray smallClearLeft = translucent(128);
    ASSERT_FALSE(clearLeft.isEmpty() || smallClearLeft.isEmpty());
    const QByteArray withAlpha = heicGridOfTiles({{left, {}}, {right, {}}}, 1, 2, {{clearLeft, {}}, {clearLeft, {}}});
    ASSERT_FALSE(withAlpha.isEmpty());
    const ImageRead read = readImage(withAlpha, kPicture);
    ASSERT_TRUE(read.image);
    EXPECT_EQ(pixelAt(*read.image, 10, 100)[3], 0);
    EXPECT_EQ(pixelAt(*read.image, 200, 100)[3], 255);
    EXPECT_EQ(pixelAt(*read.image, 300, 100)[3], 0);
    EXPECT_EQ(pixelAt(*read.image, 500, 100)[3], 255);
    expectRefusedUnread(heicGridOfTiles({{left, {}}, {right, {}}}, 1, 2, {{clearLeft, {}}, {smallClearLeft, QSize(256, 256)}}),
                        kPicture, ReadFailure::unreadable, "an alpha tile of 128 x 128 saying 256 x 256");
}

TEST(HeifReader, RefusesAnOverlayItsImagesCoverTooLittleOf)
{
    // libheif fills an overlay's canvas with its colour and lays its images
    // on it: a canvas of 16000 x 16000 around one small image was a picture
    // of 1 GB the file does not hold.
    ImageFileOptions opaque;
    opaque.keepAlpha = false;
    const QImage red = gradientWith(256, 256, QRect(0, 0, 256, 256), qRgb(220, 30, 30));
    const QByteArray image = writeHeic(imageFromQImage(red), opaque).value_or(QByteArray());
    ASSERT_FALSE(image.isEmpty());
    const ImageRead read = readImage(heicOverlay(image, QSize(600, 400), QPoint(100, 50)), kPicture);
    ASSERT_TRUE(read.image);
    ASSERT_EQ(read.image->size(), cv::Size(600, 400));
    EXPECT_LE(cv::norm(pixelAt(*read.image, 200, 150), cv::Vec4b(220, 30, 30, 255), cv::NORM_INF), 8);
    EXPECT_LE(cv::norm(pixelAt(*read.image, 10, 10), cv::Vec4b(0, 0, 0, 255), cv::NORM_INF), 8); // the fill
    const std::tuple<QSize, QPoint, const char*> refused[] = {
        {QSize(16000, 16000), QPoint(0, 0), "a huge canvas"},
        {QSize(2000, 2000), QPoint(1800, 1800), "an image mostly off its canvas"},
    };
    for (const auto& [canvas, at, what] : refused)
        expectRefusedUnread(heicOverlay(image, canvas, at), kPicture, ReadFailure::unreadable, what);
}

TEST(HeifReader, RefusesAPictureWhoseAlphaImageItsDecoderWouldLeaveOut)
{
    // libheif leaves out an alpha image whose 'ispe' says another size than
    // the picture's (or none): an opaque cutout was made of a HEIC whose left
    // part is transparent.
    const QImage picture = gradientWith(96, 64, QRect(0, 0, 30, 64), qRgba(0, 0, 0, 0));
    const QByteArray heic = writeHeic(imageFromQImage(picture), ImageFileOptions{}).value_or(QByteArray());
    const QByteArray avif = avifFile(picture);
    for (const auto& [file, what] : {std::pair{heic, "HEIC"}, std::pair{avif, "AVIF"}}) {
        SCOPED_TRACE(what);
        ASSERT_FALSE(file.isEmpty());
        const ImageRead whole = readImage(file, kPicture);
        ASSERT_TRUE(whole.image);
        EXPECT_EQ(pixelAt(*whole.image, 5, 30)[3], 0);
        for (const QSize size : {QSize(60, 40), QSize(6000, 4000), QSize(16000, 16000), QSize(0, 0)})
            expectRefusedUnread(heifWithAlphaSize(file, size), kPicture, ReadFailure::unreadable, "alpha 'ispe'");
    }
}

TEST(HeifReader, PremultipliesTranslucentPixelsInLibheifsBuffer)
{
    const QImage picture = gradientWith(96, 64, QRect(48, 0, 48, 64), qRgba(240, 200, 40, 128));
    const QByteArray heic = writeHeic(imageFromQImage(picture), ImageFileOptions{}).value_or(QByteArray());
    for (const auto& [file, what] : {std::pair{heic, "HEIC"}, std::pair{avifFile(picture), "AVIF"}}) {
        SCOPED_TRACE(what);
        const ImageRead read = readImage(file, kPicture);
        ASSERT_TRUE(read.image);
        EXPECT_LE(cv::norm(pixelAt(*read.image, 70, 30), cv::Vec4b(120, 100, 20, 128), cv::NORM_INF), 6);
        cv::Mat channels[4];
        cv::split(read.image->pixels, channels);
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(cv::countNonZero(channels[c] > channels[3]), 0) << "channel " << c << " above alpha";
    }
}

TEST(HeifReader, RefusesAPictureItsDataLeavesPartlyUndecoded)
{
    // libde265 gave out the picture of a slice that ends early, its blocks
    // past the end holding whatever the memory held (a damaged HEIC made
    // another cutout on every run), or runs on, decoding bits the file does
    // not hold, past the picture. 256 × 192 pixels are twelve coding blocks.
    ImageFileOptions opaque;
    opaque.keepAlpha = false;
    const QImage picture = gradient(256, 192);
    const std::optional<QByteArray> heic = writeHeic(imageFromQImage(picture), opaque);
    ASSERT_TRUE(heic);
    for (const double kept : {0.05, 0.5, 0.9}) {
        SCOPED_TRACE(kept);
        const QByteArray cut = heicWithSliceCut(*heic, kept);
        ASSERT_FALSE(cut.isEmpty());
        expectRefused(readImage(cut, kPicture), ReadFailure::unreadable, "slice cut short");
    }
    // Every sample of a whole picture is decoded, of 8 or 10 bits.
    const QByteArray tenBits = tenBitHeic(picture);
    ASSERT_FALSE(tenBits.isEmpty());
    for (const QByteArray& whole : {*heic, tenBits}) {
        const ImageRead read = readImage(whole, kPicture);
        ASSERT_TRUE(read.image);
        EXPECT_LE(cv::norm(pixelAt(*read.image, 200, 100), cv::Vec4b(199, 133, 90, 255), cv::NORM_INF), 6);
    }
}

TEST(HeifReader, RefusesUnsoundParameterSetsBeforeDecoding)
{
    // libde265 printed "SPS error: CB alignment" for a coded width that is no
    // multiple of its coding blocks, then failed. And its planes are made,
    // and written whole, at the size the parameter set says, up to 4 GB.
    struct Case {
        QSize picture;
        quint32 codedWidth;
        const char* what;
    };
    ImageFileOptions opaque;
    opaque.keepAlpha = false;
    for (const Case& c : {Case{{64, 64}, 66, "misaligned"}, Case{{8192, 64}, 16368, "twice as wide"}}) {
        SCOPED_TRACE(c.what);
        const std::optional<QByteArray> heic =
            writeHeic(imageFromQImage(gradient(c.picture.width(), c.picture.height())), opaque);
        ASSERT_TRUE(heic);
        ASSERT_TRUE(readImage(*heic, kPicture).image);
        const QByteArray changed = heicWithSpsWidth(*heic, c.codedWidth);
        ASSERT_FALSE(changed.isEmpty());
        EXPECT_EQ(printedWhile([&] { expectRefusedUnread(changed, kPicture, ReadFailure::unreadable, c.what); }),
                  QByteArray());
    }
}

// ---- The PNG reader against Qt's ----------------------------------------------

namespace {

// What Qt's reader makes of a PNG, the way pictures were read before the PNG
// reader of our own: scaled while reading where it can, else after, then
// converted to sRGB.
Image qtDecodedPng(const QByteArray& png, int maxLongEdge)
{
    QBuffer buffer;
    buffer.setData(png);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QSize bounded = boundedSize(reader.size(), maxLongEdge);
    if (bounded != reader.size())
        reader.setScaledSize(bounded);
    QImage image = reader.read();
    if (image.size() != bounded)
        image = image.scaled(bounded, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    return imageFromQImage(image);
}

// An interlaced RGBA PNG of 8 or 16 bits a sample written with libpng (Qt's
// writer interlaces nothing).
QByteArray interlacedPng(const QImage& picture, int bitDepth = 8)
{
    const QImage rgba = picture.convertToFormat(bitDepth == 16 ? QImage::Format_RGBA64 : QImage::Format_RGBA8888);
    QByteArray bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, size_t length) {
            static_cast<QByteArray*>(png_get_io_ptr(p))->append(reinterpret_cast<const char*>(data), qsizetype(length));
        },
        nullptr);
    png_set_IHDR(png, info, png_uint_32(rgba.width()), png_uint_32(rgba.height()), bitDepth, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_bytep> rows;
    for (int y = 0; y < rgba.height(); ++y)
        rows.push_back(const_cast<png_bytep>(rgba.constScanLine(y)));
    png_set_rows(png, info, rows.data());
    // A PNG's samples are big-endian.
    png_write_png(png, info, bitDepth == 16 ? PNG_TRANSFORM_SWAP_ENDIAN : PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return bytes;
}

QByteArray big32(quint32 value)
{
    QByteArray bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((value >> shift) & 0xFF));
    return bytes;
}

} // namespace

TEST(PngReader, GivesThePixelsOfQtsReader)
{
    QImage translucent = gradient(211, 149);
    for (int y = 0; y < 149; ++y)
        for (int x = 0; x < 60; ++x)
            translucent.setPixel(x, y, qRgba(x * 4, y, 200, x * 255 / 60));
    const QImage opaque = gradient(211, 149, QImage::Format_RGB32);
    QImage p3 = translucent;
    p3.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    const QImage grey = opaque.convertToFormat(QImage::Format_Grayscale8);
    const QByteArray greyPng = encoded(grey, "png");
    const QByteArray chrm = big32(31270) + big32(32900) + big32(64000) + big32(33000) + big32(30000) + big32(60000)
                            + big32(15000) + big32(6000);
    // A 16-bit picture scaled down is read as 8-bit rows: it is compared with
    // its 8-bit self in colour (its samples are those of 8 bits widened).
    // Qt scaled 16-bit RGBA with its alpha multiplied in twice.
    struct File {
        QByteArray png;
        const char* what;
        QByteArray scaledLike{};
    };
    const File files[] = {
        {encoded(translucent, "png"), "RGBA"},
        {encoded(opaque, "png"), "RGB"},
        {greyPng, "grey"},
        {encoded(grey.convertToFormat(QImage::Format_Grayscale16), "png"), "16-bit grey",
         encoded(grey.convertToFormat(QImage::Format_RGB32), "png")},
        {encoded(translucent.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither), "png"), "palette"},
        {encoded(opaque.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither), "png"), "1 bit"},
        {encoded(translucent.convertToFormat(QImage::Format_RGBA64), "png"), "16-bit RGBA", encoded(translucent, "png")},
        {encoded(opaque.convertToFormat(QImage::Format_RGBX64), "png"), "16-bit RGB", encoded(opaque, "png")},
        {encoded(p3, "png"), "Display P3 profile"},
        {pngWithChunk(encoded(opaque, "png"), "gAMA", big32(80000)), "gamma"},
        {pngWithChunk(pngWithChunk(encoded(opaque, "png"), "gAMA", big32(55000)), "cHRM", chrm), "gamma, primaries"},
        {pngWithChunk(encoded(opaque, "png"), "sRGB", QByteArray(1, '\0')), "sRGB"},
        {pngWithChunk(greyPng, "tRNS", QByteArray("\0\x80", 2)), "grey, a transparent level"},
        {interlacedPng(translucent), "interlaced"},
        {interlacedPng(translucent, 16), "16-bit, interlaced", interlacedPng(translucent)},
    };
    for (const auto& [png, what, scaledLike] : files) {
        for (const int maxLongEdge : {8192, 61}) {
            const bool scaled = maxLongEdge < 211 && !scaledLike.isEmpty();
            const Image expected = qtDecodedPng(scaled ? scaledLike : png, maxLongEdge);
            const ImageRead read = readImage(png, ReadLimits{maxLongEdge, qint64(1) << 30, true, true});
            ASSERT_FALSE(expected.empty()) << what;
            ASSERT_TRUE(read.image) << what << " at " << maxLongEdge;
            ASSERT_EQ(read.image->size(), expected.size()) << what << " at " << maxLongEdge;
            EXPECT_EQ(cv::norm(read.image->pixels, expected.pixels, cv::NORM_INF), 0) << what << " at " << maxLongEdge;
        }
    }
}

TEST(ImageRead, ScalesA16BitPictureDownAsItsEightBitSelf)
{
    // Qt scaled 16-bit RGBA with its alpha multiplied in twice: the half
    // transparent edge of a TIFF came out near transparent.
    QImage translucent = gradient(211, 149);
    for (int y = 0; y < 149; ++y)
        for (int x = 0; x < 60; ++x)
            translucent.setPixel(x, y, qRgba(x * 4, y, 200, x * 255 / 60));
    const ReadLimits scaledDown{61, qint64(1) << 30, true, true};
    for (const auto& [deep, narrow] : {std::pair{QImage::Format_RGBA64, QImage::Format_ARGB32},
                                       std::pair{QImage::Format_Grayscale16, QImage::Format_Grayscale8}}) {
        SCOPED_TRACE(deep);
        const QImage eightBit = translucent.convertToFormat(narrow);
        const ImageRead wide = readImage(encoded(eightBit.convertToFormat(deep), "tiff"), scaledDown);
        const ImageRead expected = readImage(encoded(eightBit, "tiff"), scaledDown);
        ASSERT_TRUE(wide.image && expected.image);
        ASSERT_EQ(wide.image->size(), expected.image->size());
        EXPECT_LE(cv::norm(wide.image->pixels, expected.image->pixels, cv::NORM_INF), 1);
    }
}

// ---- The GIF reader against Qt's --------------------------------------------

namespace {

} // namespace

TEST(GifReader, GivesThePixelsOfQtsReader)
{
    const QSize screen(23, 17);
    const QRect whole(QPoint(0, 0), screen);
    std::vector<std::pair<GifSpec, const char*>> cases;
    cases.emplace_back(noisyGif(screen, whole, 4, 1), "global table");
    cases.emplace_back(noisyGif(screen, whole, 16, 2), "transparent index");
    cases.back().first.transparentIndex = 2;
    cases.emplace_back(noisyGif(screen, whole, 8, 3), "interlaced");
    cases.back().first.interlaced = true;
    cases.emplace_back(noisyGif(screen, whole, 4, 4), "local table");
    cases.back().first.localTable = true;
    cases.emplace_back(noisyGif(screen, QRect(5, 4, 10, 8), 4, 5), "small frame on the background");
    cases.back().first.backgroundIndex = 3;
    cases.emplace_back(noisyGif(screen, QRect(5, 4, 10, 8), 4, 6), "small transparent frame");
    cases.back().first.transparentIndex = 0;
    cases.emplace_back(noisyGif(screen, QRect(15, 10, 20, 20), 4, 7), "a frame past the screen");
    cases.emplace_back(noisyGif(QSize(0, 0), QRect(0, 0, 9, 7), 4, 8), "no screen size");
    // Noise in 256 colours fills the 4096 codes many times over.
    cases.emplace_back(noisyGif(QSize(300, 200), QRect(0, 0, 300, 200), 256, 9), "table cleared");
    cases.emplace_back(noisyGif(QSize(300, 200), QRect(0, 0, 300, 200), 256, 10), "interlaced, cleared");
    cases.back().first.interlaced = true;

    for (const auto& [spec, what] : cases) {
        SCOPED_TRACE(what);
        const QByteArray gif = gifFile(spec);
        const Image expected = decodedWithQt(gif);
        const ImageRead read = readImage(gif, kPicture);
        ASSERT_FALSE(expected.empty());
        ASSERT_TRUE(read.image);
        ASSERT_EQ(read.image->size(), expected.size());
        EXPECT_EQ(cv::norm(read.image->pixels, expected.pixels, cv::NORM_INF), 0);
        // Read smaller than its screen, it is that picture reduced by area.
        const int longEdge = std::max(expected.width(), expected.height());
        for (const int maxLongEdge : {longEdge * 2 / 3, 5}) {
            const QSize bounded = boundedSize(QSize(expected.width(), expected.height()), maxLongEdge);
            cv::Mat reduced;
            cv::resize(expected.pixels, reduced, cv::Size(bounded.width(), bounded.height()), 0, 0, cv::INTER_AREA);
            const ImageRead small = readImage(gif, ReadLimits{maxLongEdge, qint64(1) << 30, true, true});
            ASSERT_TRUE(small.image) << maxLongEdge;
            ASSERT_EQ(small.image->size(), reduced.size()) << maxLongEdge;
            EXPECT_LE(cv::norm(small.image->pixels, reduced, cv::NORM_INF), 1) << maxLongEdge;
        }
    }
}

namespace {

// The most memory the process has held resident since the last reset, in
// bytes; none where the kernel keeps no such mark that can be reset.
std::optional<qint64> peakResidentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').constFirst().toLongLong() * 1024;
    return std::nullopt;
}

bool resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

} // namespace

TEST(GifReader, ScalesALargeScreenDownWithoutHoldingItWhole)
{
    // A 16384 x 16384 GIF was put together whole (1 GiB) and then scaled,
    // its copies beside it: 1.5 GiB for a read the limits hold to 1 GiB.
    const QByteArray gif = discGif(16384, 16384, 6000);
    if (!resetPeakResident() || !peakResidentBytes())
        GTEST_SKIP() << "no resettable peak of resident memory";
    const qint64 before = *peakResidentBytes();
    const ImageRead read = readImage(gif, kPicture);
    const qint64 peak = *peakResidentBytes();
    ASSERT_TRUE(read.image);
    ASSERT_EQ(read.image->size(), cv::Size(8192, 8192));
    EXPECT_EQ(pixelAt(*read.image, 4096, 4096), cv::Vec4b(200, 40, 40, 255));
    EXPECT_EQ(pixelAt(*read.image, 10, 10), cv::Vec4b(255, 255, 255, 255));
    EXPECT_LT(peak - before, kPicture.maxDecodeBytes) << "peak " << (peak - before) / (1 << 20) << " MiB";
}

TEST(GifReader, FollowsAFrameOnlyAsFarAsItShows)
{
    // A 60 × 60 frame on a 40 × 30 screen shows its top left 40 × 30 pixels.
    // A file whose data ended after its last row that shows was refused, and
    // a 65535 × 65535 frame on a 1000 × 1000 screen was decoded whole (12 s).
    GifSpec noise = noisyGif(QSize(40, 30), QRect(0, 0, 60, 60), 16, 12);
    // Runs that repeat make strings of hundreds of pixels, across the edges.
    GifSpec runs = noise;
    for (size_t i = 0; i < runs.indices.size(); ++i)
        runs.indices[i] = quint8(i / 37 % 2);
    for (const auto& [plain, what] : {std::pair{noise, "noise"}, std::pair{runs, "runs"}}) {
        SCOPED_TRACE(what);
        const Image expected = decodedWithQt(gifFile(plain));
        // Rows in the order the data codes them, to the last that shows (row
        // 29): all 30 of a plain frame; of an interlaced one, its first three
        // passes (8, 7 and 15 rows) and rows 1, 3, ..., 29 of its last. Qt's
        // reader stops an interlaced frame at the screen's foot in its first
        // pass, and shows its rows of that pass repeated.
        for (const auto& [interlaced, rowsToLastShown] : {std::pair{false, 30}, std::pair{true, 8 + 7 + 15 + 15}}) {
            SCOPED_TRACE(interlaced ? "interlaced" : "plain");
            GifSpec spec = plain;
            spec.interlaced = interlaced;
            for (const qint64 coded : {qint64(-1), qint64(rowsToLastShown) * 60}) {
                spec.codedPixels = coded;
                const ImageRead read = readImage(gifFile(spec), kPicture);
                ASSERT_TRUE(read.image) << coded;
                EXPECT_EQ(cv::norm(read.image->pixels, expected.pixels, cv::NORM_INF), 0) << coded;
            }
            spec.codedPixels = qint64(rowsToLastShown - 1) * 60;
            expectRefusedUnread(gifFile(spec), kPicture, ReadFailure::unreadable, "the last row that shows missing");
        }
    }
}

namespace {

// The file `mux` makes, which it then lets go; empty when it makes none.
QByteArray assembled(WebPMux* mux)
{
    WebPData data{};
    const bool made = WebPMuxAssemble(mux, &data) == WEBP_MUX_OK;
    const QByteArray bytes = made ? QByteArray(reinterpret_cast<const char*>(data.bytes), qsizetype(data.size)) : QByteArray();
    WebPDataClear(&data);
    WebPMuxDelete(mux);
    return bytes;
}

} // namespace

TEST(ImageRead, TurnsPngAndWebpPicturesUprightByTheirExifOrientation)
{
    // 37 × 23 stored on its side: turned by 90° clockwise (6), it is as drawn.
    const QImage drawn = gradient(37, 23, QImage::Format_RGB32);
    const QImage stored = drawn.transformed(QTransform().rotate(-90));
    const QByteArray png = encoded(stored, "png");
    const QByteArray webp = WebPEncoder::encode(imageFromQImage(stored), 100); // lossless
    const Image expected = imageFromQImage(drawn);
    const std::pair<QByteArray, const char*> files[] = {
        {pngWithExifOrientation(png, 6), "PNG eXIf"},
        {webpWithExifOrientation(webp, 6), "WebP EXIF"},
    };
    for (const auto& [bytes, what] : files) {
        const ImageRead upright = readImage(bytes, kPicture);
        ASSERT_TRUE(upright.image) << what;
        ASSERT_EQ(upright.image->size(), expected.size()) << what;
        EXPECT_EQ(cv::norm(upright.image->pixels, expected.pixels, cv::NORM_INF), 0) << what;
        // Thumbnails are read as stored.
        const ImageRead asStored = readImage(bytes, kThumbnail);
        ASSERT_TRUE(asStored.image) << what;
        EXPECT_EQ(asStored.image->size(), cv::Size(23, 37)) << what;
    }
}

TEST(WebpReader, ConvertsFromTheColourSpaceOfItsProfile)
{
    const QByteArray still = WebPEncoder::encode(Image(cv::Mat(8, 8, CV_8UC4, cv::Scalar(200, 40, 40, 255))), 100);
    const QByteArray icc = QColorSpace(QColorSpace::DisplayP3).iccProfile();
    WebPMux* mux = WebPMuxNew();
    const WebPData image{reinterpret_cast<const uint8_t*>(still.constData()), size_t(still.size())};
    const WebPData profile{reinterpret_cast<const uint8_t*>(icc.constData()), size_t(icc.size())};
    ASSERT_EQ(WebPMuxSetImage(mux, &image, 1), WEBP_MUX_OK);
    ASSERT_EQ(WebPMuxSetChunk(mux, "ICCP", &profile, 1), WEBP_MUX_OK);
    const QByteArray tagged = assembled(mux);
    ASSERT_FALSE(tagged.isEmpty());

    // A Display P3 red is redder than sRGB can show: it comes out at the edge.
    const ImageRead converted = readImage(tagged, kPicture);
    ASSERT_TRUE(converted.image);
    const QColor expected = QColor::fromRgb(200, 40, 40);
    QImage reference(1, 1, QImage::Format_RGBA8888);
    reference.setPixelColor(0, 0, expected);
    reference.setColorSpace(QColorSpace(QColorSpace::DisplayP3));
    reference.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    const QColor want = reference.pixelColor(0, 0);
    const cv::Vec4b got = pixelAt(*converted.image, 4, 4);
    EXPECT_LE(std::abs(got[0] - want.red()), 1);
    EXPECT_LE(std::abs(got[1] - want.green()), 1);
    EXPECT_LE(std::abs(got[2] - want.blue()), 1);
    const ImageRead asStored = readImage(tagged, kThumbnail);
    ASSERT_TRUE(asStored.image);
    EXPECT_EQ(pixelAt(*asStored.image, 4, 4), cv::Vec4b(200, 40, 40, 255));
}

TEST(WebpReader, PlacesAnAnimationsFirstFrameOnItsCanvas)
{
    // A 40 × 30 canvas; its first frame, 20 × 10, at (10, 8).
    const QByteArray still = WebPEncoder::encode(Image(cv::Mat(10, 20, CV_8UC4, cv::Scalar(0, 100, 0, 255))), 100);
    WebPMux* mux = WebPMuxNew();
    ASSERT_EQ(WebPMuxSetCanvasSize(mux, 40, 30), WEBP_MUX_OK);
    const WebPMuxAnimParams loop{0, 0};
    ASSERT_EQ(WebPMuxSetAnimationParams(mux, &loop), WEBP_MUX_OK);
    WebPMuxFrameInfo frame{};
    frame.bitstream = {reinterpret_cast<const uint8_t*>(still.constData()), size_t(still.size())};
    frame.x_offset = 10;
    frame.y_offset = 8;
    frame.duration = 100;
    frame.id = WEBP_CHUNK_ANMF;
    frame.dispose_method = WEBP_MUX_DISPOSE_NONE;
    frame.blend_method = WEBP_MUX_BLEND;
    ASSERT_EQ(WebPMuxPushFrame(mux, &frame, 1), WEBP_MUX_OK);
    ASSERT_EQ(WebPMuxPushFrame(mux, &frame, 1), WEBP_MUX_OK);
    const QByteArray animation = assembled(mux);
    ASSERT_FALSE(animation.isEmpty());

    const ImageRead read = readImage(animation, kPicture);
    ASSERT_TRUE(read.image);
    ASSERT_EQ(read.image->size(), cv::Size(40, 30));
    EXPECT_EQ(pixelAt(*read.image, 15, 12), cv::Vec4b(0, 100, 0, 255));
    EXPECT_EQ(pixelAt(*read.image, 29, 17), cv::Vec4b(0, 100, 0, 255));
    for (const cv::Point outside : {cv::Point(9, 12), cv::Point(30, 12), cv::Point(15, 7), cv::Point(15, 18)})
        EXPECT_EQ(pixelAt(*read.image, outside.x, outside.y), cv::Vec4b(0, 0, 0, 0)) << outside;
    // A thumbnail of it is the canvas scaled.
    const ImageRead small = readImage(animation, ReadLimits{20, qint64(1) << 20, false, false});
    ASSERT_TRUE(small.image);
    EXPECT_EQ(small.image->size(), cv::Size(20, 15));
}

TEST(WebpReader, JudgesAnAnimationsCanvasByAllItsFrames)
{
    // A canvas of four megapixels is a picture of the file while its frames
    // together cover a sixteenth of it, the later frames as much as the first.
    const QByteArray dot = WebPEncoder::encode(Image(cv::Mat(16, 16, CV_8UC4, cv::Scalar(0, 100, 0, 255))), 100);
    const QByteArray patch = WebPEncoder::encode(Image(cv::Mat(500, 500, CV_8UC4, cv::Scalar(9, 9, 9, 255))), 100);
    const auto animation = [&](const std::vector<std::pair<const QByteArray*, QPoint>>& frames) {
        WebPMux* mux = WebPMuxNew();
        WebPMuxSetCanvasSize(mux, 2000, 2000);
        const WebPMuxAnimParams loop{0, 0};
        WebPMuxSetAnimationParams(mux, &loop);
        for (const auto& [bitstream, at] : frames) {
            WebPMuxFrameInfo frame{};
            frame.bitstream = {reinterpret_cast<const uint8_t*>(bitstream->constData()), size_t(bitstream->size())};
            frame.x_offset = at.x();
            frame.y_offset = at.y();
            frame.duration = 100;
            frame.id = WEBP_CHUNK_ANMF;
            frame.dispose_method = WEBP_MUX_DISPOSE_NONE;
            frame.blend_method = WEBP_MUX_BLEND;
            WebPMuxPushFrame(mux, &frame, 1);
        }
        return assembled(mux);
    };
    // The first frame alone covers too little; a later one far off adds its
    // 500 × 500 to what they cover together.
    const QByteArray spread = animation({{&dot, {0, 0}}, {&dot, {40, 40}}, {&patch, {1000, 1000}}});
    const ImageRead read = readImage(spread, kPicture);
    ASSERT_TRUE(read.image);
    EXPECT_EQ(read.image->size(), cv::Size(2000, 2000));
    EXPECT_EQ(pixelAt(*read.image, 8, 8), cv::Vec4b(0, 100, 0, 255));
    expectRefusedUnread(animation({{&dot, {0, 0}}, {&dot, {100, 100}}, {&dot, {200, 200}}}), kPicture,
                        ReadFailure::unreadable, "three small frames on a large canvas");
}

TEST(WebpReader, JudgesFramesByTheSizeTheirBitstreamsDecodeAt)
{
    // libwebp decodes a frame at its bitstream's size, whatever its ANMF
    // header says: a 94-byte file claiming 16000 x 16000 around one pixel
    // took 1.5 GB before it was found empty.
    struct Case {
        QSize canvas;
        std::vector<WebpFrame> frames;
        bool read;
        const char* what;
    };
    const QSize huge(16000, 16000);
    const QSize large(2000, 2000);
    const Case cases[] = {
        {huge, {{QRect(0, 0, 16000, 16000), {1, 1}}}, false, "first header over one pixel"},
        {huge, {{QRect(0, 0, 1, 1), {1, 1}}, {QRect(0, 0, 16000, 16000), {1, 1}}}, false, "second header over one pixel"},
        {QSize(64, 64), {{QRect(0, 0, 8, 8), {16, 16}}}, false, "header under its bitstream"},
        // Frames in opposite corners span the canvas but cover next to none of it.
        {large, {{QRect(0, 0, 16, 16), {16, 16}}, {QRect(1984, 1984, 16, 16), {16, 16}}}, false, "two corners"},
        {large, {{QRect(0, 0, 16, 16), {16, 16}}, {QRect(1000, 1000, 500, 500), {500, 500}}}, true, "honest frames"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray file = animatedWebp(c.canvas.width(), c.canvas.height(), c.frames);
        if (!c.read) {
            expectRefusedUnread(file, kPicture, ReadFailure::unreadable, c.what);
            continue;
        }
        const ImageRead read = readImage(file, kPicture);
        ASSERT_TRUE(read.image);
        EXPECT_EQ(read.image->size(), cv::Size(c.canvas.width(), c.canvas.height()));
        EXPECT_EQ(pixelAt(*read.image, 8, 8), cv::Vec4b(4, 4, 4, 4));
    }
}

// ---- The JPEG reader against Qt's ---------------------------------------------

namespace {

// What Qt's reader makes of a JPEG, the way pictures were loaded before the
// JPEG reader of our own: scaled while decoding, converted to sRGB, turned
// upright. (Qt turns before converting, and a turn by 90° drops the colour
// space, so that such pictures kept their colours unconverted: a fault left
// behind, hence the order here.)
Image qtDecoded(const QByteArray& jpeg, int maxLongEdge)
{
    QBuffer buffer;
    buffer.setData(jpeg);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (const QSize stored = reader.size(); std::max(stored.width(), stored.height()) > maxLongEdge)
        reader.setScaledSize(stored.scaled(maxLongEdge, maxLongEdge, Qt::KeepAspectRatio));
    const QImageIOHandler::Transformations turn = reader.transformation();
    QImage image = reader.read();
    if (image.colorSpace().isValid() && image.colorSpace() != QColorSpace(QColorSpace::SRgb))
        image.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    image.mirror(turn.testFlag(QImageIOHandler::TransformationMirror), turn.testFlag(QImageIOHandler::TransformationFlip));
    if (turn.testFlag(QImageIOHandler::TransformationRotate90))
        image = image.transformed(QTransform().rotate(90));
    return imageFromQImage(image);
}

void expectSamePixels(const JpegSpec& spec, const char* what)
{
    const QByteArray jpeg = writeJpeg(spec);
    for (const int maxLongEdge : {8192, 150, 61}) {
        const Image expected = qtDecoded(jpeg, maxLongEdge);
        const ImageRead read = readImage(jpeg, ReadLimits{maxLongEdge, qint64(1) << 30, true, true});
        ASSERT_FALSE(expected.empty()) << what;
        ASSERT_TRUE(read.image) << what << " at " << maxLongEdge;
        ASSERT_EQ(read.image->size(), expected.size()) << what << " at " << maxLongEdge;
        EXPECT_EQ(cv::norm(read.image->pixels, expected.pixels, cv::NORM_INF), 0) << what << " at " << maxLongEdge;
    }
}

} // namespace

TEST(JpegReader, GivesThePixelsOfQtsReader)
{
    expectSamePixels({}, "4:2:0");
    expectSamePixels({.lumaH = 1, .lumaV = 1}, "4:4:4");
    expectSamePixels({.lumaH = 2, .lumaV = 1}, "4:2:2");
    expectSamePixels({.width = 101, .height = 67, .lumaH = 2, .lumaV = 2}, "odd size");
    expectSamePixels({.components = 1}, "grey");
    expectSamePixels({.components = 4}, "CMYK");
    expectSamePixels({.progressive = true}, "progressive");
    expectSamePixels({.arithmetic = true}, "arithmetic coding");
    expectSamePixels({.progressive = true, .arithmetic = true}, "progressive, arithmetic coding");
    expectSamePixels({.restartRows = 1}, "restart markers");
    expectSamePixels({.icc = QColorSpace(QColorSpace::DisplayP3).iccProfile()}, "Display P3 profile");
    expectSamePixels({.icc = QColorSpace(QColorSpace::AdobeRgb).iccProfile(), .app1 = exifBlock(6)},
                     "Adobe RGB profile, turned");
    expectSamePixels({.components = 1, .icc = QColorSpace(QColorSpace::DisplayP3).iccProfile()}, "grey, profile");
}

TEST(JpegReader, ReadsTheOrientationFlagAsQtDoes)
{
    for (quint16 orientation = 1; orientation <= 8; ++orientation)
        expectSamePixels({.width = 97, .height = 41, .app1 = exifBlock(orientation)},
                         qPrintable(QStringLiteral("orientation %1").arg(orientation)));
    // Malformed blocks are ignored by both.
    expectSamePixels({.app1 = exifBlock(9)}, "orientation out of range");
    expectSamePixels({.app1 = exifBlock(6, 0x0112, 4)}, "orientation as a LONG");
    expectSamePixels({.app1 = exifBlock(6, 0x0112, 3, 2)}, "two orientations");
    expectSamePixels({.app1 = exifBlock(6, 0x0112, 3, 1, 4)}, "an IFD that points backwards");
    expectSamePixels({.app1 = QByteArray("http://ns.adobe.com/xap/1.0/\0<x/>", 33) + exifBlock(6)},
                     "XMP before Exif");
}
