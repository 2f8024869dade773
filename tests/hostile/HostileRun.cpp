// hostile_run: hostile image files through zephrin-cutout, by hand (too slow
// for the test suite's time budget).
//
//   hostile_run cases PROGRAM [FOLDER]
//       Each hand-made hostile file (and the command-line faults around them)
//       through PROGRAM: exit status, the first line of its standard error,
//       peak memory and seconds. FOLDER keeps the files (default: a temporary
//       folder, removed afterwards). PROGRAM uses the IS-Net model that
//       ZEPHRIN_MODEL names, the subject finder without it.
//
//   hostile_run mutate PROGRAM [PER_FORMAT [SEED]]
//       PER_FORMAT (default 300) cut-short and mutated files of each format
//       read, made from small honest seeds, each through PROGRAM (with the
//       IS-Net model that ZEPHRIN_MODEL names, the subject finder without it;
//       four at a time). Counts by outcome and format, and the files of each
//       fault kept in a folder it names:
//         made-up  exit 0 although the picture cannot come from the data: cut
//                  before the end of its picture data, a larger picture than
//                  the seed's (no more data codes it; for a GIF, a screen past
//                  what the reader takes around its frame), or a different
//                  cutout on a second run (pixels from uninitialised memory);
//         noise    standard error holds more than the program's own lines
//                  (a library's message reached the terminal);
//         crash    ended by a signal, or ran past a minute.

#include "engine/codec/HeicWriter.h"
#include "engine/codec/JpegFixtures.h"
#include "engine/codec/WebPEncoder.h"
#include "support/ChildProcess.h"
#include "support/ExifBlock.h"
#include "support/GifWriter.h"
#include "support/GreyIccProfile.h"
#include "support/HostileImages.h"
#include "support/TiffFiles.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTransform>

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

// ---- Running the program ----------------------------------------------------

ChildRun run(const QString& program, const QStringList& arguments, const QStringList& environment = {},
        int timeoutSeconds = 60)
{
    std::vector<std::string> argumentBytes;
    for (const QString& argument : arguments)
        argumentBytes.push_back(QFile::encodeName(argument).toStdString());
    std::vector<std::string> settings;
    for (const QString& setting : environment)
        settings.push_back(setting.toStdString());
    return runChild(QFile::encodeName(program).toStdString(), argumentBytes, settings, timeoutSeconds);
}

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return path;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray encoded(const QImage& image, const char* format, int quality = 90, bool progressive = false,
                   int compression = 0)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.setProgressiveScanWrite(progressive);
    writer.setCompression(compression);
    writer.write(image);
    return bytes;
}

// A photo-like picture: a dark disc on a lit, slightly noisy page.
QImage photo(int width, int height, unsigned seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 noise(seed);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int n = int(noise() % 24);
            image.setPixel(x, y, qRgb(200 + n + x * 20 / width, 205 + n, 190 + n + y * 30 / height));
        }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(140, 40, 50));
    const int d = std::min(width, height) / 2;
    painter.drawEllipse(QRect(width / 2 - d / 2, height / 4, d, d));
    return image;
}

QByteArray heic(const QImage& picture)
{
    ImageFileOptions options;
    options.keepAlpha = false;
    options.lossyQuality = 0.8;
    return writeHeic(imageFromQImage(picture), options).value_or(QByteArray());
}

// `picture` as a GIF of four colours: its dark parts, and its page speckled.
GifSpec gifOf(const QImage& picture)
{
    GifSpec spec;
    spec.screen = picture.size();
    spec.frame = QRect(QPoint(0, 0), spec.screen);
    spec.colours = QByteArray("\xFF\xFF\xFF\x8C\x28\x32\x20\x20\x20\xC8\xC8\xC8", 12);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            spec.indices.push_back(quint8(qGray(picture.pixel(x, y)) < 120 ? 1 : (x * y) % 7 == 0 ? 3 : 0));
    return spec;
}

// The palette indices of `picture`: `dark` where it is dark, `light` elsewhere.
std::vector<quint8> indicesOf(const QImage& picture, quint8 dark, quint8 light)
{
    std::vector<quint8> indices;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            indices.push_back(qGray(picture.pixel(x, y)) < 120 ? dark : light);
    return indices;
}

// `indices` (of a width × height picture) as an Indexed8 picture of the
// colours palettePng and indexedBmp give them.
QImage indexedOf(const std::vector<quint8>& indices, int width, int height, int colours)
{
    QImage picture(width, height, QImage::Format_Indexed8);
    picture.setColorCount(colours);
    for (int i = 0; i < colours; ++i)
        picture.setColor(i, paletteColour(i));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.scanLine(y)[x] = indices[size_t(y) * size_t(width) + size_t(x)];
    return picture;
}

