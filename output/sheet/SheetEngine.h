#pragma once
// The sticker-sheet engine: lays sticker designs out on a page and renders the
// page into its print PNG, its on-screen preview and its SVG cut file.
//
// Each design becomes a tile (the sticker with its coloured border and bleed,
// at the sheet's dpi) and a cut mask (the sticker's opaque area grown by the
// border width, with the areas it encloses filled); the mask is traced into
// the cut contours, which follow each sticker's outer edge only. Tiles, masks and
// traces are kept in a cache across renders, keyed by everything that changes
// their pixels, so that moving, pinning or re-packing stickers, or changing the
// paper, region, spacing or cut-line display, only lays out and draws again.
//
// Page coordinates: inches from the paper's top-left corner, x right, y down.
// The page bitmaps are y-down too, so a page point goes to pixels by the dpi
// alone.
//
// Thread safety: every operation may run on any thread, and several renders may
// run at once on one engine. The cache lock is held only to look a tile up or
// store one; tiles are made and traced outside it, so two overlapping renders
// may make the same tile and the later store wins.

#include "engine/pixel/Image.h"
#include "engine/pixel/RenderContext.h"
#include "output/sheet/SheetLayout.h"
#include "output/sheet/SheetRender.h"
#include "output/sheet/SheetSettings.h"
#include "output/sheet/StickerItem.h"
#include "output/vector/TraceResult.h"
#include "output/vector/Vectorizer.h"

#include <QRectF>
#include <QSizeF>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace zephrin {

class SheetEngine final {
public:
    SheetEngine();

    // Lays the sheet out, then draws every placed copy with its tile into the
    // print image (transparent page) and the preview (white page with the
    // printable area outlined in dashes and, with showCutLines, each copy's cut
    // contour), encodes the print image as PNG carrying the dpi, and writes the
    // cut file. Both images are the whole paper at the dpi (Letter at 300 dpi:
    // 2550 × 3300). A design whose tile cannot be made keeps its place in the
    // layout but is not drawn; one whose mask cannot be traced is drawn without
    // a cut path.
    // Throws MatteError(renderFailed) when the page images or the PNG cannot be
    // made (a dpi below 1, or a page beyond kMaxPagePixels).
    SheetRender render(const std::vector<StickerItem>& items, const SheetSettings& settings,
                       const SheetPins& pins);

    // Where every requested copy goes. Each copy's cell is the image plus
    // border and bleed on every side; cells keep spacingInches apart and stay
    // inside the printable area. Copies pinned by the user go first, each at its
    // pin pulled into the printable area, unless it would collide with a pinned
    // copy already placed; every other copy is packed largest first (by area,
    // then height) into the free rectangles (maximal rectangles, best short
    // side fit). Copies that find no room are only counted.
    // A design's copies stop once one of them finds no room, and no design
    // gets more copies than its cell could fit on the printable area by area;
    // a design without a usable size (empty image, width not positive) gets
    // none. A pure function; cost about copies × free rectangles.
    static SheetLayout layout(const std::vector<StickerItem>& items, const SheetSettings& settings,
                              const SheetPins& pins);

    // The free-list update after a cell (spacing included) was placed at `used`:
    // every free rectangle it overlaps (strictly: touching is no overlap) is
    // replaced by its non-empty left, right, upper and lower remainders, in that
    // order; then every rectangle that another contains (within 1e-9) is
    // dropped, of two that contain each other the later one.
    static void splitFreeRects(std::vector<QRectF>& freeRects, const QRectF& used);

    // A design at the sheet's dpi: `tile` is RGBA (premultiplied sRGB) of its
    // cell's size in pixels, the sticker inset by border plus bleed on every
    // side over the border colour, which reaches border plus bleed beyond the
    // sticker's opaque area; `mask` (same size, 255 inside) is the opaque area
    // grown by the border, with every transparent area it encloses filled:
    // inside the cut outline. Both at origin (0, 0).
    struct Tile {
        Image tile;
        Matte mask;
    };
    // None when the tile would be under one pixel or above kMaxPagePixels, when
    // the design has no usable size, or when a step fails.
    std::optional<Tile> makeTile(const StickerItem& item, const SheetSettings& settings) const;

    // The mask grown by a disk of `radius` pixels (unchanged at 0.5 or less),
    // cropped to `crop`.
    static Matte dilate(const Matte& mask, double radius, cv::Rect crop);

    // Opaque black inside the cut outline, transparent outside: what the
    // vectorizer traces. None when it cannot be rendered.
    std::optional<Image> traceImage(const Matte& mask) const;

    // SVG path data of traced layers placed on the page: a point (px, py) of
    // the trace is written as ox + sx × px and oy + sy × py with four decimals
    // ("M1.0000 1.0000L2.0000 1.0000…Z"), no separators between commands.
    static std::string cutPathData(const std::vector<TracedLayer>& layers, double sx, double sy, double ox,
                                   double oy);

    // Four decimals, then trailing zeros and point removed: 8.5, 11, 8.27, 0.
    static std::string svgNumber(double value);

    // The cut file: an SVG page of the paper's size in inches (one user unit is
    // one inch) holding the group "cut" of red 0.005-inch hairlines, one path
    // per entry of `pathData`.
    static std::string cutFile(QSizeF paperInches, const std::vector<std::string>& pathData);

    // The cache key of a design's tile: its id, width, border, bleed, dpi,
    // border colour and image generation, separated by "|".
    static std::string tileKey(const StickerItem& item, const SheetSettings& settings);

    // The largest page (and tile) the engine draws: 2^28 pixels, 1 GiB of RGBA.
    static constexpr std::int64_t kMaxPagePixels = std::int64_t{1} << 28;
    // The cache is emptied when a tile is to be stored while it holds this many.
    static constexpr std::size_t kTileCacheLimit = 65;

    // What the tile cache holds and has done, for diagnostics.
    struct TileCacheCounts {
        std::size_t entries = 0;
        std::uint64_t tilesMade = 0;    // cache misses whose tile was made
        std::uint64_t tracesMade = 0;   // of those, the ones traced into cut contours
    };
    TileCacheCounts tileCacheCounts() const;

private:
    struct TileRecord {
        Tile tile;
        std::optional<TraceResult> trace;
    };
    using TileRecordRef = std::shared_ptr<const TileRecord>;

    // The cached record of a design, made (and stored) on a miss. Null when the
    // design yields no tile.
    TileRecordRef tileRecord(const StickerItem& item, const SheetSettings& settings);

    RenderContext m_context;
    Vectorizer m_vectorizer;
    std::unordered_map<std::string, TileRecordRef> m_tileCache;
    TileCacheCounts m_counts;
    mutable std::mutex m_cacheLock;   // guards m_tileCache and m_counts
};

} // namespace zephrin
