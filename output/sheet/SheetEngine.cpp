// SheetEngine: the tile cache and the render of a whole sheet.

#include "output/sheet/SheetEngine.h"

#include "engine/types/MatteError.h"
#include "output/sheet/StickerCell.h"
#include "output/vector/PathCommands.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <exception>

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

// A painter target over a page buffer, which must outlive it.
QImage paintableView(cv::Mat& pixels)
{
    return QImage(pixels.data, pixels.cols, pixels.rows, static_cast<qsizetype>(pixels.step),
                  QImage::Format_RGBA8888_Premultiplied);
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
            trace = m_vectorizer.trace(*image, cutTraceOptions(tile->mask));
        } catch (const std::exception&) {
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

    cv::Mat printPixels, previewPixels;
    try {
        printPixels = cv::Mat(*pageSize, CV_8UC4, cv::Scalar::all(0));
        previewPixels = cv::Mat(*pageSize, CV_8UC4, cv::Scalar::all(255));
    } catch (const std::exception&) {
        renderFailed();
    }
    QImage printImage = paintableView(printPixels);
    QImage previewImage = paintableView(previewPixels);

    std::vector<std::string> cutPaths;
    {
        QPainter print, preview;
        if (printImage.isNull() || previewImage.isNull() || !print.begin(&printImage) || !preview.begin(&previewImage))
            renderFailed();
        for (QPainter* painter : {&print, &preview})
            painter->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);

        preview.setPen(printableAreaPen());
        preview.setBrush(Qt::NoBrush);
        preview.drawRect(pageRect(area, d));

        for (const SheetPlacement& placement : sheetLayout.placements) {
            const auto found = tiles.constFind(placement.itemID);
            if (found == tiles.cend())
                continue;
            const TileRecord& record = **found;
            const QRectF target = pageRect(placement.rect, d);
            const QImage tile = toQImage(record.tile.tile);
            print.drawImage(target, tile);
            preview.drawImage(target, tile);

            if (!record.trace)
                continue;
            const double sx = placement.rect.width() / record.tile.mask.width();
            const double sy = placement.rect.height() / record.tile.mask.height();
            std::string pathData =
                cutPathData(record.trace->layers, sx, sy, placement.rect.left(), placement.rect.top());
            if (pathData.empty())
                continue;
            cutPaths.push_back(std::move(pathData));
            if (settings.showCutLines) {
                CutLinePath cutLine{{}, sx, sy, placement.rect.topLeft(), d};
                for (const TracedLayer& layer : record.trace->layers)
                    walkContours(layer.contours, cutLine);
                preview.strokePath(cutLine.path, cutLinePen());
            }
        }
    }

    // The print image carries its resolution (pixels per metre in the PNG).
    const int dotsPerMetre = static_cast<int>(std::lround(d / kMetresPerInch));
    printImage.setDotsPerMeterX(dotsPerMetre);
    printImage.setDotsPerMeterY(dotsPerMetre);
    QByteArray png;
    QBuffer buffer(&png);
    QImageWriter writer(&buffer, "png");
    if (!buffer.open(QIODevice::WriteOnly) || !writer.write(printImage))
        renderFailed();

    return SheetRender{ImageBox(Image(previewPixels)), std::move(png), cutFile(paper, cutPaths),
                       std::move(sheetLayout)};
}

} // namespace zephrin
