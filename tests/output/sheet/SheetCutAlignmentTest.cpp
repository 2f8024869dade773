// The cut file as cutting software sees it: rendered by a real SVG renderer
// (rsvg-convert, from librsvg) at the print image's resolution, its lines must
// fall on the printed stickers' outer edges.

#include "output/sheet/SheetEngine.h"

#include "output/sheet/SheetFixtures.h"
#include "support/Patience.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <opencv2/imgproc.hpp>

using namespace zephrin;
using zephrin::testing::discImage;
using zephrin::testing::inDisc;
using zephrin::testing::opaqueImage;
using zephrin::testing::silhouette;
using zephrin::testing::stickerItem;

namespace {

constexpr int kDpi = 300;
constexpr double kHalfMillimetre = 0.5 / 25.4 * kDpi;   // 5.9 pixels

// The alpha channel of an image at the page's size.
cv::Mat alphaOf(const QImage& image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const cv::Mat view(rgba.height(), rgba.width(), CV_8UC4, const_cast<uchar*>(rgba.constBits()),
                       static_cast<std::size_t>(rgba.bytesPerLine()));
    cv::Mat alpha;
    cv::extractChannel(view, alpha, 3);
    return alpha;
}

// The cut file rendered by rsvg-convert at `dpi`; a null image on failure.
QImage renderedCutFile(const std::string& svg, int dpi)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("rsvg-convert"));
    if (program.isEmpty()) {
        ADD_FAILURE() << "rsvg-convert (Debian package librsvg2-bin) is not installed";
        return {};
    }
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("sticker-sheet-cut.svg")));
    if (!file.open(QIODevice::WriteOnly) || file.write(svg.data(), static_cast<qint64>(svg.size())) < 0)
        return {};
    file.close();
    const QString output = folder.filePath(QStringLiteral("cut.png"));
    QProcess rsvg;
    rsvg.start(program, {QStringLiteral("--dpi-x"), QString::number(dpi), QStringLiteral("--dpi-y"),
                         QString::number(dpi), QStringLiteral("--format"), QStringLiteral("png"),
                         QStringLiteral("--output"), output, file.fileName()});
    if (!rsvg.waitForFinished(zephrin::testing::kPatienceMs) || rsvg.exitCode() != 0) {
        ADD_FAILURE() << "rsvg-convert failed: " << rsvg.readAllStandardError().toStdString();
        return {};
    }
    return QImage(output);
}

// Distance of every pixel to the nearest pixel set in `mask` (255).
cv::Mat distanceTo(const cv::Mat& mask)
{
    cv::Mat distances;
    cv::distanceTransform(255 - mask, distances, cv::DIST_L2, cv::DIST_MASK_PRECISE);
    return distances;
}

// The largest distance from a pixel set in `from` to the nearest pixel set in `to`.
double farthest(const cv::Mat& from, const cv::Mat& to)
{
    double largest = 0;
    cv::minMaxLoc(distanceTo(to), nullptr, &largest, nullptr, nullptr, from);
    return largest;
}

struct Sheet {
    cv::Mat printed;    // 255 where the print image is at least half opaque
    cv::Mat edge;       // the outer boundary pixels of the printed area
    cv::Mat cut;        // 255 where the rendered cut lines are
};

Sheet renderSheet(double bleedInches)
{
    const Image star = silhouette(500, 500, [](int x, int y) {
        const double dx = x - 250, dy = y - 250;
        const double r = std::hypot(dx, dy), angle = std::atan2(dy, dx);
        return r < 150 + 80 * std::cos(5 * angle);
    }, {250, 200, 0});
    const Image ring = silhouette(600, 600, [](int x, int y) {
        return inDisc(x, y, 300, 300, 270) && !inDisc(x, y, 300, 300, 150);
    }, {0, 90, 200});
    std::vector<StickerItem> items{stickerItem(discImage(540), 1.8, 3), stickerItem(opaqueImage(750, 500), 2.5, 1),
                                   stickerItem(star, 1.5, 2), stickerItem(ring, 2.0, 1)};
    SheetSettings settings;
    settings.dpi = kDpi;
    settings.bleedInches = bleedInches;
    const SheetPins pins{{uuidString(items[2].id) + "#1", QPointF(5.3, 8.1)}};

    SheetEngine engine;
    const SheetRender render = engine.render(items, settings, pins);
    EXPECT_EQ(render.layout.placedCount, 7);

    Sheet sheet;
    sheet.printed = alphaOf(QImage::fromData(render.printPNG, "PNG")) >= 128;
    // Stickers are cut around their outer edge only: the ring's middle stays
    // on the sheet, so its edge there gets no cut line.
    cv::Mat outside = sheet.printed.clone();
    cv::floodFill(outside, cv::Point(0, 0), 128, nullptr, 0, 0, 4);
    const cv::Mat solid = outside != 128;
    cv::Mat inner;
    cv::erode(solid, inner, cv::Mat());
    sheet.edge = solid - inner;

    const QImage cutLines = renderedCutFile(render.cutSVG, kDpi);
    EXPECT_EQ(cutLines.size(), QSize(2550, 3300)) << "the cut file opens at true size";
    if (cutLines.size() == QSize(2550, 3300))
        sheet.cut = alphaOf(cutLines) >= 64;
    return sheet;
}

} // namespace

TEST(CutFileAlignment, CutLinesFollowThePrintedEdgesWithoutBleed)
{
    const Sheet sheet = renderSheet(0);
    ASSERT_FALSE(sheet.cut.empty());
    ASSERT_GT(cv::countNonZero(sheet.cut), 10000);
    const double cutToEdge = farthest(sheet.cut, sheet.edge);
    const double edgeToCut = farthest(sheet.edge, sheet.cut);
    EXPECT_LE(cutToEdge, kHalfMillimetre);
    EXPECT_LE(edgeToCut, kHalfMillimetre) << "a printed edge without a cut line";
    std::printf("cut line to printed edge: at most %.2f px; printed edge to cut line: at most %.2f px\n", cutToEdge,
                edgeToCut);
}

// With bleed the colour runs on beyond the cut: every cut line lies inside the
// print, at least the bleed (9 pixels) from its edge, and every printed edge is
// the bleed from a cut line. (In a notch narrower than twice the bleed the
// colour fills the notch, so a cut line there may lie deeper inside.)
TEST(CutFileAlignment, BleedIsPrintedBeyondTheCutLines)
{
    const Sheet sheet = renderSheet(0.03);
    ASSERT_FALSE(sheet.cut.empty());
    const double bleed = 0.03 * kDpi;
    EXPECT_EQ(cv::countNonZero(sheet.cut & ~sheet.printed), 0);
    double nearest = 0;
    cv::minMaxLoc(distanceTo(sheet.edge), &nearest, nullptr, nullptr, nullptr, sheet.cut);
    EXPECT_GE(nearest, bleed - kHalfMillimetre);
    EXPECT_LE(farthest(sheet.edge, sheet.cut), bleed + kHalfMillimetre);
}
