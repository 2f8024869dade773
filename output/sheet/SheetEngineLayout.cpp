// SheetEngine::layout and its free-list update: pinned copies first, then a
// maximal-rectangles packer with the best-short-side-fit rule.
//
// Every cell occupies its own rectangle plus the spacing to its right and
// below it. The free list starts as the printable area grown by the spacing on
// the right and at the bottom, so that the last column and row may touch the
// area's edges; it always holds every maximal empty rectangle, overlapping one
// another.

#include "output/sheet/SheetEngine.h"

#include "output/sheet/StickerCell.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zephrin {

namespace {

// One requested copy: its design (index into the items), its instance number
// and its cell's size in inches.
struct CopyRecord {
    std::size_t design = 0;
    std::int64_t instance = 0;
    double w = 0;
    double h = 0;
};

// Strict on all four sides: rectangles that only touch do not overlap.
bool overlaps(const QRectF& a, const QRectF& b)
{
    return a.left() < b.right() && b.left() < a.right() && a.top() < b.bottom() && b.top() < a.bottom();
}

bool containsWithinTolerance(const QRectF& outer, const QRectF& inner)
{
    return outer.left() <= inner.left() + kLayoutTolerance && outer.top() <= inner.top() + kLayoutTolerance &&
           outer.right() >= inner.right() - kLayoutTolerance && outer.bottom() >= inner.bottom() - kLayoutTolerance;
}

// How many copies of a design get a record: what was asked, but never more
// than the printable area could hold by area (each cell with its spacing takes
// (w + s) × (h + s) of the area grown by s), so that a huge count costs no
// more than a full page. None for a cell that does not fit the area at all.
std::int64_t copiesToConsider(std::int64_t wanted, double w, double h, const QRectF& area, double s)
{
    if (wanted < 1 || !fitsPrintableArea({w, h}, area))
        return 0;
    // Side by side ratios, so that no product overflows; the slack keeps copies
    // that fit only within the packer's tolerance.
    const double byArea =
        std::floor((area.width() + s) / (w + s) * ((area.height() + s) / (h + s)) * (1 + 1e-9));
    if (!(byArea >= 0))
        return 0;
    return byArea >= static_cast<double>(wanted) ? wanted : static_cast<std::int64_t>(byArea);
}

std::int64_t saturatingAdd(std::int64_t sum, std::int64_t positive)
{
    return sum > std::numeric_limits<std::int64_t>::max() - positive ? std::numeric_limits<std::int64_t>::max()
                                                                     : sum + positive;
}

// The copy records, design by design, largest area first, then the taller;
// ties keep design and copy order. Adds every requested copy to `requested`.
std::vector<CopyRecord> copyRecords(const std::vector<StickerItem>& items, const SheetSettings& settings,
                                    const QRectF& area, double s, std::int64_t& requested)
{
    std::vector<CopyRecord> records;
    for (std::size_t design = 0; design < items.size(); ++design) {
        const StickerItem& item = items[design];
        if (item.count < 1)
            continue;
        requested = saturatingAdd(requested, item.count);
        if (!item.hasPrintableSize())
            continue;
        const QSizeF cell = stickerCell(item, settings);
        const std::int64_t copies = copiesToConsider(item.count, cell.width(), cell.height(), area, s);
        for (std::int64_t n = 0; n < copies; ++n)
            records.push_back({design, n, cell.width(), cell.height()});
    }
    std::stable_sort(records.begin(), records.end(), [](const CopyRecord& a, const CopyRecord& b) {
        const double areaA = a.w * a.h, areaB = b.w * b.h;
        if (areaA != areaB)
            return areaA > areaB;
        return a.h > b.h;
    });
    return records;
}

// Pinned copies, in record order: each at its pin pulled into the area, unless
// it collides with a pinned copy placed before it. Pins are tested against each
// other only, so a pin may sit anywhere in the area. Gives the copies left to
// pack, in record order.
std::vector<CopyRecord> placePinned(const std::vector<CopyRecord>& records, const std::vector<StickerItem>& items,
                                    const SheetPins& pins, const QRectF& area, double s,
                                    std::vector<QRectF>& freeRects, std::vector<SheetPlacement>& placements)
{
    if (pins.isEmpty())
        return records;
    std::vector<CopyRecord> deferred;
    deferred.reserve(records.size());
    std::vector<QString> uuids;
    uuids.reserve(items.size());
    for (const StickerItem& item : items)
        uuids.push_back(uuidString(item.id));
    for (const CopyRecord& record : records) {
        const auto pin = pins.constFind(pinKey(uuids[record.design], record.instance));
        if (pin == pins.cend() || !fitsPrintableArea({record.w, record.h}, area)) {
            deferred.push_back(record);
            continue;
        }
        const double x = std::min(std::max(area.left(), pin->x()), area.right() - record.w);
        const double y = std::min(std::max(area.top(), pin->y()), area.bottom() - record.h);
        const QRectF candidate(x, y, record.w + s, record.h + s);
        const bool collides = std::any_of(placements.begin(), placements.end(), [&](const SheetPlacement& placed) {
            return overlaps(candidate, placed.rect.adjusted(0, 0, s, s));
        });
        if (collides) {
            deferred.push_back(record);
            continue;
        }
        placements.push_back({items[record.design].id, QRectF(x, y, record.w, record.h), record.instance});
        SheetEngine::splitFreeRects(freeRects, candidate);
    }
    return deferred;
}

// Packing: the free rectangle that leaves the shortest side over, then the
// shortest long side; the earlier one on a tie. Once a copy of a design finds
// no room its later copies (the same cell, and the free space only shrinks)
// are not tried.
void packRest(const std::vector<CopyRecord>& records, const std::vector<StickerItem>& items, double s,
              std::vector<QRectF>& freeRects, std::vector<SheetPlacement>& placements)
{
    std::vector<char> designFull(items.size(), 0);
    for (const CopyRecord& record : records) {
        if (designFull[record.design])
            continue;
        const double cw = record.w + s, ch = record.h + s;
        const QRectF* best = nullptr;
        double bestShort = std::numeric_limits<double>::max();
        double bestLong = std::numeric_limits<double>::max();
        for (const QRectF& f : freeRects) {
            if (!(cw <= f.width() + kLayoutTolerance && ch <= f.height() + kLayoutTolerance))
                continue;
            const double leftoverW = f.width() - cw, leftoverH = f.height() - ch;
            const double shortSide = std::min(leftoverW, leftoverH), longSide = std::max(leftoverW, leftoverH);
            if (shortSide < bestShort - kLayoutTolerance ||
                (std::abs(shortSide - bestShort) < kLayoutTolerance && longSide < bestLong)) {
                best = &f;
                bestShort = shortSide;
                bestLong = longSide;
            }
        }
        if (!best) {
            designFull[record.design] = 1;
            continue;
        }
        const QPointF corner = best->topLeft();
        placements.push_back(
            {items[record.design].id, QRectF(corner.x(), corner.y(), record.w, record.h), record.instance});
        SheetEngine::splitFreeRects(freeRects, QRectF(corner.x(), corner.y(), cw, ch));
    }
}

} // namespace

