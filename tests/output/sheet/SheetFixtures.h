#pragma once
// Sticker designs for the sheet tests.

#include "output/sheet/StickerItem.h"
#include "output/vector/TraceFixtures.h"

#include <QRectF>
#include <QUuid>

#include <cstdint>
#include <ostream>

// Rectangles in failure messages as (x, y, width, height).
inline void PrintTo(const QRectF& r, std::ostream* out)
{
    *out << "(" << r.x() << ", " << r.y() << ", " << r.width() << ", " << r.height() << ")";
}

namespace zephrin::testing {

inline StickerItem stickerItem(Image image, double widthInches, std::int64_t count,
                               QUuid id = QUuid::createUuid())
{
    return {id, QStringLiteral("Sticker"), ImageBox(std::move(image)), widthInches, count};
}

// Opaque `colour` in a centred disc that leaves a transparent margin of a
// tenth of the side.
inline Image discImage(int side, cv::Vec3b colour = {200, 40, 40})
{
    const double centre = side / 2.0, radius = side * 0.4;
    return silhouette(side, side, [&](int x, int y) { return inDisc(x, y, centre, centre, radius); }, colour);
}

// Opaque from edge to edge.
inline Image opaqueImage(int width, int height, cv::Vec3b colour = {40, 40, 200})
{
    return silhouette(width, height, [](int, int) { return true; }, colour);
}

} // namespace zephrin::testing