// ---- cases ------------------------------------------------------------------

struct Case {
    const char* item;
    QString name;
    QByteArray bytes;             // written as `name`, unless empty
    QStringList extraArguments{}; // before the input
    QString input{};              // the input path, when not the file written
    // Run before the program, with the input's path: files that bytes alone
    // do not make (a sparse file, a pipe where the cutout goes).
    std::function<void(const QString&)> prepare{};
};

// The file at `path` made `bytes` long without taking the disk's space.
void extendSparsely(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (file.open(QIODevice::ReadWrite))
        file.resize(bytes);
}

// The cutout's name for `input` (PNG) made a link to a new pipe.
void linkCutoutToAPipe(const QString& input)
{
    const QFileInfo info(input);
    const QByteArray pipe = QFile::encodeName(info.dir().filePath(info.completeBaseName() + QStringLiteral(".pipe")));
    const QByteArray cutout =
        QFile::encodeName(info.dir().filePath(info.completeBaseName() + QStringLiteral("-cutout.png")));
    ::unlink(cutout.constData());
    ::unlink(pipe.constData());
    ::mkfifo(pipe.constData(), 0600);
    ::symlink(pipe.constData(), cutout.constData());
}

std::vector<Case> cases(const QDir& folder)
{
    std::vector<Case> list;
    list.push_back({"1", "rle8-runs-overrun-rows.bmp", rleBmpOverrunningRows(16, 16)});

    const QByteArray tile = heic(photo(512, 512, 1));
    list.push_back({"2", "grid-20480-ispe-1000.heic", heicGrid(tile, 40, 40, QSize(1000, 1000))});
    list.push_back({"2", "grid-20480-honest.heic", heicGrid(tile, 40, 40, QSize(20480, 20480))});
    list.push_back({"2", "grid-2048-honest.heic", heicGrid(tile, 4, 4, QSize(2048, 2048))});

    list.push_back({"3", "gif-16000-data-ends-at-once.gif", gifEndingAtOnce(16000, 16000, 100 * 1000)});
    GifSpec spec = gifOf(photo(1200, 800, 2));
    list.push_back({"3", "gif-whole.gif", gifFile(spec)});
    spec.dataKept = 0.3;
    list.push_back({"3", "gif-data-stops-at-30-percent.gif", gifFile(spec)});
    list.push_back({"3", "webp-16000-canvas-1x1-frame.webp", sparseAnimatedWebp(16000, 16000)});
    list.push_back({"3", "jpeg-arithmetic-65500.jpg", arithmeticJpegClaiming(65500, 65500)});

    const QImage grey = photo(1200, 800, 3).convertToFormat(QImage::Format_Grayscale8);
    const QByteArray greyJpeg = encoded(grey, "jpeg", 90);
    list.push_back({"4", "tiff-jpeg-whole.tif", jpegTiff(greyJpeg, 1200, 800)});
    list.push_back({"4", "tiff-jpeg-strip-cut-to-a-third.tif", jpegTiff(greyJpeg, 1200, 800, greyJpeg.size() / 3)});
    const QByteArray small = encoded(photo(600, 400, 4).convertToFormat(QImage::Format_Grayscale8), "jpeg", 100);
    list.push_back({"4", "tiff-16000-holding-600x400-jpeg.tif", jpegTiff(small, 16000, 16000)});
    const QByteArray colourJpeg = encoded(photo(1200, 800, 3), "jpeg", 90);
    list.push_back({"4", "tiff-ycbcr-whole.tif", jpegTiff(colourJpeg, 1200, 800, -1, true)});
    list.push_back({"4", "tiff-ycbcr-strip-cut-to-a-third.tif",
                    jpegTiff(colourJpeg, 1200, 800, colourJpeg.size() / 3, true)});
    const QByteArray smallColour = encoded(photo(600, 400, 4), "jpeg", 100);
    list.push_back({"4", "tiff-ycbcr-16000-holding-600x400.tif", jpegTiff(smallColour, 16000, 16000, -1, true)});

    list.push_back({"5", "top-down.bmp", topDownBmp(encoded(photo(300, 200, 5), "bmp"))});

    const QImage sideways = photo(300, 200, 6).transformed(QTransform().rotate(-90));
    list.push_back({"6", "orientation-6.png", pngWithExifOrientation(encoded(sideways, "png"), 6)});
    list.push_back(
        {"6", "orientation-6.webp", webpWithExifOrientation(WebPEncoder::encode(imageFromQImage(sideways), 90), 6)});

    // Padding beside a JPEG's scans, Exif after XMP, TIFF sizes stored as
    // signed numbers, a grey profile on RGB pixels.
    const QByteArray arithmetic = arithmeticJpegClaiming(65500, 65500);
    list.push_back({"13", "jpeg-arithmetic-65500-140k-after-end.jpg", arithmetic + QByteArray(140 * 1024, '\0')});
    const QByteArray comment = jpegSegment(0xFE, QByteArray(65533, 'c'));
    list.push_back({"13", "jpeg-arithmetic-65500-three-comments.jpg",
                    jpegWithSegments(arithmetic, comment + comment + comment)});
    list.push_back({"13", "jpeg-16000-cut-scan-600k-after-end.jpg",
                    flatGreyJpeg(16000, 16000, 1000) + QByteArray(600 * 1024, '\0')});
    const QByteArray xmp = jpegSegment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 42));
    list.push_back({"14", "jpeg-xmp-then-exif-orientation-6.jpg",
                    jpegWithSegments(encoded(sideways, "jpeg"), xmp + jpegSegment(0xE1, exifBlock(6)))});
    list.push_back({"15", "tiff-16000-long-cut-deflate.tif", deflateTiffClaiming(16000, 16000, 4)});
    list.push_back({"15", "tiff-16000-slong-cut-deflate.tif", deflateTiffClaiming(16000, 16000, 9)});
    list.push_back({"15", "tiff-jpeg-16000-slong-holding-600x400.tif", jpegTiff(small, 16000, 16000, -1, false, 9)});
    list.push_back({"15", "tiff-600x400-slong.tif", tiffClaiming(600, 400, 600 * 400, 9)});
    list.push_back({"15", "tiff-jpeg-600x400-slong.tif", jpegTiff(small, 600, 400, -1, false, 9)});
    const QByteArray greyProfile = greyIccProfile(1.0);
    const QImage disc = photo(600, 400, 10);
    QImage tagged = disc;
    tagged.setColorSpace(QColorSpace::fromIccProfile(greyProfile));
    list.push_back({"16", "jpeg-grey-profile-on-rgb.jpg",
                    jpegWithSegments(encoded(disc, "jpeg"), jpegIccSegment(greyProfile))});
    list.push_back({"16", "webp-grey-profile-on-rgb.webp",
                    webpWithIccProfile(WebPEncoder::encode(imageFromQImage(disc), 90), greyProfile)});
    list.push_back({"16", "tiff-grey-profile-on-rgb.tif", encoded(tagged, "tiff")});
    list.push_back({"16", "png-grey-profile-on-rgb.png", pngWithIccProfile(encoded(disc, "png"), greyProfile)});
    list.push_back({"16", "jpeg-no-profile.jpg", encoded(disc, "jpeg")});

    const QString longName = QString(248, u'n') + QStringLiteral(".png");
    list.push_back({"9", longName, encoded(photo(1200, 800, 7), "png")});
    // The cutout's name is 255 bytes, the most ext4 takes.
    list.push_back({"9", QString(244, u'n') + QStringLiteral(".png"), encoded(photo(1200, 800, 7), "png")});

    QImage translucent = photo(600, 400, 9).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 150; ++x)
            translucent.setPixel(x, y, qRgba(0, 0, 0, 0));
    ImageFileOptions withAlpha;
    withAlpha.lossyQuality = 0.8;
    const QByteArray alphaHeic = writeHeic(imageFromQImage(translucent), withAlpha).value_or(QByteArray());
    const QByteArray alphaAvif = avifFile(translucent);
    for (const auto& [file, kind] : {std::pair{alphaHeic, "heic"}, std::pair{alphaAvif, "avif"}}) {
        list.push_back({"12", QStringLiteral("alpha-whole.%1").arg(QLatin1String(kind)), file});
        for (const QSize size : {QSize(60, 40), QSize(6000, 4000), QSize(0, 0)})
            list.push_back({"12", QStringLiteral("alpha-ispe-%1x%2.%3").arg(size.width()).arg(size.height()).arg(QLatin1String(kind)),
                            heifWithAlphaSize(file, size)});
    }
    list.push_back({"12", "avif-unknown-obu.avif", avifWithUnknownObu(alphaAvif)});
    list.push_back({"12", "grid-16384-honest.heic", heicGrid(tile, 32, 32, QSize(16384, 16384))});

    // A pipe where the cutout goes, through a link or under its name; huge
    // sparse files whose first bytes refuse them.
    const QByteArray small8 = encoded(photo(300, 200, 11), "png");
    list.push_back({"P", "cutout-name-links-to-a-pipe.png", small8, {}, {}, linkCutoutToAPipe});
    list.push_back({"P", "cutout-name-is-a-pipe.png", small8, {}, {}, [](const QString& input) {
                        const QByteArray cutout = QFile::encodeName(input.chopped(4) + QStringLiteral("-cutout.png"));
                        ::unlink(cutout.constData());
                        ::mkfifo(cutout.constData(), 0600);
                    }});
    const auto huge = [](const QString& input) { extendSparsely(input, qint64(1900) << 20); };
    list.push_back({"H", "sparse-1900M-png-header", pngHeaderClaiming(4000, 3000).left(33), {}, {}, huge});
    list.push_back({"H", "sparse-1900M-text", QByteArray("Remember the milk.\n"), {}, {}, huge});
    list.push_back({"H", "sparse-1900M-gif-header", tinyGifClaiming(4000, 3000).left(19), {}, {}, huge});
    // Subsampled YCbCr; palettes the file does not have; Qt's own warnings.
    const QImage disc2 = photo(600, 400, 12);
    list.push_back({"7", "tiff-ycbcr-420-uncompressed.tif", ycbcrTiff(disc2, 2, 2)});
    list.push_back({"7", "tiff-ycbcr-422-uncompressed.tif", ycbcrTiff(disc2, 2, 1)});
    const QImage indexed = indexedOf(indicesOf(disc2, 1, 0), 600, 400, 16);
    list.push_back({"9", "tiff-palette-8-bit-honest.tif", paletteTiff(indexed, 8)});
    list.push_back({"9", "tiff-palette-8-bit-16-colour-map.tif", paletteTiff(indexed, 8, 16)});
    list.push_back({"9", "png-palette-honest.png", palettePng(600, 400, 4, 4, indicesOf(disc2, 1, 0))});
    list.push_back({"9", "png-index-past-palette.png", palettePng(600, 400, 4, 4, indicesOf(disc2, 9, 0))});
    list.push_back({"9", "bmp-4-bit-honest.bmp", indexedBmp(600, 400, 4, 2, indicesOf(disc2, 1, 0))});
    list.push_back({"9", "bmp-4-bit-index-past-palette.bmp", indexedBmp(600, 400, 4, 2, indicesOf(disc2, 5, 0))});
    list.push_back({"10", "bmp-1-bit-256-colours.bmp", indexedBmp(600, 400, 1, 256, indicesOf(disc2, 1, 0))});

    // Frame and tile sizes from their own data; a large GIF scaled as it is put together.
    list.push_back({"3", "webp-16000-header-over-1x1.webp",
                    animatedWebp(16000, 16000, {{QRect(0, 0, 16000, 16000), {1, 1}}})});
    list.push_back({"3", "webp-16000-second-header-over-1x1.webp",
                    animatedWebp(16000, 16000, {{QRect(0, 0, 1, 1), {1, 1}}, {QRect(0, 0, 16000, 16000), {1, 1}}})});
    list.push_back({"3", "webp-2000-frames-in-two-corners.webp",
                    animatedWebp(2000, 2000, {{QRect(0, 0, 16, 16), {16, 16}}, {QRect(1984, 1984, 16, 16), {16, 16}}})});
    const QByteArray cell = heic(photo(256, 256, 12));
    const QByteArray smallCell = heic(photo(128, 128, 13));
    list.push_back({"4", "grid-1x2-honest.heic", heicGridOfTiles({{cell, {}}, {heic(photo(256, 256, 14)), {}}}, 1, 2)});
    list.push_back({"4", "grid-1x2-tile-128.heic", heicGridOfTiles({{cell, {}}, {smallCell, {}}}, 1, 2)});
    list.push_back({"4", "grid-1x2-tile-128-ispe-256.heic",
                    heicGridOfTiles({{cell, {}}, {smallCell, QSize(256, 256)}}, 1, 2)});
    list.push_back({"4", "overlay-16000-around-256.heic", heicOverlay(cell, QSize(16000, 16000), QPoint(0, 0))});
    list.push_back({"12", "gif-16384-honest.gif", discGif(16384, 16384, 6000)});

    // Arithmetic-coded scans padded with zeros, cut short or with bytes taken
    // out; a progressive picture whose last refinement comes 95 times more.
    list.push_back({"1", "jpeg-arithmetic-65500-150k-zeros-in-scan.jpg", arithmeticJpegClaiming(65500, 65500, 150 * 1000)});
    const QByteArray arithmeticPhoto = writeJpeg({.width = 600, .height = 400, .arithmetic = true});
    list.push_back({"2", "jpeg-arithmetic-whole.jpg", arithmeticPhoto});
    list.push_back({"2", "jpeg-arithmetic-cut-at-a-third.jpg", withScanCut(arithmeticPhoto, 1.0 / 3)});
    list.push_back({"2", "jpeg-arithmetic-60-bytes-out.jpg", withScanBytesRemoved(arithmeticPhoto, 60)});
    list.push_back({"2", "jpeg-arithmetic-white-bottom.jpg",
                    writeJpeg({.width = 600, .height = 400, .arithmetic = true, .whiteFrom = 200})});
    const QByteArray flatProgressive =
        writeJpeg({.width = 16384, .height = 16384, .components = 1, .progressive = true, .whiteFrom = 0});
    list.push_back({"5", "jpeg-16384-progressive-flat.jpg", flatProgressive});
    list.push_back({"5", "jpeg-16384-refinement-95-times-more.jpg", withLastScanRepeated(flatProgressive, 95)});

    list.push_back({"11", "missing", {}, {}, folder.filePath(QStringLiteral("missing.png"))});
    list.push_back({"11", "a folder", {}, {}, folder.path()});
    const QString plain = writeFile(folder.filePath(QStringLiteral("notes.txt")), "a file\n");
    const QString input = writeFile(folder.filePath(QStringLiteral("input.png")), encoded(photo(300, 200, 8), "png"));
    list.push_back({"11", "output folder is a file", {}, {QStringLiteral("--output-folder"), plain}, input});
    list.push_back({"11", "output folder /proc", {}, {QStringLiteral("--output-folder"), QStringLiteral("/proc")}, input});
    return list;
}

