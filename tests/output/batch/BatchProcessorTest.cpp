#include "output/batch/BatchProcessor.h"

#include "../ImageFiles.h"
#include "output/service/CutoutService.h"

#include <QFile>
#include <QPolygonF>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <functional>
#include <tuple>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

using Settings = BatchProcessor::Settings;

// Dark shapes on a white page: the subject lift finds them quickly and exactly.
QImage page(int width, int height, const std::function<void(QPainter&)>& draw)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 60, 120));
    draw(painter);
    return image;
}

// A right triangle whose upright side is on the left, so its centroid lies a
// third of the way across its box, nearer the left.
QImage leftLeaningTriangle()
{
    return page(400, 300, [](QPainter& p) {
        p.drawPolygon(QPolygonF({QPointF(100, 40), QPointF(100, 260), QPointF(320, 260)}));
    });
}

// A bar across 10 % to 90 % of a long, low page.
QImage longBar(int width, int height)
{
    return page(width, height, [&](QPainter& p) {
        p.drawRect(QRectF(width * 0.1, height * 0.25, width * 0.8, height * 0.5));
    });
}

class BatchProcess : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile out(path);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size());
        return path;
    }
    QString pngFile(const QString& name, const QImage& image) { return file(name, encoded(image, "png")); }

    BatchProcessor::Output run(const QString& path, const Settings& settings) const
    {
        return BatchProcessor::process(path, settings, m_engine, m_vectorizer);
    }

    // The sentence the processor failed with, or "" when it succeeded.
    std::string failure(const QString& path, const Settings& settings = {}) const
    {
        try {
            run(path, settings);
        } catch (const CutoutService::Failure& error) {
            return error.what();
        }
        return {};
    }

    QTemporaryDir m_dir;
    MatteEngine m_engine;
    Vectorizer m_vectorizer;
};

Settings withFormat(ExportFormat format, int longEdge)
{
    Settings s;
    s.format = format;
    s.longEdge = longEdge;
    return s;
}

Settings withPreset(ListingPreset preset, ExportFormat format, int longEdge)
{
    Settings s = withFormat(format, longEdge);
    s.preset = preset;
    return s;
}

QImage decoded(const BatchProcessor::Output& output)
{
    return QImage::fromData(output.data).convertToFormat(QImage::Format_ARGB32);
}

bool isOpaqueWhite(QRgb p) { return qAlpha(p) == 255 && qRed(p) > 245 && qGreen(p) > 245 && qBlue(p) > 245; }

// An SVG page's size, its width in traced units and the outlines on it, read
// back from the writer's own form: width="W" height="H" viewBox="0 0 VW VH",
// then paths of absolute M, L, C and Z commands. Each outline keeps its
// on-curve points, which is close enough for the centroid of a shape made of
// straight sides.
struct SvgPage {
    QSizeF drawn;
    double width = 0;
    std::vector<QPolygonF> outlines;
};

