#include "output/sheet/SheetEngine.h"

#include "engine/types/MatteError.h"
#include "output/sheet/SheetFixtures.h"

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <future>

using namespace zephrin;
using zephrin::testing::discImage;
using zephrin::testing::inDisc;
using zephrin::testing::opaqueImage;
using zephrin::testing::stickerItem;

namespace {

QImage decodedPNG(const QByteArray& png)
{
    QImage image = QImage::fromData(png, "PNG");
    return image.convertToFormat(QImage::Format_RGBA8888);
}

cv::Vec4b previewPixel(const SheetRender& render, int x, int y)
{
    return render.preview.image().pixels.at<cv::Vec4b>(y, x);
}

// A cut-line pixel on the preview over a white border: red and blue high,
// green low (the line's colour at 0.9 opacity).
bool isCutLine(const cv::Vec4b& p)
{
    return p[0] > 180 && p[1] < 150 && p[2] > 180;
}

bool cutLineNear(const SheetRender& render, int x, int y, int reach)
{
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (isCutLine(previewPixel(render, x + dx, y + dy)))
                return true;
    return false;
}

SheetSettings margins(std::int64_t dpi = 300)
{
    SheetSettings settings;
    settings.region = PrintRegion::margins;
    settings.dpi = dpi;
    return settings;
}

} // namespace

TEST(SheetRender, EmptySheet)
{
    SheetEngine engine;
    const SheetRender render = engine.render({}, SheetSettings{}, {});

    const QImage print = decodedPNG(render.printPNG);
    ASSERT_EQ(print.size(), QSize(2550, 3300));
    EXPECT_EQ(print.dotsPerMeterX(), 11811) << "300 dpi";
    EXPECT_EQ(print.dotsPerMeterY(), 11811);
    bool transparent = true;
    for (int y = 0; y < print.height() && transparent; ++y) {
        const uchar* row = print.constScanLine(y);
        for (int x = 0; x < print.width() && transparent; ++x)
            transparent = row[4 * x + 3] == 0;
    }
    EXPECT_TRUE(transparent);

    // White, with the printable area (0.875 in = 262.5 px from the edges)
    // outlined by 3-pixel dashes of 18 pixels and gaps of 12, from its corner.
    ASSERT_EQ(render.preview.image().size(), cv::Size(2550, 3300));
    EXPECT_EQ(previewPixel(render, 1275, 1650), cv::Vec4b(255, 255, 255, 255));
    EXPECT_EQ(previewPixel(render, 100, 100), cv::Vec4b(255, 255, 255, 255));
    const cv::Vec4b dash = previewPixel(render, 272, 262);
    EXPECT_NEAR(dash[0], 0.6 * 139 + 0.4 * 255, 3);
    EXPECT_NEAR(dash[1], 0.6 * 92 + 0.4 * 255, 3);
    EXPECT_NEAR(dash[2], 0.6 * 246 + 0.4 * 255, 3);
    EXPECT_EQ(previewPixel(render, 286, 262), cv::Vec4b(255, 255, 255, 255)) << "gap";
    EXPECT_EQ(previewPixel(render, 302, 262), dash) << "next dash";
    EXPECT_EQ(previewPixel(render, 272, 265), cv::Vec4b(255, 255, 255, 255)) << "3 pixels wide";

    EXPECT_EQ(render.cutSVG, SheetEngine::cutFile({8.5, 11}, {}));
    EXPECT_EQ(render.layout, SheetLayout{});
}

TEST(SheetRender, DrawsStickersWithBorderAndCutLines)
{
    SheetEngine engine;
    // One 2-inch red disc (diameter 1.6 in) at (0.25, 0.25): its cell is 2.22
    // inches, the disc's centre at 1.36 in = 408 px, its left edge at
    // 0.25 + 0.11 + 0.2 = 0.56 in.
    const std::vector<StickerItem> items{stickerItem(discImage(400, {220, 20, 20}), 2.0, 1)};
    SheetSettings settings = margins();
    const SheetRender shown = engine.render(items, settings, {});
    ASSERT_EQ(shown.layout.placedCount, 1);

    const QImage print = decodedPNG(shown.printPNG);
    const auto at = [&](double inchesX) { return print.pixel(static_cast<int>(inchesX * 300), 408); };
    EXPECT_EQ(print.pixel(408, 408), qRgba(220, 20, 20, 255));
    EXPECT_EQ(at(0.56 - 0.05), qRgba(255, 255, 255, 255)) << "border";
    EXPECT_EQ(qAlpha(at(0.56 - 0.14)), 0) << "beyond border and bleed";

    // The cut line runs 0.08 in outside the disc: at 0.48 in = 144 px.
    EXPECT_TRUE(cutLineNear(shown, 144, 408, 2));
    EXPECT_FALSE(cutLineNear(shown, 408, 408, 20));
    ASSERT_NE(shown.cutSVG.find("<path d=\"M"), std::string::npos);

    settings.showCutLines = false;
    const SheetRender hidden = engine.render(items, settings, {});
    EXPECT_FALSE(cutLineNear(hidden, 144, 408, 3));
    EXPECT_EQ(hidden.cutSVG, shown.cutSVG);
    EXPECT_EQ(hidden.printPNG, shown.printPNG);
}