QString firstLine(const QByteArray& bytes)
{
    const QString text = QString::fromUtf8(bytes).trimmed();
    const QString first = text.section(u'\n', 0, 0);
    return first.size() > 90 ? first.left(87) + QStringLiteral("...") : first;
}

// The IS-Net model that ZEPHRIN_MODEL names, else none: the subject finder.
QString modelPath()
{
    return qEnvironmentVariable("ZEPHRIN_MODEL", QStringLiteral("/nonexistent/ISNetGeneral.onnx"));
}

int runCases(const QString& program, const QString& keep)
{
    const QString model = modelPath();
    QTemporaryDir temporary;
    const QDir folder(keep.isEmpty() ? temporary.path() : keep);
    folder.mkpath(QStringLiteral("."));
    std::printf("%-4s %-38s %4s %9s %7s  %s\n", "item", "case", "exit", "peak MB", "seconds", "standard error");
    for (const Case& c : cases(folder)) {
        QString input = c.input;
        if (!c.bytes.isEmpty())
            input = writeFile(folder.filePath(c.name), c.bytes);
        if (c.prepare)
            c.prepare(input);
        const ChildRun result = run(program, QStringList{QStringLiteral("--overwrite")} + c.extraArguments + QStringList{input},
                               {QStringLiteral("ZEPHRIN_MODEL=") + model}, 120);
        const QString shown = c.name.size() > 38 ? c.name.left(20) + QStringLiteral("...") + c.name.right(15) : c.name;
        std::printf("%-4s %-38s %4d %9.0f %7.2f  %s\n", c.item, qPrintable(shown), result.exitCode,
                    double(result.peakKilobytes) / 1024, result.seconds,
                    qPrintable(result.exitCode == 0 ? QStringLiteral("(wrote %1)").arg(QFileInfo(QString::fromUtf8(result.out.trimmed())).fileName().right(30))
                                                    : firstLine(result.err)));
        const QStringList lines = QString::fromUtf8(result.err).trimmed().split(u'\n');
        for (qsizetype i = 1; i < lines.size() && i < 4; ++i)
            std::printf("%-4s %-38s %4s %9s %7s  %s\n", "", "", "", "", "", qPrintable(lines[i].left(90)));
    }
    return 0;
}