SvgPage readSvg(const QByteArray& svg)
{
    SvgPage page;
    const QString text = QString::fromUtf8(svg);
    const auto size =
        QRegularExpression(R"re(<svg [^>]*width="([\d.]+)" height="([\d.]+)" viewBox="0 0 ([\d.]+) )re").match(text);
    if (size.hasMatch()) {
        page.drawn = QSizeF(size.captured(1).toDouble(), size.captured(2).toDouble());
        page.width = size.captured(3).toDouble();
    }
    static const QRegularExpression path(R"re( d="([^"]*)")re"), token(R"([MLCZ]|-?[\d.]+)");
    for (auto paths = path.globalMatch(text); paths.hasNext();) {
        std::vector<QString> tokens;
        for (auto t = token.globalMatch(paths.next().captured(1)); t.hasNext();)
            tokens.push_back(t.next().captured(0));
        QPolygonF outline;
        for (std::size_t i = 0; i < tokens.size();) {
            const QString command = tokens[i++];
            if (command == u"Z") {
                page.outlines.push_back(outline);
                outline.clear();
                continue;
            }
            const std::size_t skip = command == u"C" ? 4 : 0;  // control points
            i += skip;
            if (i + 1 < tokens.size())
                outline << QPointF(tokens[i].toDouble(), tokens[i + 1].toDouble());
            i += 2;
        }
    }
    return page;
}

// The x of the area centroid of all outlines, as a share of the page width.
double centroidShareX(const SvgPage& page)
{
    double area = 0, moment = 0;
    for (const QPolygonF& outline : page.outlines)
        for (qsizetype i = 0; i < outline.size(); ++i) {
            const QPointF a = outline[i], b = outline[(i + 1) % outline.size()];
            const double cross = a.x() * b.y() - b.x() * a.y();
            area += cross / 2;
            moment += (a.x() + b.x()) * cross / 6;
        }
    return area != 0 && page.width > 0 ? moment / area / page.width : -1;
}

} // namespace

TEST_F(BatchProcess, FileThatIsNoImageIsUnreadable)
{
    // The sentence says why, for the file's tile.
    const std::string unreadable = "That image couldn't be read: ";
    EXPECT_EQ(failure(file("notes.png", "just some text, no picture\n")),
              unreadable + "it isn't a picture Zephrin reads.");
    EXPECT_EQ(failure(file("empty.png", {})), unreadable + "the file is empty.");
    EXPECT_EQ(failure(file("cut-short.png", encoded(leftLeaningTriangle(), "png").left(200))),
              unreadable + "the picture is damaged or incomplete.");
    EXPECT_EQ(failure(m_dir.filePath("missing.png")), unreadable + "the file doesn't exist.");
    EXPECT_EQ(failure(m_dir.path()), unreadable + "it's a folder.");
    EXPECT_EQ(failure({}), unreadable + "the file doesn't exist.");
    // A pipe is never opened: opening it would wait for a writer for ever.
    const QString fifo = m_dir.filePath("pipe.png");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(failure(fifo), unreadable + "it isn't a regular file.");
}

TEST_F(BatchProcess, PhotoWithoutSubjectFailsWithTheBatchSentence)
{
    QImage blank(320, 240, QImage::Format_RGB32);
    blank.fill(QColor(128, 128, 128));
    EXPECT_EQ(failure(pngFile("blank.png", blank)), "No subject was found in this image.");
}

TEST_F(BatchProcess, WithoutPresetTheJobsFormatAndLongEdge)
{
    const QString path = pngFile("triangle.png", leftLeaningTriangle());

    // The default framing: the whole photo, transparent around the subject.
    const auto png = run(path, withFormat(ExportFormat::png, 200));
    EXPECT_EQ(png.fileExtension, "png");
    const QImage pngImage = decoded(png);
    EXPECT_EQ(pngImage.size(), QSize(200, 150));
    EXPECT_EQ(qAlpha(pngImage.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(pngImage.pixel(80, 110)), 255);

    // JPEG has no alpha: flattened on white although the background is transparent.
    const auto jpg = run(path, withFormat(ExportFormat::jpg, 300));
    EXPECT_EQ(jpg.fileExtension, "jpg");
    EXPECT_TRUE(jpg.data.startsWith("\xFF\xD8"));
    const QImage jpgImage = decoded(jpg);
    EXPECT_EQ(jpgImage.size(), QSize(300, 225));
    EXPECT_TRUE(isOpaqueWhite(jpgImage.pixel(2, 2)));

    const auto webp = run(path, withFormat(ExportFormat::webp, 200));
    EXPECT_EQ(webp.fileExtension, "webp");
    EXPECT_TRUE(webp.data.startsWith("RIFF") && webp.data.mid(8, 4) == "WEBP");
    const auto heic = run(path, withFormat(ExportFormat::heic, 200));
    EXPECT_EQ(heic.fileExtension, "heic");
    EXPECT_EQ(heic.data.mid(4, 4), "ftyp");
}

TEST_F(BatchProcess, PresetReplacesTheJobsFormatAndLongEdge)
{
    const QString path = pngFile("triangle.png", leftLeaningTriangle());

    // Amazon: JPEG on a white square, whatever the job says.
    const auto amazon = run(path, withPreset(ListingPreset::amazon, ExportFormat::png, 100));
    EXPECT_EQ(amazon.fileExtension, "jpg");
    const QImage onWhite = decoded(amazon);
    EXPECT_EQ(onWhite.width(), onWhite.height());
    EXPECT_GT(onWhite.width(), 100);  // trimmed to the subject, not to the job's 100
    EXPECT_TRUE(isOpaqueWhite(onWhite.pixel(1, 1)));

    // The sticker's 618 pixels, though the job asks for 200 (the trimmed,
    // outlined square is larger than 618 here).
    const QImage large = page(1000, 800, [](QPainter& p) { p.drawEllipse(QRectF(150, 80, 700, 640)); });
    const auto sticker = run(pngFile("disc.png", large), withPreset(ListingPreset::sticker, ExportFormat::jpg, 200));
    EXPECT_EQ(sticker.fileExtension, "png");
    const QSize stickerSize = decoded(sticker).size();
    EXPECT_EQ(std::max(stickerSize.width(), stickerSize.height()), 618);

    // HTV: SVG, whatever the job's format.
    const auto htv = run(path, withPreset(ListingPreset::htv, ExportFormat::png, 100));
    EXPECT_EQ(htv.fileExtension, "svg");
    EXPECT_TRUE(htv.data.startsWith("<svg "));
    EXPECT_FALSE(readSvg(htv.data).outlines.empty());
}

TEST_F(BatchProcess, TracesAtTheLongEdgeHeldTo256Through2048AndDrawsAtIt)
{
    // The bar spans 80 % of the photo's width, so the page (the bar plus a 2 %
    // margin on each side) is 0.8 × 1.04 of the traced width.
    const QString path = pngFile("bar.png", longBar(2600, 400));
    for (const auto& [longEdge, traced, slack] : {std::tuple{4800, 2048, 12}, {100, 256, 3}, {1000, 1000, 8}}) {
        const auto output = run(path, withFormat(ExportFormat::svg, longEdge));
        EXPECT_EQ(output.fileExtension, "svg");
        const SvgPage page = readSvg(output.data);
        EXPECT_NEAR(page.width, traced * 0.832, slack) << longEdge;
        EXPECT_EQ(page.drawn.width(), longEdge);
    }
}

TEST_F(BatchProcess, MirroredPresetGivesAMirroredSvg)
{
    const QString path = pngFile("triangle.png", leftLeaningTriangle());

    // Unmirrored, the triangle's centroid is a third of the way across.
    const SvgPage plain = readSvg(run(path, withFormat(ExportFormat::svg, 2048)).data);
    ASSERT_FALSE(plain.outlines.empty());
    EXPECT_LT(centroidShareX(plain), 0.42);

    // HTV mirrors the composite, and the file shows it so: two thirds across.
    const SvgPage mirrored = readSvg(run(path, withPreset(ListingPreset::htv, ExportFormat::png, 2400)).data);
    ASSERT_FALSE(mirrored.outlines.empty());
    EXPECT_GT(centroidShareX(mirrored), 0.58);
}
