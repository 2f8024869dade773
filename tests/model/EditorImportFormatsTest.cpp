// Every format the importers offer, opened as a document: a real file of each,
// written by that format's own encoder, read the way the editor's import reads
// it. A missing codec or image-format plugin fails here, not in front of a user.

#include "EditorFixture.h"

#include "engine/codec/ImageDestination.h"
#include "engine/codec/WebPEncoder.h"
#include "model/editor/ExportFile.h"
#include "support/HostileImages.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>

#include <functional>
#include <set>

namespace zephrin::testing {
namespace {

// Four flat quadrants, so that swapped channels, a mirrored or turned picture
// and a wrong size all show.
const QRgb kQuadrants[4] = {qRgb(200, 30, 40), qRgb(30, 160, 60), qRgb(40, 60, 200), qRgb(240, 220, 90)};
constexpr int kWidth = 64;
constexpr int kHeight = 48;

QImage quadrants()
{
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    for (int i = 0; i < 4; ++i)
        painter.fillRect((i % 2) * kWidth / 2, (i / 2) * kHeight / 2, kWidth / 2, kHeight / 2, QColor(kQuadrants[i]));
    return picture;
}

QByteArray withQt(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(95);
    if (!writer.write(picture))
        return {};
    return bytes;
}

QByteArray withEngine(const QImage& picture, ImageFileType type)
{
    return writeImageFile(imageFromQImage(picture), type, ImageFileOptions{0.95, false}).value_or(QByteArray());
}

void appendLittle16(QByteArray& bytes, int value)
{
    bytes.append(char(value & 0xFF)).append(char((value >> 8) & 0xFF));
}

// A GIF of a picture of at most 128 colours (Qt has no GIF writer). Its LZW
// data starts over with a clear code every 100 pixels, so every code stays 8
// bits wide and is the palette index itself.
QByteArray gif(const QImage& picture)
{
    QList<QRgb> palette;
    QByteArray codes;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if ((y * picture.width() + x) % 100 == 0)
                codes.append(char(128)); // clear
            const QRgb colour = picture.pixel(x, y);
            if (!palette.contains(colour))
                palette.append(colour);
            codes.append(char(palette.indexOf(colour)));
        }
    }
    codes.append(char(129)); // end of information
    if (palette.size() > 128)
        return {};
    palette.resize(128, qRgb(0, 0, 0));

    QByteArray bytes("GIF89a");
    appendLittle16(bytes, picture.width());
    appendLittle16(bytes, picture.height());
    bytes.append("\xF6\x00\x00", 3); // a global table of 128 colours
    for (const QRgb colour : palette)
        bytes.append(char(qRed(colour))).append(char(qGreen(colour))).append(char(qBlue(colour)));
    bytes.append(char(0x2C)); // the frame, at (0, 0)
    appendLittle16(bytes, 0);
    appendLittle16(bytes, 0);
    appendLittle16(bytes, picture.width());
    appendLittle16(bytes, picture.height());
    bytes.append('\0');
    bytes.append(char(7)); // the LZW minimum code size: 8-bit codes
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        bytes.append(char(block.size())).append(block);
    }
    bytes.append('\0').append(char(0x3B));
    return bytes;
}

struct ImportFormat {
    const char* name;
    QString type;          // as importableImageTypes() offers it
    QStringList suffixes;  // as importableImagePatterns() offers them
    std::function<QByteArray(const QImage&)> write;
    int tolerance;         // per channel, for lossy coding
};

void PrintTo(const ImportFormat& format, std::ostream* out) { *out << format.name; }

const std::vector<ImportFormat>& importFormats()
{
    static const std::vector<ImportFormat> formats{
        {"PNG", "image/png", {"png"}, [](const QImage& p) { return withEngine(p, ImageFileType::png); }, 0},
        {"JPEG", "image/jpeg", {"jpg", "jpeg"}, [](const QImage& p) { return withEngine(p, ImageFileType::jpeg); }, 8},
        {"HEIC", "image/heic", {"heic", "heif"}, [](const QImage& p) { return withEngine(p, ImageFileType::heic); }, 10},
        {"AVIF", "image/avif", {"avif"}, avifFile, 10},
        {"WebP", "image/webp", {"webp"},
         [](const QImage& p) { return WebPEncoder::encode(imageFromQImage(p), 95); }, 8},
        {"TIFF", "image/tiff", {"tif", "tiff"}, [](const QImage& p) { return withQt(p, "tiff"); }, 0},
        {"GIF", "image/gif", {"gif"}, gif, 0},
        {"BMP", "image/bmp", {"bmp"}, [](const QImage& p) { return withQt(p, "bmp"); }, 0},
    };
    return formats;
}

TEST(ImportFormats, TheTableHereCoversEveryFormatOffered)
{
    std::set<QString> types;
    std::set<QString> patterns;
    for (const ImportFormat& format : importFormats()) {
        types.insert(format.type);
        for (const QString& suffix : format.suffixes)
            patterns.insert(QStringLiteral("*.") + suffix);
    }
    const QStringList& offeredTypes = importableImageTypes();
    const QStringList& offeredPatterns = importableImagePatterns();
    EXPECT_EQ(types, std::set<QString>(offeredTypes.begin(), offeredTypes.end()));
    EXPECT_EQ(patterns, std::set<QString>(offeredPatterns.begin(), offeredPatterns.end()));
}

class ImportFormatTest : public EditorTest, public ::testing::WithParamInterface<ImportFormat> {};

TEST_P(ImportFormatTest, AFileOfTheFormatOpensAsTheDocument)
{
    const ImportFormat& format = GetParam();
    const QByteArray bytes = format.write(quadrants());
    ASSERT_FALSE(bytes.isEmpty()) << "no " << format.name << " encoder";
    for (const QString& suffix : format.suffixes) {
        SCOPED_TRACE(suffix.toStdString());
        QFile file(dir.filePath(QStringLiteral("picture.") + suffix));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        editor->importImage(QUrl::fromLocalFile(file.fileName()));
        runner->settle();
        ASSERT_EQ(editor->lastError(), QString());
        ASSERT_TRUE(editor->document());
        EXPECT_EQ(editor->document()->url.fileName(), QFileInfo(file).fileName());
        const Image& image = editor->document()->image.image();
        ASSERT_EQ(image.size(), cv::Size(kWidth, kHeight));
        for (int i = 0; i < 4; ++i) {
            const cv::Vec4b pixel = image.pixels.at<cv::Vec4b>((i / 2) * kHeight / 2 + kHeight / 4,
                                                                (i % 2) * kWidth / 2 + kWidth / 4);
            const QRgb expected = kQuadrants[i];
            EXPECT_NEAR(pixel[0], qRed(expected), format.tolerance) << "quadrant " << i;
            EXPECT_NEAR(pixel[1], qGreen(expected), format.tolerance) << "quadrant " << i;
            EXPECT_NEAR(pixel[2], qBlue(expected), format.tolerance) << "quadrant " << i;
            EXPECT_EQ(pixel[3], 255) << "quadrant " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Offered, ImportFormatTest, ::testing::ValuesIn(importFormats()),
                         [](const ::testing::TestParamInfo<ImportFormat>& info) { return info.param.name; });

} // namespace
} // namespace zephrin::testing