TEST(SheetRender, PinsPaperAndSpacingReuseTheCachedTiles)
{
    SheetEngine engine;
    std::vector<StickerItem> items{stickerItem(discImage(200), 1.5, 2), stickerItem(opaqueImage(300, 200), 1.0, 3)};
    SheetSettings settings;
    settings.dpi = 100;
    engine.render(items, settings, {});
    SheetEngine::TileCacheCounts counts = engine.tileCacheCounts();
    EXPECT_EQ(counts.entries, 2u);
    EXPECT_EQ(counts.tilesMade, 2u);
    EXPECT_EQ(counts.tracesMade, 2u);

    const SheetPins pins{{uuidString(items[0].id) + "#1", QPointF(4, 5)}};
    engine.render(items, settings, pins);
    settings.paper = PaperSize::a4;
    engine.render(items, settings, pins);
    settings.region = PrintRegion::silhouette;
    settings.spacingInches = 0.3;
    settings.showCutLines = false;
    items[1].count = 1;
    items[1].name = QStringLiteral("Renamed");
    engine.render(items, settings, pins);
    counts = engine.tileCacheCounts();
    EXPECT_EQ(counts.tilesMade, 2u);
    EXPECT_EQ(counts.tracesMade, 2u);

    settings.borderInches = 0.1;
    engine.render(items, settings, pins);
    EXPECT_EQ(engine.tileCacheCounts().tilesMade, 4u);
    EXPECT_EQ(engine.tileCacheCounts().entries, 4u);
}

TEST(SheetRender, The66thKeyEmptiesTheCache)
{
    SheetEngine engine;
    std::vector<StickerItem> items{stickerItem(discImage(40), 0.5, 1)};
    SheetSettings settings;
    settings.dpi = 30;
    for (int i = 0; i < 65; ++i) {
        items[0].widthInches = 0.5 + 0.01 * i;
        engine.render(items, settings, {});
    }
    EXPECT_EQ(engine.tileCacheCounts().entries, 65u);
    items[0].widthInches = 2;
    engine.render(items, settings, {});
    EXPECT_EQ(engine.tileCacheCounts().entries, 1u);
    EXPECT_EQ(engine.tileCacheCounts().tilesMade, 66u);
    items[0].widthInches = 0.5;
    engine.render(items, settings, {});
    EXPECT_EQ(engine.tileCacheCounts().tilesMade, 67u) << "the first key was dropped";
}

// A design whose picture changes under the same id gets a new tile and a new
// cut path, not the cached ones of its old picture.
TEST(SheetRender, ChangedImageIsDrawnAndCutAnew)
{
    SheetEngine engine;
    SheetSettings settings = margins(100);
    std::vector<StickerItem> items{stickerItem(discImage(300), 2.0, 1)};
    const SheetRender disc = engine.render(items, settings, {});
    const std::vector<StickerItem> copied = items;
    EXPECT_EQ(engine.render(copied, settings, {}).cutSVG, disc.cutSVG);
    EXPECT_EQ(engine.tileCacheCounts().tilesMade, 1u) << "a copy of the design keeps its image";

    items[0].image = ImageBox(opaqueImage(300, 300));
    const SheetRender square = engine.render(items, settings, {});
    EXPECT_EQ(engine.tileCacheCounts().tilesMade, 2u);
    EXPECT_NE(square.cutSVG, disc.cutSVG);
    // The square's corner (0.4 in from the page's corner, inside the image) is
    // printed now, where the disc left only transparency.
    EXPECT_EQ(qAlpha(decodedPNG(disc.printPNG).pixel(40, 40)), 0);
    EXPECT_EQ(qAlpha(decodedPNG(square.printPNG).pixel(40, 40)), 255);
}