// ---- mutate -----------------------------------------------------------------

struct Seed {
    QString format;
    QString name;
    QByteArray bytes;
    QSize size;          // the picture's
    qsizetype dataEnd;   // where its picture data ends: a cut before it cannot decode whole
};

std::vector<Seed> seeds()
{
    std::vector<Seed> list;
    const QImage picture = photo(96, 64, 11);
    QImage withAlpha = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 20; ++x)
            withAlpha.setPixel(x, y, qRgba(0, 0, 0, 0));
    const auto add = [&](const char* format, const char* name, const QByteArray& bytes, qsizetype dataEnd) {
        list.push_back({QString::fromLatin1(format), QString::fromLatin1(name), bytes, QSize(96, 64), dataEnd});
    };
    const auto whole = [](const QByteArray& bytes, int trailer) { return bytes.size() - trailer; };

    for (const QByteArray& png : {encoded(picture, "png"), encoded(withAlpha, "png"),
                                  encoded(picture.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither), "png"),
                                  encoded(withAlpha.convertToFormat(QImage::Format_RGBA64), "png")}) {
        QByteArray seed = png;
        // The end of the IDAT data: up to the CRC of the last IDAT chunk.
        const qsizetype last = seed.lastIndexOf("IDAT");
        quint32 length = 0;
        for (int i = 0; i < 4; ++i)
            length = (length << 8) | quint8(seed[last - 4 + i]);
        add("png", "png", seed, last + 4 + qsizetype(length));
    }
    add("jpeg", "jpeg", encoded(picture, "jpeg", 85), 0);
    add("jpeg", "jpeg-progressive", encoded(picture, "jpeg", 85, true), 0);
    add("jpeg", "jpeg-arithmetic", writeJpeg({.width = 96, .height = 64, .arithmetic = true}), 0);
    add("jpeg", "jpeg-arithmetic-progressive",
        writeJpeg({.width = 96, .height = 64, .progressive = true, .arithmetic = true}), 0);
    for (Seed& seed : list)
        if (seed.format == QLatin1String("jpeg"))
            seed.dataEnd = seed.bytes.lastIndexOf("\xFF\xD9");
    const QByteArray heicFile = heic(picture);
    add("heic", "heic", heicFile, whole(heicFile, 0));
    ImageFileOptions keepAlpha;
    keepAlpha.lossyQuality = 0.8;
    const QByteArray alphaHeic = writeHeic(imageFromQImage(withAlpha), keepAlpha).value_or(QByteArray());
    add("heic", "heic-alpha", alphaHeic, whole(alphaHeic, 0));
    const QByteArray avif = avifFile(withAlpha);
    add("avif", "avif-alpha", avif, whole(avif, 0));
    const QByteArray lossy = WebPEncoder::encode(imageFromQImage(withAlpha), 80);
    const QByteArray lossless = WebPEncoder::encode(imageFromQImage(withAlpha), 100);
    add("webp", "webp-lossy", lossy, whole(lossy, 0));
    add("webp", "webp-lossless", lossless, whole(lossless, 0));
    const QByteArray tiff = encoded(picture, "tiff");
    const QByteArray lzwTiff = encoded(withAlpha, "tiff", 90, false, 1);
    const QByteArray greyJpeg = encoded(picture.convertToFormat(QImage::Format_Grayscale8), "jpeg", 85);
    const QByteArray jpegInTiff = jpegTiff(greyJpeg, 96, 64);
    // Qt writes a TIFF's pixels before its directory; the hand-made one after it.
    const auto directory = [](const QByteArray& bytes) {
        return qsizetype(quint8(bytes[4]) | quint8(bytes[5]) << 8 | quint8(bytes[6]) << 16 | quint8(bytes[7]) << 24);
    };
    add("tiff", "tiff", tiff, directory(tiff));
    add("tiff", "tiff-lzw", lzwTiff, directory(lzwTiff));
    add("tiff", "tiff-jpeg", jpegInTiff, jpegInTiff.size() - 2);
    const QByteArray ycbcr = ycbcrTiff(picture, 2, 2);
    add("tiff", "tiff-ycbcr-420", ycbcr, directory(ycbcr));
    const QByteArray paletteTiffSeed = paletteTiff(indexedOf(indicesOf(picture, 1, 0), 96, 64, 16), 8);
    add("tiff", "tiff-palette", paletteTiffSeed, directory(paletteTiffSeed));
    const QByteArray bmp = encoded(picture, "bmp");
    add("bmp", "bmp", bmp, bmp.size());
    const QByteArray paletteBmp = indexedBmp(96, 64, 4, 2, indicesOf(picture, 1, 0));
    add("bmp", "bmp-4-bit-palette", paletteBmp, paletteBmp.size());
    const QByteArray palettePngSeed = palettePng(96, 64, 4, 4, indicesOf(picture, 1, 0));
    add("png", "png-palette-4-bit", palettePngSeed, palettePngSeed.size() - 12 - 4); // up to the IDAT's CRC
    add("bmp", "bmp-top-down", topDownBmp(bmp), bmp.size());
    GifSpec spec = gifOf(picture);
    const QByteArray gif = gifFile(spec);
    add("gif", "gif", gif, gif.size() - 2);
    spec.interlaced = true;
    const QByteArray interlaced = gifFile(spec);
    add("gif", "gif-interlaced", interlaced, interlaced.size() - 2);
    // The same frame on a screen of its top left quarter, its data ending
    // after the last row that shows.
    GifSpec quarter = gifOf(picture);
    quarter.screen = QSize(48, 32);
    quarter.codedPixels = 96 * 32;
    const QByteArray pastTheScreen = gifFile(quarter);
    list.push_back({"gif", "gif-frame-past-the-screen", pastTheScreen, QSize(48, 32), pastTheScreen.size() - 2});
    return list;
}

