// SheetEngine: the tile cache and the render of a whole sheet.

#include "output/sheet/SheetEngine.h"

#include "engine/codec/PngWriter.h"
#include "engine/pixel/QImageView.h"
#include "engine/types/LowLevelFailure.h"
#include "engine/types/MatteError.h"
#include "output/sheet/StickerCell.h"
#include "output/vector/PathCommands.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <future>

namespace zephrin {

namespace {

constexpr double kMetresPerInch = 0.0254;

[[noreturn]] void renderFailed()
{
    throw MatteError(MatteErrorKind::renderFailed);
}

// The whole paper at the dpi, each side rounded half away from zero (Letter at
// 300 dpi: 2550 × 3300). None below one pixel or beyond the engine's limit.
std::optional<cv::Size> pagePixelSize(QSizeF paper, std::int64_t dpi)
{
    if (dpi < 1)
        return std::nullopt;
    const double width = std::round(paper.width() * static_cast<double>(dpi));
    const double height = std::round(paper.height() * static_cast<double>(dpi));
    if (!(width >= 1 && height >= 1) || width * height > static_cast<double>(SheetEngine::kMaxPagePixels))
        return std::nullopt;
    return cv::Size(static_cast<int>(width), static_cast<int>(height));
}

// Page coordinates (inches, y down) to page pixels. The page bitmaps are y-down
// as well, so nothing flips.
QRectF pageRect(const QRectF& inches, double dpi)
{
    return {inches.x() * dpi, inches.y() * dpi, inches.width() * dpi, inches.height() * dpi};
}

// A page of one byte value in every channel (0: transparent, 255: white).
cv::Mat newPage(cv::Size size, uchar fill)
{
    return failingAs(MatteError(MatteErrorKind::renderFailed), "sheet page",
                     [&] { return cv::Mat(size, CV_8UC4, cv::Scalar::all(fill)); });
}

// A painter target over a page buffer, which must outlive it.
QImage pageView(cv::Mat& pixels)
{
    return paintableView(pixels, QImage::Format_RGBA8888_Premultiplied);
}

void beginPainting(QPainter& painter, QImage& page)
{
    if (page.isNull() || !painter.begin(&page))
        renderFailed();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
}

// A tile is made at its cell's size in pixels, so it goes onto the page pixel
// for pixel at the nearest whole-pixel position (at most half a pixel off, and
// without the blur of resampling). A tile of another size (a second design
// under the same id) is scaled into the cell.
void drawTile(QPainter& painter, const QImage& tile, const QRectF& target)
{
    if (std::abs(target.width() - tile.width()) < 1 && std::abs(target.height() - tile.height()) < 1)
        painter.drawImage(QPointF(std::round(target.x()), std::round(target.y())), tile);
    else
        painter.drawImage(target, tile);
}

// Butt ends and mitred corners, as the page's drawing conventions have them
// (Qt's defaults would be square caps, which lengthen every dash, and bevels).
QPen pagePen(const QColor& colour, double width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// The printable area's outline on the preview: 3 pixels wide, dashes of 18
// pixels with gaps of 12. Qt counts dash lengths in pen widths.
QPen printableAreaPen()
{
    constexpr double width = 3, dash = 18, gap = 12;
    QPen pen = pagePen(QColor::fromRgbF(0.545f, 0.36f, 0.965f, 0.6f), width);
    pen.setDashPattern({dash / width, gap / width});
    return pen;
}

QPen cutLinePen()
{
    return pagePen(QColor::fromRgbF(0.85f, 0.27f, 0.94f, 0.9f), 2);
}

// The vectorizer's settings for a cut mask: its shape at full size, one layer.
TraceOptions cutTraceOptions(const Matte& mask)
{
    TraceOptions options;
    options.source = TraceSource::shape;
    options.inkThreshold = 0.5;
    options.traceLongEdge = std::max(mask.width(), mask.height());
    options.colors = 1;
    options.detail = 0.7;
    options.alphaThreshold = 0.5;
    options.fileMaker = false;
    options.minimumArea = 6.0;
    options.silhouetteColor = "#000000";
    return options;
}

// Trace points (mask pixels) of one placed copy to preview pixels: the same
// mapping as the cut file's, times the dpi.
struct CutLinePath {
    QPainterPath path;
    double sx, sy;      // inches per mask pixel
    QPointF origin;     // the cell's top-left corner, inches
    double dpi;

    QPointF map(const Pt& p) const
    {
        return {(origin.x() + sx * p.x) * dpi, (origin.y() + sy * p.y) * dpi};
    }
    void moveTo(const Pt& p) { path.moveTo(map(p)); }
    void lineTo(const Pt& p) { path.lineTo(map(p)); }
    void curveTo(const Pt& c1, const Pt& c2, const Pt& p) { path.cubicTo(map(c1), map(c2), map(p)); }
    void close() { path.closeSubpath(); }
};

} // namespace

SheetEngine::SheetEngine() : m_context(RenderContextOptions{QStringLiteral("SheetEngine"), false}) {}

SheetEngine::TileCacheCounts SheetEngine::tileCacheCounts() const
{
    std::lock_guard lock(m_cacheLock);
    TileCacheCounts counts = m_counts;
    counts.entries = m_tileCache.size();
    return counts;
}

SheetEngine::TileRecordRef SheetEngine::tileRecord(const StickerItem& item, const SheetSettings& settings)
{
    const std::string key = tileKey(item, settings);
    {
        std::lock_guard lock(m_cacheLock);
        if (const auto hit = m_tileCache.find(key); hit != m_tileCache.end())
            return hit->second;
    }

    std::optional<Tile> tile = makeTile(item, settings);
    if (!tile)
        return nullptr;
    // A mask that cannot be traced leaves the design without a cut path; the
    // record keeps that, so later renders do not try again.
    std::optional<TraceResult> trace;
    if (const std::optional<Image> image = traceImage(tile->mask)) {
        try {
            trace = orNothing("cut path trace",
                              [&] { return std::optional(m_vectorizer.trace(*image, cutTraceOptions(tile->mask))); });
        } catch (const UserFacingError& error) {
            // A mask with nothing the tracer keeps: the design is printed without a cut line.
            qCInfo(failureLog).noquote() << QStringLiteral("no cut path for a sticker: %1").arg(QString::fromUtf8(error.what()));
        }
    }
    auto record = std::make_shared<const TileRecord>(TileRecord{std::move(*tile), std::move(trace)});

    std::lock_guard lock(m_cacheLock);
    if (m_tileCache.size() >= kTileCacheLimit)
        m_tileCache.clear();
    m_tileCache[key] = record;
    ++m_counts.tilesMade;
    if (record->trace)
        ++m_counts.tracesMade;
    return record;
}

SheetRender SheetEngine::render(const std::vector<StickerItem>& items, const SheetSettings& settings,
                                const SheetPins& pins)
{
    SheetLayout sheetLayout = layout(items, settings, pins);
    const QSizeF paper = paperInches(settings.paper);
    const std::optional<cv::Size> pageSize = pagePixelSize(paper, settings.dpi);
    if (!pageSize)
        renderFailed();
    const double d = static_cast<double>(settings.dpi);
    const QRectF area = settings.printableArea();

    // The tiles of this render by design id; of several designs with one id the
    // first is drawn for all. A design whose cell cannot fit the printable area
    // is never placed, so its tile (which could be huge) is not made.
    QHash<QUuid, TileRecordRef> tiles;
    for (const StickerItem& item : items) {
        if (tiles.contains(item.id) || !fitsPrintableArea(stickerCell(item, settings), area))
            continue;
        if (TileRecordRef record = tileRecord(item, settings))
            tiles.insert(item.id, std::move(record));
    }

    // The placed copies that have a tile, in layout order.
    struct PlacedTile {
        const SheetPlacement* placement;
        const TileRecord* record;
        QRectF target;   // the cell in page pixels
    };
    std::vector<PlacedTile> placed;
    for (const SheetPlacement& placement : sheetLayout.placements)
        if (const auto found = tiles.constFind(placement.itemID); found != tiles.cend())
            placed.push_back({&placement, found->get(), pageRect(placement.rect, d)});

    // The print image: the tiles on a transparent page. It is encoded while the
    // preview is drawn.
    cv::Mat printPixels = newPage(*pageSize, 0);
    {
        QImage printImage = pageView(printPixels);
        QPainter print;
        beginPainting(print, printImage);
        for (const PlacedTile& copy : placed)
            drawTile(print, toQImage(copy.record->tile.tile), copy.target);
    }
    // The PNG carries the resolution (pixels per metre).
    const int pixelsPerMetre = static_cast<int>(std::lround(d / kMetresPerInch));
    std::future<std::optional<QByteArray>> png = std::async(std::launch::async, [&printPixels, pixelsPerMetre] {
        return writePng(Image(printPixels), true, pixelsPerMetre);
    });

    // The preview: a white page, the printable area's outline, the tiles and,
    // when shown, the cut lines; and the cut paths of the cut file.
    cv::Mat previewPixels = newPage(*pageSize, 255);
    std::vector<std::string> cutPaths;
    {
        QImage previewImage = pageView(previewPixels);
        QPainter preview;
        beginPainting(preview, previewImage);
        preview.setPen(printableAreaPen());
        preview.setBrush(Qt::NoBrush);
        preview.drawRect(pageRect(area, d));

        for (const PlacedTile& copy : placed) {
            drawTile(preview, toQImage(copy.record->tile.tile), copy.target);
            if (!copy.record->trace)
                continue;
            const QRectF& rect = copy.placement->rect;
            const double sx = rect.width() / copy.record->tile.mask.width();
            const double sy = rect.height() / copy.record->tile.mask.height();
            std::string pathData = cutPathData(copy.record->trace->layers, sx, sy, rect.left(), rect.top());
            if (pathData.empty())
                continue;
            cutPaths.push_back(std::move(pathData));
            if (settings.showCutLines) {
                CutLinePath cutLine{{}, sx, sy, rect.topLeft(), d};
                for (const TracedLayer& layer : copy.record->trace->layers)
                    walkContours(layer.contours, cutLine);
                preview.strokePath(cutLine.path, cutLinePen());
            }
        }
    }

    const std::optional<QByteArray> printPNG = orNothing("sheet print PNG", [&] { return png.get(); });
    if (!printPNG)
        renderFailed();

    return SheetRender{ImageBox(Image(previewPixels)), std::move(*printPNG), cutFile(paper, cutPaths),
                       std::move(sheetLayout)};
}

} // namespace zephrin