SheetLayout SheetEngine::layout(const std::vector<StickerItem>& items, const SheetSettings& settings,
                                const SheetPins& pins)
{
    const QRectF area = settings.printableArea();
    // A negative spacing would let cells overlap without end; it counts as none,
    // and so does one that is not a number or not finite.
    const double s =
        std::isfinite(settings.spacingInches) && settings.spacingInches > 0 ? settings.spacingInches : 0;

    SheetLayout result;
    const std::vector<CopyRecord> records = copyRecords(items, settings, area, s, result.requestedCount);
    std::vector<QRectF> freeRects{QRectF(area.left(), area.top(), area.width() + s, area.height() + s)};
    const std::vector<CopyRecord> rest = placePinned(records, items, pins, area, s, freeRects, result.placements);
    packRest(rest, items, s, freeRects, result.placements);
    result.placedCount = static_cast<std::int64_t>(result.placements.size());
    return result;
}

// The free list that comes in holds no rectangle that another contains (the
// layout keeps it so), so only pairs with at least one new remainder need the
// containment test: copies × free rectangles × remainders rather than
// copies × free rectangles².
void SheetEngine::splitFreeRects(std::vector<QRectF>& freeRects, const QRectF& used)
{
    std::vector<QRectF> split;
    std::vector<std::size_t> remainders;   // indices into split
    split.reserve(freeRects.size() + 4);
    const auto addRemainder = [&](const QRectF& r) {
        if (r.width() > 0 && r.height() > 0) {
            remainders.push_back(split.size());
            split.push_back(r);
        }
    };
    for (const QRectF& f : freeRects) {
        if (!overlaps(used, f)) {
            split.push_back(f);
            continue;
        }
        if (f.left() < used.left())
            addRemainder(QRectF(f.left(), f.top(), used.left() - f.left(), f.height()));
        if (used.right() < f.right())
            addRemainder(QRectF(used.right(), f.top(), f.right() - used.right(), f.height()));
        if (f.top() < used.top())
            addRemainder(QRectF(f.left(), f.top(), f.width(), used.top() - f.top()));
        if (used.bottom() < f.bottom())
            addRemainder(QRectF(f.left(), used.bottom(), f.width(), f.bottom() - used.bottom()));
    }
    if (split.size() == freeRects.size() && remainders.empty())
        return;

    std::vector<char> isRemainder(split.size(), 0);
    for (std::size_t i : remainders)
        isRemainder[i] = 1;
    // j drops i when it contains i; of two that contain each other (equal, or
    // equal within the tolerance) the earlier stays.
    const auto drops = [&](std::size_t j, std::size_t i) {
        return j != i && containsWithinTolerance(split[j], split[i]) &&
               (j < i || !containsWithinTolerance(split[i], split[j]));
    };
    std::vector<QRectF> kept;
    kept.reserve(split.size());
    for (std::size_t i = 0; i < split.size(); ++i) {
        bool dropped = false;
        if (isRemainder[i]) {
            for (std::size_t j = 0; j < split.size() && !dropped; ++j)
                dropped = drops(j, i);
        } else {
            for (std::size_t j : remainders) {
                if ((dropped = drops(j, i)))
                    break;
            }
        }
        if (!dropped)
            kept.push_back(split[i]);
    }
    freeRects = std::move(kept);
}

} // namespace zephrin