struct Mutant {
    const Seed* seed;
    QByteArray bytes;
    bool cutBeforeData = false;
    QString how;
};

Mutant mutated(const Seed& seed, std::mt19937& random)
{
    Mutant mutant{&seed, seed.bytes, false, {}};
    const auto position = [&](qsizetype below) { return qsizetype(random() % quint32(std::max<qsizetype>(below, 1))); };
    switch (random() % 4) {
    case 0: { // cut short
        const qsizetype at = 8 + position(seed.bytes.size() - 8);
        mutant.bytes.truncate(at);
        mutant.cutBeforeData = at < seed.dataEnd;
        mutant.how = QStringLiteral("cut at %1 of %2").arg(at).arg(seed.bytes.size());
        break;
    }
    case 1: { // bytes of the header changed
        const int count = 1 + int(random() % 3);
        for (int i = 0; i < count; ++i) {
            const qsizetype at = position(std::min<qsizetype>(seed.bytes.size(), 160));
            mutant.bytes[at] = char(random() % 2 ? random() % 256 : quint8(mutant.bytes[at]) ^ (1u << (random() % 8)));
        }
        mutant.how = QStringLiteral("%1 header bytes changed").arg(count);
        break;
    }
    case 2: { // bytes anywhere changed
        const int count = 1 + int(random() % 8);
        for (int i = 0; i < count; ++i) {
            const qsizetype at = position(seed.bytes.size());
            mutant.bytes[at] = char(random() % 256);
        }
        mutant.how = QStringLiteral("%1 bytes changed").arg(count);
        break;
    }
    default: { // a run of bytes zeroed or repeated
        const qsizetype at = position(seed.bytes.size());
        const qsizetype length = 1 + position(64);
        if (random() % 2)
            mutant.bytes.replace(at, length, QByteArray(std::min(length, mutant.bytes.size() - at), '\0'));
        else
            mutant.bytes.insert(at, mutant.bytes.mid(at, length));
        mutant.how = QStringLiteral("a run of %1 bytes zeroed or repeated").arg(length);
        break;
    }
    }
    return mutant;
}