// A sticker with nothing opaque has no outline to trace: it keeps its place
// without a cut path, and its cached tile remembers that, so the trace is not
// tried again.
TEST(SheetRender, UntraceableDesignIsPlacedWithoutACutPath)
{
    SheetEngine engine;
    const std::vector<StickerItem> items{stickerItem(Image::transparent({100, 100}), 1.0, 2),
                                         stickerItem(discImage(100), 1.0, 1)};
    const SheetSettings settings = margins(50);
    const SheetRender first = engine.render(items, settings, {});
    EXPECT_EQ(first.layout.placedCount, 3);
    std::size_t paths = 0;
    for (std::size_t at = first.cutSVG.find("<path"); at != std::string::npos; at = first.cutSVG.find("<path", at + 1))
        ++paths;
    EXPECT_EQ(paths, 1u);
    engine.render(items, settings, {});
    EXPECT_EQ(engine.tileCacheCounts().tilesMade, 2u);
    EXPECT_EQ(engine.tileCacheCounts().tracesMade, 1u);
}

// A cutout that is transparent here and there inside (the gaps between a
// figure's limbs, a ring's middle, a speck) is cut around its outer edge only:
// one closed loop per copy, however many holes, while the print keeps the
// holes transparent.
TEST(SheetRender, CutPathsFollowTheOuterEdgeOnly)
{
    const Image holey = zephrin::testing::silhouette(400, 400, [](int x, int y) {
        return inDisc(x, y, 200, 200, 180) && !inDisc(x, y, 120, 150, 40) && !inDisc(x, y, 280, 150, 40) &&
               !inDisc(x, y, 200, 270, 60) && !inDisc(x, y, 200, 200, 4);
    });
    SheetEngine engine;
    SheetSettings settings = margins();
    for (const double border : {0.0, 0.02}) {
        settings.borderInches = border;
        settings.bleedInches = 0;
        const SheetRender render = engine.render({stickerItem(holey, 2.0, 2)}, settings, {});
        ASSERT_EQ(render.layout.placedCount, 2);
        std::vector<std::string> paths;
        const std::string opening = "<path d=\"";
        for (std::size_t at = render.cutSVG.find(opening); at != std::string::npos;
             at = render.cutSVG.find(opening, at + 1)) {
            const std::size_t start = at + opening.size();
            paths.push_back(render.cutSVG.substr(start, render.cutSVG.find('"', start) - start));
        }
        ASSERT_EQ(paths.size(), 2u) << "border " << border;
        for (const std::string& path : paths)
            EXPECT_EQ(std::count(path.begin(), path.end(), 'M'), 1) << "border " << border << ": " << path;

        // The first copy's cell starts at (0.25, 0.25) in; the right-hand hole's
        // centre lies 280 of 400 across and 150 down the 2-inch sticker.
        const double inset = 0.25 + border;
        const QPoint hole(int((inset + 2.0 * 280 / 400) * 300), int((inset + 2.0 * 150 / 400) * 300));
        EXPECT_EQ(qAlpha(decodedPNG(render.printPNG).pixel(hole)), 0) << "the hole is still printed transparent";
        EXPECT_FALSE(cutLineNear(render, hole.x(), hole.y(), int(2.0 * 40 / 400 * 300) + 4))
            << "no cut line around the hole on the preview";
    }
}

TEST(SheetRender, UnusablePagesThrowRenderFailed)
{
    SheetEngine engine;
    for (const std::int64_t dpi : {std::int64_t{0}, std::int64_t{-300}, std::int64_t{1'000'000}}) {
        SheetSettings settings;
        settings.dpi = dpi;
        try {
            engine.render({stickerItem(discImage(50), 1, 1)}, settings, {});
            ADD_FAILURE() << "no error at " << dpi << " dpi";
        } catch (const MatteError& error) {
            EXPECT_EQ(error.kind(), MatteErrorKind::renderFailed);
            EXPECT_STREQ(error.what(), "The image couldn't be rendered.");
        }
    }
}

TEST(SheetRender, OverlappingRendersOnOneEngineAgree)
{
    SheetEngine engine;
    const std::vector<StickerItem> items{stickerItem(discImage(200), 1.5, 3), stickerItem(opaqueImage(300, 200), 1.0, 2),
                                         stickerItem(discImage(120, {10, 200, 10}), 0.8, 4)};
    const SheetSettings settings = margins(100);
    std::vector<std::future<SheetRender>> renders;
    for (int i = 0; i < 4; ++i)
        renders.push_back(std::async(std::launch::async, [&] { return engine.render(items, settings, {}); }));
    const SheetRender alone = SheetEngine().render(items, settings, {});
    for (auto& render : renders) {
        const SheetRender result = render.get();
        EXPECT_EQ(result.cutSVG, alone.cutSVG);
        EXPECT_EQ(result.printPNG, alone.printPNG);
        EXPECT_EQ(result.layout, alone.layout);
    }
}