// The program's own lines on standard error: its sentences and the lines
// naming a path.
bool isOwnLine(const QString& line, const QString& input)
{
    static const QStringList sentences{
        QStringLiteral("That image couldn't be read."), QStringLiteral("That image is too large."),
        QStringLiteral("No subject was found in this image."), QStringLiteral("The cutout couldn't be rendered."),
        QStringLiteral("The cutout couldn't be saved.")};
    return line.isEmpty() || sentences.contains(line) || line.startsWith(input);
}

struct Tally {
    int runs = 0;
    int refused = 0;   // not read: "couldn't be read", "too large"
    int noSubject = 0; // read, but nothing cut out
    int cutOut = 0;    // exit 0
    int madeUp = 0;
    int noise = 0;
    int crashes = 0;
};

int runMutations(const QString& program, int perFormat, unsigned seedNumber)
{
    const std::vector<Seed> seedList = seeds();
    std::map<QString, std::vector<const Seed*>> byFormat;
    for (const Seed& seed : seedList)
        byFormat[seed.format].push_back(&seed);
    std::mt19937 random(seedNumber);
    std::vector<Mutant> mutants;
    for (const auto& [format, formatSeeds] : byFormat)
        for (int i = 0; i < perFormat; ++i)
            mutants.push_back(mutated(*formatSeeds[size_t(i) % formatSeeds.size()], random));

    const QString kept = QDir::temp().filePath(QStringLiteral("hostile-run-%1").arg(::getpid()));
    QDir(kept).mkpath(QStringLiteral("."));
    const QStringList environment{QStringLiteral("ZEPHRIN_MODEL=") + modelPath()};
    std::map<QString, Tally> tallies;
    Tally all;
    std::map<QString, int> noiseLines;
    std::mutex lock;
    std::atomic<size_t> next{0};

    const auto work = [&](int worker) {
        const QString folder = QDir(kept).filePath(QStringLiteral("work-%1").arg(worker));
        QDir(folder).mkpath(QStringLiteral("."));
        for (size_t index = next++; index < mutants.size(); index = next++) {
            const Mutant& mutant = mutants[index];
            const QString input = writeFile(QDir(folder).filePath(QStringLiteral("input.") + mutant.seed->format),
                                            mutant.bytes);
            const QString output = QDir(folder).filePath(QStringLiteral("input-cutout.png"));
            QFile::remove(output);
            const ChildRun first = run(program, {input}, environment);
            QString fault;
            QStringList foreign;
            for (const QString& line : QString::fromUtf8(first.err).split(u'\n'))
                if (!isOwnLine(line, input) && !line.startsWith(output))
                    foreign << line;
            if (first.signal != 0 || first.timedOut) {
                fault = QStringLiteral("crash");
            } else if (first.exitCode == 0) {
                const QByteArray cutout = contents(output);
                const QSize size = QImageReader(output).size();
                QFile::remove(output);
                const ChildRun second = run(program, {input}, environment + QStringList{QStringLiteral("MALLOC_PERTURB_=165")});
                const bool same = second.exitCode == 0 && contents(output) == cutout;
                // A GIF's screen may be larger than its frame, shown as its
                // background, up to what the reader takes of a canvas.
                const qint64 seedArea = qint64(mutant.seed->size.width()) * mutant.seed->size.height();
                const qint64 allowed = mutant.seed->format == QLatin1String("gif") ? std::max<qint64>(16 * seedArea, 1 << 20)
                                                                                 : seedArea;
                if (mutant.cutBeforeData || !same || qint64(size.width()) * size.height() > allowed)
                    fault = QStringLiteral("made-up");
            }
            if (fault.isEmpty() && !foreign.isEmpty())
                fault = QStringLiteral("noise");

            const std::lock_guard guard(lock);
            for (Tally* tally : {&tallies[mutant.seed->format], &all}) {
                ++tally->runs;
                if (first.exitCode == 0)
                    ++tally->cutOut;
                else if (first.err.startsWith("That image"))
                    ++tally->refused;
                else if (first.exitCode == 1)
                    ++tally->noSubject;
                tally->noise += foreign.isEmpty() ? 0 : 1;
                tally->crashes += fault == QLatin1String("crash") ? 1 : 0;
                tally->madeUp += fault == QLatin1String("made-up") ? 1 : 0;
            }
            for (const QString& line : foreign)
                ++noiseLines[line.left(100)];
            if (!fault.isEmpty()) {
                const QString name = QStringLiteral("%1-%2-%3.%4")
                                         .arg(fault, mutant.seed->name)
                                         .arg(index)
                                         .arg(mutant.seed->format);
                writeFile(QDir(kept).filePath(name), mutant.bytes);
                std::printf("%s: %s (%s), exit %d\n", qPrintable(name), qPrintable(mutant.how),
                            qPrintable(mutant.seed->name), first.exitCode);
                std::fflush(stdout);
            }
        }
    };
    std::vector<std::thread> workers;
    for (int worker = 0; worker < 4; ++worker)
        workers.emplace_back(work, worker);
    for (std::thread& worker : workers)
        worker.join();

    std::printf("\n%-6s %6s %8s %10s %7s %8s %6s %7s\n", "format", "files", "not read", "no subject", "exit 0",
                "made-up", "noise", "crashes");
    const auto print = [](const char* name, const Tally& tally) {
        std::printf("%-6s %6d %8d %10d %7d %8d %6d %7d\n", name, tally.runs, tally.refused, tally.noSubject,
                    tally.cutOut, tally.madeUp, tally.noise, tally.crashes);
    };
    for (const auto& [format, tally] : tallies)
        print(qPrintable(format), tally);
    print("all", all);
    if (!noiseLines.empty()) {
        std::printf("\nlines of others on standard error (times seen):\n");
        for (const auto& [line, times] : noiseLines)
            std::printf("%5d  %s\n", times, qPrintable(line));
    }
    std::printf("\nthe files of each fault: %s\n", qPrintable(kept));
    return all.madeUp + all.noise + all.crashes == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    // Qt's image writers and painter need a GUI application, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() >= 3 && arguments[1] == QLatin1String("cases"))
        return runCases(arguments[2], arguments.value(3));
    if (arguments.size() >= 3 && arguments[1] == QLatin1String("mutate"))
        return runMutations(arguments[2], arguments.value(3, QStringLiteral("300")).toInt(),
                            arguments.value(4, QStringLiteral("20240611")).toUInt());
    std::fprintf(stderr, "usage: hostile_run cases PROGRAM [FOLDER]\n"
                         "       hostile_run mutate PROGRAM [PER_FORMAT [SEED]]\n");
    return 2;
}
